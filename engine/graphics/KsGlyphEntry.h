#pragma once

#include <cstdint>
#include <memory>

class KsFontGlyphList;

// One rendered glyph in the glyph cache. The fixed-width fields never wrap: a bitmap that does
// not fit them is cropped (keeping its position right), origins and advance saturate.
struct KsGlyphEntry {
    // Links of the cache's least-recently-used list (most recent first).
    KsGlyphEntry* lruPrev = nullptr;
    KsGlyphEntry* lruNext = nullptr;
    KsFontGlyphList* owner = nullptr;
    uint32_t ch = 0;  // the code point (characters beyond U+FFFF included)
    uint8_t width = 0;
    uint8_t height = 0;
    int8_t originX = 0;  // from the pen position to the bitmap's left edge
    int8_t originY = 0;  // from the baseline up to the bitmap's top row
    uint8_t advance = 0;
    std::unique_ptr<uint8_t[]> coverage;  // width x height bytes, 0 = background, 255 = full ink

    // What the entry counts against the cache's budget.
    uint32_t AccountedSize() const { return uint32_t(width) * height + 27u; }
    const uint8_t* Coverage() const { return coverage.get(); }
};

// A glyph bitmap as rendered, before it is fitted into an entry.
struct KsRenderedGlyph {
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    int advance = 0;
    std::unique_ptr<uint8_t[]> coverage;  // width x height bytes
};

// Fits a rendered glyph into a cache entry: a glyph wider or taller than 255 pixels is cropped,
// one whose origin lies beyond the signed 8-bit range is cropped or padded so that the ink stays
// where it belongs, and the advance saturates at 255.
std::unique_ptr<KsGlyphEntry> MakeGlyphEntry(uint32_t ch, const KsRenderedGlyph& glyph);
