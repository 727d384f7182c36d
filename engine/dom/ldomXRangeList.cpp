#include "engine/dom/ldomXRangeList.h"

#include "engine/dom/ldomPathPosition.h"

ldomXRangeList::ldomXRangeList(const ldomXRangeList& source, RangeListCopy mode) {
    if (mode == RangeListCopy::AsIs)
        ranges_ = source.ranges_;
    else
        splitInto(source);
}

void ldomXRangeList::splitInto(const ldomXRangeList& source) {
    ldomPosition first;
    ldomPosition last;
    for (const ldomXRange& range : source) {
        if (!range.isValid()) continue;
        if (first.isNull() || ComparePositions(range.getStart(), first) < 0)
            first = range.getStart();
        if (last.isNull() || ComparePositions(range.getEnd(), last) > 0) last = range.getEnd();
    }
    if (first.isNull()) return;
    ranges_.push_back(ldomXRange(first, last, 0));
    for (const ldomXRange& given : source) {
        if (!given.isValid()) continue;
        std::vector<ldomXRange> pieces;
        for (const ldomXRange& piece : ranges_) {
            if (!piece.intersects(given)) {
                pieces.push_back(piece);
                continue;
            }
            const bool startsBefore = ComparePositions(piece.getStart(), given.getStart()) < 0;
            const bool endsAfter = ComparePositions(given.getEnd(), piece.getEnd()) < 0;
            if (startsBefore)
                pieces.push_back(ldomXRange(piece.getStart(), given.getStart(), piece.getFlags()));
            pieces.push_back(ldomXRange(startsBefore ? given.getStart() : piece.getStart(),
                                        endsAfter ? given.getEnd() : piece.getEnd(),
                                        piece.getFlags() | given.getFlags()));
            if (endsAfter)
                pieces.push_back(ldomXRange(given.getEnd(), piece.getEnd(), piece.getFlags()));
        }
        ranges_ = std::move(pieces);
    }
    std::erase_if(ranges_, [](const ldomXRange& range) { return range.getFlags() == 0; });
}
