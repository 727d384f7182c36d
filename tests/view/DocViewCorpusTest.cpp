// Every file of the corpus through the reader's LoadDocument: nothing crashes, every book of a
// format the reader knows opens as that format with its metadata, and the formats it cannot
// read yet give an error document instead of garbage. Prints a table of the results.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/dom/ldomDocument.h"
#include "engine/view/KsDocView.h"
#include "tests/support/CorpusManifest.h"
#include "tests/support/TestSupport.h"

namespace {

// Deliberately broken files only have to survive.
enum class Expect { Opens, Refused, Survives };

struct Outcome {
    bool loaded = false;
    bool hasDocument = false;
    std::string format;
    std::string formatId;
    std::string title;
    std::string authors;
};

std::string Prop(const KsDocView& view, const char* key) {
    return U8(view.getDocProps()->readTextOr(key, string16()));
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool IsPdbFamily(const std::string& format) {
    return Contains(format, "MOBI") || Contains(format, "PalmDOC") || Contains(format, "eReader");
}

// What the reader should do with a corpus file, and the format id it should report.
Expect Expectation(const CorpusEntry& entry, int& formatId) {
    formatId = -1;
    const std::string& f = entry.format;
    if (IsPdbFamily(f)) {
        formatId = 0;  // PDB books keep the content kind of their detection, which is none
        if (Contains(entry.note, "BROKEN")) return Expect::Survives;
        return Contains(entry.note, "encrypted") ? Expect::Refused : Expect::Opens;
    }
    if (f == "FB2") formatId = 1;
    if (f == "HTML/XHTML") formatId = 5;
    if (f == "plain text" || f == "TCR" || f == "Palm Markup Language") formatId = 2;
    return formatId >= 0 ? Expect::Opens : Expect::Refused;
}

// The calibre titles of the PDB books (expected/pdb-peers.tsv: file, title, authors, ...).
std::map<std::string, std::string> PeerTitles(const std::string& corpus) {
    std::map<std::string, std::string> titles;
    std::ifstream in(corpus + "/expected/pdb-peers.tsv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::stringstream row(line);
        std::string file, title;
        if (std::getline(row, file, '\t') && std::getline(row, title, '\t') && !title.empty())
            titles[file] = title;
    }
    return titles;
}

TEST(DocViewCorpus, EveryFileLoadsOrIsRefusedHonestly) {
    QUILLET_REQUIRE_CORPUS();
    const std::string corpus = CorpusDir();
    const std::vector<CorpusEntry> entries = ReadCorpusManifest(corpus);
    ASSERT_FALSE(entries.empty());
    const std::map<std::string, std::string> titles = PeerTitles(corpus);

    std::printf("%-48s %-22s %-6s %-20s %s\n", "file", "corpus format", "loaded", "doc.file.format",
                "doc.title");
    for (const CorpusEntry& entry : entries) {
        KsRef<KsDocView> view = MakeRef<KsDocView>();
        Outcome out;
        out.loaded = view->LoadDocument(U16((corpus + "/" + entry.file).c_str()));
        out.hasDocument = view->getDocument() != nullptr;
        out.format = Prop(*view, "doc.file.format");
        out.formatId = Prop(*view, "doc.file.format.id");
        out.title = Prop(*view, "doc.title");
        out.authors = Prop(*view, "doc.authors");
        std::printf("%-48s %-22s %-6s %-20s %s\n", entry.file.c_str(), entry.format.c_str(),
                    out.loaded ? "yes" : "no", out.format.c_str(), out.title.c_str());

        int formatId = -1;
        const Expect expect = Expectation(entry, formatId);
        const std::string& f = entry.format;
        if (expect == Expect::Opens) {
            EXPECT_TRUE(out.loaded) << entry.file << ": " << out.title;
            EXPECT_EQ(out.formatId, std::to_string(formatId)) << entry.file;
            // MOBI books carry their title in their metadata.
            if (auto t = titles.find(entry.file); t != titles.end() && Contains(f, "MOBI")) {
                EXPECT_EQ(out.title, t->second) << entry.file;
            }
            if (entry.format == "FB2") {
                EXPECT_FALSE(out.title.empty()) << entry.file;
                EXPECT_FALSE(out.authors.empty()) << entry.file;
            }
        } else if (expect == Expect::Refused) {
            // Not readable (yet): an error document, or for an archive without a book nothing.
            EXPECT_FALSE(out.loaded) << entry.file << " opened as " << out.format;
            if (out.hasDocument) {
                EXPECT_EQ(out.title.rfind("ERROR: ", 0), 0u) << entry.file << ": " << out.title;
            }
        }
    }
}

}  // namespace
