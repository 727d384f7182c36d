#include "engine/dom/ldomDocumentGeometry.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomVisibility.h"

namespace {

bool IsFinal(const ldomNode* node) {
    return node->renderMethod() == RenderMethod::Final;
}

// Widths of the first n characters of a word, measured as the formatter measured them.
// widths[j] is the accumulated width of characters 0..j.
std::vector<int> MeasureWordPrefix(const ldomBlockTextItem& item, const ldomBlockTextWord& word,
                                   int count) {
    std::vector<int> result;
    const int available = item.text.Length() - word.offset;
    count = std::min(count, available);
    if (count <= 0 || !item.font) return result;
    std::vector<uint16_t> widths(static_cast<size_t>(count));
    std::vector<uint8_t> flags(static_cast<size_t>(count));
    const int maxWidth = std::min(word.width + 50, KsFont::kMaxMeasureWidth);
    item.font->measureText(item.text.CStr() + word.offset, count, widths.data(), flags.data(),
                           maxWidth, '?', item.letterSpacing, KsHyphenate::Yes);
    result.assign(widths.begin(), widths.end());
    return result;
}

ldomNode* FirstVisibleText(const ldomPosition& from) {
    ldomPathPosition cursor;
    if (!ldomPathPosition::firstNodeFrom(from, cursor)) return nullptr;
    ldomNode* node = cursor.getNode();
    if (node->isText() && !IsInsideHiddenElement(node)) return node;
    while (cursor.nextText())
        if (!IsInsideHiddenElement(cursor.getNode())) return cursor.getNode();
    return nullptr;
}

ldomNode* LastVisibleText(const ldomPosition& upTo) {
    ldomPathPosition cursor;
    if (!ldomPathPosition::lastTextUpTo(upTo, cursor)) return nullptr;
    do {
        if (!IsInsideHiddenElement(cursor.getNode())) return cursor.getNode();
    } while (cursor.prevText());
    return nullptr;
}

}  // namespace

KsRect ldomDocumentGeometry::elementRect(const ldomNode* node) {
    KsRect rect;
    if (!node || node->isNull()) return rect;
    const ldomNode* element = node->isText() ? node->parent() : node;
    if (!element) return rect;
    const ldomRenderRect own = element->renderRect();
    int64_t x = own.x;
    int64_t y = own.y;
    for (const ldomNode* p = element->parent(); p; p = p->parent()) {
        const ldomRenderRect r = p->renderRect();
        x += r.x;
        y += r.y;
    }
    auto clamp = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
    };
    rect.left = clamp(x);
    rect.top = clamp(y);
    if (node->isText()) {
        rect.right = rect.left;
        rect.bottom = rect.top;
    } else {
        rect.right = clamp(x + own.width);
        rect.bottom = clamp(y + own.height);
    }
    return rect;
}

int ldomDocumentGeometry::fullHeight() const {
    const ldomNode* root = document_.getRootNode();
    return root ? elementRect(root).bottom : 0;
}

ldomNode* ldomDocumentGeometry::finalBlockAt(int x, int y, int direction) const {
    ldomNode* node = document_.getRootNode();
    if (!node || node->renderMethod() == RenderMethod::Invisible) return nullptr;
    // x and y relative to the node's parent box; only boxes that contain y are entered, so the
    // search is one path down the tree.
    ldomRenderRect box = node->renderRect();
    if (y < box.y) return direction > 0 && IsFinal(node) ? node : nullptr;
    if (y >= box.y + box.height) return direction < 0 && IsFinal(node) ? node : nullptr;
    for (;;) {
        if (IsFinal(node)) return node;
        x -= box.x;
        y -= box.y;
        const int count = node->childCount();
        ldomNode* next = nullptr;
        for (int k = 0; k < count && !next; ++k) {
            ldomNode* child = node->childAt(direction < 0 ? count - 1 - k : k);
            if (!child || !child->isElement() || child->renderMethod() == RenderMethod::Invisible)
                continue;
            const ldomRenderRect r = child->renderRect();
            if (y >= r.y && y < r.y + r.height) {
                next = child;
                box = r;
            } else if (y >= r.y + r.height) {
                if (direction < 0 && IsFinal(child)) return child;
            } else if (direction > 0 && IsFinal(child)) {
                return child;
            }
        }
        if (!next) return node;
        node = next;
    }
}

