#include "engine/css/CssSelector.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/css/CssLexer.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class CssSelectorTest : public testing::Test {
protected:
    void SetUp() override {
        doc_ = MakeTestDocument();
        AppendMarkup(doc_->getRootNode(),
                     "<body id='b'>"
                     "<div class='Note wide' id='main' lang='en-US' title='ab b'>"
                     "<p class='first' id='p1'>one</p>text<p id='p2'>two</p><span id='s1'>s</span>"
                     "</div>"
                     "<p id='p3'>three</p>"
                     "<div class='x' id='outer'><div id='inner'><p id='deep'>d</p></div></div>"
                     "</body>");
    }

    KsRef<CssSelector> parse(const char* text) {
        KsRef<CssSelector> selector = MakeRef<CssSelector>();
        CssLexer lexer(text, std::strlen(text));
        return selector->parse(lexer, *doc_) ? selector : nullptr;
    }
    ldomNode* byId(const char* id) { return doc_->getNodeById(U16(id)); }

    std::unique_ptr<ldomDocument> doc_;
};

struct MatchCase {
    const char* selector;
    const char* elementId;
    bool matches;
};

TEST_F(CssSelectorTest, MatchesElements) {
    const MatchCase cases[] = {
        {"p", "p1", true},
        {"p", "s1", false},
        {"*", "s1", true},
        {".note", "main", true},
        {".wide", "main", true},  // any of the element's classes
        {".NOTE", "main", true},
        {".not", "main", false},
        {".note.wide", "main", true},
        {".note.x", "main", false},
        {"div.wide", "main", true},
        {"span.wide", "main", false},
        {"#main", "main", true},
        {"#Main", "main", false},
        {"div p", "p1", true},
        {"div p", "p3", false},
        {"body p", "p3", true},
        {"body > p", "p3", true},
        {"body > p", "p1", false},
        {"div > p", "p1", true},
        {"p + p", "p2", false},  // a text node between
        {"p + span", "s1", true},
        {"p + span", "p2", false},
        {"[lang]", "main", true},
        {"[lang]", "p1", false},
        {"[lang=en-US]", "main", true},
        {"[lang=en]", "main", false},
        {"[lang|=en]", "main", true},
        {"[title~=b]", "main", true},  // the word b, though "ab" comes first
        {"[title~=ab]", "main", true},
        {"[title~=a]", "main", false},
        {"[title=\"ab b\"]", "main", true},
        {"[title='ab b']", "main", true},
        {"[ title = 'ab b' ]", "main", true},
        {"div.x p", "deep", true},  // the nearest div is not .x; a farther one is
        {"div.x > div > p", "deep", true},
        {"div.x > p", "deep", false},
        {".x p", "deep", true},
        {"body > div.x div p", "deep", true},
        {"body div.wide > p", "p1", true},
        {"div#main span", "s1", true},
        {"html p", "p1", false},
        {"* > body", "b", false},  // the document root is no element of the book
        {"body p.first", "p1", true},
        {"p.first + p", "p2", false},
    };
    for (const MatchCase& c : cases) {
        KsRef<CssSelector> selector = parse(c.selector);
        ASSERT_TRUE(selector) << c.selector;
        ldomNode* element = byId(c.elementId);
        ASSERT_NE(element, nullptr) << c.elementId;
        EXPECT_EQ(selector->check(element), c.matches) << c.selector << " on #" << c.elementId;
    }
}

TEST_F(CssSelectorTest, BrokenSelectorsAreRefused) {
    std::string tooLong = "[title=\"" + std::string(65, 'x') + "\"]";
    std::string longest = "[title=\"" + std::string(64, 'x') + "\"]";
    const char* broken[] = {
        "p:hover", "p[", "p[title", "[title=]",  "[title^=x]",    "p >",           "> p",
        "p..x",    "#",  ".",       "p::before", "[title=\"open", tooLong.c_str(), ""};
    for (const char* text : broken)
        EXPECT_FALSE(parse(text)) << text;
    EXPECT_TRUE(parse(longest.c_str()));
}

struct TextCase {
    const char* selector;
    const char* text;
};

TEST_F(CssSelectorTest, WrittenBackAsCss) {
    const TextCase cases[] = {
        {"p", "p"},
        {"*", "*"},
        {"  .Note", ".note"},
        {"div.a#b[lang|=en]", "div.a#b[lang|=\"en\"]"},
        {"body>div  p+span", "body > div p + span"},
        {"[title~='x y'] > *", "[title~=\"x y\"] > *"},
        {"madeup", "madeup"},
    };
    for (const TextCase& c : cases) {
        KsRef<CssSelector> selector = parse(c.selector);
        ASSERT_TRUE(selector) << c.selector;
        EXPECT_EQ(std::string(selector->toText(*doc_).CStr()), c.text) << c.selector;
    }
}

TEST_F(CssSelectorTest, ConditionsAreTestedFromTheRightmostPart) {
    KsRef<CssSelector> selector = parse("div.a > p.b.c");
    ASSERT_TRUE(selector);
    EXPECT_EQ(selector->elementId(), doc_->findElementNameIndex(U16("p")));
    const std::vector<CssSelectorRule>& rules = selector->rules();
    ASSERT_EQ(rules.size(), 4u);
    EXPECT_EQ(rules[0].kind, CssSelectorRuleKind::Class);
    EXPECT_EQ(U8(rules[0].value), "c");
    EXPECT_EQ(U8(rules[1].value), "b");
    EXPECT_EQ(rules[2].kind, CssSelectorRuleKind::Parent);
    EXPECT_EQ(rules[2].elementId, doc_->findElementNameIndex(U16("div")));
    EXPECT_EQ(U8(rules[3].value), "a");
}

TEST_F(CssSelectorTest, NamesUnknownToTheDocumentAreAdded) {
    uint16_t before = doc_->elementNames().nextId();
    KsRef<CssSelector> selector = parse("chapter[data-kind=x]");
    ASSERT_TRUE(selector);
    EXPECT_EQ(selector->elementId(), before);
    EXPECT_NE(doc_->findAttrNameIndex(U16("data-kind")), 0);
}

}  // namespace
