#include "engine/text/CodePages.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/text/IconvDecoder.h"

namespace {

struct NameCase {
    const char* name;
    int id;
};

TEST(CharsetNames, MapToTheirTables) {
    const NameCase cases[] = {
        {"windows-1250", KS_CP_WINDOWS_1250},
        {"CP1250", KS_CP_WINDOWS_1250},
        {"windows-1251", KS_CP_WINDOWS_1251},
        {"Windows-1251", KS_CP_WINDOWS_1251},
        {"windows-1252", KS_CP_WINDOWS_1252},
        {"ISO-8859-1", KS_CP_WINDOWS_1252},
        {"iso_8859-1", KS_CP_WINDOWS_1252},
        {"latin-1", KS_CP_WINDOWS_1252},
        {"us-ascii", KS_CP_WINDOWS_1252},
        {"windows-1253", KS_CP_WINDOWS_1253},
        {"cp1257", KS_CP_WINDOWS_1257},
        {"cp775", KS_CP_CP775},
        {"cp737", KS_CP_CP737},
        {"windows-866", KS_CP_CP866},
        {"IBM866", KS_CP_CP866},
        {"windows-850", KS_CP_CP850},
        {"koi-8r", KS_CP_KOI8_R},
        {"KOI8-R", KS_CP_KOI8_R},
        {"iso8859_2", KS_CP_ISO_8859_2},
        {"latin-2", KS_CP_ISO_8859_2},
        // Latin-5 is the Turkish ISO-8859-9, read with its superset windows-1254.
        {"latin-5", KS_CP_WINDOWS_1254},
        {"ISO-8859-9", KS_CP_WINDOWS_1254},
        {"cp852", KS_CP_CP852},
        {"iso8859-16", KS_CP_ISO_8859_16},
        {"ISO-8859-5", KS_CP_ISO_8859_5},
        {"x-mac-cyrillic", KS_CP_MAC_CYRILLIC},
        {"utf-8", 0},
        {"koi8-u", 0},
        {"", 0},
    };
    for (const NameCase& c : cases) {
        EXPECT_EQ(GetCharsetIdByName(c.name), c.id) << c.name;
        EXPECT_EQ(GetCharsetTableByName(c.name), GetCharsetTableById(c.id)) << c.name;
    }
    EXPECT_EQ(GetCharsetTableByName(nullptr), nullptr);
    EXPECT_EQ(GetCharsetTableById(6), nullptr);
}

TEST(CodePageTables, Windows1252IsThePublishedTable) {
    const unit16* table = GetCharsetTableByName("iso-8859-1");
    ASSERT_NE(table, nullptr);
    const std::u16string expected =
        u"\u20ac?\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152?\u017d?"
        u"?\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153?\u017e\u0178";
    EXPECT_EQ(std::u16string(table, table + 32), expected);
    EXPECT_EQ(table[0xE9 - 0x80], u'\u00e9');
}

TEST(CodePageTables, UndefinedBytesAreQuestionMarks) {
    // windows-1251 leaves 0x98 undefined, windows-1253 0xAA, windows-1257 0xA1.
    EXPECT_EQ(GetCharsetTableById(KS_CP_WINDOWS_1251)[0x98 - 0x80], u'?');
    EXPECT_EQ(GetCharsetTableById(KS_CP_WINDOWS_1253)[0xAA - 0x80], u'?');
    EXPECT_EQ(GetCharsetTableById(KS_CP_WINDOWS_1257)[0xA1 - 0x80], u'?');
    for (int id = KS_CP_WINDOWS_1250; id <= KS_CP_MAC_CYRILLIC; ++id)
        for (int i = 0; i < 128; ++i)
            EXPECT_NE(GetCharsetTableById(id)[i], 0) << id << " " << i;
}

// The generated tables must agree with the system's iconv, which they were made from.
TEST(CodePageTables, AgreeWithIconv) {
    const struct {
        int id;
        const char* iconvName;
    } tables[] = {
        {KS_CP_WINDOWS_1250, "CP1250"},   {KS_CP_WINDOWS_1251, "CP1251"},
        {KS_CP_WINDOWS_1252, "CP1252"},   {KS_CP_WINDOWS_1253, "CP1253"},
        {KS_CP_WINDOWS_1257, "CP1257"},   {KS_CP_CP775, "CP775"},
        {KS_CP_CP737, "CP737"},           {KS_CP_CP866, "CP866"},
        {KS_CP_CP850, "CP850"},           {KS_CP_KOI8_R, "KOI8-R"},
        {KS_CP_ISO_8859_2, "ISO-8859-2"}, {KS_CP_WINDOWS_1254, "CP1254"},
        {KS_CP_CP852, "CP852"},           {KS_CP_ISO_8859_16, "ISO-8859-16"},
        {KS_CP_ISO_8859_5, "ISO-8859-5"}, {KS_CP_MAC_CYRILLIC, "MAC-CYRILLIC"},
    };
    for (const auto& t : tables) {
        KsIconvDecoder decoder(t.iconvName);
        ASSERT_TRUE(decoder.IsOpen()) << t.iconvName;
        const unit16* table = GetCharsetTableById(t.id);
        for (int b = 0x80; b < 0x100; ++b) {
            const uint8_t byte = static_cast<uint8_t>(b);
            uint32_t code = 0;
            const int n = decoder.DecodeOne(&byte, 1, &code, 1);
            EXPECT_EQ(table[b - 0x80], n == 1 ? code : u'?') << t.iconvName << " byte " << b;
        }
    }
}

TEST(CodePageTables, IsoTablesKeepTheirControlCharacters) {
    EXPECT_EQ(GetCharsetTableById(KS_CP_ISO_8859_2)[0], 0x80);
    EXPECT_EQ(GetCharsetTableById(KS_CP_ISO_8859_16)[0x1F], 0x9F);
    EXPECT_EQ(GetCharsetTableById(KS_CP_ISO_8859_5)[0xB0 - 0x80], u'\u0410');
}

struct WindowsCodePageCase {
    int codePage;
    int id;
    const char* name;
};

TEST(WindowsCodePages, TablesAndNames) {
    const WindowsCodePageCase cases[] = {
        {204, KS_CP_WINDOWS_1251, "cp1251"},  {1251, KS_CP_WINDOWS_1251, "cp1251"},
        {737, KS_CP_CP737, "cp737"},          {850, KS_CP_CP850, "cp850"},
        {866, KS_CP_CP866, "cp866"},          {1250, KS_CP_WINDOWS_1250, "cp1250"},
        {1253, KS_CP_WINDOWS_1253, "cp1253"}, {1254, KS_CP_WINDOWS_1254, "cp1254"},
        {1257, KS_CP_WINDOWS_1257, "cp1257"}, {1252, KS_CP_WINDOWS_1252, "cp1252"},
        {1255, KS_CP_WINDOWS_1252, "cp1252"}, {0, KS_CP_WINDOWS_1252, "cp1252"},
    };
    for (const WindowsCodePageCase& c : cases) {
        EXPECT_EQ(GetCodePageTable(c.codePage), GetCharsetTableById(c.id)) << c.codePage;
        EXPECT_STREQ(GetCodePageName(c.codePage), c.name) << c.codePage;
        // The name leads back to the same table.
        EXPECT_EQ(GetCharsetTableByName(GetCodePageName(c.codePage)), GetCodePageTable(c.codePage))
            << c.codePage;
    }
}

struct LcidCase {
    int lcid;
    int codePage;
    const char* language;
};

TEST(Lcids, CodePagesAndLanguages) {
    const LcidCase cases[] = {
        {9, 1252, "en"},     {1033, 1252, "en"},  {2057, 1252, "en"},  {1049, 1251, "ru"},
        {25, 1251, "ru"},    {1031, 1252, "de"},  {5127, 1252, "de"},  {3082, 1252, "es"},
        {4, 950, "zh"},      {2052, 950, "zh"},   {1028, 950, "zh"},   {1041, 932, "ja"},
        {1042, 1252, "ko"},  {1029, 1250, "cs"},  {1045, 1250, "pl"},  {1050, 1250, "hr"},
        {1032, 1253, "el"},  {1055, 1254, "tr"},  {1037, 1255, "he"},  {1025, 1256, "ar"},
        {16385, 1256, "ar"}, {1061, 1257, "et"},  {1062, 1257, "lv"},  {1063, 1257, "lt"},
        {2087, 1257, "lt"},  {1058, 1251, "uk"},  {1026, 1251, "bg"},  {2074, 1252, "sr"},
        {3098, 1251, "sr"},  {1044, 1252, "nb"},  {2068, 1252, "nn"},  {20, 1251, "no"},
        {1107, 1252, "km"},  {7180, 1252, "fr"},  {31748, 1251, "zh"}, {0x7FFF, 1251, nullptr},
        {0, 1251, nullptr},  {-1, 1251, nullptr},
    };
    for (const LcidCase& c : cases) {
        EXPECT_EQ(LcidToCodePage(c.lcid), c.codePage) << c.lcid;
        const char* language = LcidToLanguage(c.lcid);
        if (c.language) {
            EXPECT_STREQ(language, c.language) << c.lcid;
        } else {
            EXPECT_EQ(language, nullptr) << c.lcid;
        }
    }
}

}  // namespace
