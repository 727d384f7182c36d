#pragma once

#include "engine/graphics/KsFont.h"

// A font whose every character is `advance` pixels wide and `height` pixels high, for tests of
// code that measures text without caring about real glyphs.
class FixedWidthTestFont : public KsFont {
public:
    explicit FixedWidthTestFont(int advance = 10, int height = 20)
        : advance_(advance), height_(height) {}

    int getHyphenWidth() override { return advance_; }
    int getHangingPunctWidth() override { return advance_; }
    bool getGlyphInfo(uint32_t ch, KsGlyphInfo* info, uint32_t defChar) override;
    int measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags, int maxWidth,
                    unit16 defChar, int letterSpacing, KsHyphenate hyphenate) override;
    void measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                    int32_t startTotal, unit16 defChar, int letterSpacing) override;
    const KsGlyphEntry* getGlyph(uint32_t, uint32_t) override { return nullptr; }
    int getBaseline() const override { return height_ * 4 / 5; }
    int getHeight() const override { return height_; }
    int getSize() const override { return height_; }
    int getWeight() const override { return 400; }
    int getItalic() const override { return 0; }
    int getCharWidth(uint32_t, uint32_t) override { return advance_; }
    const string8& getTypeFace() const override { return typeface_; }
    int getFontFamily() const override { return KS_FONT_FAMILY_MONOSPACE; }
    void DrawTextRun(KsGlyphTarget*, int, int, const unit16*, int, unit16, const uint32_t*,
                     KsAddHyphen, uint32_t, int) override {}
    bool isNull() const override { return false; }
    void Clear() override {}

private:
    int advance_;
    int height_;
    string8 typeface_{"Fixed Test"};
};
