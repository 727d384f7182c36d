#include "engine/graphics/KsFreeTypeFace.h"

#include <algorithm>
#include <cstring>

#include FT_BITMAP_H
#include FT_OUTLINE_H

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/graphics/FontReplacementChars.h"
#include "engine/graphics/KsFontManager.h"

namespace {

constexpr int kMaxMetric = 32767;

int FloorPixels(FT_Pos value) {
    // 26.6 fixed point, rounded down; clamped so that hostile metrics cannot overflow later sums.
    FT_Pos pixels = value >= 0 ? value / 64 : -((-value + 63) / 64);
    return static_cast<int>(std::clamp<FT_Pos>(pixels, -kMaxMetric, kMaxMetric));
}

bool EndsWithIgnoringCase(const string8& text, const char* suffix) {
    string8 lower(text);
    lower.ToLower();
    return lower.EndsWith(suffix);
}

}  // namespace

KsFreeTypeFace::KsFreeTypeFace(KsRef<KsFreeTypeLibrary> library, KsRef<KsGlyphCache> glyphCache,
                               const string8& fileName, int family)
    : library_(std::move(library)),
      fileName_(fileName),
      family_(family),
      glyphs_(std::move(glyphCache)) {}

KsFreeTypeFace::~KsFreeTypeFace() {
    Clear();
}

void KsFreeTypeFace::Clear() {
    glyphs_.Clear();
    clearWidthCache();
    fallback_ = nullptr;
    fallbackLookedUp_ = false;
    if (face_) {
        FT_Done_Face(face_);
        face_ = nullptr;
    }
    buffer_ = nullptr;
}

bool KsFreeTypeFace::loadFace(const KsFaceLoadParams& params) {
    Clear();
    if (!library_) return false;
    FT_Error error;
    if (params.buffer) {
        error =
            FT_New_Memory_Face(library_->Handle(), params.buffer->Data(),
                               static_cast<FT_Long>(params.buffer->Size()), params.index, &face_);
        if (error) LogError("FT_New_Memory_Face returned error %d", error);
    } else {
        error = FT_New_Face(library_->Handle(), params.path.CStr(), params.index, &face_);
        if (error) LogError("FT_New_Face returned error %d", error);
    }
    if (error) {
        face_ = nullptr;
        return false;
    }
    buffer_ = params.buffer;
    if (!params.buffer &&
        (EndsWithIgnoringCase(params.path, ".pfb") || EndsWithIgnoringCase(params.path, ".pfa"))) {
        // Type 1 fonts keep their metrics (kerning) in a side file.
        string8 base = params.path.Substr(0, params.path.Length() - 4);
        string8 afm = base + ".afm";
        if (FT_Attach_File(face_, afm.CStr()) != 0) {
            string8 pfm = base + ".pfm";
            (void)FT_Attach_File(face_, pfm.CStr());
        }
    }
    LogDebug("Loaded font %s [%d]: faceName=%s, ", fileName_.CStr(), params.index,
             face_->family_name ? face_->family_name : "");

    size_ = params.size;
    error = FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(params.size));
    if (error) {
        LogError("FT_Set_Pixel_Sizes returned error %d", error);
        Clear();
        return false;
    }
    const FT_Size_Metrics& metrics = face_->size->metrics;
    height_ = FloorPixels(metrics.height);
    baseline_ = FloorPixels(metrics.height + metrics.descender);
    // A broken font must still give a line that holds its baseline.
    if (height_ < 1) height_ = std::max(1, FloorPixels(metrics.ascender - metrics.descender));
    if (height_ < 1) height_ = params.size;
    baseline_ = std::clamp(baseline_, 0, height_);
    weight_ = (face_->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400;
    italic_ = (face_->style_flags & FT_STYLE_FLAG_ITALIC) ? 1 : 0;
    if (params.syntheticItalic && italic_ == 0) {
        FT_Matrix shear;
        shear.xx = 0x10000;
        shear.xy = static_cast<FT_Fixed>(0.3 * 0x10000);
        shear.yx = 0;
        shear.yy = 0x10000;
        FT_Set_Transform(face_, &shear, nullptr);
        italic_ = 1;
    }
    bitmapMode_ = params.bitmapMode;
    hintingMode_ = params.hintingMode;
    return true;
}

