#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/graphics/KsFontBoldTransform.h"
#include "engine/graphics/KsFontManager.h"
#include "tests/support/FontTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class MeasureText : public ::testing::Test {
protected:
    MeasureText() : manager_({"DejaVuSans.ttf", "LiberationSans-Regular.ttf"}) {
        font_ = manager_->GetFont(24, 400, false, 0, "DejaVu Sans");
    }

    struct Measured {
        int fit;
        std::vector<uint16_t> widths;
        std::vector<uint8_t> flags;
    };
    Measured Measure(const string16& text, int maxWidth = 10000, int letterSpacing = 0,
                     KsFont* font = nullptr) {
        Measured m;
        // Poisoned, so a width that measuring leaves unwritten shows.
        m.widths.assign(size_t(text.Length()), 0xBEEF);
        m.flags.assign(size_t(text.Length()), 0xEE);
        m.fit = (font ? font : font_.Get())
                    ->measureText(text.CStr(), text.Length(), m.widths.data(), m.flags.data(),
                                  maxWidth, u'?', letterSpacing, KsHyphenate::Yes);
        return m;
    }

    ScopedFontManager manager_;
    KsRef<KsFont> font_;
};

TEST_F(MeasureText, CharacterFlags) {
    const string16 text(u" \r\n-\u2010\u00A0\u00ADa\t.");
    const uint8_t expected[] = {0x03, 0x13, 0x13, 0x04, 0x04, 0x05, 0x02, 0x00, 0x00, 0x00};
    Measured m = Measure(text);
    ASSERT_EQ(m.flags.size(), sizeof(expected));
    for (size_t i = 0; i < m.flags.size(); ++i)
        EXPECT_EQ(m.flags[i], expected[i]) << i;
}

TEST_F(MeasureText, WidthsAccumulateAdvances) {
    const string16 text(u"Quillet reads");
    Measured m = Measure(text);
    EXPECT_EQ(m.fit, text.Length());
    int total = 0;
    for (int i = 0; i < text.Length(); ++i) {
        total += font_->getCharWidth(text[i], '?');
        EXPECT_EQ(m.widths[size_t(i)], total) << i;
    }
    EXPECT_EQ(font_->getTextWidth(text.CStr(), text.Length()), total);
}

TEST_F(MeasureText, StopsAtMaxWidthWithoutStaleWidths) {
    const string16 text(u"mmmmmmmmmmmmmmmmmmmm");
    const int m1 = font_->getCharWidth('m', 0);
    Measured m = Measure(text, m1 * 5 + 1);
    EXPECT_EQ(m.fit, 5);
    for (size_t i = 0; i < m.widths.size(); ++i) {
        EXPECT_NE(m.widths[i], 0xBEEF) << i;
        EXPECT_NE(m.flags[i], 0xEE) << i;
        if (i >= 5) {
            EXPECT_GT(m.widths[i], m1 * 5 + 1) << i;  // none of them fits
        }
    }
    EXPECT_EQ(Measure(text, 0).fit, 0);
}

TEST_F(MeasureText, SoftHyphenTakesNoRoomInsideAWord) {
    Measured plain = Measure(u"hyphen");
    Measured soft = Measure(u"hy\u00ADphen");
    const int hyphen = font_->getHyphenWidth();
    EXPECT_GT(hyphen, 0);
    EXPECT_EQ(soft.widths[2], plain.widths[1] + hyphen);  // the line may end there
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(soft.widths[size_t(i) + 1], plain.widths[size_t(i)]);
}

