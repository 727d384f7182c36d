#include "engine/view/KsDocView.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomTreeDump.h"
#include "engine/view/ViewSettingsKeys.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TcrEncoder.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Prop(const KsDocView& view, const char* key) {
    string16 value;
    if (!view.getDocProps()->readText(key, value)) return "<missing>";
    return U8(value);
}

std::string Tree(const KsDocView& view) {
    return view.getDocument() ? DumpDocumentTree(*view.getDocument()).CStr() : "<no document>";
}

// Writes `bytes` as `name` in a fresh folder and loads it into a fresh view.
struct LoadedFile {
    TempDir dir;
    KsRef<KsDocView> view = MakeRef<KsDocView>();
    bool loaded = false;

    LoadedFile(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(WriteFileBytes(dir.file(name), bytes));
        loaded = view->LoadDocument(U16(dir.file(name).c_str()));
    }
};

const char kFb2[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\"><description><title-info>"
    "<author><first-name>Alexander</first-name><middle-name>Sergeyevich</middle-name>"
    "<last-name>Pushkin</last-name></author><author><first-name>Anon</first-name></author>"
    "<book-title> Eugene Onegin </book-title><lang>ru</lang>"
    "<sequence name=\"Novels in verse\" number=\"%s\"/></title-info></description>"
    "<body><section><title><p>Chapter One</p></title><p>My uncle, man of firm convictions</p>"
    "</section></body></FictionBook>\n";

std::string Fb2WithSeriesNumber(const char* number) {
    char text[sizeof kFb2 + 16];
    std::snprintf(text, sizeof text, kFb2, number);
    return text;
}

TEST(KsDocView, FailedLoadsShowTheirMessageDocument) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* title;
    };
    const Case cases[] = {
        {"four bytes", "abcd", "ERROR: Wrong document size"},
        {"binary",
         std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x00\x00\x0e\x0f", 12) +
             std::string(200, '\x01'),
         "ERROR: Unknown document format"},
        // Recognised, so never shown as plain text, but there is no RTF reader yet.
        {"rtf", "{\\rtf1\\ansi Hello, world.\\par}", "ERROR: Bad document format"},
    };
    for (const Case& c : cases) {
        LoadedFile file("book.bin", c.bytes);
        EXPECT_FALSE(file.loaded) << c.what;
        EXPECT_EQ(Prop(*file.view, "doc.title"), c.title) << c.what;
        const std::string tree = Tree(*file.view);
        EXPECT_NE(tree.find(std::string("<p>") + c.title + "</p>"), std::string::npos) << tree;
        EXPECT_NE(tree.find("<p>Cannot open document</p>"), std::string::npos) << tree;
        EXPECT_FALSE(file.view->getShowCover());
    }
}

TEST(KsDocView, MessageDocumentIsASmallFictionBook) {
    KsRef<KsDocView> view = MakeRef<KsDocView>();
    view->makeMessageDocument(U16("Title & more"), U16("The message"));
    EXPECT_EQ(Tree(*view),
              "<?xml version=\"1.0\" encoding=\"utf-8\"/>\n"
              "<FictionBook>\n"
              "  <description>\n"
              "    <title-info>\n"
              "      <book-title>\n"
              "        <lang>Title &amp; more</lang>\n"
              "      </book-title>\n"
              "    </title-info>\n"
              "  </description>\n"
              "  <body>\n"
              "    <title>\n"
              "      <p>Title &amp; more</p>\n"
              "    </title>\n"
              "    <p>The message</p>\n"
              "  </body>\n"
              "</FictionBook>\n");
    EXPECT_EQ(view->getDocProps()->count(), 1);
    EXPECT_EQ(Prop(*view, "doc.title"), "Title & more");

    view->makeMessageDocument(string16(), U16("Only this"));
    EXPECT_EQ(Tree(*view).find("<title>"), std::string::npos);
}

TEST(KsDocView, FictionBookGivesItsMetadata) {
    struct Case {
        const char* number;
        const char* series;
    };
    for (const Case& c : {Case{"3", "3"}, Case{"0", ""}, Case{"x", ""}}) {
        LoadedFile file("onegin.fb2", Fb2WithSeriesNumber(c.number));
        ASSERT_TRUE(file.loaded);
        EXPECT_EQ(Prop(*file.view, "doc.file.format"), "FictionBook (FB2)");
        EXPECT_EQ(Prop(*file.view, "doc.file.format.id"), "1");
        EXPECT_EQ(Prop(*file.view, "doc.title"), "Eugene Onegin");
        EXPECT_EQ(Prop(*file.view, "doc.authors"), "Alexander S. Pushkin, Anon");
        EXPECT_EQ(Prop(*file.view, "doc.language"), "ru");
        EXPECT_EQ(Prop(*file.view, "doc.series.name"), "Novels in verse");
        EXPECT_EQ(Prop(*file.view, "doc.series.number"), c.series) << c.number;
    }
}

