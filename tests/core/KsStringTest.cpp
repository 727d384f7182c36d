#include "engine/core/KsString.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

TEST(KsString, CopyOnWriteUnsharesOnChange) {
    string16 a("hello");
    string16 b = a;
    EXPECT_TRUE(a.IsShared());
    EXPECT_EQ(a.CStr(), b.CStr());
    b.Append(u'!');
    EXPECT_EQ(U8(a), "hello");
    EXPECT_EQ(U8(b), "hello!");
    EXPECT_FALSE(a.IsShared());
    EXPECT_NE(a.CStr(), b.CStr());

    string16 c = a;
    c.UnitAt(0) = u'j';
    EXPECT_EQ(U8(a), "hello");
    EXPECT_EQ(U8(c), "jello");
}

TEST(KsString, EmptyStringsShareOneChunk) {
    string16 fromLiteral(u"");
    string16 fromNull(static_cast<const unit16*>(nullptr));
    string16 fromDefault;
    string16 fromSubstr = string16("abc").Substr(9, 1);
    EXPECT_EQ(fromLiteral.CStr(), fromNull.CStr());
    EXPECT_EQ(fromLiteral.CStr(), fromDefault.CStr());
    EXPECT_EQ(fromLiteral.CStr(), fromSubstr.CStr());
    {
        string16 many[50];
        for (auto& s : many)
            s = fromDefault;
    }
    EXPECT_EQ(fromDefault[0], 0);
    string8 e8("");
    EXPECT_EQ(e8.CStr(), string8().CStr());
}

TEST(KsString, AppendToItself) {
    string16 s("ab");
    s.Append(s);
    EXPECT_EQ(U8(s), "abab");
    s.Append(s.CStr() + 1, 2);
    EXPECT_EQ(U8(s), "ababba");
    string8 t("xy");
    t += t;
    EXPECT_EQ(std::string(t.CStr()), "xyxy");
}

TEST(KsString, LongUnitByUnitAppend) {
    string16 s;
    for (int i = 0; i < 100000; ++i)
        s.Append(static_cast<unit16>('a' + i % 26));
    ASSERT_EQ(s.Length(), 100000);
    EXPECT_EQ(s[99999], 'a' + 99999 % 26);
    EXPECT_EQ(s[100000], 0);
}

struct SubstrCase {
    int32_t start, count;
    const char* expected;
};

TEST(KsString, SubstrClipsRange) {
    const SubstrCase cases[] = {
        {5, 10, "fg"}, {9, 1, ""}, {0, 3, "abc"}, {-2, 3, "a"}, {2, -1, ""}, {0, 100, "abcdefg"},
    };
    string16 s("abcdefg");
    for (const auto& c : cases)
        EXPECT_EQ(U8(s.Substr(c.start, c.count)), c.expected) << c.start << "," << c.count;
}

TEST(KsString, EditingOperationsClip) {
    string16 s("abcdef");
    s.Erase(4, 100);
    EXPECT_EQ(U8(s), "abcd");
    s.Erase(10, 1);
    EXPECT_EQ(U8(s), "abcd");
    s.Erase(-1, 2);
    EXPECT_EQ(U8(s), "bcd");
    s.Insert(100, 2, u'x');
    EXPECT_EQ(U8(s), "bcdxx");
    s.Insert(-5, 1, u'<');
    EXPECT_EQ(U8(s), "<bcdxx");
    s.Insert(1, string16("--"));
    EXPECT_EQ(U8(s), "<--bcdxx");
    s.Truncate(3);
    EXPECT_EQ(U8(s), "<--");
    s.Truncate(10);
    EXPECT_EQ(U8(s), "<--");
    s.Clear(100);
    EXPECT_TRUE(s.Empty());
    EXPECT_GE(s.Capacity(), 100);
}

TEST(KsString, ReserveIsExactAndShrinkGivesBack) {
    string16 s("abc");
    s.Reserve(50);
    EXPECT_EQ(s.Capacity(), 50);
    s.Shrink();
    EXPECT_EQ(s.Capacity(), 3);
    string16 t("abcdef");
    t.Reserve(9);  // length + 4 < capacity is false: keep it
    t.Shrink();
    EXPECT_EQ(t.Capacity(), 9);
}

TEST(KsString, FindStartsEndsCompare) {
    string16 s("hello world");
    EXPECT_EQ(s.Find("world"), 6);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find("xyz"), -1);
    EXPECT_EQ(s.Find(string16("o"), 5), 7);
    EXPECT_TRUE(s.StartsWith("hello"));
    EXPECT_TRUE(s.StartsWith(""));
    EXPECT_FALSE(s.StartsWith("hello world!"));
    EXPECT_TRUE(s.EndsWith("world"));
    EXPECT_TRUE(s.EndsWith(""));
    EXPECT_LT(string16("ab").Compare(string16("abc")), 0);
    EXPECT_GT(string16("b").Compare(string16("abc")), 0);
    EXPECT_EQ(string16("abc").Compare("abc"), 0);
    EXPECT_LT(string16("ab").Compare("abc"), 0);
    EXPECT_GT(string16("abd").Compare("abc"), 0);
    // Unsigned comparison: U+00E9 sorts after ASCII; a byte 0xE9 after 'z'.
    EXPECT_GT(string16(u"\u00e9").Compare(string16("z")), 0);
    EXPECT_GT(string8("\xE9").Compare(string8("z")), 0);
}

