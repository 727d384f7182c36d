#include "engine/core/StringUtils.h"

#include <gtest/gtest.h>

#include "engine/core/CharProps.h"
#include "engine/core/ConstStrings.h"
#include "engine/core/Log.h"
#include "engine/core/StringCollection.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Join(const KsString16Collection& list) {
    std::string out;
    for (int i = 0; i < list.Length(); ++i)
        out += (i ? "|" : "") + U8(list[i]);
    return out;
}

struct SplitCase {
    const char* text;
    const char* separator;
    SplitPieces pieces;
    const char* expected;
};

TEST(StringUtils, Split) {
    const SplitCase cases[] = {
        {"a,b,,c", ",", SplitPieces::AsIs, "a|b||c"},
        {"a, b ,, \t c\n", ",", SplitPieces::Normalized, "a|b|c"},
        {"no separator", ",", SplitPieces::AsIs, "no separator"},
        {"", ",", SplitPieces::AsIs, ""},
        {"a::b::c", "::", SplitPieces::AsIs, "a|b|c"},
        {" x  y ", "::", SplitPieces::Normalized, "x y"},
        {"whole", "", SplitPieces::AsIs, "whole"},
    };
    for (const auto& c : cases) {
        string16 separator(c.separator);
        KsString16Collection list = separator.Length() == 1
                                        ? SplitByChar(string16(c.text), separator[0], c.pieces)
                                        : SplitByString(string16(c.text), separator, c.pieces);
        EXPECT_EQ(Join(list), c.expected) << c.text << " / " << c.separator;
    }
}

struct TruncateCase {
    const char* text;
    int32_t limit;
    const char* expected;
};

TEST(StringUtils, TruncateAtWord) {
    const TruncateCase cases[] = {
        {"short", 10, "short"},
        {"one two three four", 10, "one two..."},
        {"one   two three", 8, "one..."},
        {"abcdefghijkl", 5, "abcde..."},
        {"exactly10!", 10, "exactly10!..."},
    };
    for (const auto& c : cases) {
        string16 result = TruncateAtWord(string16(c.text), c.limit);
        EXPECT_EQ(U8(result), c.expected) << c.text;
        EXPECT_LE(result.Length(), c.limit + 3);
    }
}

struct UrlCase {
    const char* input;
    const char16_t* expected;
};

