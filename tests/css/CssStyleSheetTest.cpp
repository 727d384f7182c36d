#include "engine/css/CssStyleSheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/css/CssParseReport.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class CssStyleSheetTest : public testing::Test {
protected:
    void SetUp() override {
        doc_ = MakeTestDocument();
        AppendMarkup(doc_->getRootNode(),
                     "<body><p class='x' id='px'>a</p><p id='plain'>b</p>"
                     "<div class='note' id='d'><span id='s'>c</span></div></body>");
    }
    ldomNode* byId(const char* id) { return doc_->getNodeById(U16(id)); }

    // The applied declarations, in order, as text.
    std::string applied(const CssStyleSheet& sheet, const char* id) {
        std::string out;
        sheet.apply(byId(id), [&out](const CssDeclaration& declaration) {
            if (!out.empty()) out += " | ";
            out += declaration.toText().CStr();
        });
        return out;
    }
    std::string listing(const CssStyleSheet& sheet) { return sheet.toText().CStr(); }

    std::unique_ptr<ldomDocument> doc_;
};

TEST_F(CssStyleSheetTest, ElementListBeforeTheUniversalList) {
    for (const char* css :
         {"p { color: red } .x { color: blue }", ".x { color: blue } p { color: red }"}) {
        CssStyleSheet sheet(doc_.get());
        ASSERT_TRUE(sheet.parse(string8(css)));
        EXPECT_EQ(applied(sheet, "px"), "color: #ff0000 | color: #0000ff") << css;
        EXPECT_EQ(applied(sheet, "plain"), "color: #ff0000") << css;
    }
}

TEST_F(CssStyleSheetTest, SourceOrderWithinAList) {
    CssStyleSheet sheet(doc_.get());
    ASSERT_TRUE(sheet.parse(string8("p { width: 1px } p.x { width: 2px } body p { width: 3px }")));
    EXPECT_EQ(applied(sheet, "px"), "width: 1px | width: 2px | width: 3px");
    EXPECT_EQ(applied(sheet, "plain"), "width: 1px | width: 3px");
}

struct RecoveryCase {
    const char* css;
    const char* listing;
};

TEST_F(CssStyleSheetTest, BrokenPartsAreSkipped) {
    const RecoveryCase cases[] = {
        {"p[ { color: red } span { color: blue }", "span { color: #0000ff }\n"},
        {"p:hover { color: red } span { color: blue }", "span { color: #0000ff }\n"},
        {"@charset \"utf-8\"; p { color: red }", "p { color: #ff0000 }\n"},
        {"@media screen { p { color: red } div { color: red } } span { width: 1px }",
         "span { width: 1px }\n"},
        {"@font-face { font-family: x; src: url(a.ttf) } p { color: red }",
         "p { color: #ff0000 }\n"},
        {"@import url(x.css); p { color: red }", "p { color: #ff0000 }\n"},
        {"} p { color: red }", "p { color: #ff0000 }\n"},
        {"p { color: red } garbage", "p { color: #ff0000 }\n"},
        {"p { color: red", ""},
        {"p, , span { color: red } div { width: 1px }", "div { width: 1px }\n"},
        {"h1, h2 { unknown: 1 }", "h1 { }\nh2 { }\n"},
        {"/* comment */ p /* x */ , div{color:red}",
         "p { color: #ff0000 }\ndiv { color: #ff0000 }\n"},
        {"{ color: red } p { width: 1px }", "p { width: 1px }\n"},
    };
    for (const RecoveryCase& c : cases) {
        CssStyleSheet sheet(doc_.get());
        (void)sheet.parse(string8(c.css));
        EXPECT_EQ(listing(sheet), c.listing) << c.css;
    }
}

TEST_F(CssStyleSheetTest, SelectorsOfARuleShareTheDeclaration) {
    CssStyleSheet sheet(doc_.get());
    ASSERT_TRUE(sheet.parse(string8("p, .note, span { color: red }")));
    std::vector<const CssSelector*> all = sheet.selectorsInSourceOrder();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0]->declaration().Get(), all[1]->declaration().Get());
    EXPECT_EQ(all[1]->declaration().Get(), all[2]->declaration().Get());
}

