#include "engine/dom/tinyNodeCollection.h"

#include <cstring>

#include "engine/core/Log.h"
#include "engine/dom/ldomDocumentTable.h"

namespace {

// Chunk sizes and memory budgets of the four storages.
constexpr uint32_t kTextChunkSize = 0x8000;
constexpr uint32_t kTextBudget = 0x280000;
constexpr uint32_t kElementChunkSize = 0x4000;
constexpr uint32_t kElementBudget = 0x480000;
constexpr uint32_t kRectChunkSize = 0x8000;
constexpr uint32_t kRectBudget = 0x180000;
constexpr uint32_t kStyleChunkSize = 0x4000;
constexpr uint32_t kStyleBudget = 0x100000;

// Style entries: 4096 of 4 bytes per chunk; render rectangles: 2048 of 16 bytes per chunk.
inline uint32_t StyleChunk(uint32_t nodeRef) {
    return nodeRef >> 16;
}
inline uint32_t StyleOffset(uint32_t nodeRef) {
    return ((nodeRef >> 4) & 0xFFF) * sizeof(ldomElementStyleRef);
}
inline uint32_t RectChunk(uint32_t nodeRef) {
    return nodeRef >> 15;
}
inline uint32_t RectOffset(uint32_t nodeRef) {
    return ((nodeRef >> 4) & 0x7FF) * sizeof(ldomRenderRect);
}

}  // namespace

tinyNodeCollection::tinyNodeCollection()
    : textStorage_(this, 't', kTextChunkSize, kTextBudget),
      elementStorage_(this, 'e', kElementChunkSize, kElementBudget),
      rectStorage_(this, 'r', kRectChunkSize, kRectBudget),
      styleStorage_(this, 's', kStyleChunkSize, kStyleBudget) {
    docSlot_ = ldomDocumentTable::registerDocument(this);
    if (docSlot_ < 0) {
        full_ = true;
        return;
    }
    // The root: element number 1, no parent, ids 0.
    createElement(0, 0, 0);
}

tinyNodeCollection::~tinyNodeCollection() {
    ldomDocumentTable::unregisterDocument(this);
}

ldomNode* tinyNodeCollection::entry(bool element, uint32_t number) const {
    const InstanceTable& table = element ? elements_ : texts_;
    if (number == 0 || number > table.counter) return nullptr;
    const std::unique_ptr<ldomNode[]>& block = table.blocks[number / kBlockSize];
    return block ? &block[number % kBlockSize] : nullptr;
}

ldomNode* tinyNodeCollection::getRootNode() const {
    return nodeForRef(0x10 | kNodeRefElementBit);
}

ldomNode* tinyNodeCollection::nodeForRef(uint32_t nodeRef) const {
    ldomNode* node = entry((nodeRef & kNodeRefElementBit) != 0, NodeRefNumber(nodeRef));
    if (!node || node->nodeRef() == 0) return nullptr;
    return node;
}

void tinyNodeCollection::noteFull(const char* what) {
    if (!full_)
        LogError("Document is full (%s): it stops growing and keeps the %u nodes it has", what,
                 itemCount_);
    full_ = true;
}

ldomNode* tinyNodeCollection::allocateNode(uint32_t kind) {
    if (docSlot_ < 0) return nullptr;
    InstanceTable& table = tableFor(kind);
    uint32_t number;
    if (table.freeHead) {
        number = table.freeHead;
        table.freeHead = table.blocks[number / kBlockSize][number % kBlockSize].data_;
    } else {
        if (table.counter >= kMaxNodeNumber) {
            noteFull((kind & 1) ? "1048575 elements" : "1048575 text nodes");
            return nullptr;
        }
        number = ++table.counter;
        std::unique_ptr<ldomNode[]>& block = table.blocks[number / kBlockSize];
        if (!block) {
            block.reset(new ldomNode[kBlockSize]());
            ++table.blockCount;
        }
    }
    ldomNode& node = table.blocks[number / kBlockSize][number % kBlockSize];
    node.handle_ = (((number << 4) | kind) << 8) | uint32_t(docSlot_);
    node.data_ = 0;
    ++itemCount_;
    return &node;
}

