#include "engine/css/CssComputedStyle.h"

#include <gtest/gtest.h>

#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsFontManager.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/FontTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kBaseSize = 20;

class ComputedStyle : public ::testing::Test {
protected:
    ComputedStyle()
        : fonts_(
              {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSansMono.ttf"}),
          doc_(MakeTestDocument()) {
        defaultFont_ = fonts_->GetFont(kBaseSize, 400, false, 2, "DejaVu Sans");
        EXPECT_TRUE(styles().setRenderProps(600, 800, defaultFont_, 100, nullptr));
    }
    ldomDocumentStyles& styles() { return doc_->styles(); }
    ldomNode* root() { return doc_->getRootNode(); }
    // Adds markup under the root and styles the whole tree.
    ldomNode* Build(const std::string& markup, const char* css = "") {
        if (*css) {
            EXPECT_TRUE(doc_->getStyleSheet().parse(string8(css)));
        }
        ldomNode* first = AppendMarkup(root(), markup);
        EXPECT_TRUE(styles().updateStyles());
        return first;
    }
    KsRef<CssStyleRecord> StyleAt(ldomNode* parent, int index) {
        return styles().getStyle(parent->childAt(index));
    }

    ScopedFontManager fonts_;
    std::unique_ptr<ldomDocument> doc_;
    KsRef<KsFont> defaultFont_;
};

struct SizeCase {
    const char* declaration;
    int pixels;
};

TEST_F(ComputedStyle, FontSizeUnits) {
    const SizeCase cases[] = {
        {"font-size: 150%", 30},    {"font-size: 2em", 40},    {"font-size: 12pt", kBaseSize},
        {"font-size: 16px", 20},    {"font-size: 8px", 10},    {"font-size: 0.5em", 10},
        {"font-size: 2ex", 20},     {"font-size: 1in", 120},   {"font-size: 1pc", kBaseSize},
        {"font-size: inherit", 20}, {"color: red", kBaseSize}, {"font-size: 0", 1},
    };
    std::string markup = "<div>";
    for (const auto& c : cases)
        markup += std::string("<p style='") + c.declaration + "'>x</p>";
    markup += "</div>";
    ldomNode* div = Build(markup);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        KsRef<CssStyleRecord> style = StyleAt(div, i);
        ASSERT_TRUE(style) << cases[i].declaration;
        EXPECT_EQ(style->fontSize.type, CssValueType::Px) << cases[i].declaration;
        EXPECT_EQ(style->fontSize.value, cases[i].pixels) << cases[i].declaration;
    }
    // The font chosen for a 1-pixel size is the smallest one made.
    EXPECT_EQ(styles().getFont(div->childAt(11))->getSize(), 8);
    EXPECT_EQ(styles().getFont(div->childAt(1))->getSize(), 40);
}

TEST_F(ComputedStyle, NestedSizesSaturate) {
    std::string markup;
    for (int i = 0; i < 8; ++i)
        markup += "<div style='font-size: 100em; margin-left: 8000000em'>";
    markup += "deep";
    for (int i = 0; i < 8; ++i)
        markup += "</div>";
    ldomNode* outer = Build(markup);
    ldomNode* inner = outer;
    while (inner->childCount() && inner->firstChild()->isElement())
        inner = inner->firstChild();
    KsRef<CssStyleRecord> style = styles().getStyle(inner);
    ASSERT_TRUE(style);
    EXPECT_EQ(style->fontSize.type, CssValueType::Px);
    EXPECT_GT(style->fontSize.value, 0);
    EXPECT_LE(style->fontSize.value, 0x7FFFFF);
    EXPECT_EQ(FontRequestForStyle(*style, -1).size, 72);
}

struct WeightCase {
    const char* parent;
    const char* child;
    int weight;
};

TEST_F(ComputedStyle, FontWeights) {
    const WeightCase cases[] = {
        {"normal", "bold", 600}, {"900", "bolder", 900},  {"300", "lighter", 100},
        {"200", "lighter", 200}, {"400", "bolder", 600},  {"700", "lighter", 500},
        {"bold", "normal", 400}, {"200", "inherit", 200},
    };
    std::string markup = "<div>";
    for (const auto& c : cases)
        markup += std::string("<div style='font-weight:") + c.parent +
                  "'><p style='font-weight:" + c.child + "'>x</p></div>";
    markup += "</div>";
    ldomNode* div = Build(markup);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        KsRef<CssStyleRecord> style = styles().getStyle(div->childAt(i)->childAt(0));
        ASSERT_TRUE(style);
        EXPECT_EQ(FontRequestForStyle(*style, -1).weight, cases[i].weight)
            << cases[i].parent << " / " << cases[i].child;
    }
    SetGlobalFontWeightAdjustment(300);
    EXPECT_EQ(FontRequestForStyle(*styles().getStyle(div->childAt(0)->childAt(0)), -1).weight, 900);
    SetGlobalFontWeightAdjustment(0);
}