bool ldomDocumentGeometry::formatBlock(ldomNode* block, ldomBlockText& text) const {
    if (!formatter_) return false;
    const ldomRenderRect box = block->renderRect();
    return formatter_->formatBlock(block, box.width, text);
}

bool ldomDocumentGeometry::positionRect(const ldomPosition& position, KsRect& rect) const {
    ldomNode* node = position.getNode();
    if (!node) return false;
    ldomNode* finalBlock = nullptr;
    for (ldomNode* e = node->isText() ? node->parent() : node; e; e = e->parent()) {
        if (e->renderMethod() == RenderMethod::Invisible) return false;
        if (IsFinal(e)) finalBlock = e;
    }
    if (!finalBlock) {
        const KsRect box = elementRect(node);
        LogDebug("node w/o final parent: %d..%d", box.top, box.bottom);
        const int offset = position.getOffset();
        if (offset >= 0 && node->isElement() && node->childCount() > 0) {
            const int child = std::min(offset, node->childCount() - 1);
            rect = elementRect(node->childAt(child));
        } else {
            rect = box;
        }
        return true;
    }
    const KsRect blockBox = elementRect(finalBlock);
    if (blockBox.bottom == blockBox.top && blockBox.right > blockBox.left) {
        rect = blockBox;
        rect.bottom = rect.top + 1;
        return true;
    }
    ldomBlockText text;
    if (!formatBlock(finalBlock, text) || text.items.empty()) return false;

    // The item of the position and the offset in its text.
    const uint32_t key = node->getDataIndex();
    int itemIndex = -1;
    int offset = 0;
    for (size_t i = 0; i < text.items.size(); ++i) {
        const ldomBlockTextItem& item = text.items[i];
        if (item.node && item.node->getDataIndex() == key) {
            itemIndex = static_cast<int>(i);
            offset = std::max(0, position.getOffset() - item.offsetInNode);
            break;
        }
    }
    if (itemIndex < 0) {
        itemIndex = static_cast<int>(text.items.size()) - 1;
        for (size_t i = 0; i < text.items.size(); ++i) {
            const ldomBlockTextItem& item = text.items[i];
            const ldomPosition start(item.node, item.isImage ? 0 : item.offsetInNode);
            if (ComparePositions(start, position) > 0) {
                itemIndex = static_cast<int>(i);
                break;
            }
        }
    }
    const ldomBlockTextItem& item = text.items[static_cast<size_t>(itemIndex)];
    for (size_t l = 0; l < text.lines.size(); ++l) {
        const ldomBlockTextLine& line = text.lines[l];
        for (size_t w = 0; w < line.words.size(); ++w) {
            const ldomBlockTextWord& word = line.words[w];
            const bool lastWord = l + 1 == text.lines.size() && w + 1 == line.words.size();
            if (word.item < itemIndex && !lastWord) continue;
            int x = -1;
            if (word.item > itemIndex || (word.item == itemIndex && word.offset >= offset)) {
                x = word.x;
            } else if (word.item == itemIndex &&
                       (offset < word.offset + word.length ||
                        (offset == word.offset + word.length && offset == item.text.Length()))) {
                std::vector<int> widths = MeasureWordPrefix(item, word, offset - word.offset);
                x = word.x + (widths.empty() ? 0 : widths.back());
            } else if (lastWord) {
                x = word.x + word.width;
            }
            if (x < 0) continue;
            rect.left = blockBox.left + line.x + x;
            rect.right = rect.left + 1;
            rect.top = blockBox.top + line.y;
            rect.bottom = rect.top + line.height;
            return true;
        }
    }
    return false;
}

KsPoint ldomDocumentGeometry::positionPoint(const ldomPosition& position) const {
    KsRect rect;
    if (!positionRect(position, rect)) return {-1, -1};
    return {rect.left, rect.top};
}

bool ldomDocumentGeometry::positionTop(const ldomPosition& position, int& y) const {
    KsRect rect;
    if (!positionRect(position, rect)) return false;
    y = rect.top;
    return true;
}