void KsFreeTypeFace::clearWidthCache() {
    for (auto& page : widthPages_)
        page.reset();
    wideWidths_.clear();
    hyphenWidth_ = -1;
    hangingPunctWidth_ = -1;
}

void KsFreeTypeFace::resetFallback() {
    fallback_ = nullptr;
    fallbackLookedUp_ = false;
    glyphs_.Clear();
    clearWidthCache();
}

void KsFreeTypeFace::setBitmapMode(bool monochrome) {
    if (monochrome == bitmapMode_) return;
    bitmapMode_ = monochrome;
    glyphs_.Clear();
    clearWidthCache();
}

void KsFreeTypeFace::setHintingMode(int mode) {
    if (mode == hintingMode_) return;
    hintingMode_ = mode;
    glyphs_.Clear();
    clearWidthCache();
}

FT_Int32 KsFreeTypeFace::loadFlags() const {
    FT_Int32 flags = FT_LOAD_DEFAULT;
    switch (hintingMode_) {
        case 0:
            flags |= FT_LOAD_NO_HINTING | FT_LOAD_NO_AUTOHINT;
            break;
        case 1:
            flags |= FT_LOAD_NO_AUTOHINT;
            break;
        default:
            flags |= FT_LOAD_FORCE_AUTOHINT;
            break;
    }
    flags |= bitmapMode_ ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_NORMAL;
    return flags;
}

FT_UInt KsFreeTypeFace::glyphIndexOf(uint32_t ch) const {
    if (!face_) return 0;
    if (ch == '\t') ch = ' ';
    FT_UInt index = FT_Get_Char_Index(face_, ch);
    if (index == 0) {
        uint32_t replacement = GetReplacementChar(ch);
        if (replacement) index = FT_Get_Char_Index(face_, replacement);
    }
    return index;
}

KsFont* KsFreeTypeFace::fallbackFont() {
    if (!fallbackLookedUp_) {
        fallbackLookedUp_ = true;
        KsFontManager* manager = GetFontManager();
        if (manager) {
            string8 face = manager->GetFallbackFace();
            if (!face.Empty() && face != faceName_) {
                KsRef<KsFont> font = manager->GetFallbackFont(size_);
                // Only the fallback face itself: it never looks further, so fonts cannot end
                // up holding each other.
                if (font && font.Get() != this && font->getTypeFace() == face) fallback_ = font;
            }
        }
    }
    return fallback_.Get();
}

bool KsFreeTypeFace::readMetrics(FT_GlyphSlot slot, KsGlyphInfo* info) {
    const FT_Glyph_Metrics& m = slot->metrics;
    info->blackBoxX = std::max(0, FloorPixels(m.width));
    info->blackBoxY = std::max(0, FloorPixels(m.height));
    info->originX = FloorPixels(m.horiBearingX);
    info->originY = FloorPixels(m.horiBearingY);
    info->width = std::max(0, FloorPixels(m.horiAdvance));
    return true;
}

bool KsFreeTypeFace::getGlyphInfo(uint32_t ch, KsGlyphInfo* info, uint32_t defChar) {
    if (!face_ || !info) return false;
    FT_UInt index = glyphIndexOf(ch);
    if (index == 0) {
        KsFont* fallback = fallbackFont();
        if (fallback && fallback->getGlyphInfo(ch, info, 0)) return true;
        if (defChar) index = glyphIndexOf(defChar);
        if (index == 0) return false;
    }
    if (FT_Load_Glyph(face_, index, loadFlags()) != 0) return false;
    return readMetrics(face_->glyph, info);
}

