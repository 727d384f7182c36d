// Positions in document coordinates, over a hand-made layout: two paragraphs whose lines and
// words a fake formatter reports, in a 10-pixel fixed-width font.
#include <gtest/gtest.h>

#include <map>

#include "engine/dom/ldomDocumentGeometry.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/FixedWidthTestFont.h"
#include "tests/support/TestSupport.h"

namespace {

class FakeFormatter : public ldomBlockFormatter {
public:
    bool formatBlock(ldomNode* block, int, ldomBlockText& text) override {
        auto found = blocks.find(block->getDataIndex());
        if (found == blocks.end()) return false;
        text = found->second;
        return true;
    }
    std::map<uint32_t, ldomBlockText> blocks;
};

class Geometry : public testing::Test {
protected:
    void SetUp() override {
        doc_ = MakeTestDocument();
        root_ = doc_->getRootNode();
        // The layout dropped the three leading spaces of the first paragraph.
        AppendMarkup(root_, "<body><p>   Hello world</p><p>Second para</p></body>");
        body_ = root_->childAt(0);
        p1_ = body_->childAt(0);
        p2_ = body_->childAt(1);
        root_->setRenderMethod(RenderMethod::Block);
        body_->setRenderMethod(RenderMethod::Block);
        p1_->setRenderMethod(RenderMethod::Final);
        p2_->setRenderMethod(RenderMethod::Final);
        root_->setRenderRect({0, 600, 0, 300});
        body_->setRenderRect({0, 600, 0, 300});
        p1_->setRenderRect({10, 500, 0, 40});
        p2_->setRenderRect({10, 500, 40, 20});

        KsRef<KsFont> font(new FixedWidthTestFont(10, 20));
        ldomBlockText first;
        first.items.push_back({p1_->childAt(0), 3, false, U16("Hello world"), font, 0});
        first.lines.push_back({0, 0, 20, {{0, 0, 50, 0, 5}}});
        first.lines.push_back({0, 20, 20, {{0, 0, 50, 6, 5}}});
        formatter_.blocks[p1_->getDataIndex()] = first;
        ldomBlockText second;
        second.items.push_back({p2_->childAt(0), 0, false, U16("Second para"), font, 0});
        second.lines.push_back({0, 0, 20, {{0, 0, 60, 0, 6}, {0, 70, 40, 7, 4}}});
        formatter_.blocks[p2_->getDataIndex()] = second;
        geometry_ = std::make_unique<ldomDocumentGeometry>(*doc_, &formatter_);
    }

