// The PDB books of the corpus through quillet-cli, against what other tools report
// (expected/pdb-peers.tsv: title, authors and the size and MD5 of the decoded text).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

struct PeerRow {
    std::string file, title, authors, publisher, size, md5;
};

std::vector<PeerRow> PeerRows() {
    std::vector<PeerRow> rows;
    std::istringstream in(ReadFileBytes(CorpusDir() + "/expected/pdb-peers.tsv"));
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        size_t start = 0;
        for (;;) {
            size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        if (fields.size() == 6)
            rows.push_back({fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]});
    }
    return rows;
}

std::string Cli(const std::string& command, const std::string& file) {
    return ShellQuote(CliPath()) + " " + command + " " + ShellQuote(CorpusDir() + "/" + file);
}

// The value of "key=" in info output, or "(none)".
std::string InfoValue(const std::string& info, const std::string& key) {
    size_t at = info.find("\n" + key + "=");
    if (at == std::string::npos) return "(none)";
    at += key.size() + 2;
    return info.substr(at, info.find('\n', at) - at);
}

bool IsMobi(const PeerRow& row) {
    return row.file.rfind("mobi/", 0) == 0 || row.file.rfind("perf/", 0) == 0;
}
bool IsEncrypted(const PeerRow& row) {
    return row.file.find("drm") != std::string::npos;
}
bool IsBroken(const PeerRow& row) {
    return row.file.size() > 5 && row.file.compare(row.file.size() - 5, 5, ".fail") == 0;
}

// Size and MD5 of what `quillet-cli text` writes.
std::string TextDigest(const std::string& file, const TempDir& dir) {
    std::string out = dir.file("text.out");
    if (RunCommand(Cli("text", file) + " > " + ShellQuote(out)) != 0) return "failed";
    std::string md5;
    RunCommand("md5sum < " + ShellQuote(out), &md5);
    return std::to_string(ReadFileBytes(out).size()) + " " + md5.substr(0, 32);
}

TEST(PdbCorpus, TitlesAndAuthorsMatchOtherTools) {
    QUILLET_REQUIRE_CORPUS();
    std::vector<PeerRow> rows = PeerRows();
    ASSERT_GE(rows.size(), 20u);
    int checked = 0;
    for (const PeerRow& row : rows) {
        if (!IsMobi(row) || IsEncrypted(row) || IsBroken(row)) continue;
        SCOPED_TRACE(row.file);
        std::string info;
        ASSERT_EQ(RunCommand(Cli("info", row.file), &info), 0);
        info = "\n" + info;
        EXPECT_EQ(InfoValue(info, "pdb.format"), "MOBI");
        EXPECT_EQ(InfoValue(info, "doc.title"), row.title);
        // "Unknown" is what the other tool shows for a book without authors.
        std::string authors = InfoValue(info, "doc.authors");
        if (row.authors == "Unknown" && authors == "(none)") authors = "Unknown";
        EXPECT_EQ(authors, row.authors);
        if (!row.publisher.empty()) {
            EXPECT_EQ(InfoValue(info, "doc.publisher"), row.publisher);
        }
        ++checked;
    }
    EXPECT_GE(checked, 11);
}

TEST(PdbCorpus, DecodedTextMatchesTheRecordedSizeAndMd5) {
    QUILLET_REQUIRE_CORPUS();
    TempDir dir;
    int checked = 0;
    for (const PeerRow& row : PeerRows()) {
        if (row.md5 == "-") continue;
        SCOPED_TRACE(row.file);
        EXPECT_EQ(TextDigest(row.file, dir), row.size + " " + row.md5);
        ++checked;
    }
    EXPECT_GE(checked, 16);
}

TEST(PdbCorpus, HuffCdicBookEqualsItsUncompressedTwin) {
    QUILLET_REQUIRE_CORPUS();
    std::string huff, plain;
    ASSERT_EQ(RunCommand(Cli("text", "mobi/sample-unicode-huffdic.mobi"), &huff), 0);
    ASSERT_EQ(RunCommand(Cli("text", "mobi/sample-unicode-uncompressed.mobi"), &plain), 0);
    EXPECT_EQ(huff.size(), 111701u);
    EXPECT_TRUE(huff == plain);
    std::string info;
    ASSERT_EQ(RunCommand(Cli("info", "mobi/sample-unicode-huffdic.mobi"), &info), 0);
    EXPECT_NE(info.find("pdb.compression=HUFF/CDIC\n"), std::string::npos);
}

TEST(PdbCorpus, EReaderBooksDecodeToTheirPmlSources) {
    QUILLET_REQUIRE_CORPUS();
    const char* pairs[][2] = {
        {"ereader/calibre-alice-ereader.pdb", "pml/calibre-alice.pml"},
        {"ereader/calibre-wasteland-ereader.pdb", "pml/calibre-wasteland.pml"}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        std::string text, info;
        ASSERT_EQ(RunCommand(Cli("text", pair[0]), &text), 0);
        EXPECT_TRUE(text == ReadFileBytes(CorpusDir() + "/" + pair[1]));
        ASSERT_EQ(RunCommand(Cli("info", pair[0]), &info), 0);
        EXPECT_NE(info.find("pdb.content=PML\n"), std::string::npos);
    }
    std::string images;
    ASSERT_EQ(RunCommand(Cli("images", "ereader/calibre-alice-ereader.pdb"), &images), 0);
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 27);
}

TEST(PdbCorpus, ImagesOfMobiBooks) {
    QUILLET_REQUIRE_CORPUS();
    TempDir dir;
    std::string images;
    ASSERT_EQ(RunCommand(
                  Cli("images", "mobi/sample-cp1252.mobi") + " --extract " + ShellQuote(dir.path()),
                  &images),
              0);
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 3);
    // The MOBI library's own expected resources are these three JPEGs.
    std::string md5s;
    RunCommand("cd " + ShellQuote(dir.path()) +
                   " && md5sum mobi_image_0.jpg mobi_image_1.jpg "
                   "mobi_image_2.jpg | cut -c1-32",
               &md5s);
    EXPECT_EQ(md5s,
              "2eb4a36ae5534b3e0d976ddc459d209a\n7ab80fa12ddee2f2bfc16498da537028\n"
              "688aeffb0a078da56295bbc37ab2d28d\n");
    ASSERT_EQ(RunCommand(Cli("images", "mobi/calibre-alice-old.mobi"), &images), 0);
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 28);
}

TEST(PdbCorpus, EncryptedAndBrokenBooksAreRefusedClearly) {
    QUILLET_REQUIRE_CORPUS();
    int checked = 0;
    for (const PeerRow& row : PeerRows()) {
        if (!IsEncrypted(row) && !IsBroken(row)) continue;
        SCOPED_TRACE(row.file);
        for (const char* command : {"info", "text", "images"}) {
            std::string out;
            // info loads the book as the reader does: its error document, status 2.
            const int status = std::string(command) == "info" ? 2 : 1;
            EXPECT_EQ(RunCommand(Cli(command, row.file) + " 2>&1", &out), status) << command;
            EXPECT_NE(out.find(IsEncrypted(row) ? "encrypted" : "damaged"), std::string::npos)
                << out;
        }
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

}  // namespace