void tinyNodeCollection::releaseNode(ldomNode& node) {
    uint32_t number = NodeRefNumber(node.nodeRef());
    bool element = (node.nodeRef() & kNodeRefElementBit) != 0;
    InstanceTable& table = element ? elements_ : texts_;
    if (element) clearElementEntries(number);
    node.handle_ = uint32_t(docSlot_);
    node.data_ = table.freeHead;
    table.freeHead = number;
    --itemCount_;
}

void tinyNodeCollection::clearElementEntries(uint32_t number) {
    // A reused number must not inherit the old element's style or box.
    uint32_t ref = (number << 4) | kNodeRefElementBit;
    if (uint8_t* style = styleStorage_.getSlot(StyleChunk(ref), StyleOffset(ref), false))
        std::memset(style, 0, sizeof(ldomElementStyleRef));
    if (uint8_t* rect = rectStorage_.getSlot(RectChunk(ref), RectOffset(ref), false))
        std::memset(rect, 0, sizeof(ldomRenderRect));
}

ldomNode* tinyNodeCollection::createElement(uint32_t parentRef, uint16_t nsId, uint16_t nameId) {
    ldomNode* node = allocateNode(NT_MUTABLE_ELEMENT);
    if (!node) return nullptr;
    uint32_t index = mutableElements_.add();
    ldomMutableElement& element = mutableElements_.at(index);
    element.parentRef = parentRef;
    element.nsId = nsId;
    element.nameId = nameId;
    node->data_ = index;
    return node;
}

ldomNode* tinyNodeCollection::createText(uint32_t parentRef, const char* utf8, uint32_t length) {
    if (length > ldomTextRecord::kMaxTextBytes) FatalError(-1, "Unknown fatal error");
    ldomNode* node = allocateNode(NT_MUTABLE_TEXT);
    if (!node) return nullptr;
    uint32_t address;
    uint8_t* bytes;
    if (!textStorage_.allocRecord(ldomTextRecord::SizeFor(length), address, bytes)) {
        releaseNode(*node);
        noteFull("text storage");
        return nullptr;
    }
    auto* record = reinterpret_cast<ldomTextRecord*>(bytes);
    node->handle_ |= uint32_t(NT_PERSISTENT_TEXT) << 8;
    record->type = LDOM_RECORD_TEXT;
    record->sizeUnits = RecordSizeField(ldomTextRecord::SizeFor(length));
    record->nodeRef = node->nodeRef();
    record->parentRef = parentRef;
    record->length = static_cast<uint16_t>(length);
    if (length) std::memcpy(record->text, utf8, length);
    node->data_ = address;
    return node;
}

ldomElementRecord* tinyNodeCollection::elementRecord(const ldomNode& node) {
    auto* record = reinterpret_cast<ldomElementRecord*>(elementStorage_.getRecord(node.data_));
    if (record && record->type != LDOM_RECORD_ELEMENT) return nullptr;
    return record;
}

ldomTextRecord* tinyNodeCollection::textRecord(const ldomNode& node) {
    auto* record = reinterpret_cast<ldomTextRecord*>(textStorage_.getRecord(node.data_));
    if (record && record->type != LDOM_RECORD_TEXT) return nullptr;
    return record;
}

