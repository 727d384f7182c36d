#pragma once

#include "engine/graphics/KsFont.h"
#include "engine/graphics/KsGlyphCache.h"
#include "engine/graphics/KsTextMeasure.h"

// A font made bolder than the face it wraps: every glyph is dilated by one pixel (two above 36
// pixels) to the right, and from 37 pixels also one down; advances grow by the same amount.
class KsFontBoldTransform final : public KsFont, private KsMeasureHooks {
public:
    KsFontBoldTransform(KsRef<KsFont> base, KsRef<KsGlyphCache> glyphCache);

    int getHyphenWidth() override;
    int getHangingPunctWidth() override;
    bool getGlyphInfo(uint32_t ch, KsGlyphInfo* info, uint32_t defChar) override;
    int measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags, int maxWidth,
                    unit16 defChar, int letterSpacing = 0,
                    KsHyphenate hyphenate = KsHyphenate::Yes) override;
    void measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                    int32_t startTotal, unit16 defChar, int letterSpacing = 0) override;
    const KsGlyphEntry* getGlyph(uint32_t ch, uint32_t defChar) override;
    int getBaseline() const override { return baseline_; }
    int getHeight() const override { return height_; }
    int getSize() const override { return size_; }
    int getWeight() const override;
    int getItalic() const override { return base_->getItalic(); }
    int getCharWidth(uint32_t ch, uint32_t defChar) override;
    const string8& getTypeFace() const override { return base_->getTypeFace(); }
    int getFontFamily() const override { return base_->getFontFamily(); }
    void DrawTextRun(KsGlyphTarget* target, int x, int y, const unit16* text, int len,
                     unit16 defChar, const uint32_t* palette, KsAddHyphen addHyphen,
                     uint32_t decorationFlags, int letterSpacing = 0) override;
    bool getBitmapMode() const override { return base_->getBitmapMode(); }
    void setBitmapMode(bool monochrome) override;
    bool getKerning() const override { return base_->getKerning(); }
    void setKerning(bool on) override { base_->setKerning(on); }
    void setHintingMode(int mode) override;
    int getHintingMode() const override { return base_->getHintingMode(); }
    bool isNull() const override { return base_->isNull(); }
    void Clear() override { glyphs_.Clear(); }

    const KsRef<KsFont>& base() const { return base_; }
    int extraWidth() const { return extraWidth_; }
    int extraHeight() const { return extraHeight_; }

private:
    // KsMeasureHooks: the wrapped advances plus the extra width; no kerning, as when drawing.
    int MeasureAdvance(uint32_t ch, unit16 defChar) override;
    bool UsesKerning() override { return false; }
    int KerningBetween(uint32_t, uint32_t) override { return 0; }
    int HyphenWidth() override { return getHyphenWidth(); }

    KsRef<KsFont> base_;
    int hyphenWidth_ = -1;
    int extraWidth_;
    int extraHeight_;
    int size_;
    int height_;
    int baseline_;
    KsFontGlyphList glyphs_;
};
