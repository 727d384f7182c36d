#include "engine/dom/tinyNodeCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentTable.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

uint32_t UsedBytes(const ldomDataStorageManager& storage) {
    uint32_t used = 0;
    for (uint32_t i = 0; i < storage.chunkCount(); ++i)
        used += storage.chunk(i)->usedSize();
    return used;
}

void ExpectValid(ldomDocument& doc) {
    EXPECT_EQ(doc.checkInvariants(), "");
}

TEST(NodeStorage, RootAndFirstTextAreNumberOne) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getNodeRef(), 0x11u);
    EXPECT_TRUE(root->isElement());
    EXPECT_FALSE(root->isPersistent());
    EXPECT_TRUE(root->isRoot());
    ldomNode* text = root->insertText(string8("hello"));
    EXPECT_EQ(text->getNodeRef(), (1u << 4) | NT_PERSISTENT_TEXT);
    EXPECT_EQ(text->nodeNumber(), 1u);
    EXPECT_EQ(text->parent(), root);
    EXPECT_EQ(doc->itemCount(), 2u);
    ExpectValid(*doc);
}

TEST(NodeStorage, ReleasedNumberIsReusedFirst) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    std::vector<ldomNode*> elements;
    for (int i = 0; i < 7; ++i)
        elements.push_back(root->insertElement(-1, 0, el_p));
    ldomNode* seventh = elements[5];  // the root is number 1
    ASSERT_EQ(seventh->nodeNumber(), 7u);
    seventh->destroy();
    EXPECT_EQ(doc->nodeForRef((7u << 4) | 1), nullptr);
    ldomNode* again = root->insertElement(-1, 0, el_div);
    EXPECT_EQ(again->nodeNumber(), 7u);
    EXPECT_EQ(again->nameId(), el_div);
    EXPECT_EQ(doc->elementCounter(), 8u);
    ExpectValid(*doc);
}

TEST(NodeStorage, DocumentTableIsFullAt256AndRotates) {
    ASSERT_EQ(ldomDocumentTable::liveCount(), 0) << "another test leaked a document";
    CapturedLog log;
    std::vector<std::unique_ptr<ldomDocument>> docs;
    for (int i = 0; i < 256; ++i)
        docs.push_back(std::make_unique<ldomDocument>());
    auto extra = std::make_unique<ldomDocument>();
    EXPECT_EQ(extra->docSlot(), -1);
    EXPECT_EQ(extra->getRootNode(), nullptr);
    EXPECT_TRUE(extra->isFull());
    EXPECT_EQ(log.count("all 256 document slots are taken"), 1);
    extra.reset();

    auto bySlot = [&docs](int slot) -> std::unique_ptr<ldomDocument>& {
        for (auto& doc : docs)
            if (doc && doc->docSlot() == slot) return doc;
        static std::unique_ptr<ldomDocument> none;
        return none;
    };
    // Put the cursor at 150: free 149 and take it again.
    bySlot(149).reset();
    auto at149 = std::make_unique<ldomDocument>();
    EXPECT_EQ(at149->docSlot(), 149);
    bySlot(3).reset();
    bySlot(200).reset();
    auto next = std::make_unique<ldomDocument>();
    auto after = std::make_unique<ldomDocument>();
    EXPECT_EQ(next->docSlot(), 200);
    EXPECT_EQ(after->docSlot(), 3);
    EXPECT_EQ(log.count("ldomNode::unregisterDocument() - for index 149"), 1);
}

TEST(NodeStorage, UnregisteredDocumentTakesNoNodes) {
    std::vector<std::unique_ptr<ldomDocument>> docs;
    for (int i = 0; i < 256; ++i)
        docs.push_back(std::make_unique<ldomDocument>());
    ldomDocument extra;
    EXPECT_EQ(extra.getRootNode(), nullptr);
    EXPECT_EQ(extra.itemCount(), 0u);
    EXPECT_EQ(extra.checkInvariants(), "");
}

struct TextSizeCase {
    int bytes;
    uint32_t recordSize;
};

TEST(NodeStorage, TextRecordSizes) {
    const TextSizeCase cases[] = {{0, 16}, {2, 16}, {3, 32}, {18, 32}, {19, 48}, {100, 128}};
    for (const TextSizeCase& c : cases) {
        auto doc = MakeTestDocument();
        doc->getRootNode()->insertText(string8(std::string(size_t(c.bytes), 'x').c_str()));
        EXPECT_EQ(UsedBytes(doc->textStorage()), c.recordSize) << c.bytes << " bytes";
    }
}

struct ElementSizeCase {
    int children;
    int attrs;
    uint32_t recordSize;
};

