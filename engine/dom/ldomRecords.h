#pragma once

#include <cstdint>

// Layouts of the packed records kept in the chunks of a document's record storages. Records are
// 16-byte aligned so that a 16-bit offset in 16-byte units addresses a whole chunk (1 MiB).

enum ldomRecordType : uint16_t {
    LDOM_RECORD_FREED = 0,
    LDOM_RECORD_ELEMENT = 1,
    LDOM_RECORD_TEXT = 2,
};

constexpr uint32_t kRecordAlignment = 16;
inline uint32_t RoundUpToRecordUnits(uint32_t bytes) {
    return (bytes + kRecordAlignment - 1) & ~(kRecordAlignment - 1);
}
// The size field counts 16-byte units; a record too large for it stores 0xFFFF (readers take
// sizes from the counts, never from this field).
inline uint16_t RecordSizeField(uint32_t bytes) {
    uint32_t units = bytes / kRecordAlignment;
    return units > 0xFFFF ? uint16_t(0xFFFF) : static_cast<uint16_t>(units);
}

// A persistent text node: 14 bytes of header followed by the UTF-8 text (not terminated).
struct ldomTextRecord {
    uint16_t type;       // LDOM_RECORD_TEXT or LDOM_RECORD_FREED
    uint16_t sizeUnits;  // record size / 16
    uint32_t nodeRef;    // 0 when freed
    uint32_t parentRef;  // parent element
    uint16_t length;     // text bytes
    char text[2];        // first bytes of the text; the rest follows

    static constexpr uint32_t kHeaderSize = 14;
    static constexpr uint32_t kMaxTextBytes = 0xFFFF;
    static uint32_t SizeFor(uint32_t textBytes) {
        return RoundUpToRecordUnits(kHeaderSize + textBytes);
    }
};
static_assert(sizeof(ldomTextRecord) == 16, "text record header layout");

// One attribute of an element: namespace id, attribute name id, index into the document's
// attribute value table. The value index is 32 bits wide: a large book has more than 65 536
// distinct values (MOBI "filepos" links).
struct ldomAttribute {
    uint16_t nsId;
    uint16_t id;
    uint32_t valueIndex;
};
static_assert(sizeof(ldomAttribute) == 8, "attribute entry layout");

// A persistent element: 24 bytes of header, the child nodeRefs, then the attributes.
struct ldomElementRecord {
    uint16_t type;  // LDOM_RECORD_ELEMENT or LDOM_RECORD_FREED
    uint16_t sizeUnits;
    uint32_t nodeRef;
    uint32_t parentRef;  // 0 for the root
    uint16_t nameId;
    uint16_t nsId;
    uint16_t attrCount;
    uint8_t renderMethod;
    uint8_t reserved;
    uint32_t childCount;

    static constexpr uint32_t kHeaderSize = 24;
    static uint32_t SizeFor(uint32_t children, uint32_t attrs) {
        return RoundUpToRecordUnits(kHeaderSize + 4 * children + 8 * attrs);
    }
    uint32_t* children() { return reinterpret_cast<uint32_t*>(this + 1); }
    const uint32_t* children() const { return reinterpret_cast<const uint32_t*>(this + 1); }
    ldomAttribute* attrs() { return reinterpret_cast<ldomAttribute*>(children() + childCount); }
    const ldomAttribute* attrs() const {
        return reinterpret_cast<const ldomAttribute*>(children() + childCount);
    }
};
static_assert(sizeof(ldomElementRecord) == 24, "element record header layout");

// The element's layout box (written by the block renderer): x and y relative to the parent box.
struct ldomRenderRect {
    int32_t x = 0;
    int32_t width = 0;
    int32_t y = 0;
    int32_t height = 0;
    bool operator==(const ldomRenderRect&) const = default;
};
static_assert(sizeof(ldomRenderRect) == 16, "render rectangle layout");

// The element's indexes into the document's font and style caches; 0 means none.
struct ldomElementStyleRef {
    uint16_t fontIndex = 0;
    uint16_t styleIndex = 0;
    bool operator==(const ldomElementStyleRef&) const = default;
};
static_assert(sizeof(ldomElementStyleRef) == 4, "style entry layout");
