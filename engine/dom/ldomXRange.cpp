#include "engine/dom/ldomXRange.h"

#include <utility>

#include "engine/core/StringUtils.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomTextCollector.h"
#include "engine/dom/ldomVisibility.h"

namespace {

int TextLength(const ldomNode* node) {
    return node->text().Length();
}

bool PatternAt(const string16& text, int at, const string16& pattern) {
    const unit16* t = text.CStr() + at;
    const unit16* p = pattern.CStr();
    for (int32_t i = 0; i < pattern.Length(); ++i)
        if (t[i] != p[i]) return false;
    return true;
}

// Collects the hits and applies the count and height limits.
class HitList {
public:
    HitList(std::vector<ldomTextSpan>& hits, int maxCount, int maxHeight, SearchDirection direction,
            const ldomPositionLocator* locator)
        : hits_(hits),
          maxCount_(maxCount),
          maxHeight_(locator ? maxHeight : 0),
          backward_(direction == SearchDirection::Backward),
          locator_(locator) {}

    void setReference(const ldomPosition& position) {
        if (maxHeight_ > 0) haveReference_ = locator_->positionTop(position, referenceY_);
    }
    // False once the search must stop (the hit is then not added).
    bool add(const ldomNode* node, int start, int end) {
        ldomTextSpan hit(node, start, end);
        if (maxHeight_ > 0) {
            int y = 0;
            if (!haveReference_) {
                haveReference_ = locator_->positionTop(hit.getStartPosition(), referenceY_);
            } else if (locator_->positionTop(hit.getStartPosition(), y)) {
                if (backward_ ? y < referenceY_ - maxHeight_ : y > referenceY_ + maxHeight_)
                    return false;
            }
        }
        hits_.push_back(hit);
        return maxCount_ <= 0 || static_cast<int>(hits_.size()) < maxCount_;
    }

private:
    std::vector<ldomTextSpan>& hits_;
    int maxCount_;
    int maxHeight_;
    bool backward_;
    const ldomPositionLocator* locator_;
    bool haveReference_ = false;
    int referenceY_ = 0;
};

}  // namespace

ldomXRange::ldomXRange(const ldomPosition& start, const ldomPosition& end, uint32_t flags)
    : start_(start), end_(end), flags_(flags) {
    sort();
}

ldomXRange ldomXRange::ofNode(const ldomNode* node) {
    if (!node || node->isNull()) return ldomXRange();
    const int end = node->isText() ? TextLength(node) : node->childCount();
    return ldomXRange(ldomPosition(node, 0), ldomPosition(node, end), 1);
}

void ldomXRange::sort() {
    if (isValid() && ComparePositions(start_, end_) > 0) std::swap(start_, end_);
}

bool ldomXRange::isEmpty() const {
    return !isValid() || ComparePositions(start_, end_) >= 0;
}

bool ldomXRange::intersects(const ldomXRange& other) const {
    if (!isValid() || !other.isValid()) return false;
    return ComparePositions(start_, other.end_) < 0 && ComparePositions(other.start_, end_) < 0;
}

bool ldomXRange::contains(const ldomPosition& position) const {
    if (!isValid() || position.isNull()) return false;
    return ComparePositions(start_, position) <= 0 && ComparePositions(position, end_) <= 0;
}

void ldomXRange::forEach(ldomNodeCallback& visitor) const {
    if (!isValid()) return;
    const ldomPathPosition end(end_);
    ldomNode* startNode = start_.getNode();
    ldomNode* endNode = end_.getNode();
    ldomPathPosition cursor;
    if (!ldomPathPosition::firstNodeFrom(start_, cursor)) return;
    for (;;) {
        ldomNode* node = cursor.getNode();
        if (!node) return;
        const bool isEndNode = node->getDataIndex() == endNode->getDataIndex();
        if (node->isText()) {
            if (!isEndNode && ldomPathPosition::compare(cursor, end) >= 0) return;
            const int length = TextLength(node);
            int from = node->getDataIndex() == startNode->getDataIndex() ? start_.getOffset() : 0;
            int to = isEndNode ? end_.getOffset() : length;
            if (from < 0) from = 0;
            if (to < 0 || to > length) to = length;
            if (to > from)
                visitor.onText(ldomXRange(ldomPosition(node, from), ldomPosition(node, to)));
            if (isEndNode || !cursor.nextNode()) return;
            continue;
        }
        if (ldomPathPosition::compare(cursor, end) >= 0) return;
        const bool enter = visitor.onElement(ofNode(node));
        if (!(enter ? cursor.nextNode() : cursor.nextAfterSubtree())) return;
    }
}

