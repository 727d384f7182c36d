#include "engine/text/KsTextFileBase.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Limits.h"
#include "engine/text/CodePages.h"
#include "tests/support/TestSupport.h"
#include "tests/text/TextTestSupport.h"

namespace {

struct KindCase {
    const char16_t* name;
    KsCharsetKind kind;
    int tableId;  // 0: no table
};

TEST(SetCharset, SelectsTheKindByNameIgnoringCase) {
    const KindCase cases[] = {
        {u"utf-8", KS_CHARSET_UTF8, 0},
        {u"UTF-8", KS_CHARSET_UTF8, 0},
        {u"utf8", KS_CHARSET_UTF8, 0},
        {u"utf-16", KS_CHARSET_UTF16LE, 0},
        {u"UTF-16", KS_CHARSET_UTF16LE, 0},
        {u"utf-16le", KS_CHARSET_UTF16LE, 0},
        {u"UTF-16BE", KS_CHARSET_UTF16BE, 0},
        {u"utf-32", KS_CHARSET_UTF32LE, 0},
        {u"utf-32le", KS_CHARSET_UTF32LE, 0},
        {u"UTF-32BE", KS_CHARSET_UTF32BE, 0},
        {u"GBK", KS_CHARSET_GBK, 0},
        {u"cp936", KS_CHARSET_GBK, 0},
        {u"gb2312", KS_CHARSET_GBK, 0},
        {u"GB18030", KS_CHARSET_GBK, 0},
        {u"Shift_JIS", KS_CHARSET_SJIS, 0},
        {u"ms_kanji", KS_CHARSET_SJIS, 0},
        {u"shift_jis-2004", KS_CHARSET_SJIS, 0},
        {u"EUC-JP", KS_CHARSET_EUCJP, 0},
        {u"euc-jis-2004", KS_CHARSET_EUCJP, 0},
        {u"Big5", KS_CHARSET_BIG5, 0},
        {u"cp950", KS_CHARSET_BIG5, 0},
        {u"EUC-KR", KS_CHARSET_EUCKR, 0},
        {u"ks_c_5601-1987", KS_CHARSET_EUCKR, 0},
        {u"windows-1251", KS_CHARSET_8BIT, KS_CP_WINDOWS_1251},
        {u"ISO-8859-1", KS_CHARSET_8BIT, KS_CP_WINDOWS_1252},
        {u"latin-5", KS_CHARSET_8BIT, KS_CP_WINDOWS_1254},
        {u"KOI8-R", KS_CHARSET_8BIT, KS_CP_KOI8_R},
    };
    for (const KindCase& c : cases) {
        KsTextParser parser(StreamOf(""), nullptr);
        parser.SetCharset(c.name);
        EXPECT_EQ(parser.GetCharsetKind(), c.kind) << ToU16(string16(c.name)).size();
        EXPECT_EQ(parser.GetEncodingName(), string16(c.name));
        if (c.tableId) {
            ASSERT_NE(parser.GetCharsetTable(), nullptr);
            EXPECT_EQ(std::u16string(parser.GetCharsetTable(), 128),
                      std::u16string(GetCharsetTableById(c.tableId), 128));
        }
    }
}

TEST(SetCharset, UnknownNameKeepsTheDecodingInForce) {
    KsTextParser parser(StreamOf("\xC0\xC1"), nullptr);
    parser.SetCharset(u"windows-1251");
    parser.SetCharset(u"x-unknown");
    EXPECT_EQ(parser.GetCharsetKind(), KS_CHARSET_8BIT);
    EXPECT_EQ(parser.GetEncodingName(), string16("x-unknown"));
    parser.Reset();
    EXPECT_EQ(ReadAllChars(parser), u"\u0410\u0411");

    KsTextParser wide(StreamOf(std::string("A\0B\0", 4)), nullptr);
    wide.SetCharset(u"utf-16le");
    wide.SetCharset(u"no-such-charset");
    EXPECT_EQ(wide.GetCharsetKind(), KS_CHARSET_UTF16LE);
    wide.Reset();
    EXPECT_EQ(ReadAllChars(wide), u"AB");
}

TEST(SetCharset, FreshParserAndUtf8WithoutHyphenReadUtf8) {
    EXPECT_EQ(DecodeAs(nullptr, "\xD0\x96\xE2\x82\xAC"), u"\u0416\u20ac");
    EXPECT_EQ(DecodeAs(u"utf8", "\xD0\x96"), u"\u0416");
    // UTF-8 after a single-byte table drops the table.
    KsTextParser parser(StreamOf("\xD0\x96"), nullptr);
    parser.SetCharset(u"cp1251");
    parser.SetCharset(u"utf-8");
    EXPECT_EQ(parser.GetCharsetTable(), nullptr);
    parser.Reset();
    EXPECT_EQ(ReadAllChars(parser), u"\u0416");
}

TEST(SetCharsetTable, CopiesOrDropsTheTable) {
    KsTextParser parser(StreamOf("\xE9"), nullptr);
    parser.SetCharset(u"utf-16be");
    parser.SetCharsetTable(GetCharsetTableById(KS_CP_WINDOWS_1252));
    EXPECT_EQ(parser.GetCharsetKind(), KS_CHARSET_8BIT);
    EXPECT_NE(parser.GetCharsetTable(), GetCharsetTableById(KS_CP_WINDOWS_1252));  // a copy
    parser.Reset();
    EXPECT_EQ(ReadAllChars(parser), u"\u00e9");
    parser.SetCharsetTable(nullptr);
    EXPECT_EQ(parser.GetCharsetTable(), nullptr);
}

struct DecodeCase {
    const char* name;
    const char16_t* charset;
    std::string bytes;
    std::u16string expected;
};

TEST(ReadChars, DecodesEveryKind) {
    const DecodeCase cases[] = {
        {"utf-8", u"utf-8", "a\xD0\x96\xF0\x9F\x98\x80", u"a\u0416\U0001F600"},
        {"utf-16le pair passes", u"utf-16le", std::string("A\0\x3D\xD8\x00\xDE", 6),
         u"A\U0001F600"},
        {"utf-16be", u"utf-16be", std::string("\x04\x16\x00z", 4), u"\u0416z"},
        {"utf-32le above the BMP", u"utf-32le",
         std::string("\x00\xF6\x01\x00"
                     "a\0\0\0",
                     8),
         u"\U0001F600a"},
        {"utf-32be", u"utf-32be", std::string("\0\0\x04\x16\0\x01\xF6\x00", 8),
         u"\u0416\U0001F600"},
        {"utf-32 beyond unicode", u"utf-32",
         std::string("\0\0\x11\0"
                     "b\0\0\0",
                     8),
         u"?b"},
        {"windows-1252", u"windows-1252", "\x80\x93x\x94", u"\u20ac\u201cx\u201d"},
        {"windows-1251 undefined", u"windows-1251", "\xC0\x98", u"\u0410?"},
        {"koi8-r", u"koi8-r", "\xE1\xC2", u"\u0410\u0431"},
        {"iso-8859-5", u"iso-8859-5", "\xB0\xD0", u"\u0410\u0430"},
        {"gbk", u"gbk",
         "\xD6\xD0"
         "a",
         u"\u4e2da"},
        {"shift_jis", u"shift_jis", "\x93\xFA\x5C", u"\u65e5\u00a5"},
        {"euc-jp", u"euc-jp", "\xC6\xFC\x8E\xA1", u"\u65e5\uff61"},
        {"big5", u"big5", "\xA4\xA4\xA3\xE1", u"\u4e2d\u20ac"},
        {"euc-kr", u"euc-kr", "\xB0\xA1", u"\uac00"},
        // An incomplete character at the end of the file is dropped.
        {"utf-8 cut at the end", u"utf-8", "ab\xE2\x82", u"ab"},
        {"utf-16 odd byte at the end", u"utf-16le", std::string("a\0b", 3), u"a"},
        {"utf-32 cut at the end", u"utf-32le", std::string("a\0\0\0b\0", 6), u"a"},
        {"gbk lead at the end", u"gbk", "x\xD6", u"x"},
        {"euc-jp plane 2 cut at the end", u"euc-jp", "x\x8F\xA1", u"x"},
    };
    for (const DecodeCase& c : cases)
        EXPECT_EQ(DecodeAs(c.charset, c.bytes), c.expected) << c.name;
}

// Texts long enough to be decoded in many runs, with characters across every buffer boundary.
TEST(ReadChars, LongTextsAcrossBufferRefills) {
    std::u16string text;
    for (int i = 0; i < 30000; ++i)
        text += static_cast<char16_t>(i % 7 == 6 ? u' ' : u'\u0410' + i % 32);
    text += u"\U0001F600end";

    std::string utf8 = U8(string16(text.data(), static_cast<int32_t>(text.size())));
    EXPECT_EQ(DecodeAs(u"utf-8", utf8), text);

    std::string utf16;
    for (char16_t c : text) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    EXPECT_EQ(DecodeAs(u"utf-16le", utf16), text);

    std::u16string cyrillic = text.substr(0, 30000);
    EXPECT_EQ(
        DecodeAs(u"cp1251", EncodeWithTable(GetCharsetTableById(KS_CP_WINDOWS_1251), cyrillic)),
        cyrillic);

    std::string gbk;
    std::u16string hanzi;
    for (int i = 0; i < 20000; ++i) {
        gbk += i % 5 == 4 ? "a" : "\xD6\xD0";
        hanzi += i % 5 == 4 ? u'a' : u'\u4e2d';
    }
    EXPECT_EQ(DecodeAs(u"gbk", gbk), hanzi);
}

TEST(ReadChars, EndOfInputAfterACutCharacter) {
    KsTextParser parser(StreamOf("abc\xF0\x9F"), nullptr);
    parser.Reset();
    EXPECT_EQ(ReadAllChars(parser), u"abc");
    EXPECT_TRUE(parser.Eof());
    EXPECT_EQ(parser.PeekChar(), 0);
    EXPECT_EQ(parser.ReadChar(), 0);
}

TEST(Reset, SkipsTheByteOrderMarkOfTheDetectedCharset) {
    const struct {
        const char* name;
        std::string bytes;
        std::u16string expected;
    } cases[] = {
        {"utf-8", "\xEF\xBB\xBFHello, world of text", u"Hello, world of text"},
        {"utf-16le", Utf16Bytes(u"Hello text", ByteOrder::Little, true), u"Hello text"},
        {"utf-16be", Utf16Bytes(u"Hello text", ByteOrder::Big, true), u"Hello text"},
    };
    for (const auto& c : cases) {
        KsTextParser parser(StreamOf(c.bytes), nullptr);
        ASSERT_TRUE(parser.AutodetectEncoding()) << c.name;
        parser.Reset();
        EXPECT_NE(parser.PeekChar(), 0xFEFF) << c.name;
        EXPECT_EQ(ReadAllChars(parser), c.expected) << c.name;
    }
}

TEST(AutodetectEncoding, DetectsAndKeepsTheStreamPosition) {
    const std::u16string russian =
        u"\u0412 \u0442\u043e\u0439 \u0441\u0442\u0440\u0430\u043d\u0435 \u0436\u0438\u043b\u0438 "
        u"\u043b\u044e\u0434\u0438, \u0438 \u0431\u044b\u043b "
        u"\u0431\u043e\u043b\u044c\u0448\u043e\u0439 "
        u"\u0433\u043e\u0440\u043e\u0434 \u043d\u0430 \u0431\u0435\u0440\u0435\u0433\u0443 "
        u"\u0440\u0435\u043a\u0438.";
    const std::string koi8 = EncodeWithTable(GetCharsetTableById(KS_CP_KOI8_R), russian);
    KsRef<KsStream> stream = StreamOf(koi8);
    KsTextParser parser(stream, nullptr);
    ASSERT_EQ(stream->SetPos(5), 5u);
    ASSERT_TRUE(parser.AutodetectEncoding());
    EXPECT_EQ(stream->GetPos(), 5u);
    EXPECT_EQ(parser.GetEncodingName(), string16("koi8r"));
    EXPECT_EQ(parser.GetLangName(), string16("ru"));
    parser.Reset();
    EXPECT_EQ(ReadAllChars(parser), russian);

    // Unicode only: nothing found, the charset in force stays.
    KsTextParser unicodeOnly(StreamOf(koi8), nullptr);
    unicodeOnly.SetCharset(u"cp866");
    EXPECT_TRUE(unicodeOnly.AutodetectEncoding(EncodingDetection::UnicodeOnly));
    EXPECT_EQ(unicodeOnly.GetEncodingName(), string16("cp866"));

    KsTextParser tooShort(StreamOf("short text"), nullptr);
    EXPECT_FALSE(tooShort.AutodetectEncoding());
    EXPECT_FALSE(tooShort.AutodetectEncoding(EncodingDetection::UnicodeOnly));
}

TEST(CharacterPrimitives, MoveThroughTheText) {
    KsTextParser parser(StreamOf("ab  \r\n\tcd=ef"), nullptr);
    parser.Reset();
    EXPECT_EQ(parser.PeekChar(), u'a');
    EXPECT_EQ(parser.PeekCharAt(1), u'b');
    EXPECT_EQ(parser.PeekCharAt(100), 0);
    EXPECT_FALSE(parser.Eof());
    EXPECT_EQ(parser.ReadChar(), u'a');
    EXPECT_EQ(parser.ReadNextChar(), u' ');  // past 'b'
    EXPECT_TRUE(parser.SkipSpaces());
    EXPECT_EQ(parser.PeekChar(), u'c');
    EXPECT_EQ(parser.SkipChars(1), u'=');  // n + 1 places on
    EXPECT_TRUE(parser.SkipToChar(u'f'));
    EXPECT_EQ(parser.ReadChar(), u'f');
    EXPECT_FALSE(parser.SkipSpaces());
    EXPECT_TRUE(parser.Eof());
    EXPECT_FALSE(parser.SkipToChar(u'x'));
    EXPECT_EQ(parser.SkipChars(3), 0);
}

struct Line {
    std::u16string text;
    int flags;
    bool operator==(const Line& other) const { return text == other.text && flags == other.flags; }
};

std::vector<Line> ReadLines(const std::string& bytes, int maxLength) {
    KsTextParser parser(StreamOf(bytes), nullptr);
    parser.Reset();
    std::vector<Line> lines;
    while (!parser.Eof()) {
        int flags = -1;
        string16 line = parser.ReadLine(maxLength, flags);
        lines.push_back({ToU16(line), flags});
    }
    return lines;
}

TEST(ReadLine, Cases) {
    const struct {
        const char* name;
        std::string bytes;
        int maxLength;
        std::vector<Line> lines;
    } cases[] = {
        {"crlf", "abc\r\ndef", 20000, {{u"abc", 1}, {u"def", 1}}},
        {"lfcr", "a\n\rb\n", 80, {{u"a", 1}, {u"b", 1}}},
        {"two cr", "a\r\rb", 80, {{u"a", 1}, {u"", 1}, {u"b", 1}}},
        {"blanks kept", "  x  \n", 80, {{u"  x  ", 1}}},
        {"cut after a blank", "abcdef ghi", 5, {{u"abcdef ", 0}, {u"ghi", 1}}},
        {"tab cuts too", "abcde\tfg", 5, {{u"abcde\t", 0}, {u"fg", 1}}},
        {"separator of hyphens", "  ----  \nx", 80, {{u"* * *", 0x2001}, {u"x", 1}}},
        {"separator of stars", "* * *\n", 80, {{u"* * *", 0x2001}}},
        {"separator of equals", "=====", 80, {{u"* * *", 0x2001}}},
        {"not a separator", "--x--\n", 80, {{u"--x--", 1}}},
        {"marked heading",
         "  \x14"
         "Chapter One\x15\n",
         80,
         {{u"Chapter One", 0x2001}}},
        {"marker not at the end",
         "\x14"
         "Chapter\x15 one\n",
         80,
         {{u"\u0014Chapter\u0015 one", 1}}},
        {"empty input", "", 80, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLines(c.bytes, c.maxLength), c.lines) << c.name;
}

TEST(ReadLine, CutsTextWithoutBlanksAtTheHardLimit) {
    const std::string longWord(kMaxTextLineUnits + 100, 'x');
    const std::vector<Line> lines = ReadLines(longWord, 2000);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text.size(), static_cast<size_t>(kMaxTextLineUnits));
    EXPECT_EQ(lines[0].flags, 0);
    EXPECT_EQ(lines[1].text, std::u16string(100, u'x'));

    // A surrogate pair at the limit stays whole.
    const std::string pairAtLimit =
        std::string(kMaxTextLineUnits - 1, 'x') + "\xF0\x9F\x98\x80" + "y";
    const std::vector<Line> split = ReadLines(pairAtLimit, 2000);
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].text.size(), static_cast<size_t>(kMaxTextLineUnits + 1));
    EXPECT_EQ(split[1].text, u"y");
}

