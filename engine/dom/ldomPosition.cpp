#include "engine/dom/ldomPosition.h"

#include <vector>

#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentTable.h"

namespace {

// Numbers in path texts: at most 9 digits, so that they fit an int whatever they say.
constexpr int kMaxPathNumberDigits = 9;

// 1-based number of `node` among the children of `parent` that `same` accepts, and how many
// such children there are.
template <typename Same>
void CountSiblings(const ldomNode* parent, const ldomNode* node, Same same, int& number,
                   int& total) {
    number = 0;
    total = 0;
    const uint32_t key = node->getDataIndex();
    const int count = parent->childCount();
    for (int i = 0; i < count; ++i) {
        ldomNode* child = parent->childAt(i);
        if (!child || !same(child)) continue;
        ++total;
        if (child->getDataIndex() == key) number = total;
    }
}

class PathReader {
public:
    PathReader(const string16& text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.Length(); }
    bool take(unit16 c) {
        if (atEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool takeWord(const char* word) {
        int32_t i = 0;
        for (; word[i]; ++i)
            if (text_[pos_ + i] != unit16(uint8_t(word[i]))) return false;
        pos_ += i;
        return true;
    }
    bool atDigit() const { return !atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9'; }
    // Decimal digits; false when there are none or too many.
    bool number(int& value) {
        if (!atDigit()) return false;
        int64_t v = 0;
        int digits = 0;
        while (atDigit()) {
            if (++digits > kMaxPathNumberDigits) return false;
            v = v * 10 + (text_[pos_++] - '0');
        }
        value = static_cast<int>(v);
        return true;
    }
    // "[n]" when present: true with n, or true with -1 when absent; false when malformed.
    bool optionalIndex(int& index) {
        index = -1;
        if (!take('[')) return true;
        return number(index) && take(']');
    }
    // An element name: up to "/", "[" or a final "." followed by digits only.
    string16 name() {
        int32_t start = pos_;
        while (!atEnd()) {
            unit16 c = text_[pos_];
            if (c == '/' || c == '[') break;
            if (c == '.' && offsetFollows(pos_)) break;
            ++pos_;
        }
        return text_.Substr(start, pos_ - start);
    }

private:
    bool offsetFollows(int32_t dot) const {
        int32_t i = dot + 1;
        if (i >= text_.Length()) return false;
        for (; i < text_.Length(); ++i)
            if (text_[i] < '0' || text_[i] > '9') return false;
        return true;
    }

    const string16& text_;
    int32_t pos_ = 0;
};

// The n-th (1-based) child element with the name id, or null.
ldomNode* NthNamedChild(const ldomNode* parent, uint16_t nameId, int n) {
    const int count = parent->childCount();
    int seen = 0;
    for (int i = 0; i < count; ++i) {
        ldomNode* child = parent->childAt(i);
        if (child && child->isElement() && child->nameId() == nameId && ++seen == n) return child;
    }
    return nullptr;
}

ldomNode* NthTextChild(const ldomNode* parent, int n, int& total) {
    const int count = parent->childCount();
    ldomNode* found = nullptr;
    total = 0;
    for (int i = 0; i < count; ++i) {
        ldomNode* child = parent->childAt(i);
        if (child && child->isText() && ++total == n) found = child;
    }
    return found;
}

}  // namespace

ldomPosition::ldomPosition(const ldomNode* node, int offset) : offset_(offset) {
    if (!node || node->isNull()) return;
    document_ = node->getDocument();
    docSlot_ = node->docSlot();
    nodeRef_ = node->getDataIndex();
}

ldomNode* ldomPosition::getNode() const {
    if (!nodeRef_ || !document_) return nullptr;
    // The document may be gone: only a live registration lets us touch it.
    if (ldomDocumentTable::documentAt(docSlot_) != document_) return nullptr;
    return document_->nodeForRef(nodeRef_);
}

bool ldomPosition::operator==(const ldomPosition& other) const {
    return nodeRefKey() == other.nodeRefKey() && getDocument() == other.getDocument() &&
           offset_ == other.offset_;
}

string16 PathStepOf(const ldomNode* node) {
    ldomNode* parent = node->parent();
    string16 step;
    int number = 0;
    int total = 0;
    if (node->isText()) {
        step = string16("text()");
        if (parent)
            CountSiblings(
                parent, node, [](const ldomNode* n) { return n->isText(); }, number, total);
    } else {
        step = node->name();
        const uint16_t id = node->nameId();
        if (parent)
            CountSiblings(
                parent, node,
                [id](const ldomNode* n) { return n->isElement() && n->nameId() == id; }, number,
                total);
    }
    if (total >= 2) {
        step.Append('[');
        step.AppendDecimal(number);
        step.Append(']');
    }
    return step;
}

string16 ldomPosition::toString() const {
    ldomNode* node = getNode();
    if (!node) return string16();
    // Steps from the node up to (not including) the root element; no depth limit. A detached
    // subtree ends at its top node, whose step is its name alone.
    const ldomNode* root = document_->getRootNode();
    const uint32_t rootKey = root ? root->getDataIndex() : 0;
    std::vector<string16> steps;
    for (const ldomNode* n = node; n && n->getDataIndex() != rootKey; n = n->parent())
        steps.push_back(PathStepOf(n));
    string16 text;
    for (size_t i = steps.size(); i-- > 0;) {
        text.Append('/');
        text.Append(steps[i]);
    }
    if (offset_ >= 0) {
        text.Append('.');
        text.AppendDecimal(offset_);
    }
    return text;
}

ldomPosition ldomPosition::fromString(ldomDocument* document, const string16& text) {
    if (!document || text.Empty()) return ldomPosition();
    if (text[0] == '#') {
        ldomNode* element = document->getNodeById(text.Substr(1));
        return element ? ldomPosition(element, -1) : ldomPosition();
    }
    ldomNode* node = document->getRootNode();
    if (!node) return ldomPosition();
    PathReader reader(text);
    while (!reader.atEnd()) {
        if (reader.take('.')) {
            int offset = 0;
            if (!reader.number(offset) || !reader.atEnd()) return ldomPosition();
            const int limit = node->isText() ? node->text().Length() : node->childCount();
            if (offset > limit) return ldomPosition();
            return ldomPosition(node, offset);
        }
        if (!reader.take('/') || node->isText()) return ldomPosition();
        if (reader.takeWord("text()")) {
            int index = 0;
            if (!reader.optionalIndex(index)) return ldomPosition();
            int total = 0;
            ldomNode* child = NthTextChild(node, index < 0 ? 1 : index, total);
            if (!child || (index < 0 && total != 1)) return ldomPosition();
            node = child;
        } else if (reader.atDigit()) {
            int index = 0;
            if (!reader.number(index) || index < 1 || index > node->childCount())
                return ldomPosition();
            node = node->childAt(index - 1);
            if (!node) return ldomPosition();
        } else {
            const string16 name = reader.name();
            int index = 0;
            if (name.Empty() || !reader.optionalIndex(index)) return ldomPosition();
            const uint16_t id = document->findElementNameIndex(name);
            if (!id) return ldomPosition();
            const int n = index < 0 ? 1 : index;
            ldomNode* child = NthNamedChild(node, id, n);
            // A wrapper the path does not name (an automatic box, say): look inside it once.
            if (!child && node->childCount() == 1) {
                ldomNode* only = node->childAt(0);
                if (only && only->isElement()) child = NthNamedChild(only, id, n);
            }
            if (!child) return ldomPosition();
            node = child;
        }
    }
    return ldomPosition(node, -1);
}
