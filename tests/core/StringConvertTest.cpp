#include "engine/core/StringConvert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::u16string units;
};

// Malformed input decodes to U+FFFD per bad byte or cut sequence, and never swallows the
// characters after it.
TEST(Utf8ToString16, DecodesTable) {
    const Utf8Case cases[] = {
        {"ascii", "abc", u"abc"},
        {"two byte", "\xC3\xA9", u"\u00e9"},
        {"three byte", "\xE2\x82\xAC", u"\u20ac"},
        {"four byte is a pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"stray continuation",
         "a\x80"
         "b",
         u"a\ufffdb"},
        {"lead then ascii",
         "\xC3"
         "a",
         u"\ufffda"},
        {"cut three byte then ascii",
         "\xE2\x82"
         "a",
         u"\ufffda"},
        {"truncated at end", "a\xE2\x82", u"a\ufffd"},
        {"overlong nul", "\xC0\x80", u"\ufffd"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\ufffd"},
        {"five byte lead",
         "\xF8"
         "a",
         u"\ufffda"},
        {"FF byte", "\xFF", u"\ufffd"},
        {"max code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    };
    for (const auto& c : cases) {
        string16 s = Utf8ToString16(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(std::u16string(s.CStr(), static_cast<size_t>(s.Length())), c.units) << c.name;
    }
}

TEST(Utf8ToString16, ZeroTerminatedStopsAtZero) {
    EXPECT_EQ(U8(Utf8ToString16("ab")), "ab");
    EXPECT_TRUE(Utf8ToString16(static_cast<const char*>(nullptr)).Empty());
    // A sequence cut by the terminator becomes one replacement character.
    string16 s = Utf8ToString16("a\xE2\x82");
    EXPECT_EQ(s, string16(u"a\ufffd"));
}

TEST(String16ToUtf8, RoundTripsEveryPlane) {
    std::u16string units = u"A\u00e9\u0416\u20ac\U0001F600\U00010348\uFFFD";
    string16 s(units.c_str());
    string8 utf8 = String16ToUtf8(s);
    EXPECT_EQ(std::string(utf8.CStr()),
              "A\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80\xF0\x90\x8D\x88\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToString16(utf8), s);
    // A lone surrogate is written on its own (3 bytes) and survives the trip too.
    string16 lone(u"x\xD800y");
    EXPECT_EQ(Utf8ToString16(String16ToUtf8(lone)), lone);
}

TEST(BytesToString16, TableAndWidening) {
    const uint8_t bytes[] = {'a', 0x80, 0xFF};
    unit16 table[128];
    for (int i = 0; i < 128; ++i)
        table[i] = static_cast<unit16>(0x400 + i);
    EXPECT_EQ(BytesToString16(bytes, 3, table), string16(u"a\u0400\u047f"));
    EXPECT_EQ(BytesToString16(bytes, 3, nullptr), string16(u"a\u0080\u00ff"));
}

TEST(DecodeUtf8Buffer, NeverSplitsASequence) {
    const std::string text =
        "a\xF0\x9F\x98\x80"
        "b\xC3\xA9";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    // Feed the bytes in every possible two-piece split and check the concatenated result.
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        std::u16string out;
        unit16 buffer[16];
        Utf8DecodeResult first = DecodeUtf8Buffer(bytes, cut, buffer, 16, false);
        out.append(buffer, first.produced);
        std::string rest = text.substr(first.consumed);
        Utf8DecodeResult second = DecodeUtf8Buffer(reinterpret_cast<const uint8_t*>(rest.data()),
                                                   rest.size(), buffer, 16, true);
        out.append(buffer, second.produced);
        EXPECT_EQ(second.consumed, rest.size());
        EXPECT_EQ(out, u"a\U0001F600b\u00e9") << "cut at " << cut;
    }
    // Room for one unit only: a pair waits for room.
    unit16 one[1];
    Utf8DecodeResult r = DecodeUtf8Buffer(bytes + 1, 4, one, 1, true);
    EXPECT_EQ(r.consumed, 0u);
    EXPECT_EQ(r.produced, 0u);
}

TEST(SystemCodePage, RoundTripsAscii) {
    string16 s("plain text");
    EXPECT_EQ(System8ToString16(String16ToSystem8(s)), s);
}

}  // namespace