TEST_F(MeasureText, SurrogatePairIsOneCharacter) {
    const string16 text(u"a\U0001F600b");  // U+1F600 is in DejaVu Sans
    ASSERT_EQ(text.Length(), 4);
    Measured m = Measure(text);
    const int a = font_->getCharWidth('a', 0);
    const int smile = font_->getCharWidth(0x1F600, 0);
    const int b = font_->getCharWidth('b', 0);
    KsGlyphInfo info;
    ASSERT_TRUE(font_->getGlyphInfo(0x1F600, &info, 0));
    EXPECT_EQ(smile, info.width);
    EXPECT_NE(smile, font_->getCharWidth('?', 0));  // its own glyph, not the default one
    EXPECT_EQ(m.widths[1], a + smile);
    EXPECT_EQ(m.widths[2], m.widths[1]);  // the second unit has no advance of its own
    EXPECT_EQ(m.widths[3], a + smile + b);
    EXPECT_EQ(m.flags[1], 0);
    EXPECT_EQ(m.flags[2], 0);
    // Both units fit or neither does.
    EXPECT_EQ(Measure(text, a + smile - 1).fit, 1);
    EXPECT_EQ(Measure(text, a + smile).fit, 3);
    // A lone surrogate is just an unknown unit.
    Measured lone = Measure(string16(u"a") + string16::FromUnit(0xD800));
    EXPECT_EQ(lone.widths[1], a + font_->getCharWidth('?', 0));
}

TEST_F(MeasureText, LongRunContinuesWhereItStopped) {
    // 4096 characters are far wider than the 32767 pixels the formatter measures at once.
    string16 text;
    for (int i = 0; i < 4096; ++i)
        text.Append(unit16(u"Lorem ipsum, dolor sit amet. "[i % 29]));
    const int len = text.Length();
    KsRef<KsFont> font = manager_->GetFont(33, 400, false, 0, "DejaVu Sans");
    std::vector<int32_t> whole(static_cast<size_t>(len));
    std::vector<uint8_t> flags(static_cast<size_t>(len));
    font->measureRun(text.CStr(), len, whole.data(), flags.data(), 0, u'?');
    ASSERT_GT(whole.back(), 65535);  // beyond even the 16-bit widths

    // Pieces through measureText with the formatter's limit, each carried on from the last.
    std::vector<uint16_t> piece(static_cast<size_t>(len));
    std::vector<uint8_t> pieceFlags(static_cast<size_t>(len));
    int start = 0, pieces = 0;
    int32_t carried = 0;
    while (start < len) {
        int fit = font->measureText(text.CStr() + start, len - start, piece.data(),
                                    pieceFlags.data(), 32767, u'?', 0, KsHyphenate::No);
        ASSERT_GT(fit, 0);
        for (int i = 0; i < fit; ++i) {
            EXPECT_EQ(carried + piece[size_t(i)], whole[size_t(start + i)]) << start + i;
            EXPECT_EQ(pieceFlags[size_t(i)], flags[size_t(start + i)]) << start + i;
        }
        carried += piece[size_t(fit - 1)];
        start += fit;
        ++pieces;
    }
    EXPECT_GE(pieces, 3);

    // measureRun in arbitrary pieces with carried totals gives the same widths.
    std::vector<int32_t> inPieces(static_cast<size_t>(len));
    for (int from = 0; from < len; from += 1000) {
        int count = std::min(1000, len - from);
        int32_t total = from ? inPieces[size_t(from - 1)] : 0;
        font->measureRun(text.CStr() + from, count, inPieces.data() + from, flags.data() + from,
                         total, u'?');
    }
    EXPECT_EQ(inPieces, whole);
}

TEST_F(MeasureText, TextWidthMeasuresAtMost2048Units) {
    // A combining accent has no advance of its own.
    ASSERT_EQ(font_->getCharWidth(0x0301, '?'), 0);
    string16 inside =
        string16::Repeated(2000, 0x0301) + string16(u"W") + string16::Repeated(999, 0x0301);
    string16 beyond =
        string16::Repeated(2100, 0x0301) + string16(u"W") + string16::Repeated(899, 0x0301);
    EXPECT_EQ(font_->getTextWidth(inside.CStr(), inside.Length()), font_->getCharWidth('W', 0));
    EXPECT_EQ(font_->getTextWidth(beyond.CStr(), beyond.Length()), 0);
    EXPECT_EQ(font_->getTextWidth(u"", 0), 0);
}

TEST_F(MeasureText, LetterSpacing) {
    Measured plain = Measure(u"abc");
    Measured spaced = Measure(u"abc", 10000, 5);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(spaced.widths[size_t(i)], plain.widths[size_t(i)] + 5 * (i + 1));
    Measured outOfRange = Measure(u"abc", 10000, 51);
    EXPECT_EQ(outOfRange.widths, plain.widths);
    EXPECT_EQ(Measure(u"abc", 10000, -3).widths, plain.widths);
}

