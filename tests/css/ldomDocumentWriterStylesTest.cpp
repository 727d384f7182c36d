// Writers given the document's styles: the styles and render methods they leave on the tree are
// those a full style pass computes afterwards, and the book's own stylesheets take effect.
#include "engine/css/ldomDocumentWriterStyles.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/FontTestSupport.h"
#include "tests/support/InMemoryContainer.h"
#include "tests/support/TestSupport.h"

namespace {

class WriterStyles : public ::testing::Test {
protected:
    WriterStyles() : fonts_({"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf"}) {
        font_ = fonts_->GetFont(20, 400, false, 2, "DejaVu Sans");
    }

    std::unique_ptr<ldomDocument> NewDocument(KsRef<KsContainer> container = {}) {
        auto doc = MakeTestDocument();
        EXPECT_TRUE(doc->styles().setRenderProps(600, 800, font_, 100, nullptr));
        EXPECT_TRUE(ldomDocumentWriterStyles::available(*doc));
        if (container) doc->setContainer(std::move(container));
        return doc;
    }

    static void Import(ldomDocument& doc, const std::string& text, MarkupFormat format,
                       ldomWriterStyles* styles) {
        KsRef<KsStream> stream =
            CreateMemoryStream(text.data(), text.size(), MemoryCopy::Copy, KS_MODE_READ);
        ASSERT_EQ(ImportMarkupDocument(stream, doc, format, styles), format);
    }

    // Every element in document order: name, render method and style hash.
    static std::string StyleShape(ldomDocument& doc) {
        std::string out;
        ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
        while (cursor.nextNode()) {
            ldomNode* node = cursor.getNode();
            if (!node->isElement()) continue;
            KsRef<CssStyleRecord> style = doc.styles().getStyle(node);
            out += std::string(U8(node->name())) + ":" + std::to_string(int(node->renderMethod())) +
                   ":" + (style ? std::to_string(style->hash()) : std::string("none")) + " ";
        }
        return out;
    }

    static ldomNode* FirstElement(ldomDocument& doc, const char* name) {
        ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
        while (cursor.nextNode())
            if (cursor.getNode()->isNodeName(name)) return cursor.getNode();
        return nullptr;
    }

    ScopedFontManager fonts_;
    KsRef<KsFont> font_;
};

struct ShapeCase {
    const char* name;
    const char* text;
    MarkupFormat format;
};

TEST_F(WriterStyles, StylesWhileWritingEqualAFullStylePass) {
    const ShapeCase cases[] = {
        {"html",
         "<html><body><div> lead <p align=center>para</p> tail <em>x</em></div>"
         "<p style='display:none'>gone</p><table><tr><td>cell<td>two</table>"
         "<ul><li>one<li>two</ul></body></html>",
         MarkupFormat::Html},
        {"fb2",
         "<?xml version=\"1.0\"?><FictionBook><stylesheet>p { text-align: right }"
         "</stylesheet><body><section><title><p>T</p></title><p>text <emphasis>e"
         "</emphasis></p></section></body></FictionBook>",
         MarkupFormat::Fb2},
    };
    for (const ShapeCase& c : cases) {
        auto written = NewDocument();
        ldomDocumentWriterStyles styles(*written);
        Import(*written, c.text, c.format, &styles);

        auto bare = NewDocument();
        Import(*bare, c.text, c.format, nullptr);
        ASSERT_TRUE(bare->styles().updateStyles()) << c.name;

        EXPECT_EQ(StyleShape(*written), StyleShape(*bare)) << c.name;
        EXPECT_EQ(written->styles().styleSheetStackDepth(), 0) << c.name;
        EXPECT_EQ(written->checkInvariants(), "") << c.name;
    }
}

TEST_F(WriterStyles, Fb2StyleSheetAppliesToTheBody) {
    auto doc = NewDocument();
    ldomDocumentWriterStyles styles(*doc);
    Import(*doc,
           "<?xml version=\"1.0\"?><FictionBook><stylesheet>p { text-align: center }"
           "</stylesheet><body><p>x</p></body></FictionBook>",
           MarkupFormat::Fb2, &styles);
    ldomNode* p = FirstElement(*doc, "p");
    ASSERT_TRUE(p);
    EXPECT_EQ(doc->styles().getStyle(p)->textAlign, CssTextAlign::Center);
    EXPECT_EQ(doc->styles().styleSheetStackDepth(), 0);
}

TEST_F(WriterStyles, LinkedStyleSheetOfAnHtmlHeadIsRead) {
    KsRef<InMemoryContainer> files(new InMemoryContainer());
    files->AddFile(string16("book.css"), "p { text-align: right }");
    auto doc = NewDocument(files);
    ldomDocumentWriterStyles styles(*doc);
    Import(*doc,
           "<html><head><link rel=stylesheet type=text/css href=book.css></head>"
           "<body><p>x</p></body></html>",
           MarkupFormat::Html, &styles);
    ldomNode* p = FirstElement(*doc, "p");
    ASSERT_TRUE(p);
    EXPECT_EQ(doc->styles().getStyle(p)->textAlign, CssTextAlign::Right);
}

TEST_F(WriterStyles, InternalStylesSwitchedOffIgnoreAlignAndStyleAttributes) {
    auto doc = NewDocument();
    doc->styles().setDocFlags(doc->styles().getDocFlags() & ~DOC_FLAG_ENABLE_INTERNAL_STYLES);
    ldomDocumentWriterStyles styles(*doc);
    Import(*doc, "<html><body><p align=center>x</p></body></html>", MarkupFormat::Html, &styles);
    EXPECT_EQ(TreeText(doc->getRootNode()).find("text-align"), std::string::npos)
        << TreeText(doc->getRootNode());
}

TEST_F(WriterStyles, UnclosedTagsOfAHugeBookAreStyledAtTheCappedDepth) {
    std::string page = "<html><body>";
    for (int i = 0; i < 100000; ++i)
        page += "<div><b>";
    page += "deep</body></html>";
    auto doc = NewDocument();
    {
        ldomDocumentWriterStyles styles(*doc);
        Import(*doc, page, MarkupFormat::Html, &styles);
    }
    ldomNode* deep = doc->getRootNode()->lastTextDescendant();
    ASSERT_TRUE(deep);
    EXPECT_EQ(U8(deep->text()), "deep");
    EXPECT_TRUE(doc->styles().getStyle(deep->parent()));
    EXPECT_NE(deep->parent()->renderMethod(), RenderMethod::Invisible);
    // A full style pass over the capped tree.
    EXPECT_TRUE(doc->styles().setRenderProps(500, 800, font_, 100, nullptr));
    EXPECT_TRUE(doc->styles().updateStyles());
    EXPECT_EQ(doc->checkInvariants(), "");
}

TEST_F(WriterStyles, NotAvailableBeforeTheRenderProperties) {
    auto doc = MakeTestDocument();
    EXPECT_FALSE(ldomDocumentWriterStyles::available(*doc));
}

}  // namespace
