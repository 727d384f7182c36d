#include "engine/css/CssImportLoader.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/core/Limits.h"
#include "engine/css/CssImportSource.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

// Stylesheet files held in memory; counts the reads.
class MemorySource final : public CssImportSource {
public:
    bool readStyleSheet(const string16& path, string8& utf8) override {
        ++reads[U8(path)];
        auto it = files.find(U8(path));
        if (it == files.end()) return false;
        utf8 = string8(it->second.c_str());
        return true;
    }
    std::map<std::string, std::string> files;
    std::map<std::string, int> reads;
};

class CssImportTest : public testing::Test {
protected:
    void SetUp() override { doc_ = MakeTestDocument(); }
    std::string listing(const CssStyleSheet& sheet) { return sheet.toText().CStr(); }
    std::unique_ptr<ldomDocument> doc_;
    MemorySource source_;
};

TEST_F(CssImportTest, AddressForms) {
    source_.files = {{"css/a.css", "a { width: 1px }"},
                     {"css/b.css", "b { width: 2px }"},
                     {"css/c.css", "i { width: 3px }"},
                     {"css/d.css", "em { width: 4px }"},
                     {"top.css", "span { width: 5px }"}};
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseText(U16("css/"),
                                 string8("@import url(a.css);\n@import url( \"b.css\" ) screen;\n"
                                         "@import 'c.css';\n@import \"d.css\" print;\n"
                                         "@import url(../top.css);\np { width: 6px }")));
    EXPECT_EQ(listing(sheet),
              "a { width: 1px }\nb { width: 2px }\ni { width: 3px }\nem { width: 4px }\n"
              "span { width: 5px }\np { width: 6px }\n");
}

TEST_F(CssImportTest, ImportedFilesUseTheirOwnFolder) {
    source_.files = {{"OEBPS/styles/main.css", "@import 'parts/more.css'; p { width: 1px }"},
                     {"OEBPS/styles/parts/more.css", "@import '../../base.css'; b { width: 2px }"},
                     {"OEBPS/base.css", "i { width: 3px }"}};
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseFile(U16("OEBPS/styles/main.css")));
    EXPECT_EQ(listing(sheet), "i { width: 3px }\nb { width: 2px }\np { width: 1px }\n");
}

TEST_F(CssImportTest, SelfImportIsParsedOnce) {
    source_.files = {{"self.css", "@import 'self.css'; p { width: 1px }"}};
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseFile(U16("self.css")));
    EXPECT_EQ(listing(sheet), "p { width: 1px }\n");
    EXPECT_EQ(source_.reads["self.css"], 1);
}

TEST_F(CssImportTest, TenNestedLevelsAreFollowed) {
    // level0.css imports level1.css ... each declares its own element.
    for (int i = 0; i <= 12; ++i)
        source_.files["level" + std::to_string(i) + ".css"] =
            "@import 'level" + std::to_string(i + 1) + ".css'; e" + std::to_string(i) +
            " { width: " + std::to_string(i) + "px }";
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseFile(U16("level0.css")));
    std::string text = listing(sheet);
    EXPECT_NE(text.find("e10 { width: 10px }"), std::string::npos);
    EXPECT_EQ(text.find("e11"), std::string::npos);
    EXPECT_EQ(source_.reads.count("level11.css"), 0u);
}

TEST_F(CssImportTest, FanOutIsBounded) {
    // Every file imports the next one four times: without bounds 4^10 parses.
    for (int i = 0; i <= 10; ++i) {
        std::string next = "'f" + std::to_string(i + 1) + ".css'";
        std::string text;
        for (int k = 0; k < 4; ++k)
            text += "@import " + next + ";";
        source_.files["f" + std::to_string(i) + ".css"] = text + "p { width: 1px }";
    }
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseFile(U16("f0.css")));
    EXPECT_LE(loader.filesRead(), kMaxCssImportFiles);
    EXPECT_LE(sheet.selectorCount(), kMaxCssImportFiles);
}

TEST_F(CssImportTest, ByteBudgetIsBounded) {
    std::string big = "p { width: 1px }" + std::string(kMaxCssImportBytes / 4, ' ');
    for (int i = 0; i < 8; ++i)
        source_.files["big" + std::to_string(i) + ".css"] = big;
    std::string top;
    for (int i = 0; i < 8; ++i)
        top += "@import 'big" + std::to_string(i) + ".css';";
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseText(string16(), string8(top.c_str())));
    EXPECT_LT(sheet.selectorCount(), 8);
    EXPECT_GT(sheet.selectorCount(), 0);
}

TEST_F(CssImportTest, MissingFilesDoNotStopTheRest) {
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseText(string16(), string8("@import 'gone.css'; p { width: 1px }")));
    EXPECT_EQ(listing(sheet), "p { width: 1px }\n");
    EXPECT_FALSE(loader.parseFile(string16()));
    EXPECT_FALSE(loader.parseFile(U16("gone.css")));
    CssImportLoader noSource(sheet, nullptr);
    EXPECT_FALSE(noSource.parseText(string16(), string8("@import 'a.css';")));
}

TEST_F(CssImportTest, CharsetDoesNotHideImports) {
    source_.files = {{"a.css", "a { width: 1px }"}};
    CssStyleSheet sheet(doc_.get());
    CssImportLoader loader(sheet, &source_);
    EXPECT_TRUE(loader.parseText(
        string16(), string8("@charset \"utf-8\";\n@import 'a.css'; p { width: 2px }")));
    EXPECT_EQ(listing(sheet), "a { width: 1px }\np { width: 2px }\n");
}

const char* const kLongRule =
    "body { margin-left: 1em; margin-right: 1em; text-indent: 2em; font-family: serif }";

std::string Utf16(const char* mark, const char* ascii, bool bigEndian) {
    std::string bytes = mark;
    for (const char* c = ascii; *c; ++c) {
        bytes += bigEndian ? '\0' : *c;
        bytes += bigEndian ? *c : '\0';
    }
    return bytes;
}

struct DecodeCase {
    std::string bytes;
    std::string utf8;
};

TEST(CssImportSource, DecodesStylesheetBytes) {
    const DecodeCase cases[] = {
        {"p{}", "p{}"},
        {"\xEF\xBB\xBFp { color: red }", "p { color: red }"},
        {Utf16("\xFF\xFE", kLongRule, false), kLongRule},
        {Utf16("\xFE\xFF", kLongRule, true), kLongRule},
        {".caf\xC3\xA9 { color: red }", ".caf\xC3\xA9 { color: red }"},
    };
    for (const DecodeCase& c : cases) {
        string8 text;
        ASSERT_TRUE(ReadStyleSheetStream(
            CreateMemoryStream(c.bytes.data(), ks_pos_t(c.bytes.size()), MemoryCopy::Copy), text));
        EXPECT_EQ(std::string(text.CStr()), c.utf8) << c.bytes;
    }
    string8 text;
    EXPECT_FALSE(ReadStyleSheetStream(nullptr, text));
}

TEST(CssImportSource, StreamsLargerThanTheLimitAreRefused) {
    std::string big(kMaxCssFileBytes + 1, 'x');
    KsRef<KsStream> stream =
        CreateMemoryStream(big.data(), ks_pos_t(big.size()), MemoryCopy::Wrap, KS_MODE_READ);
    string8 text;
    EXPECT_FALSE(ReadStyleSheetStream(stream, text));
}

}  // namespace
