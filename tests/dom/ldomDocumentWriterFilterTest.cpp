// The HTML writer: auto-close rules and the other repairs, as golden tree texts of small pages.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/dom/ldomPathPosition.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

struct TreeCase {
    const char* name;
    const char* body;  // what goes between <body> and </body>
    const char* tree;  // the children of body
};

std::string PageOf(const char* body) {
    return std::string("<html><head></head><body>") + body + "</body></html>";
}

class HtmlAutoClose : public testing::TestWithParam<TreeCase> {};

TEST_P(HtmlAutoClose, BuildsTheExpectedTree) {
    auto doc = ParseMarkupText(PageOf(GetParam().body), MarkupFormat::Html);
    EXPECT_EQ(ChildrenTreeText(*doc, "body"), GetParam().tree) << GetParam().body;
    EXPECT_EQ(doc->checkInvariants(), "");
}

const TreeCase kTreeCases[] = {
    {"ParagraphClosesParagraph", "<p>one<p>two", "<p>one</p>\n<p>two</p>\n"},
    {"InnerListClosesTheOpenItem", "<ul><li>a<ul><li>b</ul></ul>",
     "<ul>\n  <li>a</li>\n  <ul>\n    <li>b</li>\n  </ul>\n</ul>\n"},
    {"ItemClosesItem", "<ol><li>a<li>b</ol>", "<ol>\n  <li>a</li>\n  <li>b</li>\n</ol>\n"},
    {"ImageIsClosedBeforeText", "<p><img src='x.png'>caption</p>",
     "<p>\n  <img src=\"x.png\"/>\n  \"caption\"\n</p>\n"},
    {"UnmatchedCloseChangesNothing", "<p>a</b>b</p>", "<p>\n  \"a\"\n  \"b\"\n</p>\n"},
    {"BreakStartsAParagraph", "<p>a<br>b</p>", "<p>a</p>\n<p>b</p>\n"},
    {"LoneBreakIsAnEmptyParagraph", "<p>a</p><br><p>b</p>", "<p>a</p>\n<p/>\n<p>b</p>\n"},
    {"DefinitionWithNoBreakSpaceIndent", "<dl><dt>term<dd>&#160;&#160; def</dl>",
     "<dl>\n  <dt>\n    \"term\"\n    <p class=\"justindent\">def</p>\n  </dt>\n</dl>\n"},
    {"TableCellsAndRows", "<table><tr><td>a<td>b<tr><td>c</table>",
     "<table>\n  <tr>\n    <td>a</td>\n    <td>b</td>\n  </tr>\n  <tr>\n    <td>c</td>\n  "
     "</tr>\n</table>\n"},
    {"HeaderCellClosesCell", "<table><tr><th>h<td>d</table>",
     "<table>\n  <tr>\n    <th>h</th>\n    <td>d</td>\n  </tr>\n</table>\n"},
    {"RowClosesRowGroups", "<table><thead><tr><td>h<tbody><tr><td>b</table>",
     // A row closes the open row group too, as the rules say: the rows end up in the table.
     "<table>\n  <thead/>\n  <tr>\n    <td>h</td>\n  </tr>\n  <tbody/>\n  <tr>\n    "
     "<td>b</td>\n  </tr>\n</table>\n"},
    {"DivClosesParagraph", "<div><p>a<div>b</div></div>",
     "<div>\n  <p>a</p>\n  <div>b</div>\n</div>\n"},
    {"TableClosesParagraph", "<p>a<table><tr><td>b</table>",
     "<p>a</p>\n<table>\n  <tr>\n    <td>b</td>\n  </tr>\n</table>\n"},
    {"PreClosesPre", "<pre>x<pre>y</pre>", "<pre>x</pre>\n<pre>y</pre>\n"},
    {"OptionClosesOption", "<select><option>a<option>b</select>",
     "<select>\n  <option>a</option>\n  <option>b</option>\n</select>\n"},
    {"RuleIsVoid", "<p>x<hr>y</p>", "<p>\n  \"x\"\n  <hr/>\n  \"y\"\n</p>\n"},
    {"ParagraphClosesRule", "<hr><p>y</p>", "<hr/>\n<p>y</p>\n"},
    {"TermClosesDefinition", "<dl><dt>a<dt>b</dl>", "<dl>\n  <dt>a</dt>\n  <dt>b</dt>\n</dl>\n"},
    {"InputIsVoid", "<form><input name='q'>label</form>",
     "<form>\n  <input name=\"q\"/>\n  \"label\"\n</form>\n"},
    {"LeadingBlankTextOfABlockIsDropped", "<div>   <p>x</p> </div>",
     "<div>\n  <p>x</p>\n  \" \"\n</div>\n"},
    {"BlankTextOfInlineIsKept", "<p>a<b> </b>c</p>", "<p>\n  \"a\"\n  <b> </b>\n  \"c\"\n</p>\n"},
    {"AlignBecomesAStyle", "<p align='CENTER'>x</p><p style='color: red' align='right'>y</p>",
     "<p style=\"text-align: center\">x</p>\n<p style=\"color: red; text-align: right\">y</p>\n"},
    {"UnknownAlignIsDropped", "<p align='middle'>x</p>", "<p>x</p>\n"},
    {"RightSideTableIsRemoved",
     "<p>text</p><table align='right' width='30%'><tr><td>side</td></tr></table>", "<p>text</p>\n"},
    {"OtherTablesStay", "<table align='right' width='50%'><tr><td>t</td></tr></table>",
     "<table style=\"text-align: right\" width=\"50%\">\n  <tr>\n    <td>t</td>\n  "
     "</tr>\n</table>\n"},
    {"VoidElementsDoNotHoldTheNextElement", "<p><img src='a'><img src='b'>x<wbr><b>y</b></p>",
     "<p>\n  <img src=\"a\"/>\n  <img src=\"b\"/>\n  \"x\"\n  <wbr/>\n  <b>y</b>\n</p>\n"},
    {"UnclosedInlinesAreClosedByTheirBlock", "<p><b>bold<i>both</p><p>plain</p>",
     "<p>\n  <b>\n    \"bold\"\n    <i>both</i>\n  </b>\n</p>\n<p>plain</p>\n"},
};

