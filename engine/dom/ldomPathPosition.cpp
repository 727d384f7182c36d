#include "engine/dom/ldomPathPosition.h"

#include <algorithm>

#include "engine/dom/ldomNode.h"

ldomPathPosition::ldomPathPosition(const ldomPosition& position) : position_(position) {
    const ldomNode* node = position.getNode();
    if (!node) return;
    for (ldomNode* parent = node->parent(); parent; parent = parent->parent()) {
        path_.push_back(parent->childIndexOf(node->getNodeRef()));
        node = parent;
    }
    std::reverse(path_.begin(), path_.end());
}

int ldomPathPosition::compare(const ldomPathPosition& a, const ldomPathPosition& b) {
    const size_t common = std::min(a.path_.size(), b.path_.size());
    for (size_t level = 0; level < common; ++level) {
        if (a.path_[level] != b.path_[level]) return a.path_[level] < b.path_[level] ? -1 : 1;
    }
    if (a.path_.size() == b.path_.size()) {
        const int x = a.getOffset();
        const int y = b.getOffset();
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    // One node lies inside the other's: the deeper one is later when it lies in a child at or
    // after the shallower position's offset. Decided from the deeper side in both cases so that
    // compare(a, b) == -compare(b, a).
    if (a.path_.size() > b.path_.size()) return a.path_[common] >= b.getOffset() ? 1 : -1;
    return b.path_[common] >= a.getOffset() ? -1 : 1;
}

int ComparePositions(const ldomPosition& a, const ldomPosition& b) {
    return ldomPathPosition::compare(ldomPathPosition(a), ldomPathPosition(b));
}

void ldomPathPosition::moveTo(ldomNode* node) {
    position_ = ldomPosition(node, node->isText() ? 0 : -1);
}

bool ldomPathPosition::nextNode() {
    ldomNode* node = getNode();
    if (!node) return false;
    if (node->isElement() && node->childCount() > 0) {
        if (ldomNode* child = node->childAt(0)) {
            path_.push_back(0);
            moveTo(child);
            return true;
        }
    }
    return nextAfterSubtree();
}

bool ldomPathPosition::nextAfterSubtree() {
    ldomNode* node = getNode();
    if (!node) return false;
    std::vector<int> path = path_;
    while (!path.empty()) {
        ldomNode* parent = node->parent();
        if (!parent) break;
        const int next = path.back() + 1;
        if (next < parent->childCount()) {
            if (ldomNode* sibling = parent->childAt(next)) {
                path.back() = next;
                path_ = std::move(path);
                moveTo(sibling);
                return true;
            }
        }
        path.pop_back();
        node = parent;
    }
    return false;
}

bool ldomPathPosition::prevNode() {
    ldomNode* node = getNode();
    if (!node || path_.empty()) return false;
    ldomNode* parent = node->parent();
    if (!parent) return false;
    int index = path_.back();
    if (index == 0) {
        path_.pop_back();
        moveTo(parent);
        return true;
    }
    ldomNode* previous = parent->childAt(index - 1);
    if (!previous) return false;
    path_.back() = index - 1;
    // The last node of the previous sibling's subtree.
    while (previous->isElement() && previous->childCount() > 0) {
        const int last = previous->childCount() - 1;
        ldomNode* child = previous->childAt(last);
        if (!child) break;
        path_.push_back(last);
        previous = child;
    }
    moveTo(previous);
    return true;
}

bool ldomPathPosition::nextText() {
    ldomPathPosition probe(*this);
    while (probe.nextNode()) {
        if (probe.getNode()->isText()) {
            *this = std::move(probe);
            return true;
        }
    }
    return false;
}

bool ldomPathPosition::prevText() {
    ldomPathPosition probe(*this);
    while (probe.prevNode()) {
        if (probe.getNode()->isText()) {
            *this = std::move(probe);
            return true;
        }
    }
    return false;
}

// The first node a walk from `start` visits: the start node itself for a text node or an
// element without offset, else the child at the offset (or what follows the element).
bool ldomPathPosition::firstNodeFrom(const ldomPosition& start, ldomPathPosition& cursor) {
    ldomNode* node = start.getNode();
    if (!node) return false;
    const int offset = start.getOffset();
    if (node->isElement() && offset >= 0 && offset < node->childCount()) {
        if (ldomNode* child = node->childAt(offset)) {
            cursor = ldomPathPosition(ldomPosition(child, child->isText() ? 0 : -1));
            return true;
        }
    }
    cursor = ldomPathPosition(ldomPosition(node, node->isText() ? 0 : -1));
    if (node->isText() || offset < 0) return true;
    return cursor.nextAfterSubtree();
}

bool ldomPathPosition::lastTextUpTo(const ldomPosition& end, ldomPathPosition& cursor) {
    ldomNode* node = end.getNode();
    if (!node) return false;
    const int offset = end.getOffset();
    if (node->isElement() && offset > 0 && node->childCount() > 0) {
        ldomNode* child = node->childAt(std::min(offset, node->childCount()) - 1);
        if (!child) return false;
        if (ldomNode* text = child->lastTextDescendant()) {
            cursor = ldomPathPosition(ldomPosition(text, 0));
            return true;
        }
        cursor = ldomPathPosition(ldomPosition(child, -1));
        return cursor.prevText();
    }
    cursor = ldomPathPosition(ldomPosition(node, node->isText() ? 0 : -1));
    return node->isText() || cursor.prevText();
}
