#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/KsGlyphTarget.h"

// A plain 8-bit gray bitmap to draw text on (0 black ... 255 white), rows top to bottom: what the
// command-line tool writes as PNG and what the tests look at.
class KsGlyphBitmap final : public KsGlyphTarget {
public:
    // Filled with `background` (a gray level).
    KsGlyphBitmap(int width, int height, uint8_t background = 255);

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void GetClipRect(KsRect* rect) const override { *rect = clip_; }
    // Null means the whole bitmap; the rectangle is cut to the bitmap.
    void SetClipRect(const KsRect* rect);
    uint32_t GetTextColor() const override { return textColor_; }
    void SetTextColor(uint32_t color) { textColor_ = color; }
    void BlendBitmap(int x, int y, const uint8_t* coverage, int width, int height,
                     const uint32_t* palette) override;
    void FillRect(int x0, int y0, int x1, int y1, uint32_t color) override;

    uint8_t Pixel(int x, int y) const;
    const uint8_t* Row(int y) const { return pixels_.data() + size_t(y) * width_; }
    // Number of pixels darker than `threshold`.
    int CountInk(uint8_t threshold = 128) const;

    // The gray level of a colour (transparency ignored).
    static uint8_t GrayOf(uint32_t color);

private:
    int width_;
    int height_;
    KsRect clip_;
    uint32_t textColor_ = 0x000000;
    std::vector<uint8_t> pixels_;
};
