#include "engine/dom/lxmlDocBase.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/dom/BuiltinNameTables.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(NameTables, ElementIdsKnownAndAddedAtRunTime) {
    auto doc = MakeTestDocument();
    EXPECT_EQ(doc->getElementNameIndex("p"), 13);
    EXPECT_EQ(doc->getElementNameIndex("first-unknown"), 512);
    EXPECT_EQ(doc->getElementNameIndex("second-unknown"), 513);
    EXPECT_EQ(doc->getElementNameIndex("first-unknown"), 512);
    // Case matters.
    EXPECT_EQ(doc->getElementNameIndex("P"), 514);
    EXPECT_EQ(doc->findElementNameIndex(U16("never-seen")), 0);
    EXPECT_EQ(doc->findElementNameIndex(U16("")), 0);
    EXPECT_EQ(U8(doc->getElementName(514)), "P");
    EXPECT_EQ(U8(doc->getElementName(400)), "");
}

struct BuiltinCase {
    const char* name;
    uint16_t id;
    bool allowText;
    bool isObject;
    CssDisplay display;
    CssWhiteSpace whiteSpace;
};

TEST(NameTables, BuiltinElementTypes) {
    const BuiltinCase cases[] = {
        {"autoBoxing", 1, true, false, CssDisplay::Block, CssWhiteSpace::Normal},
        {"?xml", 2, false, false, CssDisplay::Block, CssWhiteSpace::Normal},
        {"genre", 5, true, false, CssDisplay::None, CssWhiteSpace::Normal},
        {"image", 15, false, true, CssDisplay::Inline, CssWhiteSpace::Normal},
        {"img", 16, false, true, CssDisplay::Inline, CssWhiteSpace::Normal},
        {"li", 29, true, false, CssDisplay::ListItem, CssWhiteSpace::Inherit},
        {"h1", 30, true, false, CssDisplay::Block, CssWhiteSpace::Normal},
        {"h6", 35, true, false, CssDisplay::Block, CssWhiteSpace::Normal},
        {"pre", 36, true, false, CssDisplay::Block, CssWhiteSpace::Pre},
        {"code", 51, true, false, CssDisplay::Inline, CssWhiteSpace::Pre},
        {"table", 56, false, false, CssDisplay::Table, CssWhiteSpace::Normal},
        {"caption", 57, true, false, CssDisplay::TableCaption, CssWhiteSpace::Normal},
        {"colgroup", 59, false, false, CssDisplay::TableColumnGroup, CssWhiteSpace::Normal},
        {"tfoot", 63, false, false, CssDisplay::TableFooterGroup, CssWhiteSpace::Normal},
        {"td", 65, true, false, CssDisplay::TableCell, CssWhiteSpace::Normal},
        {"description", 79, false, false, CssDisplay::None, CssWhiteSpace::Normal},
        {"first-name", 90, true, false, CssDisplay::Inline, CssWhiteSpace::Normal},
        {"DocFragment", 100, false, false, CssDisplay::Block, CssWhiteSpace::Normal},
    };
    auto doc = MakeTestDocument();
    for (const BuiltinCase& c : cases) {
        EXPECT_EQ(doc->findElementNameIndex(U16(c.name)), c.id) << c.name;
        const ldomElementProps* props = doc->getElementTypePtr(c.id);
        ASSERT_NE(props, nullptr) << c.name;
        EXPECT_EQ(props->allowText, c.allowText) << c.name;
        EXPECT_EQ(props->isObject, c.isObject) << c.name;
        EXPECT_EQ(props->display, c.display) << c.name;
        EXPECT_EQ(props->whiteSpace, c.whiteSpace) << c.name;
    }
    EXPECT_EQ(doc->getElementTypePtr(doc->getElementNameIndex("run-time")), nullptr);
}

