// The sample book in samples/ is what quillet-make-book writes, and every kind of book the tool
// makes opens in the engine.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace {

std::string Tool(const std::string& arguments) {
    return ShellQuote(MakeBookPath()) + " " + arguments;
}

std::string Cli(const std::string& arguments) {
    return ShellQuote(CliPath()) + " " + arguments;
}

TEST(MakeBook, RemakesTheSampleBook) {
    TempDir dir;
    std::string made = dir.file("alice.mobi");
    std::string source = SourceDir() + "/samples/alice-chapter1.txt";
    // The command samples/README.md gives.
    ASSERT_EQ(RunCommand(Tool("--title \"Alice's Adventures in Wonderland\" --author "
                              "\"Lewis Carroll\" --language en --html --cover "
                              "--trailing-entries " +
                              ShellQuote(source) + " " + ShellQuote(made))),
              0);
    std::string sample = SourceDir() + "/samples/alice-chapter1.mobi";
    EXPECT_TRUE(ReadFileBytes(made) == ReadFileBytes(sample))
        << "samples/alice-chapter1.mobi is not what the writer makes now; remake it";

    std::string info;
    ASSERT_EQ(RunCommand(Cli("info " + ShellQuote(sample)), &info), 0);
    EXPECT_NE(info.find("doc.title=Alice's Adventures in Wonderland\n"), std::string::npos);
    EXPECT_NE(info.find("doc.authors=Lewis Carroll\n"), std::string::npos);
    EXPECT_NE(info.find("doc.cover.file=mobi_image_0\n"), std::string::npos);
    std::string text;
    ASSERT_EQ(RunCommand(Cli("text " + ShellQuote(sample)), &text), 0);
    EXPECT_EQ(text.rfind("<html><head><title>Alice's Adventures in Wonderland</title>", 0), 0u);
    EXPECT_NE(text.find("<p>Alice was beginning to get very tired"), std::string::npos);
    EXPECT_NE(text.find("and to her great delight it fitted!</p>"), std::string::npos);
}

TEST(MakeBook, EveryFormatOpens) {
    TempDir dir;
    std::string source = dir.file("in.txt");
    std::string words;
    for (int i = 0; i < 300; ++i)
        words += "Down, down, down \xe2\x80\x94 would the fall never come to an end? ";
    ASSERT_TRUE(WriteFileBytes(source, words));
    const char* variants[] = {
        "--format mobi --compression palmdoc --trailing-entries",
        "--format mobi --compression huff --trailing-entries",
        "--format mobi --compression none --record-size 1000",
        "--format palmdoc --compression palmdoc",
        "--format ereader --compression zlib --cover",
    };
    for (const char* variant : variants) {
        SCOPED_TRACE(variant);
        std::string book = dir.file("book.pdb");
        ASSERT_EQ(RunCommand(Tool(std::string(variant) + " " + ShellQuote(source) + " " +
                                  ShellQuote(book))),
                  0);
        std::string text;
        ASSERT_EQ(RunCommand(Cli("text " + ShellQuote(book)), &text), 0);
        EXPECT_TRUE(text == words);
    }
    EXPECT_EQ(RunCommand(Tool("--format tcr a b") + " 2>/dev/null"), 1);
    EXPECT_EQ(RunCommand(Tool("--compression huff --format palmdoc a b") + " 2>/dev/null"), 1);
}

}  // namespace
