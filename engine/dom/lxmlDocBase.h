#pragma once

#include <cstdint>

#include "engine/core/KsString.h"
#include "engine/dom/ldomAttrValueTable.h"
#include "engine/dom/ldomElementProps.h"
#include "engine/dom/ldomIdMap.h"
#include "engine/dom/ldomNameTable.h"
#include "engine/dom/tinyNodeCollection.h"

// The document layer of names: element, attribute and namespace name tables (16-bit ids), the
// attribute value table and the map from "id" values to elements.
class lxmlDocBase : public tinyNodeCollection {
public:
    // First ids given to names added at run time.
    static constexpr uint16_t kFirstDynamicElementId = 512;
    static constexpr uint16_t kFirstDynamicAttributeId = 512;
    static constexpr uint16_t kFirstDynamicNamespaceId = 32;

    // Loading tables ended by a row with id 0.
    void setNodeTypes(const ldomElementTypeEntry* table);
    void setAttributeTypes(const ldomNameTypeEntry* table);
    void setNameSpaceTypes(const ldomNameTypeEntry* table);

    // Find-or-add lookups (exact, case-sensitive). When a table is full, unknown names get
    // ldomNameTable::kUnknownId.
    uint16_t getElementNameIndex(const string16& name) { return elementNames_.findOrAdd(name); }
    uint16_t getElementNameIndex(const char* name);
    uint16_t getAttrNameIndex(const string16& name) { return attrNames_.findOrAdd(name); }
    uint16_t getAttrNameIndex(const char* name);
    uint16_t getNsNameIndex(const string16& prefix) { return nsNames_.findOrAdd(prefix); }
    uint16_t getNsNameIndex(const char* prefix);
    // Find-only lookups: 0 when the name is unknown.
    uint16_t findElementNameIndex(const string16& name) const { return elementNames_.find(name); }
    uint16_t findAttrNameIndex(const string16& name) const { return attrNames_.find(name); }
    uint16_t findNsNameIndex(const string16& prefix) const { return nsNames_.find(prefix); }

    const string16& getElementName(uint16_t id) const { return elementNames_.nameOf(id); }
    const string16& getAttrName(uint16_t id) const { return attrNames_.nameOf(id); }
    const string16& getNsName(uint16_t id) const { return nsNames_.nameOf(id); }
    // Properties of an element type, or null.
    const ldomElementProps* getElementTypePtr(uint16_t id) const;

    // Attribute values.
    uint32_t getAttrValueIndex(const string16& value) { return attrValues_.indexOf(value); }
    uint32_t findAttrValueIndex(const string16& value) const { return attrValues_.find(value); }
    const string16& getAttrValue(uint32_t index) const { return attrValues_.valueAt(index); }
    uint32_t attrValueCount() const { return attrValues_.count(); }

    // Sets an attribute of an element: replaces the value of an attribute with that namespace
    // (kAnyNamespace matches any) and id, or appends one. An "id" in namespace 0, or a "name"
    // of an "a" element, also maps the value to the element. False when it cannot be stored.
    bool setAttribute(ldomNode* element, int nsId, uint16_t attrId, const string16& value);

    // The element whose id (or anchor name) is that text, or null.
    ldomNode* getNodeById(const string16& idValue) const;
    void setNodeId(uint32_t valueIndex, ldomNode* element);

    // Called after an attribute of an element changed: keeps the id map up to date.
    void onAttributeSet(ldomNode* element, uint16_t nsId, uint16_t attrId, uint32_t valueIndex);

    // Ids of the "id" and "name" attributes (0 while unknown).
    uint16_t idAttrId();
    uint16_t nameAttrId();

    const ldomNameTable& elementNames() const { return elementNames_; }
    const ldomNameTable& attrNames() const { return attrNames_; }
    const ldomNameTable& nsNames() const { return nsNames_; }

protected:
    lxmlDocBase();

private:
    ldomNameTable elementNames_;
    ldomNameTable attrNames_;
    ldomNameTable nsNames_;
    ldomAttrValueTable attrValues_;
    ldomIdMap idMap_;
    uint16_t idAttrId_ = 0;
    uint16_t nameAttrId_ = 0;
    uint16_t anchorElementId_ = 0;
};
