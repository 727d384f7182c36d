#pragma once

#include <cstdint>
#include <functional>

#include "engine/core/KsString.h"
#include "engine/dom/RenderMethod.h"
#include "engine/dom/ldomRecords.h"

class ldomDocument;
class tinyNodeCollection;

// Kinds of node, the low bits of a nodeRef: bit 0 element, bit 1 persistent.
enum ldomNodeKind : uint32_t {
    NT_MUTABLE_TEXT = 0,
    NT_MUTABLE_ELEMENT = 1,
    NT_PERSISTENT_TEXT = 2,
    NT_PERSISTENT_ELEMENT = 3,
};

// nodeRef = (node number << 4) | kind. Text nodes and elements are numbered independently.
constexpr uint32_t kNodeRefElementBit = 1;
constexpr uint32_t kNodeRefPersistenceBits = 0xE;
// A key that does not change when the node is persisted or modified.
constexpr uint32_t NodeRefKey(uint32_t nodeRef) {
    return nodeRef & ~kNodeRefPersistenceBits;
}
constexpr uint32_t NodeRefNumber(uint32_t nodeRef) {
    return nodeRef >> 4;
}
constexpr bool SameNode(uint32_t a, uint32_t b) {
    return NodeRefKey(a) == NodeRefKey(b);
}

// Namespace argument of attribute lookups that matches any namespace.
constexpr int kAnyNamespace = -1;
// Attribute value index of an attribute that is not there.
constexpr uint32_t kNoAttrValue = 0xFFFFFFFFu;

// The 8-byte handle of a node. Handles live in the document's instance tables, and an
// `ldomNode*` into a table stays valid for the node's lifetime. A copy of a handle also works:
// every operation finds the node's current entry through the document table first, so a copy
// taken before the node was persisted or modified still reaches the node.
//
//   handle word: bits 0-7 document slot, bits 8-31 nodeRef
//   data word:   mutable node: index into the document's side table of mutable objects;
//                persistent node: record address in its storage; free slot: next free number
class ldomNode {
public:
    ldomNode() = default;

    // --- Identity ---
    bool isNull() const { return live().nodeRef() == 0; }
    bool isElement() const { return (live().nodeRef() & kNodeRefElementBit) != 0; }
    bool isText() const { return !isNull() && !isElement(); }
    bool isPersistent() const { return (live().nodeRef() & 2) != 0; }
    // The document slot (0-255) the handle belongs to.
    int docSlot() const { return static_cast<int>(handle_ & 0xFF); }
    ldomDocument* getDocument() const;
    // The current nodeRef (persistence bits included) and the stable key (bits 1-3 cleared).
    uint32_t getNodeRef() const { return live().nodeRef(); }
    uint32_t getDataIndex() const { return NodeRefKey(nodeRef()); }
    uint32_t nodeNumber() const { return NodeRefNumber(nodeRef()); }

    // --- Tree ---
    bool isRoot() const;
    ldomNode* parent() const;
    uint32_t parentRef() const;
    // Element-only accessors return 0, null or empty on a text node.
    int childCount() const;
    ldomNode* childAt(int index) const;
    uint32_t childRefAt(int index) const;
    ldomNode* firstChild() const { return childAt(0); }
    ldomNode* lastChild() const;
    // Index of the child with that nodeRef (persistence bits ignored), or -1.
    int childIndexOf(uint32_t nodeRef) const;
    // Index of this node in its parent's child list, or -1.
    int indexInParent() const;

    // --- Names and attributes ---
    uint16_t nameId() const;
    void setNameId(uint16_t id);
    uint16_t nsId() const;
    // Element name from the name table (empty when unknown).
    const string16& name() const;
    bool isNodeName(const char* name) const;
    bool isNodeName(const string16& name) const;
    int attrCount() const;
    // Attribute i (0-based); zeros beyond the count.
    ldomAttribute attrAt(int index) const;
    // Value index of the attribute (ns kAnyNamespace matches any), or kNoAttrValue.
    uint32_t attrValueIndex(int nsId, uint16_t attrId) const;
    // Value text, or the shared empty string.
    const string16& attrValue(int nsId, uint16_t attrId) const;
    const string16& attrValue(const char* nsName, const char* attrName) const;
    const string16& attrValue(const char* attrName) const { return attrValue(nullptr, attrName); }
    bool hasAttr(int nsId, uint16_t attrId) const;
    // Sets (or replaces) an attribute; false when it cannot be stored (see the limits).
    bool setAttributeValue(int nsId, uint16_t attrId, const string16& value);

    RenderMethod renderMethod() const;
    void setRenderMethod(RenderMethod method);

    // --- Text ---
    // A text node's text; for an element the texts of its descendants, with the delimiter (if
    // not 0) after every child element whose display is block; stops once longer than
    // maxLength (0: no limit).
    string16 text(unit16 blockDelimiter = 0, int32_t maxLength = 0) const;
    // A text node's UTF-8 bytes (empty for elements).
    string8 text8() const;
    // Bytes of a text node's UTF-8 text.
    int32_t textLength8() const;

    // --- Finding ---
    // The n-th (0-based; -1: first) child element with that name (and namespace, unless
    // kAnyNamespace); text children are skipped.
    ldomNode* findChild(int nsId, uint16_t nameId, int n = -1) const;
    // Follows findChild(any, id) for each id of a 0-terminated list.
    ldomNode* findChildByPath(const uint16_t* path) const;
    // Pre-order walk over the elements of the subtree (this one included).
    void visitElements(const std::function<void(ldomNode*)>& callback);
    void visitElementsPostOrder(const std::function<void(ldomNode*)>& callback);
    // The last text node in document order inside this node (itself when it is text), or null.
    ldomNode* lastTextDescendant() const;

    // --- Changing the tree ---
    // The new element, inserted at the position (outside 0..childCount it is appended). Null
    // when the document cannot grow any more.
    ldomNode* insertElement(int position, uint16_t nsId, uint16_t nameId);
    // Appends a persistent text node. A run longer than a text record can hold becomes several
    // consecutive text nodes; the first is returned (null when the document is full).
    ldomNode* insertText(const string8& utf8);
    ldomNode* insertText(const string16& text);
    // Detaches and returns child i (null when out of range).
    ldomNode* removeChildAt(int index);
    // Moves children first..last (clamped) to the end of the destination, in order. Refused
    // (false) when the destination lies inside one of the moved children.
    bool moveChildrenTo(ldomNode* destination, int first, int last);
    // Detaches the node and releases it with its whole subtree; the root cannot be destroyed.
    void destroy();

    // Writes a mutable node into its storage (false when the storage is full: the node stays
    // mutable) / makes a persistent node mutable again.
    bool persist();
    ldomNode* modify();

    // --- Style, font and layout box ---
    ldomElementStyleRef styleRef() const;
    void setStyleRef(ldomElementStyleRef ref);
    ldomRenderRect renderRect() const;
    void setRenderRect(const ldomRenderRect& rect);

private:
    friend class tinyNodeCollection;

    uint32_t nodeRef() const { return handle_ >> 8; }
    uint32_t kind() const { return nodeRef() & 3; }
    tinyNodeCollection* collection() const;
    // The node's current entry in its document's instance table (a null handle when gone).
    const ldomNode& live() const;
    ldomNode& live();

    uint32_t handle_ = 0;
    uint32_t data_ = 0;
};
static_assert(sizeof(ldomNode) == 8, "a node handle is 8 bytes");
