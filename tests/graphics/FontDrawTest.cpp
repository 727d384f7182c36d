#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/KsFontManager.h"
#include "engine/graphics/KsGlyphBitmap.h"
#include "tests/support/FontTestSupport.h"

namespace {

class FontDraw : public ::testing::Test {
protected:
    FontDraw() : manager_({"DejaVuSans.ttf"}) {
        font_ = manager_->GetFont(24, 400, false, 0, "DejaVu Sans");
    }

    KsGlyphBitmap Draw(const string16& text, KsAddHyphen hyphen = KsAddHyphen::No,
                       uint32_t decorations = 0, int y = 10, KsFont* font = nullptr) {
        KsGlyphBitmap bitmap(400, 60);
        (font ? font : font_.Get())
            ->DrawTextRun(&bitmap, 10, y, text.CStr(), text.Length(), u'?', nullptr, hyphen,
                          decorations);
        return bitmap;
    }
    static bool SamePixels(const KsGlyphBitmap& a, const KsGlyphBitmap& b) {
        for (int y = 0; y < a.GetHeight(); ++y)
            for (int x = 0; x < a.GetWidth(); ++x)
                if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
        return true;
    }
    // The column right of the rightmost ink, or 0.
    static int InkRight(const KsGlyphBitmap& bitmap) {
        int right = 0;
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            for (int x = 0; x < bitmap.GetWidth(); ++x)
                if (bitmap.Pixel(x, y) < 128) right = std::max(right, x + 1);
        return right;
    }

    ScopedFontManager manager_;
    KsRef<KsFont> font_;
};

TEST_F(FontDraw, DrawsInkWhereItMeasures) {
    const string16 text(u"Quillet");
    KsGlyphBitmap bitmap = Draw(text);
    EXPECT_GT(bitmap.CountInk(), 50);
    const int width = font_->getTextWidth(text.CStr(), text.Length());
    EXPECT_LE(InkRight(bitmap), 10 + width + 1);
    EXPECT_GE(InkRight(bitmap), 10 + width - font_->getCharWidth('t', 0));
    // Nothing above the line or below it.
    for (int x = 0; x < bitmap.GetWidth(); ++x) {
        EXPECT_EQ(bitmap.Pixel(x, 9), 255);
        EXPECT_EQ(bitmap.Pixel(x, 10 + font_->getHeight()), 255);
    }
}

TEST_F(FontDraw, SoftHyphenShowsOnlyAtTheEnd) {
    EXPECT_TRUE(SamePixels(Draw(u"ab\u00ADcd"), Draw(u"abcd")));
    KsGlyphBitmap ending = Draw(u"ab\u00AD");
    EXPECT_GT(ending.CountInk(), Draw(u"ab").CountInk());
    EXPECT_TRUE(SamePixels(ending, Draw(u"ab", KsAddHyphen::Yes)));
}

TEST_F(FontDraw, SurrogatePairDrawsOneGlyph) {
    KsGlyphBitmap pair = Draw(u"\U0001F600x");
    // Drawn by hand: the glyph of U+1F600, then 'x' one advance later.
    KsGlyphBitmap byHand(400, 60);
    const int baseline = font_->getBaseline();
    const KsGlyphEntry* smile = font_->getGlyph(0x1F600, 0);
    ASSERT_NE(smile, nullptr);
    byHand.BlendBitmap(10 + smile->originX, 10 + baseline - smile->originY, smile->Coverage(),
                       smile->width, smile->height, nullptr);
    const int x = 10 + font_->getCharWidth(0x1F600, 0);
    const KsGlyphEntry* ex = font_->getGlyph('x', 0);
    byHand.BlendBitmap(x + ex->originX, 10 + baseline - ex->originY, ex->Coverage(), ex->width,
                       ex->height, nullptr);
    EXPECT_TRUE(SamePixels(pair, byHand));
}

TEST_F(FontDraw, LinesOutsideTheClipAreSkipped) {
    KsGlyphBitmap bitmap(200, 40);
    KsRect clip{0, 10, 200, 30};
    bitmap.SetClipRect(&clip);
    font_->DrawTextRun(&bitmap, 0, -font_->getHeight() + 10, u"above", 5, u'?', nullptr,
                       KsAddHyphen::No, KS_DECORATION_UNDERLINE);
    font_->DrawTextRun(&bitmap, 0, 30, u"below", 5, u'?', nullptr, KsAddHyphen::No,
                       KS_DECORATION_UNDERLINE);
    font_->DrawTextRun(&bitmap, 0, 1000000, u"far", 3, u'?', nullptr, KsAddHyphen::No, 0);
    font_->DrawTextRun(nullptr, 0, 0, u"none", 4, u'?', nullptr, KsAddHyphen::No, 0);
    font_->DrawTextRun(&bitmap, 0, 10, u"", 0, u'?', nullptr, KsAddHyphen::Yes, 0);
    EXPECT_EQ(bitmap.CountInk(), 0);
    // Partly inside: drawn, cut to the clip.
    font_->DrawTextRun(&bitmap, 0, 0, u"Tall", 4, u'?', nullptr, KsAddHyphen::No, 0);
    EXPECT_GT(bitmap.CountInk(), 0);
    for (int x = 0; x < 200; ++x)
        EXPECT_EQ(bitmap.Pixel(x, 9), 255);
}

TEST_F(FontDraw, Decorations) {
    const string16 text(u"under");
    const int width = font_->getTextWidth(text.CStr(), text.Length());
    const int baseline = font_->getBaseline();
    KsGlyphBitmap underlined = Draw(text, KsAddHyphen::No, KS_DECORATION_UNDERLINE);
    // A 1-pixel line (below 31 pixels) whose top is one pixel below the baseline.
    for (int x = 10; x < 10 + width; ++x)
        EXPECT_EQ(underlined.Pixel(x, 10 + baseline + 1), 0);
    EXPECT_EQ(underlined.Pixel(10 + width, 10 + baseline + 1), 255);
    KsGlyphBitmap blink = Draw(text, KsAddHyphen::No, KS_DECORATION_BLINK);
    EXPECT_TRUE(SamePixels(blink, underlined));
    KsGlyphBitmap over = Draw(text, KsAddHyphen::No, KS_DECORATION_OVERLINE);
    for (int x = 10; x < 10 + width; ++x)
        EXPECT_EQ(over.Pixel(x, 11), 0);
    KsGlyphBitmap through = Draw(u"  ", KsAddHyphen::No, KS_DECORATION_LINE_THROUGH);
    const int spaces = 2 * font_->getCharWidth(' ', 0);
    for (int x = 10; x < 10 + spaces; ++x)
        EXPECT_EQ(through.Pixel(x, 10 + baseline - (2 * 24) / 7), 0);
    EXPECT_EQ(through.CountInk(), spaces);
}

TEST_F(FontDraw, BoldDrawsWiderAndDarker) {
    KsRef<KsFont> bold = manager_->GetFont(24, 700, false, 0, "DejaVu Sans");
    const string16 text(u"bold");
    KsGlyphBitmap regular = Draw(text);
    KsGlyphBitmap heavy = Draw(text, KsAddHyphen::No, 0, 10, bold.Get());
    EXPECT_GT(heavy.CountInk(), regular.CountInk());
    EXPECT_GT(InkRight(heavy), InkRight(regular));
    EXPECT_LE(InkRight(heavy), 10 + bold->getTextWidth(text.CStr(), text.Length()) + 2);
}

}  // namespace