TEST(KsDocView, FileProperties) {
    const std::string bytes = Fb2WithSeriesNumber("1");
    LoadedFile file("onegin.fb2", bytes);
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(Prop(*file.view, "doc.file.name"), "onegin.fb2");
    EXPECT_EQ(Prop(*file.view, "doc.file.path"), file.dir.path() + "/");
    EXPECT_EQ(Prop(*file.view, "doc.file.size"), std::to_string(bytes.size()));
    uint32_t crc = 0;
    ASSERT_EQ(MemoryStreamOf(bytes)->ComputeCrc32(&crc), KS_OK);
    char crcText[16];
    std::snprintf(crcText, sizeof crcText, "0x%08X", crc);
    EXPECT_EQ(Prop(*file.view, "doc.file.crc32"), crcText);
    EXPECT_EQ(U8(file.view->getFileName()), file.dir.file("onegin.fb2"));
    EXPECT_EQ(file.view->getFileSize(), int(bytes.size()));
}

TEST(KsDocView, BareFileNameIsInTheWorkingFolder) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("onegin.fb2"), Fb2WithSeriesNumber("1")));
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    KsRef<KsDocView> view = MakeRef<KsDocView>();
    const bool loaded = view->LoadDocument(U16("onegin.fb2"));
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(Prop(*view, "doc.file.path"), "");
    EXPECT_EQ(Prop(*view, "doc.title"), "Eugene Onegin");
}

TEST(KsDocView, HtmlTitleComesFirst) {
    struct Case {
        const char* what;
        const char* markup;
        const char* title;
        const char* formatId;
    };
    const Case cases[] = {
        {"html with title",
         "<html><head><title>  A   Study\n in Scarlet </title></head><body><p>Text of the "
         "book.</p></body></html>",
         "A Study in Scarlet", "5"},
        {"html without title", "<html><head></head><body><p>Text of the book.</p></body></html>",
         "", "5"},
        // XHTML is read as XML, but it is a web page and keeps its page title.
        {"xhtml",
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<html "
         "xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>Wasteland</title></head><body>"
         "<p>April is the cruellest month</p></body></html>",
         "Wasteland", "5"},
    };
    for (const Case& c : cases) {
        LoadedFile file("page.html", c.markup);
        ASSERT_TRUE(file.loaded) << c.what;
        EXPECT_EQ(Prop(*file.view, "doc.title"), c.title) << c.what;
        EXPECT_EQ(Prop(*file.view, "doc.file.format.id"), c.formatId) << c.what;
        EXPECT_EQ(Prop(*file.view, "doc.authors"), c.title[0] ? "<missing>" : "") << c.what;
    }
}

TEST(KsDocView, ShortTextsNeedMoreThanSixteenCharacters) {
    // The plain-text check wants more than 16 characters before it calls anything text.
    LoadedFile tiny("hello.txt", "hello");
    EXPECT_FALSE(tiny.loaded);
    EXPECT_EQ(Prop(*tiny.view, "doc.title"), "ERROR: Unknown document format");

    LoadedFile file("hello.txt", "hello, small world");
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(Prop(*file.view, "doc.file.format"), "Plain text (TXT)");
    EXPECT_EQ(Prop(*file.view, "doc.file.format.id"), "2");
    EXPECT_NE(Tree(*file.view).find("hello"), std::string::npos) << Tree(*file.view);
}

TEST(KsDocView, TcrTextIsParsedDecompressed) {
    const std::string html =
        "<html><head><title>Packed</title></head><body><p>Some packed words.</p></body></html>";
    LoadedFile file("book.tcr", TcrEncode(html));
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(Prop(*file.view, "doc.file.format.id"), "5");
    EXPECT_EQ(Prop(*file.view, "doc.title"), "Packed");
    EXPECT_NE(Tree(*file.view).find("Some packed words."), std::string::npos);
}

TEST(KsDocView, CacheIsAskedOnlyForLargeStreams) {
    for (size_t size : {size_t(65536), size_t(65537)}) {
        std::string html = "<html><body><p>x</p></body></html>";
        html += std::string(size - html.size(), ' ');
        CapturedLog log;
        LoadedFile file("big.html", html);
        ASSERT_TRUE(file.loaded);
        const int expected = size > 65536 ? 1 : 0;
        EXPECT_EQ(log.count("Check whether document big.html crc"), expected) << size;
        EXPECT_EQ(log.count("Cannot get document from cache, parsing..."), expected) << size;
    }
}

TEST(KsDocView, PathFailuresOnlyLog) {
    struct Case {
        const char* path;
        const char* logLine;
    };
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("not-an-archive.zip"), "plain text, not a zip"));
    const std::string missing = dir.file("missing.zip") + "@/book.fb2";
    const std::string notZip = dir.file("not-an-archive.zip") + "@/book.fb2";
    const std::string missingFile = dir.file("missing.fb2");
    const Case cases[] = {
        {missing.c_str(), "Cannot open archive file"},
        {notZip.c_str(), "Cannot read archive contents from"},
        {missingFile.c_str(), "Cannot open file"},
    };
    for (const Case& c : cases) {
        CapturedLog log;
        KsRef<KsDocView> view = MakeRef<KsDocView>();
        EXPECT_FALSE(view->LoadDocument(U16(c.path)));
        EXPECT_EQ(log.count(c.logLine), 1) << c.path;
        EXPECT_EQ(view->getDocument(), nullptr) << c.path;
        EXPECT_TRUE(view->getFileName().Empty());
    }
}