    std::unique_ptr<ldomDocument> doc_;
    ldomNode* root_ = nullptr;
    ldomNode* body_ = nullptr;
    ldomNode* p1_ = nullptr;
    ldomNode* p2_ = nullptr;
    FakeFormatter formatter_;
    std::unique_ptr<ldomDocumentGeometry> geometry_;
};

TEST_F(Geometry, ElementRectanglesAddTheAncestors) {
    EXPECT_EQ(ldomDocumentGeometry::elementRect(p2_), (KsRect{10, 40, 510, 60}));
    EXPECT_EQ(ldomDocumentGeometry::elementRect(p2_->childAt(0)), (KsRect{10, 40, 10, 40}));
    EXPECT_EQ(geometry_->fullHeight(), 300);
}

TEST_F(Geometry, CaretsLandOnTheCharacterEvenAfterDroppedSpaces) {
    KsRect caret;
    // Node offset 4 is the "e" of "Hello": one character after the word start.
    ASSERT_TRUE(geometry_->positionRect(ldomPosition(p1_->childAt(0), 4), caret));
    EXPECT_EQ(caret, (KsRect{20, 0, 21, 20}));
    // Node offset 9 is the "w" of "world", first on the second line.
    ASSERT_TRUE(geometry_->positionRect(ldomPosition(p1_->childAt(0), 9), caret));
    EXPECT_EQ(caret, (KsRect{10, 20, 11, 40}));
    // The end of the paragraph's last word: right after it, one pixel wide, one line high.
    ASSERT_TRUE(geometry_->positionRect(ldomPosition(p2_->childAt(0), 11), caret));
    EXPECT_EQ(caret, (KsRect{120, 40, 121, 60}));
    EXPECT_EQ(geometry_->positionPoint(ldomPosition(p2_->childAt(0), 7)), (KsPoint{80, 40}));
}

TEST_F(Geometry, PositionsWithoutFinalBlockUseElementBoxes) {
    KsRect box;
    ASSERT_TRUE(geometry_->positionRect(ldomPosition(body_, 1), box));
    EXPECT_EQ(box, (KsRect{10, 40, 510, 60}));
    p2_->setRenderMethod(RenderMethod::Invisible);
    EXPECT_FALSE(geometry_->positionRect(ldomPosition(p2_->childAt(0), 0), box));
    EXPECT_EQ(geometry_->positionPoint(ldomPosition(p2_->childAt(0), 0)), (KsPoint{-1, -1}));
}

TEST_F(Geometry, PointsGiveTheNearestCharacterBoundary) {
    struct Case {
        int x, y;
        const char* expected;
    } cases[] = {
        {84, 45, "/body/p[2]/text().7"},    // left of the middle of "p"
        {86, 45, "/body/p[2]/text().8"},    // right of it
        {22, 25, "/body/p[1]/text().10"},   // "o" of "world", after the dropped spaces
        {12, 5, "/body/p[1]/text().3"},     // "H"
        {400, 45, "/body/p[2]/text().11"},  // beyond the last word of the line
        {5, 320, "/body/p[2]/text().11"},   // below the document
        {5, -5, "/body/p[1]/text().0"},     // above it
        {5, 250, "/body.2"},                // in the body, below its blocks, lower half
        {5, 100, "/body.0"},                // upper half
    };
    for (const Case& c : cases)
        EXPECT_EQ(U8(geometry_->positionAt(c.x, c.y, 0).toString()), c.expected)
            << c.x << "," << c.y;
}

TEST_F(Geometry, FinalBlockAtPointFollowsTheDirection) {
    EXPECT_EQ(geometry_->finalBlockAt(20, 45, 0), p2_);
    EXPECT_EQ(geometry_->finalBlockAt(20, 250, -1), p2_);
    EXPECT_EQ(geometry_->finalBlockAt(20, 250, 1), body_);
    EXPECT_EQ(geometry_->finalBlockAt(20, 250, 0), body_);
    p1_->setRenderRect({10, 500, 100, 40});  // now below the point
    EXPECT_EQ(geometry_->finalBlockAt(20, 70, 1), p1_);
    EXPECT_EQ(geometry_->finalBlockAt(20, 400, 0), nullptr);
}

TEST_F(Geometry, MarkedRangesRunForwardOnThePage) {
    ldomXRangeList ranges;
    ranges.add(ldomXRange(ldomPosition(p2_->childAt(0), 0), ldomPosition(p2_->childAt(0), 6), 2));
    ranges.add(ldomXRange(ldomPosition(p2_->childAt(0), 3), ldomPosition(p2_->childAt(0), 3), 4));
    std::vector<ldomMarkedRange> marked = geometry_->markedRanges(ranges);
    ASSERT_EQ(marked.size(), 1u);
    // The end between two words is the caret before the next word.
    EXPECT_EQ(marked[0], (ldomMarkedRange{{10, 40}, {80, 40}, 2}));
    // A range whose end lies above its start on the page gives nothing.
    p1_->setRenderRect({10, 500, 100, 40});
    ldomXRangeList upwards;
    upwards.add(ldomXRange(ldomPosition(p1_->childAt(0), 3), ldomPosition(p2_->childAt(0), 3), 1));
    EXPECT_TRUE(geometry_->markedRanges(upwards).empty());
}

TEST_F(Geometry, DocumentSearchKeepsToTheWindowAndTheHeight) {
    std::vector<ldomTextSpan> hits;
    auto paths = [&hits] {
        std::string out;
        for (const ldomTextSpan& hit : hits)
            out += U8(hit.getStartPosition().toString()) + " ";
        return out;
    };
    EXPECT_TRUE(geometry_->findText(U16("o"), SearchCase::Sensitive, SearchDirection::Forward, -1,
                                    -1, hits, 0, 0));
    EXPECT_EQ(paths(), "/body/p[1]/text().7 /body/p[1]/text().10 /body/p[2]/text().3 ");
    // Only hits within 10 pixels of the first one.
    EXPECT_TRUE(geometry_->findText(U16("o"), SearchCase::Sensitive, SearchDirection::Forward, 0, 0,
                                    hits, 0, 10));
    EXPECT_EQ(paths(), "/body/p[1]/text().7 ");
    // From y 40 on.
    EXPECT_TRUE(geometry_->findText(U16("o"), SearchCase::Sensitive, SearchDirection::Forward, 40,
                                    0, hits, 0, 0));
    EXPECT_EQ(paths(), "/body/p[2]/text().3 ");
    EXPECT_TRUE(geometry_->findText(U16("o"), SearchCase::Sensitive, SearchDirection::Backward, 0,
                                    0, hits, 2, 0));
    EXPECT_EQ(paths(), "/body/p[2]/text().3 /body/p[1]/text().10 ");
    EXPECT_FALSE(geometry_->findText(U16(""), SearchCase::Sensitive, SearchDirection::Forward, 0, 0,
                                     hits, 0, 0));
}

// Before any layout the document is 0 pixels high: every point lies below its end.
TEST(GeometryWithoutLayout, HasNoPlaces) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>text</p></body>");
    ldomDocumentGeometry geometry(*doc, nullptr);
    KsRect rect;
    EXPECT_FALSE(geometry.positionRect(ldomPosition(doc->getRootNode()->childAt(0), 0), rect));
    EXPECT_EQ(U8(geometry.positionAt(5, 5, 0).toString()), "/body/p/text().4");
    std::vector<ldomTextSpan> hits;
    EXPECT_FALSE(geometry.findText(U16("text"), SearchCase::Sensitive, SearchDirection::Forward, 0,
                                   0, hits, 0, 0));
}

}  // namespace