TEST(NodeStorage, ElementRecordSizes) {
    // 24 bytes of header, 4 per child, 8 per attribute (32-bit value indexes), 16-byte units.
    const ElementSizeCase cases[] = {{0, 0, 32}, {1, 0, 32}, {2, 0, 32}, {3, 0, 48},
                                     {3, 2, 64}, {0, 1, 32}, {2, 1, 48}, {10, 3, 96}};
    for (const ElementSizeCase& c : cases) {
        auto doc = MakeTestDocument();
        ldomNode* element = doc->getRootNode()->insertElement(-1, 0, el_div);
        for (int i = 0; i < c.children; ++i)
            element->insertText(string8("t"));
        for (int i = 0; i < c.attrs; ++i)
            element->setAttributeValue(0, uint16_t(attr_id + i), string16("v"));
        ASSERT_TRUE(element->persist());
        EXPECT_EQ(UsedBytes(doc->elementStorage()), c.recordSize)
            << c.children << " children, " << c.attrs << " attributes";
    }
}

TEST(NodeStorage, OversizedRecordGetsAChunkOfItsOwnSize) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    root->insertText(string8("small"));
    root->insertText(string8(std::string(40000, 'y').c_str()));
    const ldomDataStorageManager& texts = doc->textStorage();
    ASSERT_EQ(texts.chunkCount(), 2u);
    EXPECT_EQ(texts.chunk(0)->bufferSize(), 0x8000u);
    EXPECT_EQ(texts.chunk(1)->bufferSize(), ldomTextRecord::SizeFor(40000));
    EXPECT_EQ(root->childAt(1)->textLength8(), 40000);
    ExpectValid(*doc);
}

TEST(NodeStorage, ElementRecordLargerThanAChunkAddressRange) {
    // 300 000 children need a record of 1.2 MB: more 16-byte units than its size field holds.
    auto doc = MakeTestDocument();
    ldomNode* body = doc->getRootNode()->insertElement(-1, 0, el_body);
    for (int i = 0; i < 300000; ++i)
        body->insertText(string8(i == 299999 ? "last" : "t"));
    ASSERT_TRUE(body->persist());
    EXPECT_EQ(body->childCount(), 300000);
    EXPECT_EQ(DumpNode(body->lastChild()), "last");
    EXPECT_EQ(body->childAt(299999)->parent(), body);
    body->setAttributeValue(0, attr_id, string16("big"));
    ASSERT_TRUE(body->persist());
    EXPECT_EQ(doc->getNodeById(string16("big")), body);
    ExpectValid(*doc);
}

TEST(NodeStorage, ModifyThenPersistFreesTheOldRecord) {
    auto doc = MakeTestDocument();
    ldomNode* element = AppendMarkup(doc->getRootNode(), "<p class='a'>text</p>");
    ASSERT_TRUE(element->isPersistent());
    uint32_t used = UsedBytes(doc->elementStorage());
    const uint8_t* oldRecord = doc->elementStorage().chunk(0)->buffer();
    EXPECT_EQ(reinterpret_cast<const ldomElementRecord*>(oldRecord)->type, LDOM_RECORD_ELEMENT);

    element->modify();
    EXPECT_FALSE(element->isPersistent());
    EXPECT_EQ(reinterpret_cast<const ldomElementRecord*>(oldRecord)->type, LDOM_RECORD_FREED);
    EXPECT_EQ(reinterpret_cast<const ldomElementRecord*>(oldRecord)->nodeRef, 0u);
    EXPECT_EQ(DumpNode(element), "<p class=\"a\">text</p>");
    ASSERT_TRUE(element->persist());
    // Appended, never reusing the freed space.
    EXPECT_EQ(UsedBytes(doc->elementStorage()), 2 * used);
    EXPECT_EQ(DumpNode(element), "<p class=\"a\">text</p>");
    ExpectValid(*doc);
}

TEST(NodeStorage, HandleCopiesFollowPersistAndModify) {
    auto doc = MakeTestDocument();
    ldomNode* element = doc->getRootNode()->insertElement(-1, 0, el_p);
    element->insertText(string8("abc"));
    ldomNode copy = *element;
    ASSERT_TRUE(element->persist());
    EXPECT_TRUE(copy.isPersistent());
    EXPECT_EQ(copy.nameId(), el_p);
    EXPECT_EQ(U8(copy.text()), "abc");
    copy.modify();
    EXPECT_FALSE(element->isPersistent());
    copy.persist();
    EXPECT_TRUE(element->isPersistent());
    element->destroy();
    EXPECT_TRUE(copy.isNull());
    EXPECT_EQ(copy.childCount(), 0);
}