ldomPosition ldomDocumentGeometry::positionAt(int x, int y, int direction) const {
    ldomNode* root = document_.getRootNode();
    if (!root) return ldomPosition();
    if (ldomNode* block = finalBlockAt(x, y, direction)) {
        const KsRect box = elementRect(block);
        x -= box.left;
        y -= box.top;
        const RenderMethod method = block->renderMethod();
        if (method != RenderMethod::Final && method != RenderMethod::ListItem)
            return ldomPosition(block, y >= (box.bottom - box.top) / 2 ? block->childCount() : 0);
        ldomBlockText text;
        if (!formatBlock(block, text)) return ldomPosition();
        const ldomBlockTextLine* found = nullptr;
        for (const ldomBlockTextLine& line : text.lines) {
            if (line.words.empty()) continue;
            found = &line;
            if (y < line.y + line.height) break;
        }
        if (!found) return ldomPosition();
        const ldomBlockTextWord* word = &found->words.back();
        for (const ldomBlockTextWord& w : found->words) {
            if (x - found->x < w.x + w.width) {
                word = &w;
                break;
            }
        }
        if (word->item < 0 || size_t(word->item) >= text.items.size()) return ldomPosition();
        const ldomBlockTextItem& item = text.items[static_cast<size_t>(word->item)];
        if (item.isImage) return ldomPosition(item.node, 0);
        std::vector<int> widths = MeasureWordPrefix(item, *word, word->length);
        int j = 0;
        for (; j < static_cast<int>(widths.size()); ++j) {
            const int before = j > 0 ? widths[static_cast<size_t>(j - 1)] : 0;
            if (word->x + (before + widths[static_cast<size_t>(j)]) / 2 > x - found->x) break;
        }
        if (j == static_cast<int>(widths.size())) j = word->length;
        return ldomPosition(item.node, item.offsetInNode + word->offset + j);
    }
    if (y >= fullHeight()) {
        ldomNode* last = root->lastTextDescendant();
        return last ? ldomPosition(last, last->text().Length()) : ldomPosition();
    }
    if (y < 1) {
        ldomPathPosition cursor(ldomPosition(root, -1));
        return cursor.nextText() ? ldomPosition(cursor.getNode(), 0) : ldomPosition();
    }
    LogDebug("not final node");
    return ldomPosition();
}

bool ldomDocumentGeometry::findText(const string16& pattern, SearchCase searchCase,
                                    SearchDirection direction, int minY, int maxY,
                                    std::vector<ldomTextSpan>& hits, int maxCount,
                                    int maxHeight) const {
    hits.clear();
    const int height = fullHeight();
    minY = std::max(minY, 0);
    if (maxY <= 0 || maxY > height) maxY = height;
    const int dir = direction == SearchDirection::Forward ? 1 : -1;
    ldomPosition start = positionAt(0, minY, dir);
    ldomPosition end = positionAt(10000, maxY, dir);
    LogDebug("ldomDocument::findText() for Y %d..%d, range %d..%d", minY, maxY,
             positionPoint(start).y, positionPoint(end).y);
    const ldomNode* startNode = start.getNode();
    const ldomNode* endNode = end.getNode();
    if ((startNode && !startNode->isText()) || (endNode && !endNode->isText())) {
        if (startNode && !startNode->isText()) {
            ldomNode* text = FirstVisibleText(start);
            start = text ? ldomPosition(text, 0) : ldomPosition();
        }
        if (endNode && !endNode->isText()) {
            ldomNode* text = LastVisibleText(end);
            end = text ? ldomPosition(text, text->text().Length()) : ldomPosition();
        }
        LogDebug("ldomDocument::findText() updated range %d..%d", positionPoint(start).y,
                 positionPoint(end).y);
    }
    if (start.isNull() || end.isNull() || ComparePositions(start, end) > 0) {
        LogDebug("No text found: Range is empty");
        return false;
    }
    const ldomXRange range(start, end);
    return range.findText(pattern, searchCase, direction, hits, maxCount, maxHeight,
                          HeightLimitFrom::FirstHit, this);
}

std::vector<ldomMarkedRange> ldomDocumentGeometry::markedRanges(
    const ldomXRangeList& ranges) const {
    std::vector<ldomMarkedRange> result;
    for (const ldomXRange& range : ranges) {
        const KsPoint start = positionPoint(range.getStart());
        const KsPoint end = positionPoint(range.getEnd());
        if (end.y < start.y || (end.y == start.y && end.x <= start.x)) continue;
        result.push_back({start, end, range.getFlags()});
    }
    return result;
}