TEST_F(ComputedStyle, Inheritance) {
    ldomNode* div =
        Build("<div class='outer'><p>plain</p><p class='mono'>code</p></div>",
              ".outer { text-align: right; text-indent: 2em; margin-left: 10px; color: #336699;"
              " width: 50%; font-family: \"Liberation Serif\", serif; page-break-after: always }"
              ".mono { font-family: monospace }");
    KsRef<CssStyleRecord> outer = styles().getStyle(div);
    KsRef<CssStyleRecord> plain = StyleAt(div, 0);
    KsRef<CssStyleRecord> mono = StyleAt(div, 1);
    ASSERT_TRUE(outer && plain && mono);
    EXPECT_EQ(plain->textAlign, CssTextAlign::Right);
    EXPECT_EQ(plain->textIndent, (CssValue{CssValueType::Em, 512}));
    EXPECT_EQ(plain->color, (CssValue{CssValueType::Color, 0x336699}));
    EXPECT_EQ(plain->pageBreakAfter, CssPageBreak::Auto);  // declared, not inherited
    EXPECT_EQ(plain->marginLeft, (CssValue{CssValueType::Px, 0}));
    EXPECT_EQ(plain->width.type, CssValueType::Unspecified);
    EXPECT_EQ(plain->fontFamily, CssFontFamily::Serif);
    EXPECT_EQ(plain->fontName, "\"Liberation Serif\"");
    // A family of its own: the parent's names do not come along.
    EXPECT_EQ(mono->fontFamily, CssFontFamily::Monospace);
    EXPECT_TRUE(mono->fontName.Empty());
    EXPECT_EQ(styles().getFont(div->childAt(1))->getTypeFace(), "DejaVu Sans Mono");
    EXPECT_EQ(styles().getFont(div->childAt(0))->getTypeFace(), "DejaVu Serif");
    // The top level inherits from the default style.
    EXPECT_EQ(outer->lineHeight, (CssValue{CssValueType::Percent, 100}));
    EXPECT_EQ(outer->fontSize, (CssValue{CssValueType::Px, kBaseSize}));
}

TEST_F(ComputedStyle, InternalStylesCanBeSwitchedOff) {
    styles().setDocFlags(0);
    CapturedLog log;
    ldomNode* p = Build("<p style='text-align: right'>x</p>");
    EXPECT_EQ(styles().getStyle(p)->textAlign, CssTextAlign::Left);
    EXPECT_EQ(log.count("applyDocumentStyleSheet() : DOC_FLAG_ENABLE_INTERNAL_STYLES is disabled"),
              1);
    styles().setDocFlags(DOC_FLAG_ENABLE_INTERNAL_STYLES);
    EXPECT_FALSE(styles().checkRenderContext());
    EXPECT_TRUE(styles().updateStyles());
    EXPECT_EQ(styles().getStyle(p)->textAlign, CssTextAlign::Right);
}

TEST_F(ComputedStyle, CachesShareEqualStyles) {
    ldomNode* body = Build("<body><p>a</p><p>b</p><p class='brk'>c</p></body>",
                           ".brk { page-break-after: always }");
    ldomElementStyleRef a = body->childAt(0)->styleRef();
    ldomElementStyleRef b = body->childAt(1)->styleRef();
    ldomElementStyleRef c = body->childAt(2)->styleRef();
    EXPECT_NE(a.styleIndex, 0);
    EXPECT_EQ(a.styleIndex, b.styleIndex);
    EXPECT_NE(a.styleIndex, c.styleIndex);  // differ only in page-break-after
    EXPECT_EQ(a.fontIndex, b.fontIndex);
    EXPECT_EQ(a.fontIndex, c.fontIndex);
    const int stylesBefore = doc_->cachedStyleCount();
    EXPECT_GE(stylesBefore, 2);  // what root, body and p share; p.brk
    body->childAt(2)->destroy();
    EXPECT_EQ(doc_->cachedStyleCount(), stylesBefore - 1);
    EXPECT_GE(doc_->cachedFontCount(), 1);
}

struct Shape {
    const char* markup;
    const char* expected;  // children of the first element: name=method ...
};