TEST(KsDocView, EmptyPathKeepsTheDocumentAndReloadUsesItsOwnName) {
    LoadedFile file("onegin.fb2", Fb2WithSeriesNumber("1"));
    ASSERT_TRUE(file.loaded);
    EXPECT_FALSE(file.view->LoadDocument(string16()));
    ASSERT_NE(file.view->getDocument(), nullptr);
    EXPECT_EQ(Prop(*file.view, "doc.title"), "Eugene Onegin");

    // The view's own file name is emptied while the old document closes.
    const string16& ownName = file.view->getFileName();
    EXPECT_TRUE(file.view->LoadDocument(ownName));
    EXPECT_EQ(U8(file.view->getFileName()), file.dir.file("onegin.fb2"));
    EXPECT_EQ(Prop(*file.view, "doc.title"), "Eugene Onegin");
}

TEST(KsDocView, LoadLogsTheTextModeOfTheSettings) {
    LoadedFile file("onegin.fb2", Fb2WithSeriesNumber("1"));
    file.view->getSettings()->writeInt(PROP_TXT_OPTION_PREFORMATTED, 1);
    CapturedLog log;
    EXPECT_TRUE(file.view->LoadDocument(U16(file.dir.file("onegin.fb2").c_str())));
    EXPECT_EQ(log.count("textMode=pre"), 1);
}

TEST(KsDocView, NewDocumentTakesItsFlagsFromTheSettings) {
    struct Case {
        int preformatted, footnotes, styles, fonts, condensing;
        uint32_t flags;
        int condensingResult;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 50,
         DOC_FLAG_ENABLE_INTERNAL_STYLES | DOC_FLAG_ENABLE_FOOTNOTES | DOC_FLAG_ENABLE_DOC_FONTS,
         50},
        {1, 0, 0, 0, 80, DOC_FLAG_PREFORMATTED_TEXT, 80},
    };
    for (const Case& c : cases) {
        KsRef<KsDocView> view = MakeRef<KsDocView>();
        TnPropContainer& s = *view->getSettings();
        s.writeInt(PROP_TXT_OPTION_PREFORMATTED, c.preformatted);
        s.writeInt(PROP_FOOTNOTES, c.footnotes);
        s.writeInt(PROP_EMBEDDED_STYLES, c.styles);
        s.writeInt(PROP_EMBEDDED_FONTS, c.fonts);
        s.writeInt(PROP_FORMAT_SPACE_CONDENSING_PERCENT, c.condensing);
        view->newDocument();
        ASSERT_NE(view->getDocument(), nullptr);
        EXPECT_EQ(view->getDocument()->styles().getDocFlags(), c.flags);
        EXPECT_EQ(view->getDocument()->styles().spaceCondensingPercent(), c.condensingResult);
        EXPECT_EQ(view->getDocument()->getProps(), view->getDocProps());
    }
}

TEST(KsDocView, FormatIdsAndNames) {
    KsRef<KsDocView> view = MakeRef<KsDocView>();
    const std::pair<int, const char*> cases[] = {
        {0, "Unknown format"},
        {1, "FictionBook (FB2)"},
        {2, "Plain text (TXT)"},
        {3, "Rich text (RTF)"},
        {4, "EPUB"},
        {5, "HTML"},
        {6, "TNV TXT Bookmark"},
        {7, "CHM"},
        {8, "DOC"},
        {9, "Unknown format"},
        {-1, "Unknown format"},
    };
    for (const auto& [id, name] : cases) {
        view->setFormatId(id);
        EXPECT_EQ(view->getFormatId(), id);
        EXPECT_EQ(Prop(*view, "doc.file.format"), name);
        EXPECT_EQ(Prop(*view, "doc.file.format.id"), std::to_string(id));
    }
}

TEST(KsDocView, CloseDocumentEmptiesTheView) {
    LoadedFile file("onegin.fb2", Fb2WithSeriesNumber("1"));
    ASSERT_TRUE(file.loaded);
    file.view->closeDocument();
    EXPECT_EQ(file.view->getDocument(), nullptr);
    EXPECT_EQ(file.view->getDocProps()->count(), 0);
    EXPECT_TRUE(file.view->getFileName().Empty());
    EXPECT_EQ(file.view->getContainer(), nullptr);
    // Everything that works on the document copes with its absence.
    file.view->applyStyleSheet();
    file.view->updateLayoutParams(0, 0);
    file.view->invalidateLayout();
    EXPECT_FALSE(file.view->parseStream());
}

}  // namespace