TEST(NodeStorage, ChildIndexIgnoresPersistenceBits) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    ldomNode* a = root->insertElement(-1, 0, el_p);
    uint32_t mutableRef = a->getNodeRef();
    a->persist();
    EXPECT_NE(a->getNodeRef(), mutableRef);
    EXPECT_EQ(root->childIndexOf(mutableRef), 0);
    EXPECT_EQ(root->childIndexOf(a->getNodeRef()), 0);
    EXPECT_EQ(root->childIndexOf(0x1234560), -1);
    EXPECT_EQ(a->indexInParent(), 0);
}

TEST(NodeStorage, LongTextIsSplitNeverTruncated) {
    auto doc = MakeTestDocument();
    // 3-byte characters placed so that a plain cut at 65 535 would split one.
    std::string text = "ab";
    while (text.size() < 200000)
        text += "\xE2\x82\xAC";  // the euro sign
    ldomNode* root = doc->getRootNode();
    ldomNode* first = root->insertText(string8(text.c_str()));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(root->childAt(0), first);
    std::string joined;
    for (int i = 0; i < root->childCount(); ++i) {
        string8 piece = root->childAt(i)->text8();
        EXPECT_LE(piece.Length(), 65535);
        // Each piece is whole UTF-8: it survives a round trip unchanged.
        EXPECT_EQ(String16ToUtf8(Utf8ToString16(piece)), piece) << "piece " << i;
        joined.append(piece.CStr(), size_t(piece.Length()));
    }
    EXPECT_EQ(root->childCount(), 4);
    EXPECT_EQ(joined, text);
    EXPECT_EQ(U8(root->text()), text);
    ExpectValid(*doc);
}

TEST(NodeStorage, NodeLimitStopsGrowthAndKeepsTheTree) {
    auto doc = MakeTestDocument();
    CapturedLog log;
    log.SetLevel(KS_LOG_ERROR);
    ldomNode* root = doc->getRootNode();
    ldomNode* holder = root->insertElement(-1, 0, el_div);
    string8 empty;
    uint32_t made = 0;
    while (holder->insertText(empty))
        ++made;
    EXPECT_EQ(made, tinyNodeCollection::kMaxNodeNumber);
    EXPECT_TRUE(doc->isFull());
    EXPECT_EQ(log.count("Document is full"), 1);
    EXPECT_EQ(holder->insertText(string8("more")), nullptr);
    EXPECT_EQ(holder->childCount(), int(made));
    // Elements are numbered in their own table and can still be added.
    EXPECT_NE(root->insertElement(-1, 0, el_p), nullptr);
    EXPECT_TRUE(holder->persist());
    ExpectValid(*doc);
}

TEST(NodeStorage, BudgetExceededKeepsEverythingResident) {
    auto doc = MakeTestDocument();
    CapturedLog log;
    ldomNode* root = doc->getRootNode();
    std::string line(1000, 'z');
    for (int i = 0; i < 4000; ++i)
        root->insertText(string8((line + std::to_string(i)).c_str()));
    const ldomDataStorageManager& texts = doc->textStorage();
    EXPECT_GT(texts.residentBytes(), size_t(texts.memoryBudget()) * 11 / 10);
    EXPECT_GT(log.count("Cannot swap: cache dir is not initialized"), 0);
    EXPECT_EQ(U8(root->childAt(0)->text()), line + "0");
    EXPECT_EQ(U8(root->childAt(3999)->text()), line + "3999");
    int before = log.count("Cannot swap");
    doc->compactStorages();
    EXPECT_GT(log.count("Cannot swap"), before);
    EXPECT_EQ(U8(root->childAt(17)->text()), line + "17");
    ExpectValid(*doc);
}

TEST(NodeStorage, RecentlyReadChunkIsAtTheHeadOfTheLruList) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    std::string big(20000, 'q');
    root->insertText(string8(big.c_str()));
    root->insertText(string8(big.c_str()));
    root->insertText(string8(big.c_str()));
    ASSERT_EQ(doc->textStorage().chunkCount(), 3u);
    EXPECT_EQ(doc->textStorage().mostRecent()->index(), 2);
    (void)root->childAt(0)->text8();
    EXPECT_EQ(doc->textStorage().mostRecent()->index(), 0);
}