int KsFreeTypeFace::MeasureAdvance(uint32_t ch, unit16 defChar) {
    uint8_t* slot = nullptr;
    if (ch < 0x10000) {
        std::unique_ptr<uint8_t[]>& page = widthPages_[ch / kWidthPageSize];
        if (!page) {
            page = std::make_unique<uint8_t[]>(kWidthPageSize);
            std::memset(page.get(), kUnknownWidth, kWidthPageSize);
        }
        slot = &page[ch % kWidthPageSize];
        if (*slot != kUnknownWidth) return *slot;
    } else {
        auto it = wideWidths_.find(ch);
        if (it != wideWidths_.end()) return it->second;
    }
    // Only the character's own glyph (here or in the fallback face) is stored under it: a width
    // borrowed from the default character would depend on which default the first caller used,
    // and the run would then be drawn wider or narrower than it measured.
    KsGlyphInfo info;
    bool own = glyphIndexOf(ch) != 0 && getGlyphInfo(ch, &info, 0);
    if (!own) {
        KsFont* fallback = fallbackFont();
        own = fallback && fallback->getGlyphInfo(ch, &info, 0);
    }
    if (!own) {
        if (defChar && defChar != ch) return MeasureAdvance(defChar, 0);
        return -1;
    }
    // A width that would read as "not known" is measured again next time rather than stored.
    if (info.width < kUnknownWidth) {
        if (slot)
            *slot = static_cast<uint8_t>(info.width);
        else if (wideWidths_.size() < kMaxWideWidthEntries)
            wideWidths_[ch] = static_cast<uint8_t>(info.width);
    }
    return info.width;
}

int KsFreeTypeFace::getCharWidth(uint32_t ch, uint32_t defChar) {
    int advance = MeasureAdvance(ch, static_cast<unit16>(defChar));
    return advance < 0 ? 0 : advance;
}

int KsFreeTypeFace::getHyphenWidth() {
    if (hyphenWidth_ < 0) hyphenWidth_ = getCharWidth(kSoftHyphen, u'-');
    return hyphenWidth_;
}

int KsFreeTypeFace::getHangingPunctWidth() {
    if (hangingPunctWidth_ < 0) {
        int widest = 0;
        for (uint32_t ch : {uint32_t(kSoftHyphen), uint32_t(','), uint32_t('.'), uint32_t('!'),
                            uint32_t(':'), uint32_t(';')})
            widest = std::max(widest, getCharWidth(ch, 0));
        hangingPunctWidth_ = widest;
    }
    return hangingPunctWidth_;
}

int KsFreeTypeFace::KerningBetween(uint32_t left, uint32_t right) {
    FT_UInt a = glyphIndexOf(left), b = glyphIndexOf(right);
    // Pairs across faces (a fallback glyph) have no kerning.
    if (a == 0 || b == 0) return 0;
    FT_Vector delta;
    if (FT_Get_Kerning(face_, a, b, FT_KERNING_DEFAULT, &delta) != 0) return 0;
    return FloorPixels(delta.x);
}

int KsFreeTypeFace::measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags,
                                int maxWidth, unit16 defChar, int letterSpacing,
                                KsHyphenate hyphenate) {
    if (!face_) return 0;
    return MeasureTextWith(*this, text, len, widths, flags, maxWidth, defChar, letterSpacing,
                           hyphenate);
}

void KsFreeTypeFace::measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                                int32_t startTotal, unit16 defChar, int letterSpacing) {
    if (!face_) {
        for (int i = 0; i < len; ++i) {
            widths[i] = startTotal;
            flags[i] = MeasureFlagsOf(text[i]);
        }
        return;
    }
    MeasureRunWith(*this, text, len, widths, flags, startTotal, defChar, letterSpacing);
}

