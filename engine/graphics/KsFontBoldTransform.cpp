#include "engine/graphics/KsFontBoldTransform.h"

#include <algorithm>
#include <cstring>

KsFontBoldTransform::KsFontBoldTransform(KsRef<KsFont> base, KsRef<KsGlyphCache> glyphCache)
    : base_(std::move(base)),
      extraWidth_(base_->getSize() <= 36 ? 1 : 2),
      extraHeight_(base_->getSize() <= 36 ? 0 : 1),
      size_(base_->getSize()),
      height_(base_->getHeight()),
      baseline_(base_->getBaseline()),
      glyphs_(std::move(glyphCache)) {}

int KsFontBoldTransform::getWeight() const {
    return std::min(base_->getWeight() + 200, 900);
}

int KsFontBoldTransform::getHyphenWidth() {
    if (hyphenWidth_ < 0) hyphenWidth_ = base_->getHyphenWidth() + extraWidth_;
    return hyphenWidth_;
}

int KsFontBoldTransform::getHangingPunctWidth() {
    return base_->getHangingPunctWidth() + extraWidth_;
}

bool KsFontBoldTransform::getGlyphInfo(uint32_t ch, KsGlyphInfo* info, uint32_t defChar) {
    if (!base_->getGlyphInfo(ch, info, defChar)) return false;
    if (info->blackBoxX != 0) info->blackBoxX += extraWidth_;
    info->blackBoxY += extraHeight_;
    info->width += extraWidth_;
    return true;
}

int KsFontBoldTransform::getCharWidth(uint32_t ch, uint32_t defChar) {
    return base_->getCharWidth(ch, defChar) + extraWidth_;
}

int KsFontBoldTransform::MeasureAdvance(uint32_t ch, unit16 defChar) {
    return getCharWidth(ch, defChar);
}

int KsFontBoldTransform::measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags,
                                     int maxWidth, unit16 defChar, int letterSpacing,
                                     KsHyphenate hyphenate) {
    if (isNull()) return 0;
    // Measured with the wider advances themselves, so the count of fitting characters is right.
    return MeasureTextWith(*this, text, len, widths, flags, maxWidth, defChar, letterSpacing,
                           hyphenate);
}

void KsFontBoldTransform::measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                                     int32_t startTotal, unit16 defChar, int letterSpacing) {
    MeasureRunWith(*this, text, len, widths, flags, startTotal, defChar, letterSpacing);
}

const KsGlyphEntry* KsFontBoldTransform::getGlyph(uint32_t ch, uint32_t defChar) {
    if (const KsGlyphEntry* hit = glyphs_.Find(ch)) return hit;
    const KsGlyphEntry* glyph = base_->getGlyph(ch, defChar);
    if (!glyph) return nullptr;
    // Copy everything out of the wrapped glyph before adding ours: adding may evict it.
    KsRenderedGlyph bold;
    bold.originX = glyph->originX;
    bold.originY = glyph->originY;
    bold.advance = glyph->advance + extraWidth_;
    const int w = glyph->width, h = glyph->height;
    if (w > 0 && h > 0) {
        const int outW = w + extraWidth_, outH = h + extraHeight_;
        bold.width = outW;
        bold.height = outH;
        bold.coverage = std::make_unique<uint8_t[]>(size_t(outW) * outH);
        const uint8_t* src = glyph->Coverage();
        // Each output pixel is the darkest of the source pixels in the block ending at it.
        for (int y = 0; y < outH; ++y) {
            for (int x = 0; x < outW; ++x) {
                uint8_t darkest = 0;
                for (int sy = std::max(0, y - extraHeight_); sy <= std::min(y, h - 1); ++sy)
                    for (int sx = std::max(0, x - extraWidth_); sx <= std::min(x, w - 1); ++sx)
                        darkest = std::max(darkest, src[size_t(sy) * w + sx]);
                bold.coverage[size_t(y) * outW + x] = darkest;
            }
        }
    }
    return glyphs_.Add(MakeGlyphEntry(ch, bold));
}

void KsFontBoldTransform::setBitmapMode(bool monochrome) {
    base_->setBitmapMode(monochrome);
    glyphs_.Clear();
}

void KsFontBoldTransform::setHintingMode(int mode) {
    base_->setHintingMode(mode);
    glyphs_.Clear();
}

void KsFontBoldTransform::DrawTextRun(KsGlyphTarget* target, int x, int y, const unit16* text,
                                      int len, unit16 defChar, const uint32_t* palette,
                                      KsAddHyphen addHyphen, uint32_t decorationFlags,
                                      int letterSpacing) {
    DrawTextRunWith(*this, *this, target, x, y, text, len, defChar, palette, addHyphen,
                    decorationFlags, letterSpacing, KsDecorationStyle::Emboldened);
}
