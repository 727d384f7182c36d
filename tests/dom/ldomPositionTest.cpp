// Positions: path texts in both directions, document order and walking.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomPosition.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

const char* kBook =
    "<FictionBook><description><title-info><book-title>T</book-title></title-info>"
    "</description><body><section><p>Hello</p></section><section id='s2'><title><p>Two</p>"
    "</title><p>First</p><p>Second <b>bold</b> tail</p></section></body></FictionBook>";

// Every node of the tree in document order.
std::vector<ldomNode*> AllNodes(ldomDocument& doc) {
    std::vector<ldomNode*> nodes;
    ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
    while (cursor.nextNode())
        nodes.push_back(cursor.getNode());
    return nodes;
}

TEST(ldomPosition, PathTextsOfEveryNode) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), kBook);
    const std::vector<std::string> expected = {
        "/FictionBook",
        "/FictionBook/description",
        "/FictionBook/description/title-info",
        "/FictionBook/description/title-info/book-title",
        "/FictionBook/description/title-info/book-title/text()",
        "/FictionBook/body",
        "/FictionBook/body/section[1]",
        "/FictionBook/body/section[1]/p",
        "/FictionBook/body/section[1]/p/text()",
        "/FictionBook/body/section[2]",
        "/FictionBook/body/section[2]/title",
        "/FictionBook/body/section[2]/title/p",
        "/FictionBook/body/section[2]/title/p/text()",
        "/FictionBook/body/section[2]/p[1]",
        "/FictionBook/body/section[2]/p[1]/text()",
        "/FictionBook/body/section[2]/p[2]",
        "/FictionBook/body/section[2]/p[2]/text()[1]",
        "/FictionBook/body/section[2]/p[2]/b",
        "/FictionBook/body/section[2]/p[2]/b/text()",
        "/FictionBook/body/section[2]/p[2]/text()[2]",
    };
    std::vector<ldomNode*> nodes = AllNodes(*doc);
    ASSERT_EQ(nodes.size(), expected.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        for (int offset : {-1, 0, 1}) {
            ldomPosition position(nodes[i], offset);
            std::string text = expected[i] + (offset >= 0 ? "." + std::to_string(offset) : "");
            EXPECT_EQ(U8(position.toString()), text);
            // And back: the same node and offset.
            EXPECT_EQ(ldomPosition::fromString(doc.get(), position.toString()), position) << text;
        }
    }
}

TEST(ldomPosition, OnlySectionHasNoBracketedNumbers) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(),
                 "<FictionBook><body><section><p>One</p></section></body></FictionBook>");
    ldomPosition p = ldomPosition::fromString(doc.get(), U16("/FictionBook/body/section/p"));
    ASSERT_FALSE(p.isNull());
    p.setOffset(0);
    EXPECT_EQ(U8(p.toString()), "/FictionBook/body/section/p.0");
}

struct ParseCase {
    const char* text;
    const char* expected;  // the position's own text, or "" for the null position
};

class PathParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(PathParsing, ResolvesOrGivesNull) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), kBook);
    const ParseCase& c = GetParam();
    ldomPosition position = ldomPosition::fromString(doc.get(), U16(c.text));
    EXPECT_EQ(U8(position.toString()), c.expected) << c.text;
    EXPECT_EQ(position.isNull(), *c.expected == 0) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PathParsing,
    testing::Values(ParseCase{"/FictionBook/body/section[2]/p[2]/b/text().2",
                              "/FictionBook/body/section[2]/p[2]/b/text().2"},
                    ParseCase{"/FictionBook/body/section/p", "/FictionBook/body/section[1]/p"},
                    ParseCase{"/FictionBook/body/section[2]/p[3]", ""},
                    ParseCase{"/FictionBook/body/section[3]", ""},
                    ParseCase{"/FictionBook/body/section[0]", ""},
                    ParseCase{"/FictionBook/body/2/3", "/FictionBook/body/section[2]/p[2]"},
                    ParseCase{"/FictionBook/body/0", ""}, ParseCase{"/FictionBook/body/3", ""},
                    ParseCase{"/FictionBook/body/section[2].3", "/FictionBook/body/section[2].3"},
                    ParseCase{"/FictionBook/body/section[2].4", ""},
                    ParseCase{"/FictionBook/body/section[1]/p/text().5",
                              "/FictionBook/body/section[1]/p/text().5"},
                    ParseCase{"/FictionBook/body/section[1]/p/text().6", ""},
                    ParseCase{"/FictionBook/body/section[2]/p[2]/text()", ""},  // two text children
                    ParseCase{"/FictionBook/body/section[2]/p[2]/text()[2]",
                              "/FictionBook/body/section[2]/p[2]/text()[2]"},
                    ParseCase{"/FictionBook/body/section[2]/p[2]/text()[3]", ""},
                    ParseCase{"#s2", "/FictionBook/body/section[2]"}, ParseCase{"#missing", ""},
                    ParseCase{"#", ""}, ParseCase{"", ""}, ParseCase{"/", ""}, ParseCase{"//", ""},
                    ParseCase{"FictionBook", ""}, ParseCase{"/NoSuchElement", ""},
                    ParseCase{"/FictionBook[", ""}, ParseCase{"/FictionBook[1", ""},
                    ParseCase{"/FictionBook[x]", ""},
                    ParseCase{"/FictionBook[99999999999999999999]", ""},
                    ParseCase{"/FictionBook/body/99999999999999999999", ""},
                    ParseCase{"/FictionBook.1x", ""}, ParseCase{"/FictionBook..1", ""},
                    ParseCase{"/FictionBook.1.2", ""}, ParseCase{"/FictionBook.-1", ""},
                    ParseCase{"/FictionBook/body/section[1]/p/text()/p", ""},
                    ParseCase{"/FictionBook/body/section[1]/p/text().1/p", ""},
                    ParseCase{"/FictionBook/body/section[1]/p/text()[1]x", ""},
                    ParseCase{"/FictionBook/body/section[1]/p/text", ""}));

