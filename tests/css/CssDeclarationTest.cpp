#include "engine/css/CssDeclaration.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/css/CssLexer.h"
#include "engine/css/CssParseReport.h"

namespace {

std::vector<int32_t> Compile(const char* block) {
    KsRef<CssDeclaration> declaration = CssDeclaration::parse(block, std::strlen(block));
    return declaration ? declaration->data() : std::vector<int32_t>();
}

std::string Text(const char* block) {
    KsRef<CssDeclaration> declaration = CssDeclaration::parse(block, std::strlen(block));
    return declaration ? declaration->toText().CStr() : "(none)";
}

constexpr int32_t kEnd = 40;
constexpr int32_t kPx = 2, kEm = 3, kPt = 8, kPercent = 10, kColor = 11;

struct CompileCase {
    const char* block;
    std::vector<int32_t> expected;  // empty: nothing stored
};

TEST(CssDeclaration, CompiledInts) {
    const CompileCase cases[] = {
        {"{ margin: 1em 2em }", {27, kEm, 256, kEm, 512, kEm, 256, kEm, 512, kEnd}},
        {"{margin:1em 2em 3em}", {27, kEm, 256, kEm, 512, kEm, 768, kEm, 512, kEnd}},
        {"{padding: 1px 2px 3px 4px}", {32, kPx, 1, kPx, 2, kPx, 3, kPx, 4, kEnd}},
        {"{padding: 5%}", {32, kPercent, 5, kPercent, 5, kPercent, 5, kPercent, 5, kEnd}},
        {"{ font-size: 12 }", {}},
        {"{ font-size: 0 }", {15, kPx, 0, kEnd}},
        {"{ font-size: 0.0 }", {15, kPx, 0, kEnd}},
        {"{ color: #abc }", {10, kColor, 0xAABBCC, kEnd}},
        {"{ color: #A0B1C2 }", {10, kColor, 0xA0B1C2, kEnd}},
        {"{ color: Red }", {10, kColor, 0xFF0000, kEnd}},
        {"{ color: #abcd }", {}},
        {"{ color: inherit }", {10, 0, 0, kEnd}},
        {"{ background-color: none }", {11, 1, 0, kEnd}},
        {"{ color: rgb(1,2,3) }", {}},
        {"{ text-indent: -2em }", {18, kEm, -512, kEnd}},
        {"{ text-indent: - 2em }", {18, kEm, -512, kEnd}},
        {"{ text-indent: 2em hanging }", {18, kEm, -512, kEnd}},
        {"{ text-indent: -2em hanging }", {18, kEm, -512, kEnd}},
        {"{ text-indent: 1.5em }", {18, kEm, 384, kEnd}},
        {"{ font-size: .5em }", {15, kEm, 128, kEnd}},
        {"{ font-size: 2.5px }", {15, kPx, 2, kEnd}},
        {"{ font-size: 12pt }", {15, kPt, 12 * 256, kEnd}},
        {"{ font-size: 150% }", {15, kPercent, 150, kEnd}},
        {"{ font-family: Times New Roman, serif }",
         {13,  1,   14,  17,  '"', 'T', 'i', 'm', 'e', 's', ' ',
          'N', 'e', 'w', ' ', 'R', 'o', 'm', 'a', 'n', '"', kEnd}},
        {"{ font-family: monospace }", {13, 5, kEnd}},
        {"{ display: block; display: none }", {1, 2, 1, 17, kEnd}},
        {"{ display: inline-table }", {1, 8, kEnd}},
        {"{ display: inlinex }", {}},
        {"{ font-weight: bold }", {17, 2, kEnd}},
        {"{ font-weight: 600 }", {17, 10, kEnd}},
        {"{ hyphenate: auto }", {6, 2, kEnd}},
        {"{ -webkit-hyphens: none }", {6, 1, kEnd}},
        {"{ adobe-text-layout: optimizeQuality }", {6, 2, kEnd}},
        {"{ adobe-hyphenate: explicit }", {6, 2, kEnd}},
        {"{ page-break-before: always; page-break-inside: avoid }", {33, 2, 35, 3, kEnd}},
        {"{ list-style-type: upper-roman; list-style-position: inside }", {37, 6, 38, 1, kEnd}},
        {"{ list-style: disc inside; list-style-image: url(x.png) }", {}},
        {"{ vertical-align: text-top }", {12, 5, kEnd}},
        {"{ white-space: nowrap }", {2, 3, kEnd}},
        {"{ text-decoration: line-through }", {5, 4, kEnd}},
        {"{ text-align-last: justify }", {4, 4, kEnd}},
        {"{ color: red !important; }", {10, kColor, 0xFF0000, kEnd}},
        {"{ COLOR: red }", {}},
        {"{ float: left; width: 50% }", {21, kPercent, 50, kEnd}},
        {"{ margin-left: auto; margin-right: 3em }", {24, kEm, 768, kEnd}},
        {"{ /* c */ color /* c */ : /* c */ blue /* ; } */ }", {10, kColor, 0x0000FF, kEnd}},
        {"{ ;; line-height: 120% ;; }", {19, kPercent, 120, kEnd}},
        {"{ $dummy-for-font-names$: 3 }", {}},
        {"{}", {}},
    };
    for (const CompileCase& c : cases)
        EXPECT_EQ(Compile(c.block), c.expected) << c.block;
}

struct SaturationCase {
    const char* block;
    int32_t code;
    int32_t type;
    int32_t value;
};

TEST(CssDeclaration, NumbersSaturate) {
    const SaturationCase cases[] = {
        {"{font-size: 100000000000000000000px}", 15, kPx, 0x7FFFFF},
        {"{font-size: 100000000000000000000em}", 15, kEm, 0x7FFFFF * 256},
        {"{font-size: 99999999999.99999999999em}", 15, kEm, 0x7FFFFF * 256 + 255},
        {"{font-size: 1.0000000000000000000001em}", 15, kEm, 256},
        {"{font-size: 0.00000000000000000000001em}", 15, kEm, 0},
        {"{font-size: 1.999999999999pt}", 15, kPt, 511},
        {"{width: 4294967296%}", 21, kPercent, 0x7FFFFF},
    };
    for (const SaturationCase& c : cases)
        EXPECT_EQ(Compile(c.block), (std::vector<int32_t>{c.code, c.type, c.value, kEnd}))
            << c.block;
}

struct TextCase {
    const char* block;
    const char* text;
};

TEST(CssDeclaration, ReadableText) {
    const TextCase cases[] = {
        {"{margin: 1em 2em}", "margin: 1em 2em 1em 2em"},
        {"{font-size: 1.5em; color: #0a0b0c}", "font-size: 1.5em; color: #0a0b0c"},
        {"{text-indent: -0.25em}", "text-indent: -0.25em"},
        {"{font-family: 'Book Antiqua', \"Palatino Linotype\", sans-serif, serif}",
         "font-family: serif; $dummy-for-font-names$: \"Book Antiqua\", \"Palatino Linotype\""},
        {"{font-family: \"Georgia\"}", "$dummy-for-font-names$: \"Georgia\""},
        {"{font-family:   Times    New\tRoman  }", "$dummy-for-font-names$: \"Times New Roman\""},
        {"{hyphenate: none; width: 10px}", "hyphenate: none; width: 10px"},
        {"{background-color: none; color: inherit}", "background-color: none; color: inherit"},
        {"{font-size: 12 }", "(none)"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(Text(c.block), c.text) << c.block;
}

TEST(CssDeclaration, BrokenBlocks) {
    const char* broken[] = {"color: red", "{ color: red", "", "   ", "/* only */"};
    for (const char* text : broken) {
        CssLexer lexer(text, std::strlen(text));
        bool ok = true;
        EXPECT_EQ(CssDeclaration::parse(lexer, ok), nullptr) << text;
        EXPECT_FALSE(ok) << text;
    }
    CssLexer empty("{ unknown: 1 }", 14);
    bool ok = false;
    EXPECT_EQ(CssDeclaration::parse(empty, ok), nullptr);
    EXPECT_TRUE(ok);
}

TEST(CssDeclaration, StyleAttributeForm) {
    KsRef<CssDeclaration> declaration =
        CssDeclaration::parseStyleAttribute(string8("color: red; margin-left: 5%"));
    ASSERT_TRUE(declaration);
    EXPECT_EQ(declaration->toText(), string8("color: #ff0000; margin-left: 5%"));
    EXPECT_EQ(CssDeclaration::parseStyleAttribute(string8("")), nullptr);
}

TEST(CssDeclaration, ReportNamesDroppedDeclarations) {
    CssParseReport report;
    const char* block = "{ color: red;\n float: left;\n margin: auto }";
    KsRef<CssDeclaration> declaration = CssDeclaration::parse(block, std::strlen(block), &report);
    ASSERT_EQ(report.dropped.size(), 2u);
    EXPECT_EQ(report.dropped[0].text, "float: left");
    EXPECT_EQ(report.dropped[0].line, 2);
    EXPECT_EQ(report.dropped[1].text, "margin: auto");
}

TEST(CssDeclaration, HashOverTheIntsBeforeTheEnd) {
    // d = d * 31 + v: ((10 * 31) + 11) * 31 + 0xFF0000.
    KsRef<CssDeclaration> red = CssDeclaration::parse("{color:red}", 11);
    EXPECT_EQ(red->hash(), (10u * 31 + 11) * 31 + 0xFF0000u);
    KsRef<CssDeclaration> blue = CssDeclaration::parse("{color:blue}", 12);
    EXPECT_NE(red->hash(), blue->hash());
}

TEST(CssDeclaration, ForEachDecodesEveryDeclaration) {
    const char* block = "{margin: 1em; font-family: A, serif; color: red}";
    KsRef<CssDeclaration> declaration = CssDeclaration::parse(block, std::strlen(block));
    std::vector<int> codes;
    std::vector<int> counts;
    declaration->forEach([&](const CssDeclaration::Item& item) {
        codes.push_back(int(item.code));
        counts.push_back(item.count);
    });
    EXPECT_EQ(codes, (std::vector<int>{27, 13, 14, 10}));
    EXPECT_EQ(counts, (std::vector<int>{8, 1, 4, 2}));
}

}  // namespace
