// Merging the HTML files of a book into one document: fragments, prefixed ids and links, the
// collected stylesheets.
#include <gtest/gtest.h>

#include <string>

#include "engine/dom/ldomDocumentFragmentWriter.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsHTMLParser.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class MergedBook {
public:
    MergedBook()
        : doc_(MakeTestDocument()),
          writer_(doc_.get()),
          fragments_(&writer_, U16("body"), U16("DocFragment"), string16()) {
        writer_.OnStart(nullptr);
        writer_.OnTagOpen(u"", u"body");
        writer_.OnTagBody();
    }
    void addPrefix(const char* path, const char* prefix) {
        fragments_.addPathPrefix(U16(path), U16(prefix));
    }
    void addFile(const char* path, const std::string& html) {
        fragments_.setCodeBase(U16(path));
        KsHTMLParser parser(
            CreateMemoryStream(html.data(), html.size(), MemoryCopy::Copy, KS_MODE_READ),
            &fragments_);
        ASSERT_TRUE(parser.CheckFormat()) << path;
        parser.Parse();
    }
    std::string finish() {
        writer_.OnTagClose(u"", u"body");
        writer_.OnStop();
        return TreeText(doc_->getRootNode()->childAt(0));
    }
    ldomDocument& document() { return *doc_; }
    ldomDocumentFragmentWriter& fragments() { return fragments_; }

private:
    std::unique_ptr<ldomDocument> doc_;
    ldomDocumentWriter writer_;
    ldomDocumentFragmentWriter fragments_;
};

TEST(FragmentWriter, MergesFilesWithPrefixesAndStylesheets) {
    MergedBook book;
    book.addPrefix("OEBPS/ch1.html", "_doc_fragment_0");
    book.addPrefix("OEBPS/ch2.html", "_doc_fragment_1");
    book.addFile("OEBPS/ch1.html",
                 "<html><head><title>One</title>"
                 "<link rel='stylesheet' type='text/css' href='css/main.css'/>"
                 "<link href='css/extra.css' rel='stylesheet' type='text/css'/>"
                 "<style>p { color: red }</style></head>"
                 "<body class='c'><p id='sec'>A <a href='ch2.html#sec'>next</a>, <a "
                 "href='#sec'>self</a>, <a href='http://x.org/a#b'>web</a>, <a "
                 "href='ch2.html'>top</a>, <a href='other.html#z'>out</a></p></body></html>");
    book.addFile("OEBPS/ch2.html",
                 "<html><head></head><body><p id='sec'>B</p><a name='n'/></body></html>");
    EXPECT_EQ(book.finish(),
              "<body>\n"
              "  <DocFragment StyleSheet=\"OEBPS/css/main.css\" id=\"_doc_fragment_0\">\n"
              "    <stylesheet href=\"OEBPS/\">@import url(\"css/extra.css\");&#10;p { color: red "
              "}</stylesheet>\n"
              "    <body class=\"c\">\n"
              "      <p id=\"_doc_fragment_0_sec\">\n"
              "        \"A \"\n"
              "        <a href=\"#_doc_fragment_1_sec\">next</a>\n"
              "        \", \"\n"
              "        <a href=\"#_doc_fragment_0_sec\">self</a>\n"
              "        \", \"\n"
              "        <a href=\"http://x.org/a#b\">web</a>\n"
              "        \", \"\n"
              "        <a href=\"#_doc_fragment_1\">top</a>\n"
              "        \", \"\n"
              "        <a href=\"other.html#z\">out</a>\n"
              "      </p>\n"
              "    </body>\n"
              "  </DocFragment>\n"
              "  <DocFragment id=\"_doc_fragment_1\">\n"
              "    <body>\n"
              "      <p id=\"_doc_fragment_1_sec\">B</p>\n"
              "      <a name=\"_doc_fragment_1_n\"/>\n"
              "    </body>\n"
              "  </DocFragment>\n"
              "</body>\n");
    // The link and its target meet.
    EXPECT_NE(book.document().getNodeById(U16("_doc_fragment_1_sec")), nullptr);
}

TEST(FragmentWriter, ConvertsLinksOfFilesAtTheTopOfTheBook) {
    MergedBook book;
    book.addPrefix("ch1.html", "f0");
    book.addPrefix("ch2.html", "f1");
    book.fragments().setCodeBase(U16("ch1.html"));
    EXPECT_EQ(U8(book.fragments().convertHref(U16("ch2.html#sec"))), "#f1_sec");
    EXPECT_EQ(U8(book.fragments().convertHref(U16("#sec"))), "#f0_sec");
    EXPECT_EQ(U8(book.fragments().convertId(U16("sec"))), "f0_sec");
    book.fragments().setCodeBase(U16("unknown.html"));
    EXPECT_EQ(U8(book.fragments().convertHref(U16("#sec"))), "#sec");
    EXPECT_EQ(U8(book.fragments().convertId(U16("sec"))), "sec");
    book.finish();
}

TEST(FragmentWriter, NoWrapperForwardsTheContentOnly) {
    auto doc = MakeTestDocument();
    ldomDocumentWriter writer(doc.get());
    writer.OnStart(nullptr);
    ldomDocumentFragmentWriter fragments(&writer, U16("body"), string16(), string16());
    fragments.setCodeBase(U16("a.html"));
    std::string html = "<html><head><title>x</title></head><body><p>text</p></body></html>";
    KsHTMLParser parser(
        CreateMemoryStream(html.data(), html.size(), MemoryCopy::Copy, KS_MODE_READ), &fragments);
    ASSERT_TRUE(parser.CheckFormat());
    parser.Parse();
    writer.OnStop();
    EXPECT_EQ(TreeText(doc->getRootNode()->childAt(0)), "<p>text</p>\n");
}

}  // namespace