TEST(NodeStorage, InsertPositionsAreClamped) {
    auto doc = MakeTestDocument();
    ldomNode* body = AppendMarkup(doc->getRootNode(), "<body><p/><p/></body>", PersistNodes::No);
    body->insertElement(0, 0, el_h1);
    body->insertElement(99, 0, el_hr);
    body->insertElement(-5, 0, el_table);
    body->insertElement(2, 0, el_div);
    EXPECT_EQ(DumpNode(body), "<body><h1/><p/><div/><p/><hr/><table/></body>");
    ExpectValid(*doc);
}

TEST(NodeStorage, RemoveAndMoveChildren) {
    auto doc = MakeTestDocument();
    ldomNode* body = AppendMarkup(doc->getRootNode(),
                                  "<body><p>one</p><p>two</p>three<div><b>x</b></div></body>");
    ldomNode* div = body->childAt(3);
    ASSERT_TRUE(body->moveChildrenTo(div, 0, 1));
    EXPECT_EQ(DumpNode(body), "<body>three<div><b>x</b><p>one</p><p>two</p></div></body>");
    EXPECT_EQ(div->childAt(2)->parent(), div);
    ldomNode* removed = body->removeChildAt(0);
    EXPECT_EQ(DumpNode(removed), "three");
    EXPECT_TRUE(removed->isRoot());
    EXPECT_EQ(body->removeChildAt(5), nullptr);
    EXPECT_EQ(DumpNode(body), "<body><div><b>x</b><p>one</p><p>two</p></div></body>");
    ExpectValid(*doc);
    removed->destroy();
    ExpectValid(*doc);
}

TEST(NodeStorage, MoveIntoOwnSubtreeIsRefused) {
    auto doc = MakeTestDocument();
    ldomNode* body = AppendMarkup(doc->getRootNode(), "<body><div><p><b/></p></div><hr/></body>");
    ldomNode* b = body->childAt(0)->childAt(0)->childAt(0);
    EXPECT_FALSE(body->moveChildrenTo(b, 0, 1));
    EXPECT_FALSE(body->moveChildrenTo(body->childAt(0), 0, 0));
    EXPECT_TRUE(body->moveChildrenTo(body, 0, 0));  // to the end of its own list
    EXPECT_EQ(DumpNode(body), "<body><hr/><div><p><b/></p></div></body>");
    ExpectValid(*doc);
}

TEST(NodeStorage, DestroyReleasesTheWholeSubtree) {
    auto doc = MakeTestDocument();
    ldomNode* body = AppendMarkup(doc->getRootNode(), "<body><div><p>a<b>b</b></p>c</div></body>");
    uint32_t before = doc->itemCount();
    body->childAt(0)->destroy();
    EXPECT_EQ(doc->itemCount(), before - 6);
    EXPECT_EQ(body->childCount(), 0);
    doc->getRootNode()->destroy();  // the root stays
    EXPECT_NE(doc->getRootNode(), nullptr);
    ExpectValid(*doc);
}

TEST(NodeStorage, FindAndWalk) {
    auto doc = MakeTestDocument();
    ldomNode* fb = AppendMarkup(
        doc->getRootNode(),
        "<FictionBook><description><title-info><book-title>T</book-title></title-info>"
        "</description><body><section><p>1</p>x<p>2</p></section><section><p>3</p></section>"
        "</body></FictionBook>");
    ldomNode* body = fb->findChild(kAnyNamespace, el_body);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(DumpNode(body->findChild(kAnyNamespace, el_section, 1)),
              "<section><p>3</p></section>");
    EXPECT_EQ(body->findChild(kAnyNamespace, el_section, 2), nullptr);
    EXPECT_EQ(body->findChild(5, el_section), nullptr);
    uint16_t path[] = {el_body, el_section, el_p, 0};
    EXPECT_EQ(DumpNode(fb->findChildByPath(path)), "<p>1</p>");
    uint16_t broken[] = {el_body, el_div, 0};
    EXPECT_EQ(fb->findChildByPath(broken), nullptr);

    std::string pre, post;
    body->visitElements([&pre](ldomNode* n) { pre += U8(n->name()) + " "; });
    body->visitElementsPostOrder([&post](ldomNode* n) { post += U8(n->name()) + " "; });
    EXPECT_EQ(pre, "body section p p section p ");
    EXPECT_EQ(post, "p p section p section body ");
    EXPECT_EQ(DumpNode(body->lastTextDescendant()), "3");
    EXPECT_EQ(DumpNode(body->childAt(0)->lastTextDescendant()), "2");
    EXPECT_EQ(DumpNode(fb->childAt(0)->lastTextDescendant()), "T");
    EXPECT_EQ(doc->getRootNode()->insertElement(-1, 0, el_div)->lastTextDescendant(), nullptr);
}