bool tinyNodeCollection::persistNode(ldomNode& node) {
    switch (node.kind()) {
        case NT_MUTABLE_ELEMENT: {
            uint32_t index = node.data_;
            ldomMutableElement& element = mutableElements_.at(index);
            auto children = static_cast<uint32_t>(element.children.size());
            auto attrs = static_cast<uint32_t>(element.attrs.size());
            uint32_t size = ldomElementRecord::SizeFor(children, attrs);
            uint32_t address;
            uint8_t* bytes;
            if (!elementStorage_.allocRecord(size, address, bytes)) {
                noteFull("element storage");
                return false;
            }
            auto* record = reinterpret_cast<ldomElementRecord*>(bytes);
            record->type = LDOM_RECORD_ELEMENT;
            record->sizeUnits = RecordSizeField(size);
            record->nodeRef = node.nodeRef() | 2;
            record->parentRef = element.parentRef;
            record->nameId = element.nameId;
            record->nsId = element.nsId;
            record->attrCount = static_cast<uint16_t>(attrs);
            record->renderMethod = static_cast<uint8_t>(element.renderMethod);
            record->childCount = children;
            if (children)
                std::memcpy(record->children(), element.children.data(), 4 * size_t(children));
            if (attrs)
                std::memcpy(record->attrs(), element.attrs.data(),
                            sizeof(ldomAttribute) * size_t(attrs));
            mutableElements_.release(index);
            node.handle_ |= 2u << 8;
            node.data_ = address;
            return true;
        }
        case NT_MUTABLE_TEXT: {
            uint32_t index = node.data_;
            ldomMutableText& text = mutableTexts_.at(index);
            auto length = static_cast<uint32_t>(text.text.Length());
            if (length > ldomTextRecord::kMaxTextBytes) FatalError(-1, "Unknown fatal error");
            uint32_t size = ldomTextRecord::SizeFor(length);
            uint32_t address;
            uint8_t* bytes;
            if (!textStorage_.allocRecord(size, address, bytes)) {
                noteFull("text storage");
                return false;
            }
            auto* record = reinterpret_cast<ldomTextRecord*>(bytes);
            record->type = LDOM_RECORD_TEXT;
            record->sizeUnits = RecordSizeField(size);
            record->nodeRef = node.nodeRef() | 2;
            record->parentRef = text.parentRef;
            record->length = static_cast<uint16_t>(length);
            if (length) std::memcpy(record->text, text.text.CStr(), length);
            mutableTexts_.release(index);
            node.handle_ |= 2u << 8;
            node.data_ = address;
            return true;
        }
        default:
            return true;
    }
}

void tinyNodeCollection::modifyNode(ldomNode& node) {
    switch (node.kind()) {
        case NT_PERSISTENT_ELEMENT: {
            uint32_t index = mutableElements_.add();
            ldomMutableElement& element = mutableElements_.at(index);
            if (ldomElementRecord* record = elementRecord(node)) {
                element.parentRef = record->parentRef;
                element.nameId = record->nameId;
                element.nsId = record->nsId;
                element.renderMethod = record->renderMethod;
                element.children.assign(record->children(),
                                        record->children() + record->childCount);
                element.attrs.assign(record->attrs(), record->attrs() + record->attrCount);
                // Freed space is never reused; the chunk keeps its used size.
                record->type = LDOM_RECORD_FREED;
                record->nodeRef = 0;
            }
            node.handle_ &= ~(2u << 8);
            node.data_ = index;
            break;
        }
        case NT_PERSISTENT_TEXT: {
            uint32_t index = mutableTexts_.add();
            ldomMutableText& text = mutableTexts_.at(index);
            if (ldomTextRecord* record = textRecord(node)) {
                text.parentRef = record->parentRef;
                text.text.Assign(record->text, record->length);
                record->type = LDOM_RECORD_FREED;
                record->nodeRef = 0;
            }
            node.handle_ &= ~(2u << 8);
            node.data_ = index;
            break;
        }
        default:
            break;
    }
}

