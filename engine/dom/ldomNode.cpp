#include "engine/dom/ldomNode.h"

#include <algorithm>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentTable.h"

namespace {

const ldomNode kNullNode;
const string16 kEmptyText;

[[noreturn]] void TextNodeIsReadOnly() {
    FatalError(125, "Text node is persistent (read-only)! Call modify() to get r/w instance.");
}

// Cuts a UTF-8 run of more than `limit` bytes before a character start, so that no sequence is
// split between two text nodes.
uint32_t CharacterBoundaryCut(const char* text, uint32_t limit) {
    uint32_t cut = limit;
    for (int back = 0; back < 3 && cut > 0 && (uint8_t(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return (cut == 0 || (uint8_t(text[cut]) & 0xC0) == 0x80) ? limit : cut;
}

}  // namespace

// --- Resolution ---

tinyNodeCollection* ldomNode::collection() const {
    return nodeRef() ? ldomDocumentTable::documentAt(docSlot()) : nullptr;
}

const ldomNode& ldomNode::live() const {
    uint32_t ref = nodeRef();
    if (!ref) return kNullNode;
    tinyNodeCollection* doc = ldomDocumentTable::documentAt(docSlot());
    if (!doc) return kNullNode;
    const ldomNode* current = doc->entry((ref & kNodeRefElementBit) != 0, NodeRefNumber(ref));
    if (!current || !SameNode(current->nodeRef(), ref)) return kNullNode;
    return *current;
}

ldomNode& ldomNode::live() {
    return const_cast<ldomNode&>(static_cast<const ldomNode*>(this)->live());
}

ldomDocument* ldomNode::getDocument() const {
    return static_cast<ldomDocument*>(live().collection());
}

// --- Tree ---

uint32_t ldomNode::parentRef() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    switch (n.kind()) {
        case NT_MUTABLE_ELEMENT:
            return doc->mutableElement(n).parentRef;
        case NT_MUTABLE_TEXT:
            return doc->mutableText(n).parentRef;
        case NT_PERSISTENT_ELEMENT: {
            const ldomElementRecord* record = doc->elementRecord(n);
            return record ? record->parentRef : 0;
        }
        default: {
            const ldomTextRecord* record = doc->textRecord(n);
            return record ? record->parentRef : 0;
        }
    }
}

bool ldomNode::isRoot() const {
    return !isNull() && parentRef() == 0;
}

ldomNode* ldomNode::parent() const {
    uint32_t ref = parentRef();
    return ref ? live().collection()->nodeForRef(ref) : nullptr;
}

int ldomNode::childCount() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    if (n.kind() == NT_MUTABLE_ELEMENT)
        return static_cast<int>(doc->mutableElement(n).children.size());
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record ? static_cast<int>(record->childCount) : 0;
    }
    return 0;
}

uint32_t ldomNode::childRefAt(int index) const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || index < 0) return 0;
    if (n.kind() == NT_MUTABLE_ELEMENT) {
        const ldomMutableElement& element = doc->mutableElement(n);
        return size_t(index) < element.children.size() ? element.children[size_t(index)] : 0;
    }
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record && uint32_t(index) < record->childCount ? record->children()[index] : 0;
    }
    return 0;
}

ldomNode* ldomNode::childAt(int index) const {
    uint32_t ref = childRefAt(index);
    return ref ? live().collection()->nodeForRef(ref) : nullptr;
}

ldomNode* ldomNode::lastChild() const {
    int count = childCount();
    return count ? childAt(count - 1) : nullptr;
}

int ldomNode::childIndexOf(uint32_t ref) const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return -1;
    const uint32_t* children = nullptr;
    size_t count = 0;
    if (n.kind() == NT_MUTABLE_ELEMENT) {
        const ldomMutableElement& element = doc->mutableElement(n);
        children = element.children.data();
        count = element.children.size();
    } else if (n.kind() == NT_PERSISTENT_ELEMENT) {
        if (const ldomElementRecord* record = doc->elementRecord(n)) {
            children = record->children();
            count = record->childCount;
        }
    }
    // From the end: while a book is built the node asked for is usually the last child.
    for (size_t i = count; i-- > 0;)
        if (SameNode(children[i], ref)) return static_cast<int>(i);
    return -1;
}

