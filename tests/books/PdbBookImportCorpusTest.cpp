// The MOBI, PalmDOC and eReader books of the corpus imported as documents: the text of the tree
// keeps the words a well-known converter extracts (expected/text/), in order, and every image
// record of the books decodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"
#include "engine/books/PdbBookImport.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/graphics/KsImageSource.h"
#include "engine/streams/KsFileStream.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WordDiff.h"

namespace {

// Every file of the PDB book folders, "folder/name".
std::vector<std::string> PdbBooks() {
    std::vector<std::string> files;
    for (const char* folder : {"mobi", "pdb", "ereader", "perf"}) {
        std::error_code ec;
        for (const auto& item :
             std::filesystem::directory_iterator(std::filesystem::path(CorpusDir()) / folder, ec))
            if (item.is_regular_file())
                files.push_back(std::string(folder) + "/" + item.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

KsRef<KsStream> OpenBook(const std::string& file) {
    return OpenFileStream(U16((CorpusDir() + "/" + file).c_str()), KS_MODE_READ);
}

// Why the book is not read, or PdbOpenError::None when it is.
PdbOpenError Refusal(const std::string& file) {
    KsRef<PDBFile> book(new PDBFile());
    KsRef<KsPDBContainer> images(new KsPDBContainer());
    PdbContentKind kind = PDB_CONTENT_NONE;
    return book->Open(OpenBook(file), images.Get(), PdbTextPass::Run, &kind) ? PdbOpenError::None
                                                                             : book->OpenError();
}

std::string ExpectedTextPath(const std::string& file) {
    return CorpusDir() + "/expected/text/" + file.substr(0, file.find('/')) + "__" +
           file.substr(file.find('/') + 1) + ".txt";
}

// The text of the tree, a line break at every block and line break element. Without computed
// styles, elements the name tables do not know (such as MOBI's "font") are taken as inline, as
// HTML has them.
std::string TreeText(ldomDocument& doc) {
    std::string text;
    ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
    while (cursor.nextNode()) {
        const ldomNode* node = cursor.getNode();
        if (node->isText()) {
            text += U8(node->text());
            continue;
        }
        const CssDisplay display = doc.nodeDisplay(node);
        if ((display != CssDisplay::Inline && display != CssDisplay::Inherit) ||
            node->isNodeName("br"))
            text += "\n";
    }
    return text;
}

// The reference converter turns the straight quotes of plain-text books into typographic ones;
// the books themselves hold straight quotes, so both sides are compared with straight quotes.
std::string StraightQuotes(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8.compare(i, 2, "\xe2\x80") == 0 && i + 2 < utf8.size()) {
            const unsigned char last = static_cast<unsigned char>(utf8[i + 2]);
            if (last == 0x98 || last == 0x99 || last == 0x9C || last == 0x9D) {
                out += last <= 0x99 ? '\'' : '"';
                i += 2;
                continue;
            }
        }
        out += utf8[i];
    }
    return out;
}

enum class BookText { Html, PlainOrPml };

void CheckWords(BookText which) {
    int checked = 0;
    std::printf("%-45s %-5s %8s %8s %8s\n", "book", "kind", "expected", "ours", "in order");
    for (const std::string& file : PdbBooks()) {
        const PdbOpenError refusal = Refusal(file);
        // Encrypted and deliberately broken books are refused (PdbCorpus checks how).
        if (refusal == PdbOpenError::Encrypted || file.ends_with(".fail")) continue;
        EXPECT_EQ(refusal, PdbOpenError::None) << file;
        auto doc = MakeTestDocument();
        KsRef<KsStream> stream = OpenBook(file);
        PdbContentKind kind = PDB_CONTENT_NONE;
        const bool loaded = LoadPdbBook(stream, *doc, nullptr, &kind);
        if ((kind == PDB_CONTENT_HTML) != (which == BookText::Html)) continue;
        EXPECT_TRUE(loaded) << file;
        EXPECT_EQ(doc->checkInvariants(), "") << file;
        const std::string expectedPath = ExpectedTextPath(file);
        ASSERT_TRUE(std::filesystem::exists(expectedPath)) << expectedPath;
        const std::vector<std::string> expected =
            SplitWords(StraightQuotes(ReadFileBytes(expectedPath)));
        const std::vector<std::string> ours = SplitWords(StraightQuotes(TreeText(*doc)));
        const double ratio = InOrderWordRatio(expected, ours);
        std::printf("%-45s %-5s %8zu %8zu %7.2f%%\n", file.c_str(), PdbContentKindName(kind),
                    expected.size(), ours.size(), 100.0 * ratio);
        EXPECT_FALSE(expected.empty()) << expectedPath;
        EXPECT_GE(ratio, 0.99) << file;
        // The command line builds the same tree.
        EXPECT_EQ(RunCommand(ShellQuote(CliPath()) + " tree " +
                             ShellQuote(CorpusDir() + "/" + file) + " >/dev/null"),
                  0)
            << file;
        ++checked;
    }
    EXPECT_GE(checked, which == BookText::Html ? 10 : 5);
}

TEST(PdbBookImportCorpus, MobiTreesKeepTheWords) {
    QUILLET_REQUIRE_CORPUS();
    CheckWords(BookText::Html);
}

TEST(PdbBookImportCorpus, PalmDocAndEReaderTreesKeepTheWords) {
    QUILLET_REQUIRE_CORPUS();
    CheckWords(BookText::PlainOrPml);
}

TEST(PdbBookImportCorpus, EveryImageRecordDecodes) {
    QUILLET_REQUIRE_CORPUS();
    int decoded = 0;
    for (const std::string& file : PdbBooks()) {
        KsRef<PDBFile> book(new PDBFile());
        KsRef<KsPDBContainer> images(new KsPDBContainer());
        PdbContentKind kind = PDB_CONTENT_NONE;
        if (!book->Open(OpenBook(file), images.Get(), PdbTextPass::Skip, &kind)) continue;
        images->SetPdbFile(book);
        for (int i = 0; i < images->GetObjectCount(); ++i) {
            const string16 name(images->GetObjectInfo(i)->GetName());
            KsRef<KsStream> stream = images->OpenStream(name, KS_MODE_READ);
            ASSERT_TRUE(stream) << file << " " << U8(name);
            uint8_t head[4] = {};
            ks_pos_t got = 0;
            ASSERT_EQ(stream->Read(head, 4, &got), KS_OK);
            ASSERT_EQ(stream->SetPos(0), KS_OK);
            const bool isImage = (head[0] == 0xFF && head[1] == 0xD8) ||
                                 (head[0] == 0x89 && head[1] == 'P') ||
                                 (head[0] == 'G' && head[1] == 'I' && head[2] == 'F');
            if (!isImage) continue;
            KsImageSourceRef source = CreateStreamImageSource(nullptr, stream);
            ASSERT_TRUE(source) << file << " " << U8(name);
            CollectingCallback callback;
            EXPECT_TRUE(source->Decode(&callback)) << file << " " << U8(name);
            EXPECT_EQ(callback.image.height, source->GetHeight()) << file << " " << U8(name);
            EXPECT_EQ(callback.starts, 1);
            EXPECT_EQ(callback.ends, 1);
            ++decoded;
        }
    }
    std::printf("%d images decoded\n", decoded);
    EXPECT_GE(decoded, 20);
}

}  // namespace