INSTANTIATE_TEST_SUITE_P(Pages, HtmlAutoClose, testing::ValuesIn(kTreeCases),
                         [](const testing::TestParamInfo<TreeCase>& param) {
                             return std::string(param.param.name);
                         });

// Feeds events to a writer the way a parser does.
class Events {
public:
    explicit Events(KsXMLParserCallback& writer) : writer_(writer) { writer_.OnStart(nullptr); }
    ~Events() { writer_.OnStop(); }
    Events& open(const char* name, std::vector<std::pair<const char*, const char*>> attrs = {}) {
        writer_.OnTagOpen(u"", U16(name).CStr());
        for (auto [attr, value] : attrs)
            writer_.OnAttribute(u"", U16(attr).CStr(), U16(value).CStr());
        writer_.OnTagBody();
        return *this;
    }
    Events& close(const char* name) {
        writer_.OnTagClose(u"", U16(name).CStr());
        return *this;
    }
    Events& text(const char16_t* text) {
        writer_.OnText(text, static_cast<int>(std::char_traits<char16_t>::length(text)),
                       writer_.getFlags());
        return *this;
    }

private:
    KsXMLParserCallback& writer_;
};

TEST(HtmlWriter, PreformattedBookMode) {
    // A right-aligned div ending in a form switches the mode on (and goes away itself); then the
    // lines of a pre become paragraphs, headings and rules, and the pre becomes a div.
    auto doc = MakeTestDocument();
    {
        ldomDocumentWriterFilter writer(doc.get(), WriterHeaderOnly::No, kHtmlAutoCloseRules);
        Events events(writer);
        events.open("html").open("body").open("div", {{"align", "right"}});
        events.open("a", {{"href", "x"}}).text(u"next").close("a").open("form").close("form");
        events.close("div");
        EXPECT_TRUE(writer.preParagraphMode());
        events.open("pre");
        EXPECT_EQ(writer.getFlags(), TXT_PREFORMATTED | TXT_TRIM | TXT_SPLIT_INDENTED_LINES);
        events.text(u"\tWidth eight.")
            .text(u"\t A heading")
            .text(u" =====")
            .text(u"__")
            .text(u" \u00A0 ")
            .text(u"Plain line.");
        events.close("pre").close("body").close("html");
    }
    EXPECT_EQ(ChildrenTreeText(*doc, "body"),
              "<div>\n  <p>Width eight.</p>\n  <h2>A heading</h2>\n  <hr/>\n  <hr/>\n  "
              "<p>Plain line.</p>\n</div>\n");
}