TEST(KsString, Hash) {
    EXPECT_EQ(string16().Hash(), 0);
    EXPECT_EQ(string16("a").Hash(), 'a');
    EXPECT_EQ(string16("ab").Hash(), 'a' * 31 + 'b');
    // Bytes of a string8 count as signed values.
    EXPECT_EQ(string8("\xFF").Hash(), -1);
    // Long input wraps instead of overflowing.
    string16 big = string16::Repeated(1000, u'\xFFFF');
    (void)big.Hash();
}

TEST(KsString, CaseTable) {
    string16 s(u"abzAZ\u00e0\u00f7\u00ff\u03b1\u0430\u044f\u0450\u1f00\u1f70");
    string16 up = s;
    up.ToUpper();
    EXPECT_EQ(up, string16(u"ABZAZ\u00c0\u00f7\u00df\u0391\u0410\u042f\u0450\u1f08\u1f70"));
    string16 down(u"ABZ\u00c0\u00d7\u0391\u0410\u042f\u0400\u1f08");
    down.ToLower();
    EXPECT_EQ(down, string16(u"abz\u00e0\u00d7\u03b1\u0430\u044f\u0400\u1f00"));
    // Byte strings are UTF-8: only ASCII letters change.
    string8 bytes("a\xC3\xA9Z");
    bytes.ToUpper();
    EXPECT_STREQ(bytes.CStr(), "A\xC3\xA9Z");
}

TEST(KsString, Trim) {
    string16 s(" \t a b \t");
    s.Trim();
    EXPECT_EQ(U8(s), "a b");
    string16 n(" \n x");
    n.Trim();
    EXPECT_EQ(U8(n), "\n x");
}

struct CollapseCase {
    const char* input;
    SpaceCollapse options;
    const char* expected;
};

TEST(KsString, CollapseSpaces) {
    const CollapseCase cases[] = {
        {"  a-\nb  ", SpaceCollapse::DropLineEndHyphens, "a b "},
        {"  a-\nb  ", SpaceCollapse::None, "a- b "},
        {"  a  b", SpaceCollapse::KeepLeadingSpace, " a b"},
        {"a \t\r\n b ", SpaceCollapse::KeepTrailingSpace, "a b "},
        {"a ", SpaceCollapse::None, "a"},
        {"1-\nb", SpaceCollapse::DropLineEndHyphens, "1- b"},  // not after a letter
        {"-\nb", SpaceCollapse::DropLineEndHyphens, "- b"},    // fewer than two units written
        {"", SpaceCollapse::None, ""},
    };
    for (const auto& c : cases) {
        string16 s(c.input);
        s.CollapseSpaces(c.options);
        EXPECT_EQ(U8(s), c.expected) << "input: " << c.input;
    }
    string16 cyr(u"\u0434-\n\u0430");
    cyr.CollapseSpaces(SpaceCollapse::DropLineEndHyphens);
    EXPECT_EQ(cyr, string16(u"\u0434 \u0430"));
}

struct ParseCase {
    const char* input;
    bool ok;
    int32_t value;
};

TEST(KsString, ParseInt) {
    const ParseCase cases[] = {
        {" -12", true, -12},
        {"12a", false, 0},
        {"0x1F", true, 31},
        {"+", false, 0},
        {"", false, 0},
        {"\t7 ", true, 7},
        {"+5", true, 5},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"99999999999999999999", false, 0},
        {"0xzz1", true, 1},
        {"0XF", false, 0},
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(string16(c.input).ParseInt(v), c.ok) << c.input;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.input;
        }
    }
    int64_t big = 0;
    EXPECT_TRUE(string16("-9223372036854775808").ParseInt64(big));
    EXPECT_EQ(big, INT64_MIN);
    EXPECT_FALSE(string16("9223372036854775808").ParseInt64(big));
    int32_t v8 = 0;
    EXPECT_TRUE(string8(" 42").ParseInt(v8));
    EXPECT_EQ(v8, 42);
    EXPECT_EQ(string8("42abc").LeadingInt(), 42);
    EXPECT_EQ(string8("abc").LeadingInt(), 0);
    EXPECT_EQ(string8("99999999999999999999999").LeadingInt(), INT64_MAX);
}

TEST(KsString, FormatInt) {
    EXPECT_EQ(U8(string16::FormatInt(0)), "0");
    EXPECT_EQ(U8(string16::FormatInt(-45)), "-45");
    EXPECT_EQ(U8(string16::FormatInt(INT64_MIN)), "-9223372036854775808");
    EXPECT_STREQ(string8::FormatInt(INT32_MAX).CStr(), "2147483647");
}

TEST(KsStringDeathTest, UnitAtPastEndIsFatal) {
    string16 s("ab");
    EXPECT_EQ(s.UnitAt(1), 'b');
    // The terminator is never handed out for writing.
    EXPECT_EXIT(s.UnitAt(2) = 'x', ::testing::ExitedWithCode(255), "Unknown fatal error");
    EXPECT_EXIT(s.UnitAt(-1) = 'x', ::testing::ExitedWithCode(255), "Unknown fatal error");
}

}  // namespace
