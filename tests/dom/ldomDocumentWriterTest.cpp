// The plain document writer: FB2 trees and their table of contents (golden text), metadata,
// the header-only mode and the protocol corner cases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "engine/core/Limits.h"
#include "engine/dom/Fb2Metadata.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomTreeDump.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsXMLParser.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

std::string DataPath(const char* name) {
    return std::string(QUILLET_SOURCE_DIR) + "/tests/dom/data/" + name;
}

std::string TreeAndContents(ldomDocument& doc) {
    string8 text = DumpTreeAndContents(doc);
    return std::string(text.CStr(), size_t(text.Length()));
}

// Compares with a checked-in golden text; QUILLET_REBASELINE=1 rewrites it instead.
void ExpectGolden(const std::string& actual, const char* goldenName) {
    const std::string path = DataPath(goldenName);
    if (const char* rebase = std::getenv("QUILLET_REBASELINE"); rebase && *rebase == '1') {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    EXPECT_EQ(actual, ReadFileBytes(path))
        << "golden " << path << " (QUILLET_REBASELINE=1 rewrites it)";
}

TEST(Fb2Writer, SectionsAndContentsMatchTheGolden) {
    auto doc = ParseMarkupText(ReadFileBytes(DataPath("sections.fb2")), MarkupFormat::Fb2);
    ExpectGolden(TreeAndContents(*doc), "sections.fb2.tree");
    EXPECT_EQ(doc->checkInvariants(), "");
}

TEST(Fb2Writer, ContentsEntriesFindTheirSections) {
    auto doc = ParseMarkupText(ReadFileBytes(DataPath("sections.fb2")), MarkupFormat::Fb2);
    std::vector<KsContentsEntry*> entries;
    doc->getToc()->flatten(entries);
    ASSERT_EQ(entries.size(), 5u);
    for (KsContentsEntry* entry : entries) {
        // The path written while parsing names the same element as the position.
        ldomPosition byPath = ldomPosition::fromString(doc.get(), entry->getPath());
        ASSERT_FALSE(byPath.isNull()) << U8(entry->getPath());
        EXPECT_EQ(byPath.getNode(), entry->getPosition().getNode());
        EXPECT_TRUE(entry->getPosition().getNode()->isNodeName("section"));
    }
    EXPECT_EQ(entries[0]->getLevel(), 1);
    EXPECT_EQ(entries[2]->getLevel(), 3);
}

TEST(Fb2Writer, BookWithoutSectionsHasEmptyContents) {
    auto doc = ParseMarkupText(
        "<?xml version=\"1.0\"?><FictionBook><body><p>Only a paragraph.</p></body></FictionBook>",
        MarkupFormat::Fb2);
    std::vector<KsContentsEntry*> entries;
    doc->getToc()->flatten(entries);
    EXPECT_TRUE(entries.empty());
}

TEST(Fb2Metadata, ReadsTheDescription) {
    auto doc = ParseMarkupText(ReadFileBytes(DataPath("sections.fb2")), MarkupFormat::Fb2);
    EXPECT_EQ(U8(Fb2Title(doc.get())), "The Book of Sections");
    EXPECT_EQ(U8(Fb2Language(doc.get())), "en");
    int number = -1;
    EXPECT_EQ(U8(Fb2Series(doc.get(), &number)), "Tests");
    EXPECT_EQ(number, 3);
    EXPECT_EQ(U8(Fb2Authors(doc.get(), string16(), MiddleName::Full)),
              "Anna Maria Smith, Bob Jones");
    EXPECT_EQ(U8(Fb2Authors(doc.get(), U16("; "), MiddleName::Initial)),
              "Anna M. Smith; Bob Jones");
}

TEST(Fb2Metadata, MissingPartsGiveEmptyTexts) {
    std::string authors;
    for (int i = 0; i < 20; ++i)
        authors += "<author><last-name>A" + std::to_string(i) + "</last-name></author>";
    auto doc =
        ParseMarkupText("<?xml version=\"1.0\"?><FictionBook><description><title-info>" + authors +
                            "<sequence name='S'/></title-info></description>"
                            "</FictionBook>",
                        MarkupFormat::Fb2);
    EXPECT_EQ(U8(Fb2Title(doc.get())), "");
    int number = -1;
    EXPECT_EQ(U8(Fb2Series(doc.get(), &number)), "S");
    EXPECT_EQ(number, 0);
    // At most 16 authors.
    std::string expected;
    for (int i = 0; i < 16; ++i)
        expected += (i ? ", A" : "A") + std::to_string(i);
    EXPECT_EQ(U8(Fb2Authors(doc.get(), string16(), MiddleName::Full)), expected);
}

TEST(Fb2Writer, HeaderOnlyStopsAfterTheDescription) {
    auto doc = MakeTestDocument();
    {
        ldomDocumentWriter writer(doc.get(), WriterHeaderOnly::Yes);
        std::string text = ReadFileBytes(DataPath("sections.fb2"));
        KsXMLParser parser(
            CreateMemoryStream(text.data(), text.size(), MemoryCopy::Copy, KS_MODE_READ), &writer,
            XmlRootCheck::Fb2Only);
        ASSERT_TRUE(parser.CheckFormat());
        parser.Parse();
    }
    EXPECT_EQ(U8(Fb2Title(doc.get())), "The Book of Sections");
    EXPECT_TRUE(ldomPosition::fromString(doc.get(), U16("/FictionBook/body")).isNull());
}

TEST(DocumentWriter, MismatchedClosesChangeOnlyTheFlag) {
    auto doc = MakeTestDocument();
    ldomDocumentWriter writer(doc.get());
    writer.OnTagClose(u"", u"p");  // nothing open at all
    EXPECT_TRUE(writer.hadMismatch());
    ldomDocumentWriter second(doc.get());
    second.OnStart(nullptr);
    second.OnTagOpen(u"", u"body");
    second.OnTagBody();
    second.OnTagOpen(u"", u"p");
    second.OnTagBody();
    second.OnText(u"x", 1, 0);
    second.OnTagClose(u"", u"section");  // not open
    EXPECT_TRUE(second.hadMismatch());
    second.OnText(u"y", 1, 0);
    second.OnTagClose(u"", u"p");
    second.OnTagClose(u"", u"body");
    second.OnStop();
    EXPECT_EQ(TreeText(doc->getRootNode()->childAt(0)),
              "<body>\n  <p>\n    \"x\"\n    \"y\"\n  "
              "</p>\n</body>\n");
}

TEST(DocumentWriter, WorksWithoutStartEventAndKeepsProperties) {
    // The plain-text imports send neither a start nor a stop event.
    auto doc = MakeTestDocument();
    {
        ldomDocumentWriter writer(doc.get());
        writer.OnTagOpen(u"", u"body");
        writer.OnTagBody();
        writer.OnText(u"  ", 2, 0);  // blank text at the start of a block: dropped
        writer.OnTagOpen(u"", u"section");
        writer.OnTagBody();
        writer.OnText(u"not here", 8, 0);  // sections take no text
        writer.OnTagClose(u"", u"section");
        writer.OnMetaProperty("doc.title", string8("Meta Title"));
    }
    EXPECT_EQ(TreeText(doc->getRootNode()->childAt(0)), "<body>\n  <section/>\n</body>\n");
    EXPECT_EQ(U8(doc->getProps()->readTextOr("doc.title", "")), "Meta Title");
}

TEST(DocumentWriter, BinaryObjectsGoToTheBlobCache) {
    auto doc = MakeTestDocument();
    ldomDocumentWriter writer(doc.get());
    const uint8_t picture[] = {0x89, 'P', 'N', 'G'};
    EXPECT_TRUE(writer.OnBinaryData(string16("@blob#image0"), picture, 4));
    EXPECT_FALSE(writer.OnBinaryData(string16("@blob#bad"), nullptr, 4));
    KsRef<KsStream> blob = doc->getBlobCache().getBlob(string16("@blob#image0"));
    ASSERT_TRUE(blob);
    uint8_t read[4] = {};
    ASSERT_TRUE(blob->ReadExact(read, 4));
    EXPECT_EQ(std::memcmp(read, picture, 4), 0);
}

TEST(DocumentWriter, PreformattedBlankTextNeedsPreformattedEvents) {
    auto doc = MakeTestDocument();
    {
        ldomDocumentWriter writer(doc.get());
        writer.OnStart(nullptr);
        writer.OnTagOpen(u"", u"pre");
        EXPECT_EQ(writer.getFlags(), TXT_PREFORMATTED);
        writer.OnTagBody();
        writer.OnText(u"a", 1, TXT_PREFORMATTED);
        writer.OnText(u"\n ", 2, 0);                  // blank, not marked preformatted: dropped
        writer.OnText(u"\n  ", 3, TXT_PREFORMATTED);  // kept
        writer.OnTagClose(u"", u"pre");
        EXPECT_EQ(writer.getFlags(), 0);
        writer.OnStop();
    }
    EXPECT_EQ(TreeText(doc->getRootNode()->childAt(0)), "<pre>\n  \"a\"\n  \"&#10;  \"\n</pre>\n");
}

TEST(Fb2Writer, DeepSectionsAreCappedWithTheirContents) {
    std::string text = "<?xml version=\"1.0\"?><FictionBook><body>";
    const int levels = 100000;
    for (int i = 0; i < levels; ++i)
        text += "<section><title><p>t</p></title>";
    text += "<p>end</p>";
    for (int i = 0; i < levels; ++i)
        text += "</section>";
    text += "<section><p>last</p></section></body></FictionBook>";
    auto doc = ParseMarkupText(text, MarkupFormat::Fb2);
    EXPECT_EQ(doc->checkInvariants(), "");
    int deepest = 0;
    ldomPathPosition cursor(ldomPosition(doc->getRootNode(), -1));
    while (cursor.nextNode())
        deepest = std::max(deepest, cursor.depth());
    EXPECT_LE(deepest, kMaxElementDepth + 1);
    // The text of the sections not created stays in the deepest one, in order.
    EXPECT_EQ(U8(doc->getRootNode()->lastTextDescendant()->text()), "last");
    ldomPosition last = ldomPosition::fromString(doc.get(), U16("/FictionBook/body/section[2]/p"));
    EXPECT_FALSE(last.isNull());
    std::vector<KsContentsEntry*> entries;
    doc->getToc()->flatten(entries);
    EXPECT_EQ(entries.size(), size_t(kMaxElementDepth - 2 + 1));  // FictionBook, body above
}

}  // namespace
