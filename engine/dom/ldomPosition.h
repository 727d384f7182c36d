#pragma once

#include <cstdint>

#include "engine/core/KsString.h"

class ldomDocument;
class ldomNode;

// A place in a document: a node and an offset (a character index in a text node, a child index
// in an element, -1 where no offset applies). It keeps the node's stable key, not a handle, so it
// outlives persisting and modifying; once the node or its document is gone it is null. Its text
// form is a path of element steps from the root, e.g.
// "/FictionBook/body/section[2]/p[5]/text().12", which survives re-rendering and is what bookmarks,
// history and links store.
class ldomPosition {
public:
    ldomPosition() = default;
    // A null node gives the null position.
    explicit ldomPosition(const ldomNode* node, int offset = -1);

    // Reads a path text (see toString) or "#" and an id. Anything that does not name a node of
    // this document, an index out of range included, gives the null position.
    static ldomPosition fromString(ldomDocument* document, const string16& text);

    // The path text; empty for the null position.
    string16 toString() const;

    bool isNull() const { return getNode() == nullptr; }
    explicit operator bool() const { return !isNull(); }
    // The node, or null when the position is null or its node no longer exists.
    ldomNode* getNode() const;
    ldomDocument* getDocument() const { return isNull() ? nullptr : document_; }
    int getOffset() const { return offset_; }
    void setOffset(int offset) { offset_ = offset; }
    // The node's nodeRef with the persistence bits cleared (0 for null).
    uint32_t nodeRefKey() const { return isNull() ? 0 : nodeRef_; }

    // Same node and offset.
    bool operator==(const ldomPosition& other) const;
    bool operator!=(const ldomPosition& other) const { return !(*this == other); }

private:
    ldomDocument* document_ = nullptr;
    int docSlot_ = -1;
    uint32_t nodeRef_ = 0;
    int offset_ = -1;
};

// One step of a path text: "name", "name[n]", "text()", "text()[n]" for the node under its
// parent (bracketed only when the parent has more than one such child).
string16 PathStepOf(const ldomNode* node);