bool KsFreeTypeFace::renderGlyph(FT_UInt index, KsRenderedGlyph& out) {
    if (FT_Load_Glyph(face_, index, loadFlags()) != 0) return false;
    FT_GlyphSlot slot = face_->glyph;
    out.advance = std::max(0, FloorPixels(slot->metrics.horiAdvance));
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // A hostile font can describe an outline far larger than any page; such a glyph keeps
        // its advance but is not rendered.
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if ((box.xMax - box.xMin) / 64 > kMaxRenderedGlyphSide ||
            (box.yMax - box.yMin) / 64 > kMaxRenderedGlyphSide)
            return true;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP) {
        FT_Render_Mode mode = bitmapMode_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
        if (FT_Render_Glyph(slot, mode) != 0) return true;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer) return true;
    if (bitmap.width > unsigned(kMaxRenderedGlyphSide) ||
        bitmap.rows > unsigned(kMaxRenderedGlyphSide))
        return true;
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.rows);
    out.originX = std::clamp(slot->bitmap_left, -kMaxMetric, kMaxMetric);
    out.originY = std::clamp(slot->bitmap_top, -kMaxMetric, kMaxMetric);
    out.width = width;
    out.height = height;
    out.coverage = std::make_unique<uint8_t[]>(size_t(width) * height);
    uint8_t* dst = out.coverage.get();

    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256) {
        const int pitch = bitmap.pitch;
        // With an upward flow the top row is the last one in memory.
        const uint8_t* top =
            pitch < 0 ? bitmap.buffer - ptrdiff_t(pitch) * (height - 1) : bitmap.buffer;
        for (int y = 0; y < height; ++y)
            std::memcpy(dst + size_t(y) * width, top + ptrdiff_t(y) * pitch, size_t(width));
        return true;
    }
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    if (FT_Bitmap_Convert(library_->Handle(), &bitmap, &converted, 1) != 0 ||
        converted.width != bitmap.width || converted.rows != bitmap.rows) {
        FT_Bitmap_Done(library_->Handle(), &converted);
        out.coverage.reset();
        out.width = out.height = 0;
        return true;
    }
    // Levels run from 0 to num_grays - 1 (a monochrome source gives 0 and 1).
    int levels = std::max<int>(converted.num_grays, 2) - 1;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) levels = 1;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = converted.buffer + ptrdiff_t(y) * converted.pitch;
        for (int x = 0; x < width; ++x)
            dst[size_t(y) * width + x] =
                static_cast<uint8_t>(std::min(255, int(row[x]) * 255 / levels));
    }
    FT_Bitmap_Done(library_->Handle(), &converted);
    return true;
}

const KsGlyphEntry* KsFreeTypeFace::getGlyph(uint32_t ch, uint32_t defChar) {
    if (!face_) return nullptr;
    if (const KsGlyphEntry* hit = glyphs_.Find(ch)) return hit;
    FT_UInt index = glyphIndexOf(ch);
    if (index == 0) {
        if (KsFont* fallback = fallbackFont()) {
            if (const KsGlyphEntry* glyph = fallback->getGlyph(ch, 0)) return glyph;
        }
        // Cached under defChar itself, so a later call with another default stays right.
        if (defChar && defChar != ch && glyphIndexOf(defChar) != 0) return getGlyph(defChar, 0);
        return nullptr;
    }
    KsRenderedGlyph rendered;
    if (!renderGlyph(index, rendered)) return nullptr;
    return glyphs_.Add(MakeGlyphEntry(ch, rendered));
}

void KsFreeTypeFace::DrawTextRun(KsGlyphTarget* target, int x, int y, const unit16* text, int len,
                                 unit16 defChar, const uint32_t* palette, KsAddHyphen addHyphen,
                                 uint32_t decorationFlags, int letterSpacing) {
    DrawTextRunWith(*this, *this, target, x, y, text, len, defChar, palette, addHyphen,
                    decorationFlags, letterSpacing, KsDecorationStyle::Regular);
}
