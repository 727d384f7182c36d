#pragma once

#include <memory>
#include <unordered_map>

#include "engine/graphics/KsFaceDef.h"
#include "engine/graphics/KsFont.h"
#include "engine/graphics/KsFreeTypeLibrary.h"
#include "engine/graphics/KsGlyphCache.h"
#include "engine/graphics/KsTextMeasure.h"

// How to open a face for one size.
struct KsFaceLoadParams {
    string8 path;                // file to open, when there is no buffer
    KsRef<KsFontBuffer> buffer;  // in-memory font file, or null
    int index = 0;
    int size = 16;
    bool syntheticItalic = false;
    bool bitmapMode = false;
    int hintingMode = 2;
};

// A font instance over one FreeType face at one pixel size, with its width table and its share
// of the glyph cache.
class KsFreeTypeFace final : public KsFont, private KsMeasureHooks {
public:
    KsFreeTypeFace(KsRef<KsFreeTypeLibrary> library, KsRef<KsGlyphCache> glyphCache,
                   const string8& fileName, int family);
    ~KsFreeTypeFace() override;
    KsFreeTypeFace(const KsFreeTypeFace&) = delete;
    KsFreeTypeFace& operator=(const KsFreeTypeFace&) = delete;

    [[nodiscard]] bool loadFace(const KsFaceLoadParams& params);

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
    int getWeight() const override { return weight_; }
    int getItalic() const override { return italic_; }
    int getCharWidth(uint32_t ch, uint32_t defChar) override;
    const string8& getTypeFace() const override { return faceName_; }
    int getFontFamily() const override { return family_; }
    void DrawTextRun(KsGlyphTarget* target, int x, int y, const unit16* text, int len,
                     unit16 defChar, const uint32_t* palette, KsAddHyphen addHyphen,
                     uint32_t decorationFlags, int letterSpacing = 0) override;
    bool getBitmapMode() const override { return bitmapMode_; }
    void setBitmapMode(bool monochrome) override;
    bool getKerning() const override { return kerning_; }
    void setKerning(bool on) override { kerning_ = on; }
    void setHintingMode(int mode) override;
    int getHintingMode() const override { return hintingMode_; }
    bool isNull() const override { return face_ == nullptr; }
    void Clear() override;

    void setTypeFace(const string8& name) { faceName_ = name; }
    const string8& getFileName() const { return fileName_; }
    int cachedGlyphCount() const { return glyphs_.Count(); }
    // Forgets the fallback font and everything measured or drawn through it; the next missing
    // character looks the fallback up again.
    void resetFallback();
    // Forgets measured widths (they come back from FreeType on the next use).
    void clearWidthCache();

private:
    // KsMeasureHooks
    int MeasureAdvance(uint32_t ch, unit16 defChar) override;
    bool UsesKerning() override { return kerning_ && face_ && FT_HAS_KERNING(face_); }
    int KerningBetween(uint32_t left, uint32_t right) override;
    int HyphenWidth() override { return getHyphenWidth(); }

    // The glyph of `ch` in this face (a tab counts as a space; then the replacement character);
    // 0 when the face has none.
    FT_UInt glyphIndexOf(uint32_t ch) const;
    KsFont* fallbackFont();
    FT_Int32 loadFlags() const;
    bool renderGlyph(FT_UInt index, KsRenderedGlyph& out);
    static bool readMetrics(FT_GlyphSlot slot, KsGlyphInfo* info);

    KsRef<KsFreeTypeLibrary> library_;
    string8 fileName_;
    string8 faceName_;
    int family_;
    FT_Face face_ = nullptr;
    KsRef<KsFontBuffer> buffer_;
    int hyphenWidth_ = -1;  // -1 = not measured yet
    int hangingPunctWidth_ = -1;
    int size_ = 0;
    int height_ = 0;
    int baseline_ = 0;
    int weight_ = 400;
    int italic_ = 0;
    // Advances of BMP units: 128 pages of 512, allocated on first use; 255 = not known.
    static constexpr int kWidthPages = 128;
    static constexpr int kWidthPageSize = 512;
    static constexpr uint8_t kUnknownWidth = 255;
    std::unique_ptr<uint8_t[]> widthPages_[kWidthPages];
    // Advances of characters beyond U+FFFF, up to a bound.
    static constexpr size_t kMaxWideWidthEntries = 4096;
    std::unordered_map<uint32_t, uint8_t> wideWidths_;
    KsFontGlyphList glyphs_;
    bool bitmapMode_ = false;
    bool kerning_ = false;
    int hintingMode_ = 2;
    KsRef<KsFont> fallback_;
    bool fallbackLookedUp_ = false;
};