TEST(HtmlWriter, EmptyPreIsRemovedInPreformattedBookMode) {
    auto doc = ParseMarkupText(PageOf("<div align='right'><form></form></div><p>a</p><pre></pre>"),
                               MarkupFormat::Html);
    EXPECT_EQ(ChildrenTreeText(*doc, "body"), "<p>a</p>\n");
}

TEST(HtmlWriter, TitleOfTheHeadBecomesTheDocumentTitle) {
    auto doc = ParseMarkupText(
        "<html><head><title>  The Book  </title></head><body><title>not this</title></body></html>",
        MarkupFormat::Html);
    EXPECT_EQ(U8(doc->getProps()->readTextOr("doc.title", "")), "The Book");

    // A book of several pages (a MOBI book's markup) keeps the first page's title.
    doc = ParseMarkupText(
        "<html><head><title>The Waste Land</title></head><body>I</body></html>"
        "<html><head><title>Table of Contents</title></head><body>II</body></html>",
        MarkupFormat::Html);
    EXPECT_EQ(U8(doc->getProps()->readTextOr("doc.title", "")), "The Waste Land");
}

TEST(HtmlWriter, HeadElementsAreVoid) {
    // Unclosed meta and link elements, with nothing between the tags: the title and the second
    // link stay children of the head.
    auto doc = ParseMarkupText(
        "<html><head><meta charset=utf-8><meta name=a content=b><base href=x/>"
        "<title>After Metas</title><link rel=stylesheet type=text/css href=a.css>"
        "<link rel=icon href=i.png></head><body><p>x</p></body></html>",
        MarkupFormat::Html);
    EXPECT_EQ(U8(doc->getProps()->readTextOr("doc.title", "")), "After Metas");
    EXPECT_EQ(ChildrenTreeText(*doc, "head"),
              "<meta charset=\"utf-8\"/>\n<meta name=\"a\" content=\"b\"/>\n"
              "<base href=\"x/\"/>\n<title>After Metas</title>\n"
              "<link rel=\"stylesheet\" type=\"text/css\" href=\"a.css\"/>\n"
              "<link rel=\"icon\" href=\"i.png\"/>\n");
}

// Reaches the deepest element of the document and counts the levels below the root.
int Depth(ldomDocument& doc) {
    int deepest = 0;
    ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
    while (cursor.nextNode())
        deepest = std::max(deepest, cursor.depth());
    return deepest;
}

TEST(HtmlWriter, NestingIsCappedAndTheTreeStaysBalanced) {
    std::string body;
    for (int i = 0; i < 100000; ++i)
        body += "<div><b>";
    body += "deep";
    for (int i = 0; i < 100000; ++i)
        body += "</b></div>";
    body += "<p>after</p>";
    auto doc = ParseMarkupText(PageOf(body.c_str()), MarkupFormat::Html);
    // Elements stop at the limit, the text below it: one level deeper.
    EXPECT_EQ(Depth(*doc), kMaxElementDepth + 1);
    EXPECT_EQ(doc->checkInvariants(), "");
    // The ignored closes kept the tree balanced: "after" follows the outermost div in the body.
    ldomPosition after = ldomPosition::fromString(doc.get(), U16("/html/body/p/text()"));
    ASSERT_FALSE(after.isNull());
    EXPECT_EQ(U8(after.getNode()->text()), "after");
    EXPECT_EQ(U8(doc->getRootNode()->lastTextDescendant()->text()), "after");
}

TEST(HtmlWriter, UnclosedParagraphsDoNotNest) {
    std::string body;
    for (int i = 0; i < 5000; ++i)
        body += "<p>line";
    auto doc = ParseMarkupText(PageOf(body.c_str()), MarkupFormat::Html);
    EXPECT_EQ(Depth(*doc), 4);  // html, body, p, text
}

}  // namespace
