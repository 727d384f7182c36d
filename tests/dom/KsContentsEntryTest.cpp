// The table of contents: entries, lazily kept paths and positions, flattening, page numbers.
#include <gtest/gtest.h>

#include "engine/dom/KsContentsEntry.h"
#include "engine/dom/ldomDocument.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(KsContentsEntry, RootAndChildren) {
    auto doc = MakeTestDocument();
    KsContentsEntry* root = doc->getToc();
    EXPECT_EQ(root->getLevel(), 0);
    EXPECT_EQ(root->getParent(), nullptr);
    EXPECT_EQ(root->getDocument(), doc.get());
    KsContentsEntry* one = root->addChild(U16("One"), ldomPosition(), U16("/x"));
    KsContentsEntry* two = root->addChild(U16("Two"), ldomPosition(), string16());
    KsContentsEntry* twoA = two->addChild(U16("Two A"), ldomPosition(), string16());
    EXPECT_EQ(one->getIndex(), 0);
    EXPECT_EQ(two->getIndex(), 1);
    EXPECT_EQ(twoA->getLevel(), 2);
    EXPECT_EQ(twoA->getIndex(), 0);
    EXPECT_EQ(twoA->getParent(), two);
    EXPECT_EQ(twoA->getDocument(), doc.get());
    EXPECT_EQ(twoA->getPage(), 0);
    EXPECT_EQ(twoA->getPercent(), 0);

    std::vector<KsContentsEntry*> flat{root};
    root->flatten(flat);
    ASSERT_EQ(flat.size(), 3u);  // pre-order, without the root
    EXPECT_EQ(flat[0], one);
    EXPECT_EQ(flat[1], two);
    EXPECT_EQ(flat[2], twoA);

    KsContentsEntry empty(doc.get());
    empty.flatten(flat);
    EXPECT_TRUE(flat.empty());
}

TEST(KsContentsEntry, PathAndPositionAreKeptInStep) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><section><p>a</p></section><section/></body>");
    KsContentsEntry* root = doc->getToc();
    CapturedLog log;
    KsContentsEntry* byPath = root->addChild(U16("A"), ldomPosition(), U16("/body/section[2]"));
    ldomPosition found = byPath->getPosition();
    ASSERT_FALSE(found.isNull());
    EXPECT_EQ(found.getNode(), doc->getRootNode()->childAt(0)->childAt(1));
    EXPECT_EQ(log.count("TOC node is found for path /body/section[2]"), 1);
    byPath->getPosition();  // kept: no second lookup
    EXPECT_EQ(log.count("TOC node is found"), 1);

    KsContentsEntry* byPosition = root->addChild(
        U16("B"), ldomPosition(doc->getRootNode()->childAt(0)->childAt(0), 0), string16());
    EXPECT_EQ(U8(byPosition->getPath()), "/body/section[1].0");

    KsContentsEntry* lost = root->addChild(U16("C"), ldomPosition(), U16("/body/section[9]"));
    EXPECT_TRUE(lost->getPosition().isNull());
    EXPECT_EQ(log.count("TOC node is not found for path /body/section[9]"), 1);
}

TEST(KsContentsEntry, PageNumbersAndPercents) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>a</p><p>b</p></body>");
    KsContentsEntry* root = doc->getToc();
    ldomNode* body = doc->getRootNode()->childAt(0);
    KsContentsEntry* top =
        root->addChild(U16("top"), ldomPosition(body->childAt(0), 0), string16());
    KsContentsEntry* later =
        root->addChild(U16("later"), ldomPosition(body->childAt(1), 0), string16());
    KsContentsEntry* lost = root->addChild(U16("lost"), ldomPosition(), U16("/nothing"));
    const int height = 3000;
    auto yOf = [&](const ldomPosition& p, int& y) {
        y = p.getNode() == body->childAt(0) ? 0 : 2999;
        return true;
    };
    auto pageOf = [](int y) { return y / 1000; };
    root->updatePageNumbers(yOf, pageOf, height);
    EXPECT_EQ(top->getPage(), 0);
    EXPECT_EQ(top->getPercent(), 0);
    EXPECT_EQ(later->getPage(), 2);
    EXPECT_EQ(later->getPercent(), 9996);
    EXPECT_EQ(lost->getPage(), -1);
    EXPECT_EQ(lost->getPercent(), -1);
    // The root has no position either.
    EXPECT_EQ(root->getPage(), -1);
}

}  // namespace