void tinyNodeCollection::setParentRef(ldomNode& node, uint32_t parentRef) {
    switch (node.kind()) {
        case NT_MUTABLE_ELEMENT:
            mutableElement(node).parentRef = parentRef;
            break;
        case NT_MUTABLE_TEXT:
            mutableText(node).parentRef = parentRef;
            break;
        case NT_PERSISTENT_ELEMENT:
            // The parent field is rewritten in place; no new record is needed.
            if (ldomElementRecord* record = elementRecord(node)) record->parentRef = parentRef;
            break;
        case NT_PERSISTENT_TEXT:
            if (ldomTextRecord* record = textRecord(node)) record->parentRef = parentRef;
            break;
    }
}

void tinyNodeCollection::compactStorages() {
    textStorage_.compact(ldomDataStorageManager::kUnloadAll);
    elementStorage_.compact(ldomDataStorageManager::kUnloadAll);
    rectStorage_.compact(ldomDataStorageManager::kUnloadAll);
    styleStorage_.compact(ldomDataStorageManager::kUnloadAll);
}

bool tinyNodeCollection::createCacheFile() {
    return false;
}

ldomElementStyleRef tinyNodeCollection::getNodeStyleRef(uint32_t nodeRef) {
    ldomElementStyleRef ref;
    if (const uint8_t* slot =
            styleStorage_.getSlot(StyleChunk(nodeRef), StyleOffset(nodeRef), false))
        std::memcpy(&ref, slot, sizeof(ref));
    return ref;
}

void tinyNodeCollection::setNodeStyleRef(uint32_t nodeRef, ldomElementStyleRef ref) {
    if (uint8_t* slot = styleStorage_.getSlot(StyleChunk(nodeRef), StyleOffset(nodeRef), true))
        std::memcpy(slot, &ref, sizeof(ref));
}

ldomRenderRect tinyNodeCollection::getNodeRenderRect(uint32_t nodeRef) {
    ldomRenderRect rect;
    if (const uint8_t* slot = rectStorage_.getSlot(RectChunk(nodeRef), RectOffset(nodeRef), false))
        std::memcpy(&rect, slot, sizeof(rect));
    return rect;
}

void tinyNodeCollection::setNodeRenderRect(uint32_t nodeRef, const ldomRenderRect& rect) {
    if (uint8_t* slot = rectStorage_.getSlot(RectChunk(nodeRef), RectOffset(nodeRef), true))
        std::memcpy(slot, &rect, sizeof(rect));
}

tinyNodeCollection::MemoryUsage tinyNodeCollection::memoryUsage() const {
    MemoryUsage usage;
    usage.instanceTables =
        sizeof(texts_) + sizeof(elements_) +
        size_t(texts_.blockCount + elements_.blockCount) * kBlockSize * sizeof(ldomNode);
    usage.mutableObjects = size_t(mutableElements_.capacity()) * (sizeof(ldomMutableElement) + 16) +
                           size_t(mutableTexts_.capacity()) * (sizeof(ldomMutableText) + 16);
    usage.textRecords = textStorage_.residentBytes();
    usage.elementRecords = elementStorage_.residentBytes();
    usage.renderRects = rectStorage_.residentBytes();
    usage.styleEntries = styleStorage_.residentBytes();
    return usage;
}

void tinyNodeCollection::logMemoryUsage() const {
    int mutables = static_cast<int>(mutableElementCount());
    LogDebug(
        "*** Document memory usage: elements:%d, textNodes:%d, ptext=(%d uncompressed), "
        "ptelems=(%d uncompressed), rects=(%d uncompressed), nodestyles=(%d uncompressed), "
        "styles:%d, fonts:%d, renderedNodes:%d, totalNodes:%d(%dKb), "
        "mutableElements:%d(~%dKb)",
        int(elements_.counter), int(texts_.counter), int(textStorage_.residentBytes()),
        int(elementStorage_.residentBytes()), int(rectStorage_.residentBytes()),
        int(styleStorage_.residentBytes()), cachedStyleCount(), cachedFontCount(),
        renderedBlockCount(), int(itemCount_), int(itemCount_ * 16 / 1024), mutables,
        mutables * 68 / 1024);
}
