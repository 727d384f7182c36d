#include "engine/text/DoubleByteDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
    const char* name;
    DoubleByteCharset charset;
    std::string bytes;
    std::u16string expected;
};

std::u16string Decode(DoubleByteCharset charset, const std::string& bytes,
                      DoubleByteProgress* progress = nullptr) {
    char16_t out[64];
    DoubleByteProgress p = DecodeDoubleByte(charset, reinterpret_cast<const uint8_t*>(bytes.data()),
                                            bytes.size(), out, 64);
    if (progress) *progress = p;
    return std::u16string(out, p.produced);
}

TEST(DecodeDoubleByte, PublishedMappings) {
    const DecodeCase cases[] = {
        {"gbk ascii", DoubleByteCharset::Gbk, "a<b>", u"a<b>"},
        {"gbk middle dot, em dash, roman numeral", DoubleByteCharset::Gbk,
         "\xA1\xA4\xA1\xAA\xA2\xA1", u"\u00b7\u2014\u2170"},
        {"gbk hanzi", DoubleByteCharset::Gbk, "\xD6\xD0\xCE\xC4", u"\u4e2d\u6587"},
        {"gbk extension", DoubleByteCharset::Gbk, "\x81\x40", u"\u4e02"},
        {"gbk euro", DoubleByteCharset::Gbk, "\x80", u"\u20ac"},
        {"gbk ff", DoubleByteCharset::Gbk,
         "\xFF"
         "a",
         u"?a"},
        {"big5 euro", DoubleByteCharset::Big5, "\xA3\xE1", u"\u20ac"},
        {"big5 hanzi", DoubleByteCharset::Big5, "\xA4\xA4\xA4\xE5", u"\u4e2d\u6587"},
        {"big5 user-defined areas", DoubleByteCharset::Big5, "\xFA\x40\x8E\x40\x81\x40\x81\xFE",
         u"\ue000\ue311\ueeb8\uef54"},
        {"shift_jis yen and overline", DoubleByteCharset::ShiftJis, "\x5C\x7E", u"\u00a5\u203e"},
        {"shift_jis half-width kana", DoubleByteCharset::ShiftJis, "\xA1\xDF", u"\uff61\uff9f"},
        {"shift_jis hiragana and kanji", DoubleByteCharset::ShiftJis, "\x82\xA0\x93\xFA",
         u"\u3042\u65e5"},
        {"shift_jis lead out of range", DoubleByteCharset::ShiftJis,
         "\xFD"
         "a",
         u"?a"},
        {"euc-jp kanji", DoubleByteCharset::EucJp, "\xC6\xFC\xCB\xDC", u"\u65e5\u672c"},
        {"euc-jp half-width kana", DoubleByteCharset::EucJp, "\x8E\xA1", u"\uff61"},
        {"euc-jp composed kana", DoubleByteCharset::EucJp, "\xA4\xF7", u"\u304b\u309a"},
        {"euc-jp plane 2 beyond the BMP", DoubleByteCharset::EucJp, "\x8F\xA1\xA1", u"\U00020089"},
        {"euc-jp lead out of range", DoubleByteCharset::EucJp,
         "\x90\xA1"
         "a",
         u"??a"},
        {"euc-kr hangul", DoubleByteCharset::EucKr, "\xB0\xA1\xC7\xD1", u"\uac00\ud55c"},
        {"code page 949 extension", DoubleByteCharset::EucKr, "\x81\x41", u"\uac02"},
        {"nul byte", DoubleByteCharset::EucKr, std::string("a\0b", 3), u"a?b"},
        // A lead byte before something that cannot be a trail byte: the byte after it is kept.
        {"lead before markup", DoubleByteCharset::Gbk, "\xD6<p>", u"?<p>"},
        {"shift_jis lead before newline", DoubleByteCharset::ShiftJis, "\x82\n", u"?\n"},
        {"unmapped pair", DoubleByteCharset::EucKr,
         "\xC9\xA1"
         "a",
         u"?a"},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(Decode(c.charset, c.bytes), c.expected) << c.name;
}

TEST(DecodeDoubleByte, StopsBeforeACutCharacter) {
    DoubleByteProgress p;
    EXPECT_EQ(Decode(DoubleByteCharset::Gbk, "a\xD6", &p), u"a");
    EXPECT_EQ(p.consumed, 1u);
    EXPECT_TRUE(p.needMoreInput);
    EXPECT_EQ(Decode(DoubleByteCharset::EucJp, "\x8F\xA1", &p), u"");
    EXPECT_EQ(p.consumed, 0u);
    EXPECT_TRUE(p.needMoreInput);
    EXPECT_EQ(Decode(DoubleByteCharset::Big5, "ab", &p), u"ab");
    EXPECT_FALSE(p.needMoreInput);
}

TEST(DecodeDoubleByte, StopsWhenTheOutputIsFull) {
    char16_t out[2];
    const std::string bytes =
        "\xA4\xF7"
        "a";  // two units, then one
    DoubleByteProgress p =
        DecodeDoubleByte(DoubleByteCharset::EucJp, reinterpret_cast<const uint8_t*>(bytes.data()),
                         bytes.size(), out, 1);
    EXPECT_EQ(p.produced, 0u);
    EXPECT_EQ(p.consumed, 0u);
    EXPECT_FALSE(p.needMoreInput);
    p = DecodeDoubleByte(DoubleByteCharset::EucJp, reinterpret_cast<const uint8_t*>(bytes.data()),
                         bytes.size(), out, 2);
    EXPECT_EQ(p.produced, 2u);
    EXPECT_EQ(p.consumed, 2u);
}

}  // namespace
