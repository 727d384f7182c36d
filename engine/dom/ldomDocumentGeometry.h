#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/TnPropAccessor.h"
#include "engine/dom/ldomBlockText.h"
#include "engine/dom/ldomXRange.h"
#include "engine/dom/ldomXRangeList.h"

class ldomDocument;

// A range in document coordinates, for highlighting.
struct ldomMarkedRange {
    KsPoint start;
    KsPoint end;
    uint32_t flags = 0;
    bool operator==(const ldomMarkedRange&) const = default;
};

// Positions in document coordinates: element boxes from the render rectangles, carets and the
// position under a point from the formatted final blocks, and the document's text search with
// vertical limits. Without a formatter, positions inside final blocks have no place.
class ldomDocumentGeometry : public ldomPositionLocator {
public:
    ldomDocumentGeometry(ldomDocument& document, ldomBlockFormatter* formatter)
        : document_(document), formatter_(formatter) {}

    // Absolute box of an element; a text node gives its parent's top-left corner, empty.
    static KsRect elementRect(const ldomNode* node);
    // Bottom of the root's box.
    int fullHeight() const;

    // The block under (x, y) in document coordinates: the innermost final block containing the
    // point, or, with direction -1 (+1), the nearest final block above (below) it among the
    // children of the innermost containing block; that block itself when none fits.
    ldomNode* finalBlockAt(int x, int y, int direction) const;
    // The caret of a position: one pixel wide, one line high.
    bool positionRect(const ldomPosition& position, KsRect& rect) const;
    // Left and top of the caret, (-1, -1) without one.
    KsPoint positionPoint(const ldomPosition& position) const;
    ldomPosition positionAt(int x, int y, int direction) const;

    bool positionTop(const ldomPosition& position, int& y) const override;

    // Searches the text between the vertical limits (minY below 0 counts as 0, maxY not above
    // 0 or beyond the document as its end).
    bool findText(const string16& pattern, SearchCase searchCase, SearchDirection direction,
                  int minY, int maxY, std::vector<ldomTextSpan>& hits, int maxCount,
                  int maxHeight) const;

    // The ranges with their ends as points; a range that does not run forwards on the page is
    // left out.
    std::vector<ldomMarkedRange> markedRanges(const ldomXRangeList& ranges) const;

private:
    bool formatBlock(ldomNode* block, ldomBlockText& text) const;

    ldomDocument& document_;
    ldomBlockFormatter* formatter_;
};
