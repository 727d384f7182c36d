#pragma once

#include <cstdint>

#include "engine/graphics/KsFont.h"

// What the shared measuring and drawing loops ask of a font.
class KsMeasureHooks {
public:
    virtual ~KsMeasureHooks() = default;
    // Advance of a code point in whole pixels (through replacement, fallback and defChar), or -1
    // when there is no glyph at all.
    virtual int MeasureAdvance(uint32_t ch, unit16 defChar) = 0;
    virtual bool UsesKerning() = 0;
    // Kerning between two code points that both have glyphs, in whole pixels.
    virtual int KerningBetween(uint32_t left, uint32_t right) = 0;
    virtual int HyphenWidth() = 0;
};

// Letter spacing outside 0 ... 50 pixels is taken as 0.
int ClampLetterSpacing(int letterSpacing);

// The measuring of KsFont::measureText and KsFont::measureRun over the hooks.
int MeasureTextWith(KsMeasureHooks& hooks, const unit16* text, int len, uint16_t* widths,
                    uint8_t* flags, int maxWidth, unit16 defChar, int letterSpacing,
                    KsHyphenate hyphenate);
void MeasureRunWith(KsMeasureHooks& hooks, const unit16* text, int len, int32_t* widths,
                    uint8_t* flags, int32_t startTotal, unit16 defChar, int letterSpacing);

// How a font places its decoration lines.
enum class KsDecorationStyle { Regular, Emboldened };

// The drawing of KsFont::DrawTextRun: advances come from the hooks, so a run is drawn exactly as
// wide as it measures.
void DrawTextRunWith(KsFont& font, KsMeasureHooks& hooks, KsGlyphTarget* target, int x, int y,
                     const unit16* text, int len, unit16 defChar, const uint32_t* palette,
                     KsAddHyphen addHyphen, uint32_t decorationFlags, int letterSpacing,
                     KsDecorationStyle style);
