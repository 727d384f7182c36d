#include "engine/graphics/KsTextMeasure.h"

#include <algorithm>
#include <limits>

#include "engine/core/StringConvert.h"
#include "engine/layout/HyphMethod.h"
#include "engine/layout/WordBounds.h"

namespace {

// One character of a run: a unit, or a surrogate pair taken as its code point.
struct RunChar {
    uint32_t codePoint;
    int units;  // 1 or 2
};

RunChar CharAt(const unit16* text, int i, int len) {
    unit16 u = text[i];
    if (IsHighSurrogate(u) && i + 1 < len && IsLowSurrogate(text[i + 1])) {
        uint32_t cp = 0x10000 + ((uint32_t(u) - 0xD800) << 10) + (uint32_t(text[i + 1]) - 0xDC00);
        return {cp, 2};
    }
    return {u, 1};
}

template <typename Width>
Width Saturate(int64_t value) {
    constexpr int64_t kMax = std::numeric_limits<Width>::max();
    constexpr int64_t kMin = std::numeric_limits<Width>::min();
    return static_cast<Width>(std::clamp(value, kMin, kMax));
}

// The shared loop. A `maxWidth` below 0 means no limit. Returns the units that fit.
template <typename Width>
int MeasureLoop(KsMeasureHooks& hooks, const unit16* text, int len, Width* widths, uint8_t* flags,
                int64_t startTotal, int64_t maxWidth, unit16 defChar, int letterSpacing) {
    letterSpacing = ClampLetterSpacing(letterSpacing);
    bool kerning = hooks.UsesKerning();
    int64_t total = startTotal;
    int fit = 0;
    bool stopped = false;
    Width stopWidth = 0;
    bool hasPrevious = false;
    uint32_t previous = 0;
    for (int i = 0; i < len;) {
        RunChar c = CharAt(text, i, len);
        if (c.units == 2) {
            flags[i] = flags[i + 1] = 0;
        } else {
            flags[i] = MeasureFlagsOf(text[i]);
        }
        if (stopped) {
            for (int k = 0; k < c.units; ++k)
                widths[i + k] = stopWidth;
            i += c.units;
            continue;
        }
        int advance = hooks.MeasureAdvance(c.codePoint, defChar);
        bool hasGlyph = advance >= 0;
        if (!hasGlyph) advance = 0;
        int kern = 0;
        if (kerning && hasGlyph && hasPrevious) kern = hooks.KerningBetween(previous, c.codePoint);
        int64_t width = total + advance + letterSpacing + kern;
        Width stored = Saturate<Width>(width);
        // The second unit of a pair takes no room of its own.
        for (int k = 0; k < c.units; ++k)
            widths[i + k] = stored;
        bool softHyphen = c.codePoint == kSoftHyphen;
        // A soft hyphen takes room only when a line ends at it.
        if (!softHyphen) total = width;
        if (hasGlyph && !softHyphen) {
            previous = c.codePoint;
            hasPrevious = true;
        }
        if (maxWidth < 0 || width <= maxWidth) {
            fit = i + c.units;
        } else {
            stopped = true;
            stopWidth = stored;
        }
        i += c.units;
    }
    return fit;
}

}  // namespace

int ClampLetterSpacing(int letterSpacing) {
    return (letterSpacing < 0 || letterSpacing > 50) ? 0 : letterSpacing;
}

int MeasureTextWith(KsMeasureHooks& hooks, const unit16* text, int len, uint16_t* widths,
                    uint8_t* flags, int maxWidth, unit16 defChar, int letterSpacing,
                    KsHyphenate hyphenate) {
    if (!text || len <= 0) return 0;
    maxWidth = std::clamp(maxWidth, 0, KsFont::kMaxMeasureWidth);
    int fit =
        MeasureLoop<uint16_t>(hooks, text, len, widths, flags, 0, maxWidth, defChar, letterSpacing);
    if (hyphenate == KsHyphenate::Yes && fit > 3) {
        WordBounds word = GetWordBounds(text, len, fit - 1);
        if (word.start < fit - 1 && word.end - word.start >= 4) {
            uint16_t hyphenWidth = Saturate<uint16_t>(hooks.HyphenWidth());
            (void)CurrentHyphMethod().hyphenate(text + word.start, word.end - word.start,
                                                widths + word.start, flags + word.start,
                                                hyphenWidth, static_cast<uint16_t>(maxWidth));
        }
    }
    return fit;
}