TEST_F(MeasureText, DefaultHyphenationMarksNothing) {
    const string16 text(u"internationalization considerations");
    Measured m = Measure(text, font_->getCharWidth('n', 0) * 12);
    EXPECT_GT(m.fit, 3);
    for (uint8_t f : m.flags)
        EXPECT_EQ(f & CHAR_HYPH_WRAP_AFTER, 0);
}

TEST_F(MeasureText, MissingCharactersUseTheDefaultCharacter) {
    const uint32_t missing = 0xE000;  // private use: in no shipped face
    EXPECT_EQ(font_->getCharWidth(missing, '?'), font_->getCharWidth('?', 0));
    EXPECT_EQ(font_->getCharWidth(missing, 0), 0);
    KsGlyphInfo info;
    EXPECT_FALSE(font_->getGlyphInfo(missing, &info, 0));
    // The width of the default character is not kept for the missing one: measuring first with
    // one default and then with another gives each its own width (as drawing does).
    EXPECT_EQ(font_->getCharWidth(missing, ' '), font_->getCharWidth(' ', 0));
    EXPECT_EQ(font_->getCharWidth(missing, '?'), font_->getCharWidth('?', 0));
    const KsGlyphEntry* question = font_->getGlyph('?', 0);
    EXPECT_EQ(font_->getGlyph(missing, '?'), question);
    // A replacement character stands in for a missing typographic one: Liberation has no
    // U+26AA, which is drawn as 'o'.
    KsRef<KsFont> liberation = manager_->GetFont(24, 400, false, 0, "Liberation Sans");
    EXPECT_EQ(liberation->getCharWidth(0x26AA, 0), liberation->getCharWidth('o', 0));
}

TEST_F(MeasureText, WideGlyphsAreNeverCutToAByte) {
    KsRef<KsFont> huge = manager_->GetFont(400, 400, false, 0, "DejaVu Sans");
    ASSERT_TRUE(huge);
    KsGlyphInfo info;
    ASSERT_TRUE(huge->getGlyphInfo('W', &info, 0));
    ASSERT_GT(info.width, 255);
    // Measured again each time instead of being stored as the "not known" marker or wrapped.
    EXPECT_EQ(huge->getCharWidth('W', 0), info.width);
    EXPECT_EQ(huge->getCharWidth('W', 0), info.width);
    Measured m = Measure(u"WW", 60000, 0, huge.Get());
    EXPECT_EQ(m.widths[1], 2 * info.width);
}

TEST_F(MeasureText, BoldTransformCountsItsExtraWidth) {
    KsRef<KsFont> bold = manager_->GetFont(24, 700, false, 0, "DejaVu Sans");
    auto* transform = dynamic_cast<KsFontBoldTransform*>(bold.Get());
    ASSERT_NE(transform, nullptr);
    const string16 text(u"bold text");
    Measured base = Measure(text, 10000, 0, transform->base().Get());
    Measured wide = Measure(text, 10000, 0, bold.Get());
    for (size_t i = 0; i < base.widths.size(); ++i)
        EXPECT_EQ(wide.widths[i], base.widths[i] + int(i + 1) * transform->extraWidth()) << i;
    // What fits is decided on the wider advances.
    Measured limited = Measure(text, base.widths[4], 0, bold.Get());
    EXPECT_EQ(limited.fit, 4);
    EXPECT_EQ(bold->getCharWidth('b', 0), transform->base()->getCharWidth('b', 0) + 1);
}

TEST_F(MeasureText, KerningFollowsTheSetting) {
    KsRef<KsFont> liberation = manager_->GetFont(40, 400, false, 0, "Liberation Sans");
    Measured plain = Measure(u"AVAV", 10000, 0, liberation.Get());
    manager_->SetKerning(true);
    Measured kerned = Measure(u"AVAV", 10000, 0, liberation.Get());
    EXPECT_LT(kerned.widths[3], plain.widths[3]);  // A and V tuck together
    manager_->SetKerning(false);
    EXPECT_EQ(Measure(u"AVAV", 10000, 0, liberation.Get()).widths, plain.widths);
}

}  // namespace