TEST(ReadTextBytes, LogsARangeOutsideTheStream) {
    KsTextParser parser(StreamOf("some text"), nullptr);
    LogCapture log;
    unit16 out[16];
    EXPECT_EQ(parser.ReadTextBytes(100, 10, out, 16, 0), 0);
    EXPECT_TRUE(log.Contains(
        "KsTextFileBase::ReadTextBytes seek error! cannot set pos to 100 to read 10 bytes"));
    EXPECT_EQ(parser.ReadTextBytes(5, 4, out, 16, 0), 4);
    EXPECT_EQ(std::u16string(out, 4), u"text");
}

TEST(KsTextParser, CheckFormat) {
    const struct {
        const char* name;
        std::string bytes;
        bool isText;
    } cases[] = {
        {"16 characters", "abcdefghijklmnop", false},
        {"17 characters with a line break", "abcdefghijklmno\nq", true},
        {"words", "Some words of plain text, no line breaks at all", true},
        {"too few spaces", "abcdefghijklmnopqrstuvwxyzabcdefghij k", false},
        {"control character", "some text \x01 with a control character\n", false},
        {"allowed controls", "bell \x07, form feed \x0C and marks \x14\x15\x1E\n", true},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20), false},
        {"utf-16 with a mark", Utf16Bytes(u"Hello there, you", ByteOrder::Little, true), true},
    };
    for (const auto& c : cases) {
        KsTextParser parser(StreamOf(c.bytes), nullptr);
        EXPECT_EQ(parser.CheckFormat(), c.isText) << c.name;
        // The check leaves the parser at the start.
        if (c.isText) {
            EXPECT_EQ(parser.PeekChar(), c.name[0] == 'u' ? u'H' : c.bytes[0]) << c.name;
        }
    }
}

TEST(KsTextParser, CheckFormatLogsIllegalCharacters) {
    LogCapture log;
    KsTextParser parser(StreamOf("some text \x01 with a control character\n"), nullptr);
    EXPECT_FALSE(parser.CheckFormat());
    EXPECT_TRUE(log.Contains("illegal characters detected: count=1"));
}

TEST(ReadTextStream, JoinsNonEmptyLines) {
    EXPECT_EQ(ToU16(readTextStream(StreamOf("p { color: red }\n\n\r\nh1 { margin: 0 }\r\n"))),
              u"p { color: red }\nh1 { margin: 0 }");
    EXPECT_TRUE(readTextStream(KsRef<KsStream>()).Empty());
    // Too short for detection: read as UTF-8 all the same.
    EXPECT_EQ(ToU16(readTextStream(StreamOf("p{x:1}"))), u"p{x:1}");
    EXPECT_EQ(ToU16(readTextStream(StreamOf("\xEF\xBB\xBF"
                                            "body { font-size: 1em }"))),
              u"body { font-size: 1em }");
}

}  // namespace
