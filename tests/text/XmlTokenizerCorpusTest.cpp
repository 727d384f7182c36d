// The tokenizer on the real markup files of the corpus: balanced open/close events for every
// element the source closes, and the body text keeps the words another parser extracts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsXMLParser.h"
#include "engine/text/KsXMLParserCallback.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WordDiff.h"

namespace {

class BodyTextCollector : public KsXMLParserCallback {
public:
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16* name) override {
        std::string n = U8(string16(name));
        ++opens[n];
        if (n == "body") ++bodyDepth_;
        return nullptr;
    }
    void OnTagBody() override {}
    void OnTagClose(const unit16*, const unit16* name) override {
        std::string n = U8(string16(name));
        ++closes[n];
        if (n == "body" && bodyDepth_ > 0) {
            --bodyDepth_;
            text += "\n";
        }
    }
    void OnAttribute(const unit16*, const unit16*, const unit16*) override {}
    void OnText(const unit16* t, int length, int) override {
        if (bodyDepth_ > 0) {
            text += separator;
            string8 bytes = String16ToUtf8(t, length);
            text.append(bytes.CStr(), static_cast<size_t>(bytes.Length()));
        }
    }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return true; }

    std::map<std::string, int> opens, closes;
    std::string text;
    // The reference text of XML files (FB2, XHTML) has white space between text nodes; that of
    // HTML files is the plain concatenation.
    std::string separator;

private:
    int bodyDepth_ = 0;
};

TEST(XmlTokenizerCorpus, BalancedTagsAndBodyWords) {
    QUILLET_REQUIRE_CORPUS();
    std::vector<std::string> files = CorpusMarkupFiles();
    ASSERT_FALSE(files.empty());
    std::printf("%-50s %8s %8s %8s\n", "file", "expected", "ours", "in order");
    for (const std::string& file : files) {
        KsRef<KsStream> stream =
            OpenFileStream(U16((CorpusDir() + "/" + file).c_str()), KS_MODE_READ);
        ASSERT_TRUE(stream) << file;
        BodyTextCollector events;
        const bool html = file.size() > 5 && file.compare(file.size() - 5, 5, ".html") == 0;
        if (!html) events.separator = " ";
        std::unique_ptr<KsXMLParser> parser;
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".fb2") == 0)
            parser = std::make_unique<KsXMLParser>(stream, &events, XmlRootCheck::Fb2Only);
        else
            parser = std::make_unique<KsHTMLParser>(stream, &events);
        EXPECT_TRUE(parser->CheckFormat()) << file;
        parser->Parse();

        // Every element the source closes with a closing tag opens as often as it closes.
        const std::string source = ReadFileBytes(CorpusDir() + "/" + file);
        for (const auto& [name, closed] : events.closes) {
            if (source.find("</" + name) == std::string::npos) continue;
            EXPECT_EQ(events.opens[name], closed) << file << ": element " << name;
        }
        std::string expectedPath = CorpusDir() + "/expected/bodytext/" +
                                   file.substr(0, file.find('/')) + "__" +
                                   file.substr(file.find('/') + 1) + ".txt";
        std::vector<std::string> expected = SplitWords(ReadFileBytes(expectedPath));
        std::vector<std::string> ours = SplitWords(events.text);
        double ratio = InOrderWordRatio(expected, ours);
        std::printf("%-50s %8zu %8zu %7.2f%%\n", file.c_str(), expected.size(), ours.size(),
                    100.0 * ratio);
        EXPECT_FALSE(expected.empty()) << expectedPath;
        EXPECT_GE(ratio, 0.99) << file;
    }
}

// The decoded markup of every MOBI book: the same checks, against libxml2's HTML parser reading
// the same bytes (xmllint --html --xpath 'string(//body)').
TEST(XmlTokenizerCorpus, MobiMarkup) {
    QUILLET_REQUIRE_CORPUS();
    if (RunCommand("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
    TempDir dir;
    std::filesystem::path mobiDir = std::filesystem::path(CorpusDir()) / "mobi";
    std::vector<std::filesystem::path> books;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(mobiDir, ec))
        books.push_back(item.path());
    std::sort(books.begin(), books.end());
    int checked = 0;
    for (const auto& path : books) {
        KsRef<KsStream> stream = OpenFileStream(U16(path.string().c_str()), KS_MODE_READ);
        ASSERT_TRUE(stream);
        KsRef<PDBFile> book(new PDBFile());
        PdbContentKind kind = PDB_CONTENT_NONE;
        if (!book->Open(stream, nullptr, PdbTextPass::Run, &kind) || kind != PDB_CONTENT_HTML) {
            std::printf("%-50s (not read: %s)\n", path.filename().c_str(),
                        PdbOpenErrorText(book->OpenError()));
            continue;
        }
        std::string markup(book->TextLength(), '\0');
        ASSERT_EQ(book->SetPos(0), 0u);
        ASSERT_TRUE(book->ReadExact(markup.data(), static_cast<ks_pos_t>(markup.size())));
        // MOBI markup declares no charset; the MOBI header names it. Tell both parsers.
        const bool utf8 = book->BookHeader().textEncoding != kMobiEncodingWindows1252;
        const char* charset = utf8 ? "utf-8" : "windows-1252";
        const std::string markupFile = dir.file("markup.html");
        ASSERT_TRUE(WriteFileBytes(markupFile, std::string("<meta http-equiv=\"Content-Type\" "
                                                           "content=\"text/html; charset=") +
                                                   charset + "\">" + markup));
        std::string reference;
        RunCommand(
            "xmllint --html --xpath 'string(//body)' " + ShellQuote(markupFile) + " 2>/dev/null",
            &reference);

        BodyTextCollector events;
        KsHTMLParser parser(KsRef<KsStream>(book), &events);
        parser.SetCharset(U16(charset).CStr());
        EXPECT_TRUE(parser.CheckFormat()) << path;
        parser.Parse();
        for (const auto& [name, closed] : events.closes) {
            if (markup.find("</" + name) == std::string::npos) continue;
            EXPECT_EQ(events.opens[name], closed) << path << ": element " << name;
        }
        std::vector<std::string> expected = SplitWords(reference);
        std::vector<std::string> ours = SplitWords(events.text);
        double ratio = InOrderWordRatio(expected, ours);
        std::printf("%-50s %8zu %8zu %7.2f%%\n", path.filename().c_str(), expected.size(),
                    ours.size(), 100.0 * ratio);
        EXPECT_GE(ratio, 0.99) << path;
        ++checked;
    }
    EXPECT_GT(checked, 3);
}

}  // namespace