int ldomNode::indexInParent() const {
    ldomNode* p = parent();
    return p ? p->childIndexOf(getNodeRef()) : -1;
}

// --- Names and attributes ---

uint16_t ldomNode::nameId() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    if (n.kind() == NT_MUTABLE_ELEMENT) return doc->mutableElement(n).nameId;
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record ? record->nameId : 0;
    }
    return 0;
}

void ldomNode::setNameId(uint16_t id) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return;
    if (n.kind() == NT_MUTABLE_ELEMENT) {
        doc->mutableElement(n).nameId = id;
    } else if (n.kind() == NT_PERSISTENT_ELEMENT) {
        if (ldomElementRecord* record = doc->elementRecord(n)) record->nameId = id;
    }
}

uint16_t ldomNode::nsId() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    if (n.kind() == NT_MUTABLE_ELEMENT) return doc->mutableElement(n).nsId;
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record ? record->nsId : 0;
    }
    return 0;
}

const string16& ldomNode::name() const {
    if (!isElement()) return kEmptyText;
    return getDocument()->getElementName(nameId());
}

bool ldomNode::isNodeName(const string16& text) const {
    if (!isElement()) return false;
    uint16_t id = getDocument()->findElementNameIndex(text);
    return id != 0 && id == nameId();
}

bool ldomNode::isNodeName(const char* text) const {
    return isNodeName(Utf8ToString16(text));
}

int ldomNode::attrCount() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    if (n.kind() == NT_MUTABLE_ELEMENT)
        return static_cast<int>(doc->mutableElement(n).attrs.size());
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record ? record->attrCount : 0;
    }
    return 0;
}

ldomAttribute ldomNode::attrAt(int index) const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || index < 0) return {0, 0, kNoAttrValue};
    if (n.kind() == NT_MUTABLE_ELEMENT) {
        const ldomMutableElement& element = doc->mutableElement(n);
        if (size_t(index) < element.attrs.size()) return element.attrs[size_t(index)];
    } else if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        if (record && index < record->attrCount) return record->attrs()[index];
    }
    return {0, 0, kNoAttrValue};
}

uint32_t ldomNode::attrValueIndex(int ns, uint16_t attrId) const {
    int count = attrCount();
    for (int i = 0; i < count; ++i) {
        ldomAttribute attr = attrAt(i);
        if (attr.id == attrId && (ns == kAnyNamespace || attr.nsId == ns)) return attr.valueIndex;
    }
    return kNoAttrValue;
}

const string16& ldomNode::attrValue(int ns, uint16_t attrId) const {
    uint32_t index = attrValueIndex(ns, attrId);
    if (index == kNoAttrValue) return kEmptyText;
    return getDocument()->getAttrValue(index);
}

const string16& ldomNode::attrValue(const char* nsName, const char* attrName) const {
    if (!isElement() || !attrName) return kEmptyText;
    ldomDocument* doc = getDocument();
    int ns = kAnyNamespace;
    if (nsName && *nsName) {
        ns = doc->findNsNameIndex(Utf8ToString16(nsName));
        if (!ns) return kEmptyText;
    }
    uint16_t id = doc->findAttrNameIndex(Utf8ToString16(attrName));
    return id ? attrValue(ns, id) : kEmptyText;
}

bool ldomNode::hasAttr(int ns, uint16_t attrId) const {
    return attrValueIndex(ns, attrId) != kNoAttrValue;
}

