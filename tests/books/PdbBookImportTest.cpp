#include "engine/books/PdbBookImport.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/books/PDBFile.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomXRange.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

KsRef<KsStream> StreamOf(const std::string& bytes) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy,
                              KS_MODE_READ);
}

std::string DocumentText(ldomDocument& doc) {
    return U8(ldomXRange::ofNode(doc.getRootNode()).getRangeText('\n'));
}

std::string Property(ldomDocument& doc, const char* key) {
    return U8(doc.getProps()->readTextOr(key, ""));
}

std::string HtmlBook(const std::string& body) {
    return "<html><head></head><body>" + body + "</body></html>";
}

struct Loaded {
    std::unique_ptr<ldomDocument> doc = MakeTestDocument();
    KsRef<KsStream> stream;
    PdbContentKind kind = PDB_CONTENT_PML;
    bool ok = false;
};

Loaded Load(const std::string& file) {
    Loaded loaded;
    loaded.stream = StreamOf(file);
    loaded.ok = LoadPdbBook(loaded.stream, *loaded.doc, nullptr, &loaded.kind);
    return loaded;
}

// "“Quoted”" in windows-1252 and in UTF-8.
const std::string kQuoted1252 = "\x93Quoted\x94";
const std::string kQuotedUtf8 = "\xe2\x80\x9cQuoted\xe2\x80\x9d";

struct EncodingCase {
    const char* name;
    PdbBookKind kind;
    uint32_t textEncoding;
    std::string quote;        // as stored in the book
    std::string expected;     // as the document shows it
    bool quoteFirst = false;  // before the ASCII text rather than after it
};

class MobiTextEncoding : public testing::TestWithParam<EncodingCase> {};

// With the quote after 20 KB of plain ASCII, a UTF-8 probe of the first 16 KiB cannot tell the
// books apart: the header's encoding must decide.
TEST_P(MobiTextEncoding, HeaderDecidesBeforeAnyProbe) {
    const EncodingCase& c = GetParam();
    std::string ascii;
    while (ascii.size() < 20000)
        ascii += "<p>All work and no play makes a dull book.</p>\n";
    PdbBookRecipe recipe;
    recipe.kind = c.kind;
    recipe.textEncoding = c.textEncoding;
    const std::string quote = "<p>" + c.quote + "</p>";
    recipe.text = HtmlBook(c.quoteFirst ? quote + ascii : ascii + quote);
    Loaded loaded = Load(WritePdbBook(recipe));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.kind, PDB_CONTENT_HTML);
    const std::string text = DocumentText(*loaded.doc);
    ASSERT_GE(text.size(), 7u);
    EXPECT_NE(text.find(c.expected), std::string::npos) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MobiTextEncoding,
    testing::Values(
        EncodingCase{"cp1252", PdbBookKind::Mobi, 1252, kQuoted1252, kQuotedUtf8},
        EncodingCase{"utf8", PdbBookKind::Mobi, 65001, kQuotedUtf8, kQuotedUtf8},
        // A value the engine does not know: UTF-8 text is found by the probe...
        EncodingCase{"unknownUtf8", PdbBookKind::Mobi, 1200, kQuotedUtf8, kQuotedUtf8},
        // ...and other text is left to the parser's detection, which reads it as windows-1252.
        EncodingCase{"unknown1252", PdbBookKind::Mobi, 1200, kQuoted1252, kQuotedUtf8, true},
        // PalmDOC has no encoding field: the parser's detection reads the whole sample.
        EncodingCase{"palmDoc1252", PdbBookKind::PalmDoc, 0, kQuoted1252, kQuotedUtf8},
        EncodingCase{"palmDocUtf8", PdbBookKind::PalmDoc, 0, kQuotedUtf8, kQuotedUtf8}),
    [](const testing::TestParamInfo<EncodingCase>& param) { return param.param.name; });

TEST(LoadPdbBook, MobiUtf8WithoutAMarkIsReadAsUtf8) {
    PdbBookRecipe recipe;
    recipe.textEncoding = 0;
    recipe.text = HtmlBook("<p>Caf\xc3\xa9 " + kQuotedUtf8 + " \xd0\x9f\xd1\x80\xd0\xb8</p>");
    Loaded loaded = Load(WritePdbBook(recipe));
    ASSERT_TRUE(loaded.ok);
    EXPECT_NE(DocumentText(*loaded.doc).find("Caf\xc3\xa9 " + kQuotedUtf8), std::string::npos);
}

TEST(LoadPdbBook, TextBecomesTheStreamAndImagesTheContainer) {
    PngFixture png;
    png.width = 5;
    png.height = 4;
    png.colorType = 0;
    png.samples.assign(20, 128);
    const std::string picture = WritePng(png);
    PdbBookRecipe recipe;
    recipe.text = HtmlBook("<p>Before the picture.</p><p><img recindex=\"00002\"/></p>");
    recipe.images = {FakeGif(100), picture};
    recipe.exth = {{100, "Lewis Carroll"}, {101, "Macmillan"}, {503, "Alice in Wonderland"}};
    Loaded loaded = Load(WritePdbBook(recipe));
    ASSERT_TRUE(loaded.ok);
    ldomDocument& doc = *loaded.doc;

    // Everything after the import reads the decoded text.
    ASSERT_TRUE(dynamic_cast<PDBFile*>(loaded.stream.Get()));
    EXPECT_EQ(loaded.stream->GetSize(), recipe.text.size());

    ASSERT_TRUE(doc.getContainer());
    KsRef<KsStream> first = doc.getContainer()->OpenStream(U16("mobi_image_0"), KS_MODE_READ);
    ASSERT_TRUE(first);
    std::string bytes(first->GetSize(), '\0');
    ks_pos_t got = 0;
    ASSERT_EQ(first->Read(bytes.data(), bytes.size(), &got), KS_OK);
    EXPECT_EQ(bytes, FakeGif(100));

    EXPECT_EQ(Property(doc, "doc.title"), "Alice in Wonderland");
    EXPECT_EQ(Property(doc, "doc.authors"), "Lewis Carroll");
    EXPECT_EQ(Property(doc, "doc.publisher"), "Macmillan");

    // recindex 2 is the second image record.
    ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
    ldomNode* img = nullptr;
    while (cursor.nextNode())
        if (cursor.getNode()->isElement() && cursor.getNode()->isNodeName("img"))
            img = cursor.getNode();
    ASSERT_TRUE(img);
    KsImageSourceRef source = doc.getNodeImageSource(img);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->GetWidth(), 5);
    EXPECT_EQ(source->GetHeight(), 4);
    CollectingCallback callback;
    EXPECT_TRUE(source->Decode(&callback));
    EXPECT_EQ(callback.image.height, 4);
}

