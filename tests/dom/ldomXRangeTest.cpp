// Ranges: walks, range text, links, text search and the splitting copy of range lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomXRange.h"
#include "engine/dom/ldomXRangeList.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

ldomPosition At(ldomDocument& doc, const char* path) {
    ldomPosition position = ldomPosition::fromString(&doc, U16(path));
    EXPECT_FALSE(position.isNull()) << path;
    return position;
}

ldomXRange WholeDocument(ldomDocument& doc) {
    return ldomXRange::ofNode(doc.getRootNode());
}

// Records the walk.
class WalkLog : public ldomNodeCallback {
public:
    explicit WalkLog(const char* skip = "") : skip_(skip) {}
    void onText(const ldomXRange& range) override {
        log += "'" +
               U8(range.getStart().getNode()->text().Substr(
                   range.getStart().getOffset(),
                   range.getEnd().getOffset() - range.getStart().getOffset())) +
               "' ";
    }
    bool onElement(const ldomXRange& range) override {
        std::string name = U8(range.getStart().getNode()->name());
        log += "<" + name + "> ";
        return name != skip_;
    }
    std::string log;

private:
    std::string skip_;
};

TEST(ldomXRange, WalkVisitsElementsAndCutsTexts) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>Hello world</p><p>Good <b>bold</b> bye</p></body>");
    struct Case {
        const char* start;
        const char* end;
        const char* skip;
        const char* log;
    } cases[] = {
        {"/body", "/body.2", "", "<body> <p> 'Hello world' <p> 'Good ' <b> 'bold' ' bye' "},
        {"/body/p[1]/text().6", "/body/p[2]/b/text().2", "", "'world' <p> 'Good ' <b> 'bo' "},
        {"/body/p[1]/text().2", "/body/p[1]/text().4", "", "'ll' "},
        {"/body.1", "/body.2", "b", "<p> 'Good ' <b> ' bye' "},
        {"/body/p[2].1", "/body/p[2].3", "", "<b> 'bold' ' bye' "},
        {"/body/p[2].2", "/body/p[2].2", "", ""},
        {"/body/p[1]", "/body/p[2]", "", "<p> 'Hello world' "},
    };
    for (const Case& c : cases) {
        WalkLog log(c.skip);
        ldomXRange(At(*doc, c.start), At(*doc, c.end)).forEach(log);
        EXPECT_EQ(log.log, c.log) << c.start << " .. " << c.end;
    }
}

TEST(ldomXRange, EndsGivenBackwardsAreSwapped) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>Hello world</p></body>");
    ldomXRange range(At(*doc, "/body/p/text().8"), At(*doc, "/body/p/text().3"));
    EXPECT_EQ(range.getStart().getOffset(), 3);
    EXPECT_EQ(U8(range.getRangeText()), "lo wo");
    EXPECT_FALSE(ldomXRange(ldomPosition(), At(*doc, "/body")).isValid());
}

TEST(ldomXRange, RangeTextJoinsBlocksAndSkipsHiddenText) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(),
                 "<body><p>First <b>bold</b> para.</p><p>Second</p><binary>AAAA</binary>"
                 "<div>Third</div></body>");
    ldomXRange all = WholeDocument(*doc);
    EXPECT_EQ(U8(all.getRangeText('\n')), "First bold para.\nSecond\nThird");
    EXPECT_EQ(U8(all.getRangeText(0)), "First bold para.SecondThird");
    EXPECT_EQ(U8(all.getRangeText('\n', 8)), "First bo");
}

TEST(ldomXRange, BlockStartingWithAnInlineElementIsStillABlock) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(),
                 "<body><p>Chapter one</p><p><strong>I</strong></p><p><em>x</em> y<b>z</b></p>"
                 "<p>line<br/>next</p></body>");
    EXPECT_EQ(U8(WholeDocument(*doc).getRangeText('\n')), "Chapter one\nI\nx yz\nline\nnext");
}