std::string Methods(ldomNode* element) {
    std::string out = std::to_string(int(element->renderMethod())) + ":";
    for (int i = 0; i < element->childCount(); ++i) {
        ldomNode* child = element->childAt(i);
        if (child->isText()) {
            out += " '" + std::string(child->text8().CStr()) + "'";
            continue;
        }
        out +=
            " " + std::string(U8(child->name())) + "=" + std::to_string(int(child->renderMethod()));
        if (child->nameId() == 1) out += "[" + DumpChildren(child) + "]";
    }
    return out;
}

TEST_F(ComputedStyle, RenderMethods) {
    // 0 invisible, 1 block, 2 final, 3 inline, 5 list item, 6 table, 7 row group, 10 row,
    // 13 cell, 14 caption, 15 run-in
    const Shape cases[] = {
        {"<div>text</div>", "2: 'text'"},
        {"<div><p>a</p><p>b</p></div>", "1: p=2 p=2"},
        {"<div></div>", "1:"},
        {"<div>text <em>em</em></div>", "2: 'text ' em=3"},
        {"<div> lead <p>para</p> tail <em>x</em> </div>",
         "1: autoBoxing=2[ lead ] p=2 autoBoxing=2[ tail <em>x</em>]"},
        {"<div> <p>a</p> \n <p>b</p> </div>", "1: p=2 p=2"},
        {"<p><img/></p>", "2: img=3"},
        {"<div><p style='display:none'>gone <em>x</em></p>text</div>", "2: p=0 'text'"},
        {"<table><td>cell</td></table>", "6: td=0"},
        {"<table><caption>c</caption><tbody><tr><td>x</td></tr></tbody><tr><td>y</td></tr>"
         "</table>",
         "6: caption=14 tbody=7 tr=10"},
        {"<div><li style='display:list-item'>item</li></div>", "1: li=5"},
        {"<div><h1 style='display:run-in'>Head</h1><p>text</p><p>more</p></div>",
         "1: autoBoxing=2[<h1 style=\"display:run-in\">Head</h1><p>text</p>] p=2"},
        {"<pre> <p>a</p> </pre>", "1: autoBoxing=2[ ] p=2 autoBoxing=2[ ]"},
    };
    std::string markup;
    for (const auto& c : cases)
        markup += c.markup;
    Build(markup);
    ASSERT_EQ(root()->childCount(), int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(Methods(root()->childAt(i)), cases[i].expected) << cases[i].markup;
    EXPECT_EQ(root()->renderMethod(), RenderMethod::Block);
    // Inside the table: the row's cell.
    ldomNode* table = root()->childAt(9);
    EXPECT_EQ(table->childAt(1)->childAt(0)->childAt(0)->renderMethod(), RenderMethod::TableCell);
    EXPECT_EQ(doc_->checkInvariants(), "");
}

TEST_F(ComputedStyle, RenderContext) {
    Build("<body><p>a</p></body>");
    EXPECT_TRUE(styles().checkRenderContext());
    EXPECT_FALSE(styles().updateStyles());  // nothing changed
    EXPECT_FALSE(styles().setRenderProps(600, 800, defaultFont_, 100, nullptr));
    EXPECT_TRUE(styles().setRenderProps(601, 800, defaultFont_, 100, nullptr));
    {
        CapturedLog log;
        EXPECT_FALSE(styles().checkRenderContext());
        EXPECT_EQ(log.count("checkRenderContext: Width doesn't match"), 1);
    }
    EXPECT_TRUE(styles().updateStyles());
    EXPECT_TRUE(styles().checkRenderContext());
    // A new default font changes the styles.
    KsRef<KsFont> larger = fonts_->GetFont(24, 400, false, 2, "DejaVu Sans");
    EXPECT_TRUE(styles().setRenderProps(601, 800, larger, 100, nullptr));
    EXPECT_FALSE(styles().checkRenderContext());
    // Sizes below 1 count as 1.
    EXPECT_TRUE(styles().setRenderProps(0, -5, larger, 100, nullptr));
    EXPECT_TRUE(styles().updateStyles());
    EXPECT_EQ(styles().renderContext().width, 1);
    EXPECT_EQ(styles().renderContext().height, 1);
}

TEST_F(ComputedStyle, FragmentAndDocumentStylesheets) {
    ldomNode* book = Build(
        "<FictionBook><stylesheet>p { text-align: center }</stylesheet><body><p>x</p></body>"
        "</FictionBook>");
    ldomNode* p = book->childAt(1)->childAt(0);
    EXPECT_EQ(styles().getStyle(p)->textAlign, CssTextAlign::Center);
    EXPECT_EQ(styles().getStyle(book->childAt(0))->display, CssDisplay::None);
    // The document stylesheet was restored after styling.
    EXPECT_TRUE(doc_->getStyleSheet().empty());
    EXPECT_EQ(styles().styleSheetStackDepth(), 0);
}

}  // namespace