bool ldomNode::setAttributeValue(int ns, uint16_t attrId, const string16& value) {
    ldomNode& n = live();
    tinyNodeCollection* collection = n.collection();
    if (!collection || !(n.nodeRef() & kNodeRefElementBit)) return false;
    auto* doc = static_cast<ldomDocument*>(collection);
    uint32_t valueIndex = doc->getAttrValueIndex(value);
    if (valueIndex == ldomAttrValueTable::kNotFound) return false;
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        // A value can be replaced inside the record; a new attribute needs a mutable element.
        if (ldomElementRecord* record = doc->elementRecord(n)) {
            ldomAttribute* attrs = record->attrs();
            for (uint16_t i = 0; i < record->attrCount; ++i) {
                if (attrs[i].id == attrId && (ns == kAnyNamespace || attrs[i].nsId == ns)) {
                    attrs[i].valueIndex = valueIndex;
                    doc->onAttributeSet(&n, attrs[i].nsId, attrId, valueIndex);
                    return true;
                }
            }
        }
        doc->modifyNode(n);
    }
    ldomMutableElement& element = doc->mutableElement(n);
    for (ldomAttribute& attr : element.attrs) {
        if (attr.id == attrId && (ns == kAnyNamespace || attr.nsId == ns)) {
            attr.valueIndex = valueIndex;
            doc->onAttributeSet(&n, attr.nsId, attrId, valueIndex);
            return true;
        }
    }
    if (element.attrs.size() >= kMaxElementAttributes) {
        LogWarn("Element %s has %u attributes already: attribute %s dropped",
                String16ToUtf8(doc->getElementName(element.nameId)).CStr(), kMaxElementAttributes,
                String16ToUtf8(doc->getAttrName(attrId)).CStr());
        return false;
    }
    auto storedNs = static_cast<uint16_t>(ns == kAnyNamespace ? 0 : ns);
    element.attrs.push_back({storedNs, attrId, valueIndex});
    doc->onAttributeSet(&n, storedNs, attrId, valueIndex);
    return true;
}

RenderMethod ldomNode::renderMethod() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return RenderMethod::Invisible;
    if (n.kind() == NT_MUTABLE_ELEMENT)
        return static_cast<RenderMethod>(doc->mutableElement(n).renderMethod);
    if (n.kind() == NT_PERSISTENT_ELEMENT) {
        const ldomElementRecord* record = doc->elementRecord(n);
        return record ? static_cast<RenderMethod>(record->renderMethod) : RenderMethod::Invisible;
    }
    return RenderMethod::Invisible;
}

void ldomNode::setRenderMethod(RenderMethod method) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return;
    if (n.kind() == NT_MUTABLE_ELEMENT) {
        doc->mutableElement(n).renderMethod = static_cast<uint32_t>(method);
    } else if (n.kind() == NT_PERSISTENT_ELEMENT) {
        if (ldomElementRecord* record = doc->elementRecord(n))
            record->renderMethod = static_cast<uint8_t>(method);
    }
}

// --- Text ---

string8 ldomNode::text8() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return string8();
    if (n.kind() == NT_MUTABLE_TEXT) return doc->mutableText(n).text;
    if (n.kind() == NT_PERSISTENT_TEXT) {
        const ldomTextRecord* record = doc->textRecord(n);
        return record ? string8(record->text, record->length) : string8();
    }
    return string8();
}

int32_t ldomNode::textLength8() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return 0;
    if (n.kind() == NT_MUTABLE_TEXT) return doc->mutableText(n).text.Length();
    if (n.kind() == NT_PERSISTENT_TEXT) {
        const ldomTextRecord* record = doc->textRecord(n);
        return record ? record->length : 0;
    }
    return 0;
}

string16 ldomNode::text(unit16 blockDelimiter, int32_t maxLength) const {
    if (isNull()) return string16();
    if (isText()) return Utf8ToString16(text8());
    const ldomDocument* doc = getDocument();
    string16 result;
    struct Frame {
        const ldomNode* node;
        int next;
    };
    // An explicit stack: deep trees must not exhaust the call stack.
    std::vector<Frame> stack{{&live(), 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->childCount()) {
            const ldomNode* done = top.node;
            stack.pop_back();
            if (!stack.empty() && blockDelimiter && doc->nodeDisplay(done) == CssDisplay::Block)
                result.Append(blockDelimiter);
        } else {
            const ldomNode* child = top.node->childAt(top.next++);
            if (!child) continue;
            if (child->isText())
                result.Append(Utf8ToString16(child->text8()));
            else
                stack.push_back({child, 0});
        }
        if (maxLength > 0 && result.Length() > maxLength) break;
    }
    return result;
}

// --- Finding ---

ldomNode* ldomNode::findChild(int ns, uint16_t id, int n) const {
    int count = childCount();
    int seen = 0;
    for (int i = 0; i < count; ++i) {
        ldomNode* child = childAt(i);
        if (!child || !child->isElement() || child->nameId() != id) continue;
        if (ns != kAnyNamespace && child->nsId() != ns) continue;
        if (n < 0 || seen == n) return child;
        ++seen;
    }
    return nullptr;
}

