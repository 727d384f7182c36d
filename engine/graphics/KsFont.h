#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/graphics/CharFlags.h"
#include "engine/graphics/KsGlyphEntry.h"
#include "engine/graphics/KsGlyphTarget.h"

// Metrics of one glyph in whole pixels (rounded down).
struct KsGlyphInfo {
    int32_t blackBoxX = 0;  // bitmap width
    int32_t blackBoxY = 0;  // bitmap height
    int32_t originX = 0;    // from the pen position to the left edge
    int32_t originY = 0;    // from the baseline up to the top edge
    int32_t width = 0;      // advance
};

// Whether measuring may hand the last word that fits to the hyphenation method.
enum class KsHyphenate : bool { No, Yes };
// Whether drawing ends the run with a hyphen (the line ends inside a word).
enum class KsAddHyphen : bool { No, Yes };

// Text decoration bits of DrawTextRun.
enum : uint32_t {
    KS_DECORATION_UNDERLINE = 0x100,
    KS_DECORATION_OVERLINE = 0x200,
    KS_DECORATION_LINE_THROUGH = 0x400,
    KS_DECORATION_BLINK = 0x800,  // drawn as an underline
};

// Generic font families.
enum : int {
    KS_FONT_FAMILY_NONE = 0,
    KS_FONT_FAMILY_SERIF = 1,
    KS_FONT_FAMILY_SANS_SERIF = 2,
    KS_FONT_FAMILY_CURSIVE = 3,
    KS_FONT_FAMILY_FANTASY = 4,
    KS_FONT_FAMILY_MONOSPACE = 5,
};

// A font instance of one size: metrics, measuring and glyph drawing. Characters are UTF-16
// units; a surrogate pair is one character (its code point) whose second unit has no advance.
class KsFont : public KsRefCounter {
public:
    // The largest width measureText accepts; its widths are 16-bit.
    static constexpr int kMaxMeasureWidth = 0xFFFF;

    virtual unit16 getHyphChar() const { return kSoftHyphen; }
    virtual int getHyphenWidth() = 0;
    // The widest of the soft hyphen, ',', '.', '!', ':' and ';' (the hanging punctuation margin).
    virtual int getHangingPunctWidth() = 0;
    // False when neither the character, its replacement, a fallback font nor defChar has a glyph.
    virtual bool getGlyphInfo(uint32_t ch, KsGlyphInfo* info, uint32_t defChar) = 0;
    // Measures up to `len` units: widths[i] is the accumulated advance up to and including unit i
    // (saturating at 65535), flags[i] the character flags. Returns how many units fit within
    // maxWidth; units after the first one that does not fit get flags and the width reached at
    // that point (never stale values). With KsHyphenate::Yes the last word that fits is offered
    // to the hyphenation method.
    virtual int measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags,
                            int maxWidth, unit16 defChar, int letterSpacing = 0,
                            KsHyphenate hyphenate = KsHyphenate::Yes) = 0;
    // Measures a whole run of any length, as measureText would without a limit: widths are
    // accumulated from `startTotal` in 32 bits. Measuring in pieces, each starting at the total
    // where the previous one ended, gives the same widths.
    virtual void measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                            int32_t startTotal, unit16 defChar, int letterSpacing = 0) = 0;
    // Width of at most 2048 units within 2048 pixels; 0 when nothing fits.
    virtual int getTextWidth(const unit16* text, int len);
    // The cached glyph, or null. Valid until the glyph cache is next changed.
    virtual const KsGlyphEntry* getGlyph(uint32_t ch, uint32_t defChar) = 0;
    virtual int getBaseline() const = 0;
    virtual int getHeight() const = 0;
    virtual int getSize() const = 0;
    virtual int getWeight() const = 0;
    virtual int getItalic() const = 0;
    virtual int getCharWidth(uint32_t ch, uint32_t defChar) = 0;
    // Extra room for visually aligned punctuation; none with this engine's fonts.
    virtual int getVisualAlignmentWidth() { return 0; }
    virtual const string8& getTypeFace() const = 0;
    virtual int getFontFamily() const = 0;
    // Draws a run with its baseline at y + getBaseline(). A soft hyphen is drawn only as the last
    // unit; with KsAddHyphen::Yes a hyphen follows the run.
    virtual void DrawTextRun(KsGlyphTarget* target, int x, int y, const unit16* text, int len,
                             unit16 defChar, const uint32_t* palette, KsAddHyphen addHyphen,
                             uint32_t decorationFlags, int letterSpacing = 0) = 0;
    virtual bool getBitmapMode() const { return false; }
    virtual void setBitmapMode(bool /*monochrome*/) {}
    virtual bool getKerning() const { return false; }
    virtual void setKerning(bool /*on*/) {}
    virtual void setHintingMode(int /*mode*/) {}
    virtual int getHintingMode() const { return 2; }
    virtual bool isNull() const = 0;
    bool operator!() const { return isNull(); }
    // Covers everything that changes how text measures or looks: face, size, weight, style,
    // family and the rendering settings. Equal fonts give equal hashes.
    uint32_t getHash() const;
    virtual void Clear() = 0;
    ~KsFont() override = default;
};
