#pragma once

#include <cstddef>
#include <vector>

#include "engine/dom/ldomXRange.h"

enum class RangeListCopy : bool { AsIs, SplitOverlaps };

// A list of ranges: the selections of a document, the links of a page, search hits.
class ldomXRangeList {
public:
    ldomXRangeList() = default;
    // A copy of every range in order, or (SplitOverlaps, used for highlighting) the ranges cut
    // into non-overlapping pieces in document order, each piece carrying the OR of the flags of
    // the ranges that cover it; pieces no range covers are left out.
    ldomXRangeList(const ldomXRangeList& source, RangeListCopy mode);
    ldomXRangeList(const ldomXRangeList&) = default;
    ldomXRangeList& operator=(const ldomXRangeList&) = default;

    size_t length() const { return ranges_.size(); }
    bool empty() const { return ranges_.empty(); }
    const ldomXRange& operator[](size_t index) const { return ranges_[index]; }
    ldomXRange& operator[](size_t index) { return ranges_[index]; }
    void add(const ldomXRange& range) { ranges_.push_back(range); }
    void erase(size_t index) { ranges_.erase(ranges_.begin() + static_cast<long>(index)); }
    void clear() { ranges_.clear(); }
    auto begin() const { return ranges_.begin(); }
    auto end() const { return ranges_.end(); }

private:
    void splitInto(const ldomXRangeList& source);

    std::vector<ldomXRange> ranges_;
};