ldomNode* ldomNode::findChildByPath(const uint16_t* path) const {
    const ldomNode* node = &live();
    if (node->isNull()) return nullptr;
    for (; path && *path; ++path) {
        node = node->findChild(kAnyNamespace, *path, -1);
        if (!node) return nullptr;
    }
    return const_cast<ldomNode*>(node);
}

void ldomNode::visitElements(const std::function<void(ldomNode*)>& callback) {
    ldomNode* start = &live();
    if (!start->isElement()) return;
    struct Frame {
        ldomNode* node;
        int next;
    };
    callback(start);
    std::vector<Frame> stack{{start, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->childCount()) {
            stack.pop_back();
            continue;
        }
        ldomNode* child = top.node->childAt(top.next++);
        if (!child || !child->isElement()) continue;
        callback(child);
        stack.push_back({child, 0});
    }
}

void ldomNode::visitElementsPostOrder(const std::function<void(ldomNode*)>& callback) {
    ldomNode* start = &live();
    if (!start->isElement()) return;
    struct Frame {
        ldomNode* node;
        int next;
    };
    std::vector<Frame> stack{{start, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.node->childCount()) {
            ldomNode* done = top.node;
            stack.pop_back();
            callback(done);
            continue;
        }
        ldomNode* child = top.node->childAt(top.next++);
        if (child && child->isElement()) stack.push_back({child, 0});
    }
}

ldomNode* ldomNode::lastTextDescendant() const {
    const ldomNode* start = &live();
    if (start->isNull()) return nullptr;
    if (start->isText()) return const_cast<ldomNode*>(start);
    struct Frame {
        const ldomNode* node;
        int next;  // next child to look at, counting down
    };
    std::vector<Frame> stack{{start, start->childCount() - 1}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < 0) {
            stack.pop_back();
            continue;
        }
        ldomNode* child = top.node->childAt(top.next--);
        if (!child) continue;
        if (child->isText()) return child;
        stack.push_back({child, child->childCount() - 1});
    }
    return nullptr;
}

// --- Changing the tree ---

ldomNode* ldomNode::insertElement(int position, uint16_t ns, uint16_t id) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return nullptr;
    if (!(n.nodeRef() & kNodeRefElementBit)) TextNodeIsReadOnly();
    if (n.kind() == NT_PERSISTENT_ELEMENT) doc->modifyNode(n);
    ldomNode* child = doc->createElement(n.nodeRef(), ns, id);
    if (!child) return nullptr;
    std::vector<uint32_t>& children = doc->mutableElement(n).children;
    if (position < 0 || size_t(position) > children.size())
        position = static_cast<int>(children.size());
    children.insert(children.begin() + position, child->nodeRef());
    return child;
}

ldomNode* ldomNode::insertText(const string8& utf8) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return nullptr;
    if (!(n.nodeRef() & kNodeRefElementBit)) TextNodeIsReadOnly();
    if (n.kind() == NT_PERSISTENT_ELEMENT) doc->modifyNode(n);
    std::vector<uint32_t>& children = doc->mutableElement(n).children;
    const char* rest = utf8.CStr();
    auto left = static_cast<uint32_t>(utf8.Length());
    ldomNode* first = nullptr;
    // A text record holds at most 65 535 bytes: longer runs become consecutive text nodes.
    do {
        uint32_t take = left;
        if (take > ldomTextRecord::kMaxTextBytes)
            take = CharacterBoundaryCut(rest, ldomTextRecord::kMaxTextBytes);
        ldomNode* child = doc->createText(n.nodeRef(), rest, take);
        if (!child) break;
        children.push_back(child->nodeRef());
        if (!first) first = child;
        rest += take;
        left -= take;
    } while (left > 0);
    return first;
}

ldomNode* ldomNode::insertText(const string16& text) {
    return insertText(String16ToUtf8(text));
}

ldomNode* ldomNode::removeChildAt(int index) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return nullptr;
    if (!(n.nodeRef() & kNodeRefElementBit)) TextNodeIsReadOnly();
    if (index < 0 || index >= childCount()) return nullptr;
    if (n.kind() == NT_PERSISTENT_ELEMENT) doc->modifyNode(n);
    std::vector<uint32_t>& children = doc->mutableElement(n).children;
    uint32_t ref = children[size_t(index)];
    children.erase(children.begin() + index);
    ldomNode* child = doc->nodeForRef(ref);
    if (child) doc->setParentRef(*child, 0);
    return child;
}