TEST(NameTables, BuiltinAttributesAndNamespaces) {
    auto doc = MakeTestDocument();
    EXPECT_EQ(doc->findAttrNameIndex(U16("id")), 1);
    EXPECT_EQ(doc->findAttrNameIndex(U16("class")), 2);
    EXPECT_EQ(doc->findAttrNameIndex(U16("StyleSheet")), 30);
    EXPECT_EQ(doc->findAttrNameIndex(U16("suptitle")), 33);
    EXPECT_EQ(doc->getAttrNameIndex("data-x"), 512);
    EXPECT_EQ(doc->findNsNameIndex(U16("l")), 1);
    EXPECT_EQ(doc->findNsNameIndex(U16("xlink")), 4);
    EXPECT_EQ(doc->findNsNameIndex(U16("xs")), 5);
    EXPECT_EQ(doc->getNsNameIndex("epub"), 32);
    EXPECT_EQ(doc->idAttrId(), 1);
    EXPECT_EQ(doc->nameAttrId(), 4);
}

TEST(NameTables, FixedEntriesNeverReplaceTakenIds) {
    auto doc = MakeTestDocument();
    const ldomNameTypeEntry extra[] = {{2, "not-class"}, {40, "extra"}, {0, "after-end"}};
    doc->setAttributeTypes(extra);
    EXPECT_EQ(U8(doc->getAttrName(2)), "class");
    EXPECT_EQ(doc->findAttrNameIndex(U16("not-class")), 0);
    EXPECT_EQ(doc->findAttrNameIndex(U16("extra")), 40);
    EXPECT_EQ(doc->findAttrNameIndex(U16("after-end")), 0);

    ldomNameTable table("element", 512);
    table.add(0, U16("zero"), std::nullopt);
    table.add(ldomNameTable::kUnknownId, U16("reserved"), std::nullopt);
    EXPECT_EQ(table.count(), 0);
    // Run-time ids step over fixed ids in their way.
    table.add(512, U16("fixed"), std::nullopt);
    EXPECT_EQ(table.findOrAdd(U16("dynamic")), 513);
}

TEST(NameTables, AttributeValuesAreShared) {
    auto doc = MakeTestDocument();
    uint32_t a = doc->getAttrValueIndex(U16("note"));
    uint32_t b = doc->getAttrValueIndex(U16("other"));
    EXPECT_NE(a, b);
    EXPECT_EQ(doc->getAttrValueIndex(U16("note")), a);
    EXPECT_EQ(U8(doc->getAttrValue(b)), "other");
    EXPECT_EQ(U8(doc->getAttrValue(12345)), "");
}

TEST(NameTables, AttributeAccess) {
    auto doc = MakeTestDocument();
    ldomNode* a =
        AppendMarkup(doc->getRootNode(), "<a href='#n1' xlink:href='pic.png' class='x'>link</a>");
    EXPECT_EQ(a->attrCount(), 3);
    EXPECT_EQ(U8(a->attrValue("href")), "#n1");
    EXPECT_EQ(U8(a->attrValue("xlink", "href")), "pic.png");
    EXPECT_EQ(U8(a->attrValue("l", "href")), "");
    EXPECT_EQ(U8(a->attrValue("nosuchns", "href")), "");
    EXPECT_EQ(U8(a->attrValue(0, attr_href)), "#n1");
    EXPECT_EQ(U8(a->attrValue(4, attr_href)), "pic.png");
    EXPECT_TRUE(a->hasAttr(kAnyNamespace, attr_class));
    EXPECT_FALSE(a->hasAttr(kAnyNamespace, attr_id));
    EXPECT_EQ(a->attrValueIndex(kAnyNamespace, attr_id), kNoAttrValue);
    // Replacing a value on a persistent element keeps it persistent.
    ASSERT_TRUE(a->isPersistent());
    EXPECT_TRUE(a->setAttributeValue(kAnyNamespace, attr_class, U16("y")));
    EXPECT_TRUE(a->isPersistent());
    EXPECT_EQ(U8(a->attrValue("class")), "y");
    // A new attribute makes it mutable again.
    EXPECT_TRUE(a->setAttributeValue(0, attr_title, U16("t")));
    EXPECT_FALSE(a->isPersistent());
    EXPECT_EQ(DumpNode(a),
              "<a href=\"#n1\" xlink:href=\"pic.png\" class=\"y\" title=\"t\">link</a>");
}

