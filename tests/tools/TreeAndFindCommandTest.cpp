// quillet-cli tree and find on a small FB2 file and an HTML page.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/TestSupport.h"

namespace {

std::string Cli(const std::string& arguments, int* status) {
    std::string output;
    *status = RunCommand(ShellQuote(CliPath()) + " " + arguments + " 2>/dev/null", &output);
    return output;
}

std::string DataFile(const char* name) {
    return ShellQuote(std::string(QUILLET_SOURCE_DIR) + "/tests/dom/data/" + name);
}

TEST(TreeCommand, PrintsTheGoldenTreeAndContents) {
    int status = -1;
    std::string out = Cli("tree " + DataFile("sections.fb2"), &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              ReadFileBytes(std::string(QUILLET_SOURCE_DIR) + "/tests/dom/data/sections.fb2.tree"));
}

TEST(TreeCommand, ParsesHtmlThroughTheAutoClosingWriter) {
    TempDir dir;
    const std::string page = dir.file("page.html");
    {
        FILE* f = std::fopen(page.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("<html><head><title>T</title></head><body><p>one<p>two</body></html>", f);
        std::fclose(f);
    }
    int status = -1;
    std::string out = Cli("tree " + ShellQuote(page), &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "<html>\n  <head>\n    <title>T</title>\n  </head>\n  <body>\n    <p>one</p>\n    "
              "<p>two</p>\n  </body>\n</html>\n== table of contents: none\n");
}

TEST(TreeCommand, StatsGiveTheSizeOfTheTree) {
    int status = -1;
    std::string out = Cli("tree --stats " + DataFile("sections.fb2"), &status);
    EXPECT_EQ(status, 0);
    unsigned nodes = 0;
    size_t bytes = 0;
    ASSERT_EQ(std::sscanf(out.c_str(), "nodes %u\ntree bytes %zu\n", &nodes, &bytes), 2) << out;
    EXPECT_GT(nodes, 50u);
    EXPECT_GT(bytes, size_t(nodes) * 8);
}

TEST(FindCommand, ListsMatchesAsPaths) {
    int status = -1;
    std::string out = Cli("find " + DataFile("sections.fb2") + " PART", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out,
              "/FictionBook/body[1]/section[1]/section[1]/title/p/text().0\t[Part] I.1\n"
              "/FictionBook/body[1]/section[1]/section[1]/section/title/p/text().0\t[Part] I.1.1\n"
              "/FictionBook/body[1]/section[1]/section[2]/p/text().2\tA [part] without a title.\n");
    out = Cli("find " + DataFile("sections.fb2") + " PART --case", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, "");
}

TEST(TreeAndFindCommands, RefuseBadArgumentsAndFiles) {
    int status = -1;
    Cli("tree", &status);
    EXPECT_EQ(status, 1);
    Cli("tree a b", &status);
    EXPECT_EQ(status, 1);
    Cli("tree " + DataFile("sections.fb2") + " --xml --html", &status);
    EXPECT_EQ(status, 1);
    Cli("find " + DataFile("sections.fb2"), &status);
    EXPECT_EQ(status, 1);
    Cli("find " + DataFile("sections.fb2") + " ''", &status);
    EXPECT_EQ(status, 1);
    Cli("tree /nonexistent/file.fb2", &status);
    EXPECT_EQ(status, 2);
    // A parser named by an option refuses what is not its format.
    Cli("tree " + ShellQuote(std::string(QUILLET_SOURCE_DIR) + "/tests/CMakeLists.txt") + " --xml",
        &status);
    EXPECT_EQ(status, 1);
}

TEST(TreeCommand, UnreadableBookPrintsItsErrorDocumentTitle) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("tiny.txt"), "abcd"));
    std::string out;
    EXPECT_EQ(
        RunCommand(ShellQuote(CliPath()) + " tree " + ShellQuote(dir.file("tiny.txt")) + " 2>&1",
                   &out),
        2);
    EXPECT_NE(out.find("tiny.txt: ERROR: Wrong document size"), std::string::npos) << out;
}

}  // namespace
