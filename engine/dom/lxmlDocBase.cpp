#include "engine/dom/lxmlDocBase.h"

#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

lxmlDocBase::lxmlDocBase()
    : elementNames_("element", kFirstDynamicElementId),
      attrNames_("attribute", kFirstDynamicAttributeId),
      nsNames_("namespace", kFirstDynamicNamespaceId) {}

void lxmlDocBase::setNodeTypes(const ldomElementTypeEntry* table) {
    for (; table && table->id; ++table)
        elementNames_.add(table->id, Utf8ToString16(table->name), table->props);
}

void lxmlDocBase::setAttributeTypes(const ldomNameTypeEntry* table) {
    for (; table && table->id; ++table)
        attrNames_.add(table->id, Utf8ToString16(table->name), std::nullopt);
    idAttrId_ = attrNames_.find(string16("id"));
}

void lxmlDocBase::setNameSpaceTypes(const ldomNameTypeEntry* table) {
    for (; table && table->id; ++table)
        nsNames_.add(table->id, Utf8ToString16(table->name), std::nullopt);
}

uint16_t lxmlDocBase::getElementNameIndex(const char* name) {
    return elementNames_.findOrAdd(Utf8ToString16(name));
}
uint16_t lxmlDocBase::getAttrNameIndex(const char* name) {
    return attrNames_.findOrAdd(Utf8ToString16(name));
}
uint16_t lxmlDocBase::getNsNameIndex(const char* prefix) {
    return nsNames_.findOrAdd(Utf8ToString16(prefix));
}

const ldomElementProps* lxmlDocBase::getElementTypePtr(uint16_t id) const {
    const ldomNameEntry* entry = elementNames_.byId(id);
    return entry && entry->props ? &*entry->props : nullptr;
}

uint16_t lxmlDocBase::idAttrId() {
    if (!idAttrId_) idAttrId_ = attrNames_.find(string16("id"));
    return idAttrId_;
}

uint16_t lxmlDocBase::nameAttrId() {
    if (!nameAttrId_) nameAttrId_ = attrNames_.find(string16("name"));
    return nameAttrId_;
}

void lxmlDocBase::setNodeId(uint32_t valueIndex, ldomNode* element) {
    if (element && valueIndex != kNoAttrValue) idMap_.set(valueIndex, element->getDataIndex());
}

ldomNode* lxmlDocBase::getNodeById(const string16& idValue) const {
    uint32_t index = attrValues_.find(idValue);
    if (index == ldomAttrValueTable::kNotFound) return nullptr;
    uint32_t key = idMap_.get(index);
    if (!key) return nullptr;
    ldomNode* node = nodeForRef(key);
    if (!node || !node->isElement()) return nullptr;
    // The number may have been given to another element after this one was destroyed.
    if (node->attrValueIndex(0, idAttrId_) != index &&
        (!nameAttrId_ || node->attrValueIndex(0, nameAttrId_) != index))
        return nullptr;
    return node;
}

bool lxmlDocBase::setAttribute(ldomNode* element, int nsId, uint16_t attrId,
                               const string16& value) {
    return element && element->setAttributeValue(nsId, attrId, value);
}

void lxmlDocBase::onAttributeSet(ldomNode* element, uint16_t nsId, uint16_t attrId,
                                 uint32_t valueIndex) {
    if (nsId != 0 || valueIndex == kNoAttrValue) return;
    if (attrId == idAttrId() && attrId != 0) {
        setNodeId(valueIndex, element);
    } else if (attrId == nameAttrId() && attrId != 0) {
        // Named anchors are found like ids.
        if (!anchorElementId_) anchorElementId_ = elementNames_.find(string16("a"));
        if (anchorElementId_ && element->nameId() == anchorElementId_)
            setNodeId(valueIndex, element);
    }
}