struct TextCase {
    const char* markup;
    unit16 delimiter;
    int32_t maxLength;
    const char* expected;
};

TEST(NodeStorage, TextOfElements) {
    const TextCase cases[] = {
        {"<div><p>one</p><p>two</p></div>", u'\n', 0, "one\ntwo\n"},
        {"<div><p>one</p><p>two</p></div>", 0, 0, "onetwo"},
        {"<div>a<b>b</b><i>c</i>d</div>", u'|', 0, "abcd"},
        {"<div><p>x<span>y</span></p><div>z</div></div>", u'/', 0, "xy/z/"},
        {"<div><p>aaaa</p><p>bbbb</p><p>cccc</p></div>", 0, 5, "aaaabbbb"},
        {"<div/>", u'\n', 0, ""},
    };
    for (const TextCase& c : cases) {
        auto doc = MakeTestDocument();
        ldomNode* node = AppendMarkup(doc->getRootNode(), c.markup);
        EXPECT_EQ(U8(node->text(c.delimiter, c.maxLength)), c.expected) << c.markup;
    }
}

TEST(NodeStorage, RenderMethodAndNameInRecordAndMutable) {
    auto doc = MakeTestDocument();
    ldomNode* p = doc->getRootNode()->insertElement(-1, 0, el_p);
    p->setRenderMethod(RenderMethod::Final);
    EXPECT_EQ(p->renderMethod(), RenderMethod::Final);
    p->persist();
    EXPECT_EQ(p->renderMethod(), RenderMethod::Final);
    p->setRenderMethod(RenderMethod::TableCell);
    p->setNameId(el_div);
    EXPECT_TRUE(p->isPersistent());
    EXPECT_EQ(p->renderMethod(), RenderMethod::TableCell);
    EXPECT_TRUE(p->isNodeName("div"));
    EXPECT_FALSE(p->isNodeName("p"));
    EXPECT_FALSE(p->isNodeName("no-such-name"));
}

TEST(NodeStorage, StyleAndRectEntries) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    std::vector<ldomNode*> elements;
    for (int i = 0; i < 5000; ++i)
        elements.push_back(root->insertElement(-1, 0, el_p));
    EXPECT_EQ(doc->styleStorage().residentBytes(), 0u);
    EXPECT_EQ(elements[4000]->styleRef(), ldomElementStyleRef());
    EXPECT_EQ(doc->styleStorage().residentBytes(), 0u);  // reading allocates nothing

    ldomNode* last = elements.back();
    last->setStyleRef({7, 9});
    last->setRenderRect({1, 2, 3, 4});
    EXPECT_EQ(last->styleRef(), (ldomElementStyleRef{7, 9}));
    EXPECT_EQ(last->renderRect(), (ldomRenderRect{1, 2, 3, 4}));
    // Number 5001 lives in style chunk 1 and rect chunk 2; the chunks before it are made too.
    EXPECT_EQ(doc->styleStorage().chunkCount(), 2u);
    EXPECT_EQ(doc->rectStorage().chunkCount(), 3u);
    last->persist();
    EXPECT_EQ(last->styleRef(), (ldomElementStyleRef{7, 9}));

    uint32_t number = last->nodeNumber();
    last->destroy();
    ldomNode* reused = root->insertElement(-1, 0, el_div);
    ASSERT_EQ(reused->nodeNumber(), number);
    EXPECT_EQ(reused->styleRef(), ldomElementStyleRef());
    EXPECT_EQ(reused->renderRect(), ldomRenderRect());
}

TEST(NodeStorage, MemoryReportLine) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(), "<body><p>text</p><p>more</p></body>");
    CapturedLog log;
    doc->logMemoryUsage();
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0],
              "DEBUG *** Document memory usage: elements:4, textNodes:2, ptext=(32768 "
              "uncompressed), ptelems=(16384 uncompressed), rects=(0 uncompressed), "
              "nodestyles=(0 uncompressed), styles:0, fonts:0, renderedNodes:0, "
              "totalNodes:6(0Kb), mutableElements:1(~0Kb)");
}

TEST(NodeStorageDeathTest, InsertIntoTextNodeIsFatal) {
    auto doc = MakeTestDocument();
    ldomNode* text = doc->getRootNode()->insertText(string8("t"));
    EXPECT_EXIT(text->insertElement(0, 0, el_p), testing::ExitedWithCode(125),
                "Text node is persistent");
    EXPECT_EXIT(text->insertText(string8("x")), testing::ExitedWithCode(125), "read-only");
    EXPECT_EXIT(text->removeChildAt(0), testing::ExitedWithCode(125), "Call modify");
}

}  // namespace