TEST(NameTables, IdMapFindsIdsAndNamedAnchors) {
    auto doc = MakeTestDocument();
    AppendMarkup(doc->getRootNode(),
                 "<body><p id='intro'>x</p><a name='note1'>1</a><span name='note2'>2</span>"
                 "<div xlink:id='other'/></body>");
    EXPECT_EQ(DumpNode(doc->getNodeById(U16("intro"))), "<p id=\"intro\">x</p>");
    EXPECT_EQ(DumpNode(doc->getNodeById(U16("note1"))), "<a name=\"note1\">1</a>");
    EXPECT_EQ(doc->getNodeById(U16("note2")), nullptr);
    EXPECT_EQ(doc->getNodeById(U16("other")), nullptr);  // not namespace 0
    EXPECT_EQ(doc->getNodeById(U16("missing")), nullptr);
    // A changed id in a persistent record is found under its new value.
    ldomNode* p = doc->getNodeById(U16("intro"));
    ASSERT_TRUE(p->isPersistent());
    p->setAttributeValue(0, attr_id, U16("renamed"));
    EXPECT_EQ(doc->getNodeById(U16("renamed")), p);
    // A destroyed element is no longer found.
    p->destroy();
    EXPECT_EQ(doc->getNodeById(U16("renamed")), nullptr);
}

TEST(NameTables, MoreThan65536AttributeValuesStayDistinct) {
    auto doc = MakeTestDocument();
    ldomNode* root = doc->getRootNode();
    std::vector<ldomNode*> links;
    for (int i = 0; i < 70000; ++i) {
        ldomNode* a = root->insertElement(-1, 0, el_a);
        a->setAttributeValue(0, doc->getAttrNameIndex("filepos"),
                             U16(("filepos" + std::to_string(i)).c_str()));
        a->persist();
        links.push_back(a);
    }
    EXPECT_GE(doc->attrValueCount(), 70000u);
    for (int i : {0, 65535, 65536, 69999}) {
        EXPECT_EQ(U8(links[size_t(i)]->attrValue("filepos")), "filepos" + std::to_string(i));
        EXPECT_GE(
            links[size_t(i)]->attrValueIndex(kAnyNamespace, doc->findAttrNameIndex(U16("filepos"))),
            uint32_t(i));
    }
}

TEST(NameTables, FullNameTableSharesTheUnknownId) {
    auto doc = MakeTestDocument();
    CapturedLog log;
    int added = 0;
    for (;;) {
        uint16_t id = doc->getElementNameIndex(("e" + std::to_string(added)).c_str());
        if (id == ldomNameTable::kUnknownId) break;
        ASSERT_EQ(id, 512 + added);
        ++added;
    }
    EXPECT_EQ(added, 0xFFFF - 512);
    EXPECT_EQ(doc->getElementNameIndex("yet-another"), ldomNameTable::kUnknownId);
    EXPECT_EQ(log.count("name table is full"), 1);
    EXPECT_EQ(U8(doc->getElementName(ldomNameTable::kUnknownId)), "unknown-element");
    // Names known before still resolve; the shared id never matches a lookup by name.
    EXPECT_EQ(doc->getElementNameIndex("e5"), 517);
    EXPECT_EQ(doc->findElementNameIndex(U16("unknown-element")), 0);
    ldomNode* element = doc->getRootNode()->insertElement(-1, 0, ldomNameTable::kUnknownId);
    EXPECT_EQ(U8(element->name()), "unknown-element");
}

TEST(NameTables, AttributeCountPerElementIsBounded) {
    auto doc = MakeTestDocument();
    CapturedLog log;
    ldomNode* element = doc->getRootNode()->insertElement(-1, 0, el_div);
    for (uint32_t i = 0; i < kMaxElementAttributes + 5; ++i)
        element->setAttributeValue(0, doc->getAttrNameIndex(("a" + std::to_string(i)).c_str()),
                                   U16("v"));
    EXPECT_EQ(element->attrCount(), int(kMaxElementAttributes));
    EXPECT_EQ(log.count("attributes already"), 5);
    EXPECT_TRUE(element->persist());
    EXPECT_EQ(element->attrCount(), int(kMaxElementAttributes));
}

}  // namespace
