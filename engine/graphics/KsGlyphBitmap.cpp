#include "engine/graphics/KsGlyphBitmap.h"

#include <algorithm>

KsGlyphBitmap::KsGlyphBitmap(int width, int height, uint8_t background)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      clip_{0, 0, width_, height_},
      pixels_(size_t(width_) * height_, background) {}

void KsGlyphBitmap::SetClipRect(const KsRect* rect) {
    if (!rect) {
        clip_ = {0, 0, width_, height_};
        return;
    }
    clip_.left = std::clamp(rect->left, 0, width_);
    clip_.top = std::clamp(rect->top, 0, height_);
    clip_.right = std::clamp(rect->right, clip_.left, width_);
    clip_.bottom = std::clamp(rect->bottom, clip_.top, height_);
}

uint8_t KsGlyphBitmap::GrayOf(uint32_t color) {
    uint32_t r = (color >> 16) & 0xFF, g = (color >> 8) & 0xFF, b = color & 0xFF;
    return static_cast<uint8_t>((r + 2 * g + b) >> 2);
}

uint8_t KsGlyphBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[size_t(y) * width_ + x];
}

void KsGlyphBitmap::BlendBitmap(int x, int y, const uint8_t* coverage, int width, int height,
                                const uint32_t* /*palette*/) {
    if (!coverage || width <= 0 || height <= 0) return;
    const int x0 = std::max(x, clip_.left), x1 = std::min(x + width, clip_.right);
    const int y0 = std::max(y, clip_.top), y1 = std::min(y + height, clip_.bottom);
    const int ink = GrayOf(textColor_);
    for (int py = y0; py < y1; ++py) {
        const uint8_t* src = coverage + size_t(py - y) * width;
        uint8_t* dst = pixels_.data() + size_t(py) * width_;
        for (int px = x0; px < x1; ++px) {
            int c = src[px - x];
            if (c == 0) continue;
            dst[px] = static_cast<uint8_t>((dst[px] * (255 - c) + ink * c + 127) / 255);
        }
    }
}

void KsGlyphBitmap::FillRect(int x0, int y0, int x1, int y1, uint32_t color) {
    x0 = std::max(x0, clip_.left);
    x1 = std::min(x1, clip_.right);
    y0 = std::max(y0, clip_.top);
    y1 = std::min(y1, clip_.bottom);
    const uint8_t gray = GrayOf(color);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px)
            pixels_[size_t(py) * width_ + px] = gray;
}

int KsGlyphBitmap::CountInk(uint8_t threshold) const {
    return static_cast<int>(
        std::count_if(pixels_.begin(), pixels_.end(), [&](uint8_t p) { return p < threshold; }));
}