string16 ldomXRange::getRangeText(unit16 blockDelimiter, int maxLength) const {
    ldomTextCollector collector(blockDelimiter, maxLength);
    forEach(collector);
    return collector.getText();
}

string16 ldomXRange::getHRef() const {
    if (!isValid() || ComparePositions(start_, end_) > 0) return string16();
    ldomDocument* document = start_.getDocument();
    const uint16_t linkId = document->findElementNameIndex(string16("a"));
    const uint16_t hrefId = document->findAttrNameIndex(string16("href"));
    if (!linkId || !hrefId) return string16();
    for (const ldomNode* node = start_.getNode(); node; node = node->parent()) {
        if (!node->isElement() || node->nameId() != linkId) continue;
        const string16& href = node->attrValue(kAnyNamespace, hrefId);
        if (href.Empty()) return string16();
        return href[0] == '#' ? href : UrlDecode(href);
    }
    return string16();
}

bool ldomXRange::findText(const string16& pattern, SearchCase searchCase, SearchDirection direction,
                          std::vector<ldomTextSpan>& hits, int maxCount, int maxHeight,
                          HeightLimitFrom limitFrom, const ldomPositionLocator* locator) const {
    hits.clear();
    if (pattern.Empty() || !isValid()) return false;
    string16 needle = pattern;
    const bool foldCase = searchCase == SearchCase::Insensitive;
    if (foldCase) needle.ToLower();
    const int needleLength = needle.Length();
    HitList list(hits, maxCount, maxHeight, direction, locator);
    if (limitFrom == HeightLimitFrom::RangeStart)
        list.setReference(direction == SearchDirection::Forward ? start_ : end_);

    const ldomPathPosition start(start_);
    const ldomPathPosition end(end_);
    const uint32_t startKey = start_.getNode()->getDataIndex();
    const uint32_t endKey = end_.getNode()->getDataIndex();
    ldomPathPosition cursor;
    const bool forward = direction == SearchDirection::Forward;
    if (forward ? !ldomPathPosition::firstNodeFrom(start_, cursor)
                : !ldomPathPosition::lastTextUpTo(end_, cursor))
        return false;
    if (forward && !cursor.getNode()->isText() && !cursor.nextText()) return false;
    for (;;) {
        ldomNode* node = cursor.getNode();
        const uint32_t key = node->getDataIndex();
        // Past the far end of the range?
        if (forward && key != endKey && ldomPathPosition::compare(cursor, end) >= 0) break;
        if (!forward && key != startKey && ldomPathPosition::compare(cursor, start) < 0) break;
        if (!IsInsideHiddenElement(node)) {
            string16 text = node->text();
            if (foldCase) text.ToLower();
            const int length = text.Length();
            int from = key == startKey ? start_.getOffset() : 0;
            int to = key == endKey ? end_.getOffset() : length;
            if (from < 0) from = 0;
            if (to < 0 || to > length) to = length;
            if (forward) {
                for (int at = from; at + needleLength <= to; ++at)
                    if (PatternAt(text, at, needle) && !list.add(node, at, at + needleLength))
                        return !hits.empty();
            } else {
                for (int at = to - needleLength; at >= from; --at)
                    if (PatternAt(text, at, needle) && !list.add(node, at, at + needleLength))
                        return !hits.empty();
            }
        }
        if (forward ? key == endKey || !cursor.nextText() : key == startKey || !cursor.prevText())
            break;
    }
    return !hits.empty();
}
