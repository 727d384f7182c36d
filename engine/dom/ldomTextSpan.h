#pragma once

#include "engine/dom/ldomPosition.h"

class ldomXRange;

// A piece of one text node: a search hit, a word. Offsets are UTF-16 units of the node's text.
class ldomTextSpan {
public:
    ldomTextSpan() = default;
    ldomTextSpan(const ldomNode* textNode, int start, int end)
        : node_(textNode), start_(start), end_(end) {}

    bool isNull() const { return node_.isNull(); }
    ldomNode* getNode() const { return node_.getNode(); }
    int getStart() const { return start_; }
    int getEnd() const { return end_; }
    ldomPosition getStartPosition() const { return ldomPosition(getNode(), start_); }
    ldomPosition getEndPosition() const { return ldomPosition(getNode(), end_); }
    // The span as text (the part of the node's text).
    string16 getText() const;

private:
    ldomPosition node_;
    int start_ = 0;
    int end_ = 0;
};
