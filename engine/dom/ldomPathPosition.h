#pragma once

#include <vector>

#include "engine/dom/ldomPosition.h"

// A position with the child index at every level from the root's children down to its node, for
// comparing positions in document order and for stepping through the tree. The path has no depth
// limit. It is a snapshot: after the tree changes above the node, build it again.
class ldomPathPosition {
public:
    ldomPathPosition() = default;
    explicit ldomPathPosition(const ldomPosition& position);

    const ldomPosition& position() const { return position_; }
    bool isNull() const { return position_.isNull(); }
    ldomNode* getNode() const { return position_.getNode(); }
    int getOffset() const { return position_.getOffset(); }
    void setOffset(int offset) { position_.setOffset(offset); }
    // Levels below the root (0 for the root itself) and the child index at a level.
    int depth() const { return static_cast<int>(path_.size()); }
    int indexAt(int level) const { return path_[static_cast<size_t>(level)]; }

    // Document order: -1 when a comes first, 1 when b does, 0 when they are the same place. A
    // position (element, k) lies before the element's child k and after child k - 1; an element's
    // own position (offset -1) lies before everything inside it.
    static int compare(const ldomPathPosition& a, const ldomPathPosition& b);

    // Steps in document order (pre-order: an element, then its content, then what follows it);
    // the offset becomes -1 on an element and 0 on a text node. False, without moving, at the
    // end / the start of the tree.
    bool nextNode();
    bool prevNode();
    // The node after the whole subtree of the current node.
    bool nextAfterSubtree();
    // The next / previous text node in document order.
    bool nextText();
    bool prevText();

    // Where a walk in document order from `start` begins: the start node itself for a text node
    // or an element without offset, else the element's child at the offset (or what follows the
    // element when the offset is past its children). False when nothing follows.
    static bool firstNodeFrom(const ldomPosition& start, ldomPathPosition& cursor);
    // The last text node at or before `end` in document order. False when there is none.
    static bool lastTextUpTo(const ldomPosition& end, ldomPathPosition& cursor);

private:
    void moveTo(ldomNode* node);

    ldomPosition position_;
    std::vector<int> path_;
};

// Document order of two positions (see ldomPathPosition::compare).
int ComparePositions(const ldomPosition& a, const ldomPosition& b);