TEST(ldomXRange, SplitTextNodesOfOneBlockGetNoDelimiter) {
    auto doc = MakeTestDocument();
    ldomNode* p = doc->getRootNode()->insertElement(-1, 0, doc->getElementNameIndex("p"));
    p->insertText(string8("one "));
    p->insertText(string8("two"));
    EXPECT_EQ(U8(WholeDocument(*doc).getRangeText('\n')), "one two");
}

TEST(ldomXRange, LinkOfARange) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(),
                 "<body><p><a href='#note1'>see <b>note</b></a> and <a "
                 "href='ch%202.html#x'>there</a></p></body>");
    EXPECT_EQ(
        U8(ldomXRange(At(*doc, "/body/p/a[1]/b/text().1"), At(*doc, "/body/p/a[1]/b/text().3"))
               .getHRef()),
        "#note1");
    EXPECT_EQ(U8(ldomXRange::ofNode(At(*doc, "/body/p/a[2]/text()").getNode()).getHRef()),
              "ch 2.html#x");
    EXPECT_EQ(U8(ldomXRange::ofNode(At(*doc, "/body/p/text()").getNode()).getHRef()), "");
}

TEST(ldomXRange, OfNodeCoversTheNode) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>Hello</p><p>x</p></body>");
    ldomXRange text = ldomXRange::ofNode(At(*doc, "/body/p[1]/text()").getNode());
    EXPECT_EQ(text.getEnd().getOffset(), 5);
    EXPECT_EQ(text.getFlags(), 1u);
    EXPECT_EQ(ldomXRange::ofNode(At(*doc, "/body").getNode()).getEnd().getOffset(), 2);
}

std::vector<std::string> Hits(const std::vector<ldomTextSpan>& hits) {
    std::vector<std::string> out;
    for (const ldomTextSpan& hit : hits)
        out.push_back(U8(ldomPosition(hit.getNode(), hit.getStart()).toString()) + "+" +
                      std::to_string(hit.getEnd() - hit.getStart()));
    return out;
}

struct SearchCase_ {
    const char* markup;
    const char* pattern;
    SearchCase searchCase;
    SearchDirection direction;
    int maxCount;
    std::vector<std::string> hits;
};

class RangeSearch : public testing::TestWithParam<SearchCase_> {};

TEST_P(RangeSearch, FindsEveryOccurrence) {
    const SearchCase_& c = GetParam();
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), c.markup);
    std::vector<ldomTextSpan> hits{ldomTextSpan()};  // emptied by the search
    const bool found = WholeDocument(*doc).findText(U16(c.pattern), c.searchCase, c.direction, hits,
                                                    c.maxCount, 0, HeightLimitFrom::FirstHit);
    EXPECT_EQ(Hits(hits), c.hits) << c.pattern;
    EXPECT_EQ(found, !c.hits.empty());
}

constexpr auto kExact = SearchCase::Sensitive;
constexpr auto kAnyCase = SearchCase::Insensitive;
constexpr auto kFwd = SearchDirection::Forward;
constexpr auto kBack = SearchDirection::Backward;