bool ldomNode::moveChildrenTo(ldomNode* destination, int first, int last) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || !destination || !(n.nodeRef() & kNodeRefElementBit)) return false;
    ldomNode& dest = destination->live();
    if (dest.collection() != doc || !(dest.nodeRef() & kNodeRefElementBit)) return false;
    int count = childCount();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last) return true;
    // A child cannot be moved into its own subtree.
    for (const ldomNode* x = &dest; x;) {
        ldomNode* p = x->parent();
        if (p && SameNode(p->getNodeRef(), n.nodeRef())) {
            int index = n.childIndexOf(x->getNodeRef());
            if (index >= first && index <= last) {
                LogError("moveChildrenTo: the destination lies inside a moved child");
                return false;
            }
            break;
        }
        x = p;
    }
    if (n.kind() == NT_PERSISTENT_ELEMENT) doc->modifyNode(n);
    if (dest.kind() == NT_PERSISTENT_ELEMENT) doc->modifyNode(dest);
    std::vector<uint32_t>& from = doc->mutableElement(n).children;
    std::vector<uint32_t> moved(from.begin() + first, from.begin() + last + 1);
    from.erase(from.begin() + first, from.begin() + last + 1);
    std::vector<uint32_t>& to = doc->mutableElement(dest).children;
    for (uint32_t ref : moved) {
        to.push_back(ref);
        if (ldomNode* child = doc->nodeForRef(ref)) doc->setParentRef(*child, dest.nodeRef());
    }
    return true;
}

void ldomNode::destroy() {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || &n == doc->getRootNode()) return;
    if (ldomNode* p = n.parent()) {
        int index = p->childIndexOf(n.nodeRef());
        if (index >= 0) p->removeChildAt(index);
    }
    std::vector<ldomNode*> pending{&n};
    while (!pending.empty()) {
        ldomNode* node = pending.back();
        pending.pop_back();
        int count = node->childCount();
        for (int i = 0; i < count; ++i)
            if (ldomNode* child = node->childAt(i)) pending.push_back(child);
        doc->onNodeDestroyed(*node);
        switch (node->kind()) {
            case NT_MUTABLE_ELEMENT:
                doc->mutableElements_.release(node->data_);
                break;
            case NT_MUTABLE_TEXT:
                doc->mutableTexts_.release(node->data_);
                break;
            case NT_PERSISTENT_ELEMENT:
                if (ldomElementRecord* record = doc->elementRecord(*node)) {
                    record->type = LDOM_RECORD_FREED;
                    record->nodeRef = 0;
                }
                break;
            default:
                if (ldomTextRecord* record = doc->textRecord(*node)) {
                    record->type = LDOM_RECORD_FREED;
                    record->nodeRef = 0;
                }
                break;
        }
        doc->releaseNode(*node);
    }
}

bool ldomNode::persist() {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    return doc && doc->persistNode(n);
}

ldomNode* ldomNode::modify() {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc) return nullptr;
    doc->modifyNode(n);
    return &n;
}

// --- Style, font and layout box ---

ldomElementStyleRef ldomNode::styleRef() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || !(n.nodeRef() & kNodeRefElementBit)) return {};
    return doc->getNodeStyleRef(n.nodeRef());
}

void ldomNode::setStyleRef(ldomElementStyleRef ref) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (doc && (n.nodeRef() & kNodeRefElementBit)) doc->setNodeStyleRef(n.nodeRef(), ref);
}

ldomRenderRect ldomNode::renderRect() const {
    const ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (!doc || !(n.nodeRef() & kNodeRefElementBit)) return {};
    return doc->getNodeRenderRect(n.nodeRef());
}

void ldomNode::setRenderRect(const ldomRenderRect& rect) {
    ldomNode& n = live();
    tinyNodeCollection* doc = n.collection();
    if (doc && (n.nodeRef() & kNodeRefElementBit)) doc->setNodeRenderRect(n.nodeRef(), rect);
}
