#pragma once

class ldomXRange;

// Visitor of a range walk: every element and every piece of text of the range, in document
// order.
class ldomNodeCallback {
public:
    virtual ~ldomNodeCallback() = default;
    // A text node, cut to the part that lies inside the walked range.
    virtual void onText(const ldomXRange& range) { (void)range; }
    // An element (the range covers it whole); false skips its content.
    virtual bool onElement(const ldomXRange& range) {
        (void)range;
        return true;
    }
};