TEST(ldomPosition, SingleChildWrapperIsLookedThrough) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<html><body><autoBoxing><p>x</p></autoBoxing></body></html>");
    ldomPosition p = ldomPosition::fromString(doc.get(), U16("/html/body/p"));
    EXPECT_EQ(U8(p.toString()), "/html/body/autoBoxing/p");
}

TEST(ldomPosition, DeepPathsHaveNoLevelLimit) {
    auto doc = MakeTestDocument();
    std::string markup, expected;
    const int depth = 300;
    for (int i = 0; i < depth; ++i) {
        markup += "<div>";
        expected += "/div";
    }
    markup += "deep";
    for (int i = 0; i < depth; ++i)
        markup += "</div>";
    AppendMarkup(doc->getRootNode(), markup);
    ldomNode* text = doc->getRootNode()->lastTextDescendant();
    ldomPosition position(text, 2);
    EXPECT_EQ(U8(position.toString()), expected + "/text().2");
    EXPECT_EQ(ldomPosition::fromString(doc.get(), position.toString()), position);
    // Order below the 64th level still counts.
    ldomPosition before(text, 1);
    EXPECT_EQ(ComparePositions(before, position), -1);
    EXPECT_EQ(ComparePositions(position, before), 1);
    EXPECT_EQ(ComparePositions(ldomPosition(text->parent(), 0), position), -1);
}

TEST(ldomPosition, GoneNodesAndDocumentsGiveNull) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>a</p><p>b</p></body>");
    ldomNode* second = doc->getRootNode()->childAt(0)->childAt(1);
    ldomPosition position(second, 0);
    ASSERT_FALSE(position.isNull());
    second->destroy();
    EXPECT_TRUE(position.isNull());
    EXPECT_TRUE(position.toString().Empty());

    ldomPosition first(doc->getRootNode()->childAt(0)->childAt(0), 0);
    doc.reset();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(first.getDocument(), nullptr);
}

TEST(ldomPosition, DetachedNodeGivesItsOwnStep) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>a</p><p>b</p></body>", PersistNodes::No);
    ldomNode* body = doc->getRootNode()->childAt(0);
    ldomNode* p = body->removeChildAt(1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(U8(ldomPosition(p, 0).toString()), "/p.0");
}

// Pairs in document order (a before b) in the book above.
struct OrderCase {
    const char* a;
    const char* b;
};

class PositionOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(PositionOrder, IsAntisymmetric) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), kBook);
    ldomPosition a = ldomPosition::fromString(doc.get(), U16(GetParam().a));
    ldomPosition b = ldomPosition::fromString(doc.get(), U16(GetParam().b));
    ASSERT_FALSE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_EQ(ComparePositions(a, b), -1);
    EXPECT_EQ(ComparePositions(b, a), 1);
    EXPECT_EQ(ComparePositions(a, a), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, PositionOrder,
    testing::Values(OrderCase{"/FictionBook/body/section[1]", "/FictionBook/body/section[2]"},
                    OrderCase{"/FictionBook/body/section[1]/p/text().1",
                              "/FictionBook/body/section[1]/p/text().2"},
                    // An element's own position lies before everything inside it.
                    OrderCase{"/FictionBook/body", "/FictionBook/body/section[1]/p/text().0"},
                    OrderCase{"/FictionBook/body.0", "/FictionBook/body/section[1]/p/text().0"},
                    // (element, k) lies after child k - 1 and before child k.
                    OrderCase{"/FictionBook/body/section[2]/p[2]/text()[1].3",
                              "/FictionBook/body/section[2]/p[2].1"},
                    OrderCase{"/FictionBook/body/section[2]/p[2].1",
                              "/FictionBook/body/section[2]/p[2]/b/text().0"},
                    OrderCase{"/FictionBook/body/section[2]/p[2].0",
                              "/FictionBook/body/section[2]/p[2]/text()[1].0"},
                    OrderCase{"/FictionBook/body/section[2]/p[2]/text()[2].5",
                              "/FictionBook/body/section[2]/p[2].3"}));

TEST(ldomPathPosition, WalksForwardAndBackward) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), kBook);
    std::vector<ldomNode*> forward = AllNodes(*doc);
    ldomPathPosition cursor(ldomPosition(forward.back(), 0));
    std::vector<ldomNode*> backward{cursor.getNode()};
    while (cursor.prevNode())
        backward.push_back(cursor.getNode());
    ASSERT_EQ(backward.size(), forward.size() + 1);  // the root comes last
    EXPECT_EQ(backward.back(), doc->getRootNode());
    for (size_t i = 0; i < forward.size(); ++i)
        EXPECT_EQ(backward[forward.size() - 1 - i], forward[i]);

    // Texts only.
    ldomPathPosition texts(ldomPosition(doc->getRootNode(), -1));
    std::string all;
    while (texts.nextText())
        all += U8(texts.getNode()->text()) + "|";
    EXPECT_EQ(all, "T|Hello|Two|First|Second |bold| tail|");
}

}  // namespace