TEST(StringUtils, UrlDecode) {
    const UrlCase cases[] = {
        {"a%20b", u"a b"},
        {"%C3%A9t%C3%A9", u"\u00e9t\u00e9"},
        {"%e9", u"\u00e9"},  // not UTF-8: the byte's own value
        {"%F0%9F%98%80", u"\U0001F600"},
        {"100%", u"100%"},
        {"%4", u"%4"},
        {"%zz", u"%zz"},
        {"%00x", u"%00x"},
        {"%41%42", u"AB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlDecode(string16(c.input)), string16(c.expected)) << c.input;
}

TEST(CharProps, Classes) {
    struct Case {
        unit16 unit;
        uint16_t props;
    } cases[] = {
        {u'A', 0x041},      {u'a', 0x041},      {u'b', 0x081},      {u'0', 0x004},
        {u'?', 0x004},      {u',', 0x008},      {u' ', 0x010},      {u'\u00a0', 0x010},
        {u'-', 0x500},      {u'#', 0x100},      {u'\u00e9', 0x042}, {u'\u00c9', 0x041},
        {u'\u00df', 0x082}, {u'\u00d7', 0x100}, {u'\u0132', 0x041}, {u'\u0138', 0x082},
        {u'\u0387', 0x009}, {u'\u03ac', 0x042}, {u'\u03c2', 0x082}, {u'\u03d2', 0x040},
        {u'\u042a', 0x201}, {u'\u044c', 0x202}, {u'\u0451', 0x042}, {u'\u0416', 0x081},
        {u'\u2014', 0x500}, {u'\u1f00', 0x042}, {u'\u1fec', 0x081}, {u'\u0460', 0},
        {u'\u4e00', 0},     {u'"', 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetCharProps(c.unit), c.props) << std::hex << int(c.unit);
    const unit16 run[] = {u'a', u' ', u'1'};
    uint16_t props[3];
    GetCharPropsRun(run, 3, props);
    EXPECT_EQ(props[0], 0x041);
    EXPECT_EQ(props[1], 0x010);
    EXPECT_EQ(props[2], 0x004);
}

TEST(StringCollection, AddEraseSort) {
    KsString16Collection list;
    EXPECT_EQ(list.Add(string16("b")), 0);
    EXPECT_EQ(list.Add(string16("a")), 1);
    list.Add(string16(u"\u00e9"));
    list.Add(string16("c"));
    list.Erase(10, 2);  // outside: nothing happens
    EXPECT_EQ(list.Length(), 4);
    list.Sort();
    EXPECT_EQ(Join(list), "a|b|c|\u00e9");
    list.Erase(1, 100);
    EXPECT_EQ(Join(list), "a");
}

TEST(HashedCollection, StableIndexesAcrossRebuilds) {
    KsHashedString16Collection set;
    EXPECT_EQ(set.Find(string16("x")), -1);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(set.Add(string16::FormatInt(i)), i);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(set.Add(string16::FormatInt(i)), i);
    EXPECT_EQ(set.Find(string16("777")), 777);
    EXPECT_EQ(set.Find(string16("1000")), -1);
    EXPECT_EQ(set.Length(), 1000);
    // FNV-1: multiply first, then XOR.
    EXPECT_EQ(KsHashedString16Collection::FnvHash(string16()), 0x811C9DC5u);
    EXPECT_EQ(KsHashedString16Collection::FnvHash(string16("a")), (0x811C9DC5u * 16777619u) ^ 'a');
}

TEST(ConstStrings, SharedCopies) {
    const string16& a = Cs16("caf\xC3\xA9");
    const string16& b = Cs16("caf\xC3\xA9");
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(a, string16(u"caf\u00e9"));
    EXPECT_STREQ(Cs8("key").CStr(), "key");
}

TEST(ConstStringsDeathTest, ExhaustionIsFatal) {
    EXPECT_EXIT(
        {
            // More than 1024 distinct literals, then a lookup that has to step past another's
            // slot: addresses 4096 * 31 apart map to the same slot.
            static char pool[1100 * 4096];
            for (int i = 0; i < 1030; ++i) {
                char* text = pool + i * 4096;
                text[0] = 'x';
                Cs8(text);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(255), "out of memory for const string8");
}

class CaptureSink : public KsLogSink {
public:
    using KsLogSink::KsLogSink;
    void Write(const char* levelName, const char* format, va_list args) override {
        char text[256];
        vsnprintf(text, sizeof(text), format, args);
        lines += std::string(levelName) + ":" + text + "\n";
    }
    std::string lines;
};

TEST(Log, LevelsAndSink) {
    EXPECT_FALSE(IsLogLevelEnabled(KS_LOG_ERROR));  // silent by default
    LogError("dropped %d", 1);
    CaptureSink sink(KS_LOG_INFO);
    KsLogSink* previous = SetLogSink(&sink);
    LogError("e%d", 1);
    LogWarn("w");
    LogInfo("i");
    LogDebug("d");
    LogTrace("t");
    EXPECT_TRUE(IsLogLevelEnabled(KS_LOG_INFO));
    EXPECT_FALSE(IsLogLevelEnabled(KS_LOG_DEBUG));
    SetLogSink(previous);
    EXPECT_EQ(sink.lines, "ERROR:e1\nWARN:w\nINFO:i\n");
}

void ExitWith7(int, const char*) {
    std::exit(7);
}

TEST(LogDeathTest, FatalErrorDefaultAndReplacedHandler) {
    EXPECT_EXIT(FatalError(3, "broken"), ::testing::ExitedWithCode(3), "FATAL ERROR #3: broken");
    EXPECT_EXIT(
        {
            SetFatalErrorHandler(ExitWith7);
            FatalError(3, "x");
        },
        ::testing::ExitedWithCode(7), "");
}

}  // namespace
