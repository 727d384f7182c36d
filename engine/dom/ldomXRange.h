#pragma once

#include <cstdint>
#include <vector>

#include "engine/dom/ldomNodeCallback.h"
#include "engine/dom/ldomPosition.h"
#include "engine/dom/ldomTextSpan.h"

enum class SearchCase : bool { Sensitive, Insensitive };
enum class SearchDirection : bool { Forward, Backward };
// Where the height limit of a search is measured from.
enum class HeightLimitFrom : bool { FirstHit, RangeStart };

// Tells the search where a position lies vertically (document coordinates); implemented by the
// layout side. False when the position has no place on the page.
class ldomPositionLocator {
public:
    virtual ~ldomPositionLocator() = default;
    virtual bool positionTop(const ldomPosition& position, int& y) const = 0;
};

// A range of a document: start and end positions in document order and a flags word (selection
// and bookmark kinds).
class ldomXRange {
public:
    ldomXRange() = default;
    // Ends given in the wrong order are swapped.
    ldomXRange(const ldomPosition& start, const ldomPosition& end, uint32_t flags = 0);
    // (node, 0) to (node, its text length or child count), flags 1.
    static ldomXRange ofNode(const ldomNode* node);

    const ldomPosition& getStart() const { return start_; }
    const ldomPosition& getEnd() const { return end_; }
    void setStart(const ldomPosition& start) { start_ = start; }
    void setEnd(const ldomPosition& end) { end_ = end; }
    uint32_t getFlags() const { return flags_; }
    void setFlags(uint32_t flags) { flags_ = flags; }

    // Both ends are set.
    bool isValid() const { return !start_.isNull() && !end_.isNull(); }
    bool isNull() const { return !isValid(); }
    // Swaps the ends when the start lies after the end.
    void sort();
    bool isEmpty() const;
    // The ranges share more than a point.
    bool intersects(const ldomXRange& other) const;
    bool contains(const ldomPosition& position) const;
    bool operator==(const ldomXRange& other) const {
        return start_ == other.start_ && end_ == other.end_ && flags_ == other.flags_;
    }

    // Visits the range's elements and text pieces in document order.
    void forEach(ldomNodeCallback& visitor) const;
    // The visible text of the range, blocks separated by the delimiter (0: none), at most
    // maxLength units (0: no limit).
    string16 getRangeText(unit16 blockDelimiter = '\n', int maxLength = 0) const;
    // The "href" of the innermost link element around the start, percent-decoded unless it is
    // an anchor ("#..."); empty when there is none.
    string16 getHRef() const;

    // Every occurrence of the pattern in the visible text of the range, added to `hits` (which is
    // emptied first) in search order. Stops after maxCount hits (0: no limit) and, when maxHeight
    // is above 0 and a locator is given, at the first hit more than maxHeight pixels below
    // (backward: above) the first hit or the range start. An empty pattern finds nothing.
    bool findText(const string16& pattern, SearchCase searchCase, SearchDirection direction,
                  std::vector<ldomTextSpan>& hits, int maxCount, int maxHeight,
                  HeightLimitFrom limitFrom, const ldomPositionLocator* locator = nullptr) const;

private:
    ldomPosition start_;
    ldomPosition end_;
    uint32_t flags_ = 0;
};
