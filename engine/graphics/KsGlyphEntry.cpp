#include "engine/graphics/KsGlyphEntry.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kMaxSide = 255;
constexpr int kMinOrigin = -128;
constexpr int kMaxOrigin = 127;

}  // namespace

std::unique_ptr<KsGlyphEntry> MakeGlyphEntry(uint32_t ch, const KsRenderedGlyph& glyph) {
    auto entry = std::make_unique<KsGlyphEntry>();
    entry->ch = ch;
    entry->advance = static_cast<uint8_t>(std::clamp(glyph.advance, 0, kMaxSide));

    int srcWidth = glyph.coverage ? std::max(glyph.width, 0) : 0;
    int srcHeight = glyph.coverage ? std::max(glyph.height, 0) : 0;
    if (srcWidth == 0 || srcHeight == 0) {
        entry->originX = static_cast<int8_t>(std::clamp(glyph.originX, kMinOrigin, kMaxOrigin));
        entry->originY = static_cast<int8_t>(std::clamp(glyph.originY, kMinOrigin, kMaxOrigin));
        return entry;
    }

    // Horizontal: skip source columns left of the lowest origin, or pad blank columns in front
    // when the glyph starts further right than the highest origin.
    int skipColumns = 0, padColumns = 0, originX = glyph.originX;
    if (originX < kMinOrigin) {
        skipColumns = kMinOrigin - originX;
        originX = kMinOrigin;
    } else if (originX > kMaxOrigin) {
        padColumns = originX - kMaxOrigin;
        originX = kMaxOrigin;
    }
    // Vertical: the origin counts up from the baseline to the top row.
    int skipRows = 0, padRows = 0, originY = glyph.originY;
    if (originY > kMaxOrigin) {
        skipRows = originY - kMaxOrigin;
        originY = kMaxOrigin;
    } else if (originY < kMinOrigin) {
        padRows = kMinOrigin - originY;
        originY = kMinOrigin;
    }
    skipColumns = std::min(skipColumns, srcWidth);
    skipRows = std::min(skipRows, srcHeight);
    int width = std::min(padColumns + srcWidth - skipColumns, kMaxSide);
    int height = std::min(padRows + srcHeight - skipRows, kMaxSide);
    entry->originX = static_cast<int8_t>(originX);
    entry->originY = static_cast<int8_t>(originY);
    if (width <= padColumns || height <= padRows) return entry;  // nothing of the ink is left

    entry->width = static_cast<uint8_t>(width);
    entry->height = static_cast<uint8_t>(height);
    entry->coverage = std::make_unique<uint8_t[]>(size_t(width) * height);
    std::memset(entry->coverage.get(), 0, size_t(width) * height);
    int copyWidth = width - padColumns;
    for (int y = padRows; y < height; ++y) {
        const uint8_t* src =
            glyph.coverage.get() + size_t(y - padRows + skipRows) * srcWidth + skipColumns;
        std::memcpy(entry->coverage.get() + size_t(y) * width + padColumns, src, size_t(copyWidth));
    }
    return entry;
}