INSTANTIATE_TEST_SUITE_P(
    Patterns, RangeSearch,
    testing::Values(
        // The pattern may end at the very end of the text.
        SearchCase_{"<p>xyzabc</p>", "abc", kExact, kFwd, 0, {"/p/text().3+3"}},
        SearchCase_{"<p>abcxyz</p>", "abc", kExact, kBack, 0, {"/p/text().0+3"}},
        SearchCase_{"<p>WORD and word, Word</p>",
                    "Word",
                    kAnyCase,
                    kFwd,
                    0,
                    {"/p/text().0+4", "/p/text().9+4", "/p/text().15+4"}},
        SearchCase_{"<p>WORD and word, Word</p>", "Word", kExact, kFwd, 0, {"/p/text().15+4"}},
        SearchCase_{"<p>WORD and word, Word</p>",
                    "word",
                    kAnyCase,
                    kBack,
                    2,
                    {"/p/text().15+4", "/p/text().9+4"}},
        SearchCase_{"<p>one</p><p>two one</p>",
                    "one",
                    kExact,
                    kFwd,
                    0,
                    {"/p[1]/text().0+3", "/p[2]/text().4+3"}},
        SearchCase_{"<p>one</p><p>two one</p>",
                    "one",
                    kExact,
                    kBack,
                    0,
                    {"/p[2]/text().4+3", "/p[1]/text().0+3"}},
        SearchCase_{"<p>aaaa</p>",
                    "aa",
                    kExact,
                    kFwd,
                    0,
                    {"/p/text().0+2", "/p/text().1+2", "/p/text().2+2"}},
        // Nothing to find: an empty pattern, a pattern longer than any text, hidden text.
        SearchCase_{"<p>abc</p>", "", kExact, kFwd, 0, {}},
        SearchCase_{"<p>abc</p>", "", kExact, kBack, 0, {}},
        SearchCase_{"<p>abc</p>", "abcd", kExact, kFwd, 0, {}},
        SearchCase_{"<p>abc</p><binary>abc</binary>", "abc", kExact, kFwd, 0, {"/p/text().0+3"}}));

TEST(ldomXRange, SearchStaysInsideTheRange) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>cat cat</p><p>cat cat</p></body>");
    ldomXRange range(At(*doc, "/body/p[1]/text().1"), At(*doc, "/body/p[2]/text().6"));
    std::vector<ldomTextSpan> hits;
    range.findText(U16("cat"), kExact, kFwd, hits, 0, 0, HeightLimitFrom::FirstHit);
    EXPECT_EQ(Hits(hits),
              (std::vector<std::string>{"/body/p[1]/text().4+3", "/body/p[2]/text().0+3"}));
    range.findText(U16("cat"), kExact, kBack, hits, 0, 0, HeightLimitFrom::FirstHit);
    EXPECT_EQ(Hits(hits),
              (std::vector<std::string>{"/body/p[2]/text().0+3", "/body/p[1]/text().4+3"}));
    // A range inside one text node.
    ldomXRange inner(At(*doc, "/body/p[1]/text().0"), At(*doc, "/body/p[1]/text().3"));
    inner.findText(U16("cat"), kExact, kBack, hits, 0, 0, HeightLimitFrom::FirstHit);
    EXPECT_EQ(Hits(hits), (std::vector<std::string>{"/body/p[1]/text().0+3"}));
}

TEST(ldomXRangeList, CopyAsIsKeepsEveryRange) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<p>0123456789</p>");
    ldomXRangeList list;
    list.add(ldomXRange(At(*doc, "/p/text().5"), At(*doc, "/p/text().7"), 2));
    list.add(ldomXRange(At(*doc, "/p/text().1"), At(*doc, "/p/text().3"), 4));
    ldomXRangeList copy(list, RangeListCopy::AsIs);
    ASSERT_EQ(copy.length(), 2u);
    EXPECT_EQ(copy[0], list[0]);
    EXPECT_EQ(copy[1], list[1]);
}

TEST(ldomXRangeList, SplitCopyCombinesOverlaps) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<p>0123456789</p>");
    auto range = [&](int from, int to, uint32_t flags) {
        return ldomXRange(ldomPosition(doc->getRootNode()->childAt(0)->childAt(0), from),
                          ldomPosition(doc->getRootNode()->childAt(0)->childAt(0), to), flags);
    };
    ldomXRangeList list;
    list.add(range(1, 5, 1));  // a selection
    list.add(range(3, 8, 2));  // a bookmark over its end
    list.add(range(9, 10, 4));
    ldomXRangeList split(list, RangeListCopy::SplitOverlaps);
    std::string pieces;
    for (const ldomXRange& r : split)
        pieces += std::to_string(r.getStart().getOffset()) + "-" +
                  std::to_string(r.getEnd().getOffset()) + ":" + std::to_string(r.getFlags()) + " ";
    EXPECT_EQ(pieces, "1-3:1 3-5:3 5-8:2 9-10:4 ");
}

}  // namespace
