#pragma once

#include <cstdint>

#include "engine/core/TnPropAccessor.h"

// What a font needs from a surface to draw text on it: the clip rectangle, the text colour, glyph
// blending and rectangle fills. The draw buffers implement it; so does the plain coverage bitmap
// used by the command-line tool and the tests.
class KsGlyphTarget {
public:
    virtual ~KsGlyphTarget() = default;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    // Right and bottom are exclusive.
    virtual void GetClipRect(KsRect* rect) const = 0;
    // 0xTTRRGGBB, the top byte being transparency (0 opaque).
    virtual uint32_t GetTextColor() const = 0;
    // Blends `width` x `height` coverage bytes (0 background ... 255 full ink, rows of `width`
    // bytes) in the text colour at (x, y), clipped. `palette` is for targets that map coverage
    // through a colour table; null means the text colour.
    virtual void BlendBitmap(int x, int y, const uint8_t* coverage, int width, int height,
                             const uint32_t* palette) = 0;
    // Fills x0 <= x < x1, y0 <= y < y1, clipped.
    virtual void FillRect(int x0, int y0, int x1, int y1, uint32_t color) = 0;
};