TEST_F(CssStyleSheetTest, RulesWithoutValuesKeepTheirSelectors) {
    CssStyleSheet sheet(doc_.get());
    EXPECT_TRUE(sheet.parse(string8("p { float: left }")));
    EXPECT_EQ(sheet.selectorCount(), 1);
    EXPECT_EQ(applied(sheet, "plain"), "");
    EXPECT_FALSE(sheet.parse(string8("  /* nothing */ ")));
}

TEST_F(CssStyleSheetTest, MatchingSelectorsInApplyOrder) {
    CssStyleSheet sheet(doc_.get());
    ASSERT_TRUE(
        sheet.parse(string8(".note span { color: red } span { color: blue } * { width: 1px }")));
    std::vector<const CssSelector*> found = sheet.matchingSelectors(byId("s"));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(std::string(found[0]->toText(*doc_).CStr()), ".note span");
    EXPECT_EQ(std::string(found[1]->toText(*doc_).CStr()), "span");
    EXPECT_EQ(std::string(found[2]->toText(*doc_).CStr()), "*");
}

TEST_F(CssStyleSheetTest, HashFollowsTheFormula) {
    CssStyleSheet sheet(doc_.get());
    ASSERT_TRUE(sheet.parse(string8("p { color: red }")));
    // One selector of list 13 without conditions: its hash is the declaration's hash.
    uint32_t d = (10u * 31 + 11) * 31 + 0xFF0000u;
    EXPECT_EQ(sheet.hash(), 13u * 15324 + d);

    CssStyleSheet same(doc_.get());
    ASSERT_TRUE(same.parse(string8("p{color:red}")));
    EXPECT_EQ(same.hash(), sheet.hash());
    CssStyleSheet other(doc_.get());
    ASSERT_TRUE(other.parse(string8("p.x { color: red }")));
    EXPECT_NE(other.hash(), sheet.hash());
    CssStyleSheet reordered(doc_.get());
    ASSERT_TRUE(reordered.parse(string8("p { width: 1px } p { color: red }")));
    CssStyleSheet ordered(doc_.get());
    ASSERT_TRUE(ordered.parse(string8("p { color: red } p { width: 1px }")));
    EXPECT_NE(reordered.hash(), ordered.hash());
    EXPECT_EQ(CssStyleSheet(doc_.get()).hash(), 0u);
}

TEST_F(CssStyleSheetTest, CopiesAreIndependent) {
    CssStyleSheet sheet(doc_.get());
    ASSERT_TRUE(sheet.parse(string8("p { color: red }")));
    CssStyleSheet saved = sheet;
    ASSERT_TRUE(sheet.parse(string8("p { color: blue }")));
    EXPECT_EQ(applied(saved, "plain"), "color: #ff0000");
    EXPECT_EQ(applied(sheet, "plain"), "color: #ff0000 | color: #0000ff");
    sheet = saved;
    EXPECT_EQ(applied(sheet, "plain"), "color: #ff0000");
}

TEST_F(CssStyleSheetTest, ReportListsWhatWasDropped) {
    CssStyleSheet sheet(doc_.get());
    CssParseReport report;
    (void)sheet.parse(
        string8("@charset 'x';\np { float: left; color: red }\na:hover { color: blue }"), &report);
    ASSERT_EQ(report.dropped.size(), 3u);
    EXPECT_EQ(report.dropped[0].what, "at-rule");
    EXPECT_EQ(report.dropped[1].what, "declaration");
    EXPECT_EQ(report.dropped[1].text, "float: left");
    EXPECT_EQ(report.dropped[2].what, "rule");
    EXPECT_EQ(report.dropped[2].line, 3);
    EXPECT_EQ(report.dropped[2].text, "a:hover { color: blue }");
}

}  // namespace
