// The plain-text and PML imports on the corpus: the words of every text file (decoded by iconv
// in the charset its name gives) and of every PML file (as the reference extraction has them)
// are in the tree in order, and PML chapters become sections with titles.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/streams/KsFileStream.h"
#include "engine/text/KsTextParser.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WordDiff.h"
#include "tests/text/CorpusTextFiles.h"

namespace {

constexpr double kMinWordRatio = 0.99;

bool IsInline(const ldomNode* node) {
    for (const char* name :
         {"a", "b", "i", "u", "strikethrough", "strong", "emphasis", "sub", "sup", "img", "span"})
        if (node->isNodeName(name)) return true;
    return false;
}

// The texts below a node; a space after every block (paragraphs do not run together).
void CollectText(const ldomNode* node, std::string& out) {
    if (node->isText()) {
        const string8 text = node->text8();
        out.append(text.CStr(), size_t(text.Length()));
        return;
    }
    for (int i = 0; i < node->childCount(); ++i)
        CollectText(node->childAt(i), out);
    if (!IsInline(node)) out += ' ';
}

const ldomNode* FindElement(const ldomNode* node, const char* name) {
    if (node->isText()) return nullptr;
    if (node->isNodeName(name)) return node;
    for (int i = 0; i < node->childCount(); ++i)
        if (const ldomNode* found = FindElement(node->childAt(i), name)) return found;
    return nullptr;
}

// Sections whose first child is a title.
int CountTitledSections(const ldomNode* node) {
    if (node->isText()) return 0;
    int count = 0;
    if (node->isNodeName("section") && node->childCount() > 0 &&
        node->childAt(0)->isNodeName("title"))
        ++count;
    for (int i = 0; i < node->childCount(); ++i)
        count += CountTitledSections(node->childAt(i));
    return count;
}

struct ImportedBook {
    std::unique_ptr<ldomDocument> document;
    std::string bodyText;
    std::string detectedCharset;
};

// Imports a text file; with a charset, the text is decoded in it instead of the one detected.
ImportedBook Import(const std::string& path, const char* charset) {
    ImportedBook book;
    book.document = std::make_unique<ldomDocument>();
    loadBuiltinNameTables(*book.document);
    KsRef<KsStream> stream = OpenFileStream(Utf8ToString16(path.c_str()), KS_MODE_READ);
    EXPECT_TRUE(stream) << path;
    if (!stream) return book;
    ldomDocumentWriter writer(book.document.get());
    KsTextParser parser(stream, &writer);
    EXPECT_TRUE(parser.CheckFormat()) << path;
    book.detectedCharset = U8(parser.GetEncodingName());
    if (charset) {
        parser.SetCharset(Utf8ToString16(charset).CStr());
        parser.Reset();
    }
    writer.OnStart(&parser);
    EXPECT_TRUE(parser.Parse()) << path;
    writer.OnStop();
    if (const ldomNode* body = FindElement(book.document->getRootNode(), "body"))
        CollectText(body, book.bodyText);
    return book;
}

TEST(TextImportCorpus, TextFilesKeepTheirWords) {
    QUILLET_REQUIRE_CORPUS();
    int compared = 0;
    for (const std::string& path : TextFiles()) {
        const std::string name = std::filesystem::path(path).filename().string();
        const NamedCharset* named = CharsetOfFileName(name);
        if (!named) continue;
        std::string reference;
        ASSERT_EQ(RunCommand(
                      "iconv -f " + std::string(named->iconvName) + " -t UTF-8 " + ShellQuote(path),
                      &reference),
                  0)
            << name;
        const std::vector<std::string> words = SplitWords(reference);
        ImportedBook book = Import(path, nullptr);
        double ratio = InOrderWordRatio(words, SplitWords(book.bodyText));
        const char* how = "";
        if (ratio < kMinWordRatio && !book.detectedCharset.empty()) {
            // A charset the detector has no profile for (ISO-8859-5, Mac Cyrillic): a reader
            // chooses the encoding by hand then.
            book = Import(path, named->charset);
            ratio = InOrderWordRatio(words, SplitWords(book.bodyText));
            how = " (with the charset of the name)";
        }
        std::printf("  %-34s %6.2f %% of the words%s\n", name.c_str(), ratio * 100, how);
        EXPECT_GE(ratio, kMinWordRatio) << name;
        ++compared;
    }
    EXPECT_GT(compared, 10);
}

TEST(TextImportCorpus, PmlFilesKeepTheirWordsAndChapters) {
    QUILLET_REQUIRE_CORPUS();
    int compared = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() + "/pml", ec)) {
        if (entry.path().extension() != ".pml") continue;
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string();
        const std::string expected =
            ReadFileBytes(CorpusDir() + "/expected/text/pml__" + name + ".txt");
        ASSERT_FALSE(expected.empty()) << name;
        const ImportedBook book = Import(path, nullptr);
        const double ratio = InOrderWordRatio(SplitWords(expected), SplitWords(book.bodyText));

        // Every chapter mark (\x, \X0 ... \X4) comes in pairs around the chapter's title.
        const std::string pml = ReadFileBytes(path);
        int marks = 0;
        for (size_t i = 0; i + 1 < pml.size(); ++i)
            if (pml[i] == '\\' && (pml[i + 1] == 'x' || pml[i + 1] == 'X')) ++marks;
        const int titled = CountTitledSections(book.document->getRootNode());
        std::printf("  %-34s %6.2f %% of the words, %d chapters, %d titled sections\n",
                    name.c_str(), ratio * 100, marks / 2, titled);
        EXPECT_GE(ratio, kMinWordRatio) << name;
        EXPECT_EQ(titled, marks / 2) << name;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