TEST(LoadPdbBook, PalmDocHtmlGetsTheDatabaseNameAsTitle) {
    PdbBookRecipe recipe;
    recipe.kind = PdbBookKind::PalmDoc;
    recipe.databaseName = "A Palm Book";
    recipe.text = HtmlBook("<p>Caf\xc3\xa9 au lait.</p>");
    Loaded loaded = Load(WritePdbBook(recipe));
    ASSERT_TRUE(loaded.ok);
    EXPECT_EQ(loaded.kind, PDB_CONTENT_HTML);
    EXPECT_EQ(Property(*loaded.doc, "doc.title"), "A Palm Book");
    EXPECT_NE(DocumentText(*loaded.doc).find("au lait."), std::string::npos);
}

TEST(LoadPdbBook, RefusedFilesLeaveTheStreamAndTheDocument) {
    PdbBookRecipe encrypted;
    encrypted.text = HtmlBook("<p>secret</p>");
    encrypted.encryption = 2;
    const std::string files[] = {WritePdbBook(encrypted), std::string(200, 'x'),
                                 HtmlBook("<p>not a book</p>")};
    for (const std::string& file : files) {
        Loaded loaded;
        loaded.stream = StreamOf(file);
        KsStream* original = loaded.stream.Get();
        CapturedLog log;
        EXPECT_FALSE(LoadPdbBook(loaded.stream, *loaded.doc, nullptr, &loaded.kind));
        EXPECT_EQ(loaded.stream.Get(), original);
        EXPECT_EQ(loaded.kind, PDB_CONTENT_NONE);
        EXPECT_FALSE(loaded.doc->getContainer());
        EXPECT_EQ(Property(*loaded.doc, "doc.title"), "");
        EXPECT_EQ(log.count("PDB book cannot be opened"), 1);
    }
    KsRef<KsStream> none;
    auto doc = MakeTestDocument();
    EXPECT_FALSE(LoadPdbBook(none, *doc, nullptr, nullptr));
}

TEST(LoadPdbBook, EachLoadParsesTheBookAgain) {
    PdbBookRecipe recipe;
    recipe.text = HtmlBook("<p>Once.</p>");
    const std::string file = WritePdbBook(recipe);
    for (int round = 0; round < 2; ++round) {
        CapturedLog log;
        Loaded loaded = Load(file);
        ASSERT_TRUE(loaded.ok);
        EXPECT_EQ(log.count("Cannot open document from cache. Need to read fully"), 1);
        EXPECT_NE(DocumentText(*loaded.doc).find("Once."), std::string::npos);
    }
}

}  // namespace

namespace {

struct TextBookCase {
    const char* name;
    PdbBookKind kind;
    std::string text;
    PdbContentKind content;
    const char* element;  // an element the import makes
    const char* words;    // text the document shows
};

class TextBooks : public testing::TestWithParam<TextBookCase> {};

TEST_P(TextBooks, BecomeParagraphs) {
    const TextBookCase& c = GetParam();
    PdbBookRecipe recipe;
    recipe.kind = c.kind;
    recipe.text = c.text;
    recipe.databaseName = "Plain Book";
    Loaded loaded = Load(WritePdbBook(recipe));
    ASSERT_TRUE(loaded.ok) << c.name;
    EXPECT_EQ(loaded.kind, c.content);
    EXPECT_NE(DocumentText(*loaded.doc).find(c.words), std::string::npos) << c.name;
    ldomPathPosition cursor(ldomPosition(loaded.doc->getRootNode(), -1));
    int found = 0;
    while (cursor.nextNode())
        if (cursor.getNode()->isElement() && cursor.getNode()->isNodeName(c.element)) ++found;
    EXPECT_GE(found, 2) << c.name;
}

std::string PlainLines() {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "    This is line " + std::to_string(i) + " of a plain book, with words.\r\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBooks,
    testing::Values(TextBookCase{"palmDocText", PdbBookKind::PalmDoc, PlainLines(),
                                 PDB_CONTENT_TEXT, "p", "line 17 of a plain book"},
                    TextBookCase{"eReaderPml", PdbBookKind::EReader,
                                 "\\x\\bChapter One\\b\\x\n\nIt was a \\imost\\i dark night.\n\n"
                                 "\\x\\bChapter Two\\b\\x\n\nThe end came \\bsoon\\b.\n",
                                 PDB_CONTENT_PML, "section", "most dark night"}),
    [](const testing::TestParamInfo<TextBookCase>& param) { return param.param.name; });

}  // namespace