void MeasureRunWith(KsMeasureHooks& hooks, const unit16* text, int len, int32_t* widths,
                    uint8_t* flags, int32_t startTotal, unit16 defChar, int letterSpacing) {
    if (!text || len <= 0) return;
    MeasureLoop<int32_t>(hooks, text, len, widths, flags, startTotal, -1, defChar, letterSpacing);
}

void DrawTextRunWith(KsFont& font, KsMeasureHooks& hooks, KsGlyphTarget* target, int x, int y,
                     const unit16* text, int len, unit16 defChar, const uint32_t* palette,
                     KsAddHyphen addHyphen, uint32_t decorationFlags, int letterSpacing,
                     KsDecorationStyle style) {
    if (!target || !text || len <= 0 || font.isNull()) return;
    KsRect clip;
    target->GetClipRect(&clip);
    const int height = font.getHeight();
    if (y + height <= clip.top || y >= clip.bottom) return;
    letterSpacing = ClampLetterSpacing(letterSpacing);
    const int baseline = font.getBaseline();
    const bool kerning = style == KsDecorationStyle::Regular && hooks.UsesKerning();
    const int startX = x;
    bool hasPrevious = false;
    uint32_t previous = 0;

    auto drawGlyph = [&](uint32_t ch, int penX) {
        const KsGlyphEntry* glyph = font.getGlyph(ch, defChar);
        if (glyph && glyph->width && glyph->height)
            target->BlendBitmap(penX + glyph->originX, y + baseline - glyph->originY,
                                glyph->Coverage(), glyph->width, glyph->height, palette);
    };

    for (int i = 0; i < len;) {
        RunChar c = CharAt(text, i, len);
        i += c.units;
        // A soft hyphen inside the run is invisible and takes no room.
        if (c.codePoint == kSoftHyphen && i < len) continue;
        int advance = hooks.MeasureAdvance(c.codePoint, defChar);
        if (advance < 0) {
            x += letterSpacing;
            continue;
        }
        int kern = 0;
        if (kerning && hasPrevious) kern = hooks.KerningBetween(previous, c.codePoint);
        previous = c.codePoint;
        hasPrevious = true;
        drawGlyph(c.codePoint, x + kern);
        x += advance + kern + letterSpacing;
    }
    if (addHyphen == KsAddHyphen::Yes) {
        int advance = hooks.MeasureAdvance(kSoftHyphen, u'-');
        if (advance >= 0) {
            const KsGlyphEntry* glyph = font.getGlyph(kSoftHyphen, u'-');
            if (glyph && glyph->width && glyph->height)
                target->BlendBitmap(x + glyph->originX, y + baseline - glyph->originY,
                                    glyph->Coverage(), glyph->width, glyph->height, palette);
            x += advance;
        }
    }

    if (!(decorationFlags & (KS_DECORATION_UNDERLINE | KS_DECORATION_OVERLINE |
                             KS_DECORATION_LINE_THROUGH | KS_DECORATION_BLINK)))
        return;
    const int size = font.getSize();
    const int thickness = size < 31 ? 1 : 2;
    const uint32_t color = target->GetTextColor();
    if (decorationFlags & (KS_DECORATION_UNDERLINE | KS_DECORATION_BLINK)) {
        int top = y + baseline + thickness;
        target->FillRect(startX, top, x, top + thickness, color);
    }
    if (decorationFlags & KS_DECORATION_OVERLINE) {
        int top = y + thickness;
        target->FillRect(startX, top, x, top + thickness, color);
    }
    if (decorationFlags & KS_DECORATION_LINE_THROUGH) {
        if (style == KsDecorationStyle::Emboldened) {
            int top = y + height / 2 - (size > 30 ? 1 : 0);
            target->FillRect(startX, top, x, y + height / 2 + 1, color);
        } else {
            int top = y + baseline - (2 * size) / 7;
            target->FillRect(startX, top, x, top + thickness, color);
        }
    }
}
