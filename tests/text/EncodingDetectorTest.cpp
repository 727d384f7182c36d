#include "engine/text/EncodingDetector.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/text/CharsetKinds.h"
#include "engine/text/CodePages.h"
#include "engine/text/LangProfile.h"
#include "tests/text/TextTestSupport.h"

namespace {

struct UnicodeCase {
    const char* name;
    std::string bytes;
    const char* charset;  // null: not detected
};

TEST(DetectUnicodeEncoding, MarksUtf16AndUtf8) {
    const UnicodeCase cases[] = {
        {"utf-8 mark", "\xEF\xBB\xBF\xCF\xF0\xE8", "utf-8"},
        {"utf-32be mark", std::string("\x00\x00\xFE\xFF\x00\x00\x00\x41", 8), "utf-32be"},
        {"utf-16be mark", std::string("\xFE\xFF\x04\x10", 4), "utf-16be"},
        {"utf-32le mark", std::string("\xFF\xFE\x00\x00\x41\x00\x00\x00", 8), "utf-32le"},
        {"utf-16le mark", std::string("\xFF\xFE\x41\x00", 4), "utf-16le"},
        {"ascii", "Just some plain ASCII text.", "utf-8"},
        {"valid utf-8", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 world", "utf-8"},
        {"cp1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0 and more text here", nullptr},
        {"utf-16le without mark", Utf16Bytes(u"Hello world", ByteOrder::Little), "utf-16le"},
        {"utf-16be cyrillic without mark",
         Utf16Bytes(
             u"\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440 \u0434\u0440\u0443\u0433",
             ByteOrder::Big),
         "utf-16be"},
        {"utf-32le without mark is not utf-16",
         std::string("A\0\0\0B\0\0\0C\0\0\0D\0\0\0\xE9\0\0\0", 20), "utf-8"},
    };
    for (const UnicodeCase& c : cases) {
        string8 charset = "unchanged", language = "unchanged";
        const bool detected =
            DetectUnicodeEncoding(c.bytes.data(), c.bytes.size(), charset, language);
        if (!c.charset) {
            EXPECT_FALSE(detected) << c.name;
            EXPECT_EQ(Str(charset), "unchanged") << c.name;
            continue;
        }
        EXPECT_TRUE(detected) << c.name;
        EXPECT_EQ(Str(charset), c.charset) << c.name;
        EXPECT_EQ(Str(language), "en") << c.name;
    }
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

TEST(IsValidUtf8, Rules) {
    const Utf8Case cases[] = {
        {"ascii", "plain ascii text", true},
        {"two and three byte", "caf\xC3\xA9 \xE2\x82\xAC and tail", true},
        {"four byte", "\xF0\x9F\x98\x80 emoji tail", true},
        {"stray continuation",
         "ab\x80"
         "cdefgh",
         false},
        {"lead without continuation",
         "ab\xC3"
         "cdefgh",
         false},
        {"three byte cut",
         "ab\xE2\x82"
         "cdefgh",
         false},
        {"five byte lead",
         "ab\xF8\x80\x80\x80\x80"
         "cdefgh",
         false},
        // The last five bytes are not checked: a sample may end inside a character.
        {"bad byte at the end", "abcdefgh\xFF", true},
        {"short", "\xFF\xFF", true},
    };
    for (const Utf8Case& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes.data(), c.bytes.size()), c.valid) << c.name;
}

TEST(IsValidUtf8, LogsTheUnexpectedByte) {
    LogCapture log;
    const std::string text =
        "abc\x80"
        "defgh";
    EXPECT_FALSE(IsValidUtf8(text.data(), text.size()));
    EXPECT_TRUE(log.Contains("TRACE unexpected char 80 at position 3")) << log.lines().size();
}

// Sample texts, encoded for the test with the engine's own tables.
const std::u16string kRussian =
    u"\u0412 \u0442\u043e\u0439 \u0441\u0442\u0440\u0430\u043d\u0435, \u0433\u0434\u0435 "
    u"\u0436\u0438\u043b\u0438 \u043b\u044e\u0434\u0438, \u0431\u044b\u043b \u0431\u043e\u043b"
    u"\u044c\u0448\u043e\u0439 \u0433\u043e\u0440\u043e\u0434. \u041e\u043d \u0441\u0442\u043e"
    u"\u044f\u043b \u043d\u0430 \u0431\u0435\u0440\u0435\u0433\u0443 \u0440\u0435\u043a\u0438, "
    u"\u0438 \u0432 \u043d\u0451\u043c \u0436\u0438\u043b\u0438 \u0442\u044b\u0441\u044f\u0447"
    u"\u0438 \u043b\u044e\u0434\u0435\u0439, \u043a\u043e\u0442\u043e\u0440\u044b\u0435 "
    u"\u0440\u0430\u0431\u043e\u0442\u0430\u043b\u0438 \u0438 \u043f\u0438\u0441\u0430\u043b\u0438 "
    u"\u043a\u043d\u0438\u0433\u0438.";
const std::u16string kSpanish =
    u"El ni\u00f1o pregunt\u00f3 a su padre por qu\u00e9 el cielo es azul. \u00c9l le "
    u"respondi\u00f3 que la luz del sol se dispersa en el aire, y que as\u00ed lo vemos "
    u"desde aqu\u00ed. Ma\u00f1ana iremos al campo y ver\u00e1s las monta\u00f1as.";
const std::u16string kGerman =
    u"Der gr\u00f6\u00dfte Teil der B\u00fccher wurde in der N\u00e4he des Flusses "
    u"gedruckt. F\u00fcr die M\u00e4dchen und Jungen war das Lesen eine sch\u00f6ne "
    u"\u00dcbung, die sie gerne \u00fcbten, w\u00e4hrend drau\u00dfen der Regen fiel.";

struct DetectCase {
    const char* name;
    std::u16string text;
    int tableId;
    const char* charset;
    const char* language;
};

TEST(DetectCodePage, FindsCodePageAndLanguage) {
    const DetectCase cases[] = {
        {"russian cp1251", kRussian, KS_CP_WINDOWS_1251, "cp1251", "ru"},
        {"russian koi8-r", kRussian, KS_CP_KOI8_R, "koi8r", "ru"},
        {"russian cp866", kRussian, KS_CP_CP866, "cp866", "ru"},
        // Western text has few bytes above 0x7F; it must not go to profiles that simply have many
        // of them (Greek, the CJK code pages).
        {"spanish cp1252", kSpanish, KS_CP_WINDOWS_1252, "cp1252", "es"},
        {"spanish cp850", kSpanish, KS_CP_CP850, "cp850", "es"},
        {"german cp1252", kGerman, KS_CP_WINDOWS_1252, "cp1252", "de"},
        {"german cp850", kGerman, KS_CP_CP850, "cp850", "de"},
    };
    for (const DetectCase& c : cases) {
        const std::string bytes = EncodeWithTable(GetCharsetTableById(c.tableId), c.text);
        string8 charset, language;
        DetectCodePage(bytes.data(), bytes.size(), charset, language, SampleMarkup::Count);
        EXPECT_EQ(Str(charset), c.charset) << c.name;
        EXPECT_EQ(Str(language), c.language) << c.name;
    }
}

TEST(DetectCodePage, UnicodeComesFirst) {
    const std::string text = "\xEF\xBB\xBF\xCF\xF0\xE8\xE2\xE5\xF2";
    string8 charset, language;
    DetectCodePage(text.data(), text.size(), charset, language, SampleMarkup::Skip);
    EXPECT_EQ(Str(charset), "utf-8");
    EXPECT_EQ(Str(language), "en");
}

TEST(DetectCodePage, DeclaredEncodingWinsWithMarkup) {
    const std::string html =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
        "</head><body><p>" +
        EncodeWithTable(GetCharsetTableById(KS_CP_WINDOWS_1251), kRussian) + "</p></body></html>";
    LogCapture log;
    string8 charset, language;
    DetectCodePage(html.data(), html.size(), charset, language, SampleMarkup::Skip);
    EXPECT_EQ(Str(charset), "windows-1252");
    EXPECT_EQ(Str(language), "ru");
    EXPECT_TRUE(log.Contains("Detected codepage:cp1251 lang:ru index:"));
    EXPECT_TRUE(log.Contains("(skipHtml)"));
    EXPECT_TRUE(log.Contains("Encoding parsed from XML/HTML: windows-1252"));

    // Without markup skipping the declaration is not looked for.
    DetectCodePage(html.data(), html.size(), charset, language, SampleMarkup::Count);
    EXPECT_EQ(Str(charset), "cp1251");
}

TEST(LangProfiles, ListedInDetectorOrder) {
    ASSERT_EQ(GetLangProfileCount(), 54);
    const LangProfile* profiles = GetLangProfiles();
    EXPECT_STREQ(profiles[0].codePage, "cp1251");
    EXPECT_STREQ(profiles[6].codePage, "utf8");
    EXPECT_STREQ(profiles[28].language, "ee");
    EXPECT_STREQ(profiles[43].codePage, "big5");
    EXPECT_STREQ(profiles[43].language, "ja");
    EXPECT_STREQ(profiles[48].codePage, "iso8859-16");
    EXPECT_STREQ(profiles[53].language, "hu");
    for (int i = 0; i < GetLangProfileCount(); ++i) {
        const TextStatistics& s = profiles[i].statistics;
        EXPECT_EQ(s.pairCount, kMaxStatPairs) << i;
        for (int k = 1; k < s.pairCount; ++k)
            EXPECT_LT(PairKey(s.pairs[k - 1]), PairKey(s.pairs[k])) << i;
        // Every code page name a profile reports selects a decoding of its own.
        EXPECT_TRUE(GetCharsetTableByName(profiles[i].codePage) ||
                    CharsetKindByName(profiles[i].codePage) != KS_CHARSET_8BIT)
            << profiles[i].codePage;
    }
}

struct DeclarationCase {
    const char* name;
    const char* text;
    const char* charset;  // null: none found
};

TEST(ParseDeclaredEncoding, XmlAndHtmlDeclarations) {
    const DeclarationCase cases[] = {
        {"xml", "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a/>", "windows-1251"},
        {"xml upper case", "<?XML VERSION=\"1.0\" ENCODING=\"KOI8-R\"?>", "KOI8-R"},
        {"xml single quotes", "<?xml version='1.0' encoding='iso-8859-2'?>", "iso-8859-2"},
        {"xml value of 20", "<?xml encoding=\"abcdefghijklmnopqrst\"?>", "abcdefghijklmnopqrst"},
        {"xml value of 25 is ignored", "<?xml encoding=\"abcdefghijklmnopqrstuvwxy\"?>", nullptr},
        {"xml without encoding", "<?xml version=\"1.0\"?><meta charset=\"utf-8\">", nullptr},
        {"encoding after the declaration", "<?xml version=\"1.0\"?> encoding=\"cp1251\"", nullptr},
        {"http-equiv",
         "<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
         "charset=windows-1251\"></head>",
         "windows-1251"},
        {"http-equiv after content",
         "<meta content=\"text/html; charset=koi8-r\" http-equiv=\"Content-Type\">", "koi8-r"},
        {"html5 meta charset", "<html><head><meta charset=\"Shift_JIS\"><title>", "Shift_JIS"},
        {"html5 unquoted", "<head><meta charset=utf-8></head>", "utf-8"},
        {"meta without charset", "<meta name=\"author\" content=\"x\"><p>charset=no</p>", nullptr},
        {"nothing", "plain text without any declaration", nullptr},
    };
    for (const DeclarationCase& c : cases) {
        string8 charset;
        const bool found = ParseDeclaredEncoding(c.text, std::strlen(c.text), charset);
        EXPECT_EQ(found, c.charset != nullptr) << c.name;
        if (c.charset) {
            EXPECT_EQ(Str(charset), c.charset) << c.name;
        }
    }
}

TEST(ParseDeclaredEncoding, LogsWhatItFound) {
    LogCapture log;
    string8 charset;
    const char* xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    EXPECT_TRUE(ParseDeclaredEncoding(xml, std::strlen(xml), charset));
    EXPECT_TRUE(log.Contains("DEBUG XML header encoding detected: UTF-8"));
    const char* html = "<meta http-equiv=\"content-type\" content=\"text/html; charset=cp1250\">";
    EXPECT_TRUE(ParseDeclaredEncoding(html, std::strlen(html), charset));
    EXPECT_TRUE(log.Contains("DEBUG HTML header meta encoding detected: cp1250"));
}

}  // namespace
