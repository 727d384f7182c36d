// quillet-cli info, text and images on books made by the test writer.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string Cli(const std::string& arguments) {
    return ShellQuote(CliPath()) + " " + arguments;
}

std::string U32(uint32_t v) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
    return out;
}

class PdbCommands : public testing::Test {
protected:
    void SetUp() override {
        PdbBookRecipe recipe;
        recipe.text = "<html><head></head><body><p>Down the Rabbit-Hole</p>";
        while (recipe.text.size() < 6000)
            recipe.text += "<p>Alice was beginning to get very tired.</p>\n";
        text_ = recipe.text;
        recipe.fullName = "Alice";
        recipe.exth = {
            {100, "Lewis Carroll"}, {105, "Fantasy"}, {503, "Alice's Adventures"}, {201, U32(1)}};
        recipe.extraDataFlags = 0x3;
        recipe.images = {FakeJpeg(0xE0, 100), FakePng(50), std::string("FLIS\0\0\0\x08", 8),
                         FakeGif(30)};
        book_ = dir_.file("alice.mobi");
        ASSERT_TRUE(WriteFileBytes(book_, WritePdbBook(recipe)));
    }
    TempDir dir_;
    std::string book_;
    std::string text_;
};

TEST_F(PdbCommands, InfoPrintsFactsAndPropertiesInKeyOrder) {
    std::string out;
    ASSERT_EQ(RunCommand(Cli("info " + ShellQuote(book_)), &out), 0);
    EXPECT_EQ(
        out,
        "pdb.format=MOBI\n"
        "pdb.name=Test_Book\n"
        "pdb.type=BOOK\n"
        "pdb.creator=MOBI\n"
        "pdb.compression=PalmDOC\n"
        "pdb.records=7\n"
        "pdb.text.records=2\n"
        "pdb.text.length=" +
            std::to_string(text_.size()) + "\n" + out.substr(out.find("pdb.text.crc32="), 24) +
            "pdb.content=HTML\n"
            "pdb.images=3\n"
            "pdb.mobi.header.length=232\n"
            "pdb.mobi.type=2\n"
            "pdb.mobi.encoding=65001\n"
            "pdb.mobi.extra.flags=0x0003\n"
            "doc.authors=Lewis Carroll\n"
            "doc.cover.file=mobi_image_1\n" +
            out.substr(out.find("doc.file.crc32="), 26) +
            "doc.file.format=Unknown format\n"
            "doc.file.format.id=0\n"
            "doc.file.name=alice.mobi\n"
            "doc.file.path=" +
            dir_.path() + "/\n" + "doc.file.size=" + std::to_string(ReadFileBytes(book_).size()) +
            "\n"
            "doc.subject=Fantasy\n"
            "doc.title=Alice's Adventures\n");
}

TEST_F(PdbCommands, TextWritesTheDecodedText) {
    std::string out;
    ASSERT_EQ(RunCommand(Cli("text " + ShellQuote(book_)), &out), 0);
    EXPECT_EQ(out, text_);
    ASSERT_EQ(RunCommand(Cli("text " + ShellQuote(book_) + " --offset 4090 --size 20"), &out), 0);
    EXPECT_EQ(out, text_.substr(4090, 20));
}

TEST_F(PdbCommands, ImagesListsAndExtracts) {
    std::string out;
    std::string folder = dir_.file("images");
    ASSERT_EQ(
        RunCommand(Cli("images " + ShellQuote(book_) + " --extract " + ShellQuote(folder)), &out),
        0);
    EXPECT_EQ(out,
              "mobi_image_0\t100\tjpeg\n"
              "mobi_image_1\t50\tpng\tcover\n"
              "mobi_image_3\t30\tgif\n");
    EXPECT_EQ(ReadFileBytes(folder + "/mobi_image_0.jpg"), FakeJpeg(0xE0, 100));
    EXPECT_EQ(ReadFileBytes(folder + "/mobi_image_1.png"), FakePng(50));
    EXPECT_EQ(ReadFileBytes(folder + "/mobi_image_3.gif"), FakeGif(30));
}

TEST_F(PdbCommands, EReaderImageNamesCannotLeaveTheFolder) {
    PdbBookRecipe recipe;
    recipe.kind = PdbBookKind::EReader;
    recipe.compression = kWriteZlib;
    recipe.text = "\\pSome PML text";
    recipe.images = {FakePng(20), FakePng(21)};
    recipe.imageNames = {"../escape.png", ".."};
    std::string book = dir_.file("book.pdb");
    ASSERT_TRUE(WriteFileBytes(book, WritePdbBook(recipe)));
    std::string folder = dir_.file("out");
    std::string out;
    ASSERT_EQ(
        RunCommand(Cli("images " + ShellQuote(book) + " --extract " + ShellQuote(folder)), &out),
        0);
    EXPECT_EQ(out, "../escape.png\t20\tpng\n..\t21\tpng\n");
    EXPECT_EQ(ReadFileBytes(folder + "/.._escape.png"), FakePng(20));
    EXPECT_EQ(ReadFileBytes(folder + "/image_1.png"), FakePng(21));
    EXPECT_EQ(ReadFileBytes(dir_.file("escape.png")), "");
}

TEST_F(PdbCommands, RefusalsAndBadArguments) {
    struct Case {
        std::string arguments;
        int status;
        const char* message;  // in stderr
    };
    std::string notBook = dir_.file("plain.txt");
    ASSERT_TRUE(WriteFileBytes(notBook, std::string(200, 'x')));
    PdbBookRecipe recipe;
    recipe.text = "secret";
    recipe.encryption = 2;
    std::string encrypted = dir_.file("drm.mobi");
    ASSERT_TRUE(WriteFileBytes(encrypted, WritePdbBook(recipe)));
    const Case cases[] = {
        {"info " + ShellQuote(notBook), 2, "ERROR: Unknown document format"},
        {"text " + ShellQuote(notBook), 1, "not a PDB book"},
        {"images " + ShellQuote(notBook), 1, "not a PDB book"},
        {"info " + ShellQuote(encrypted), 2, "encrypted"},
        {"text " + ShellQuote(encrypted), 1, "encrypted"},
        {"info " + ShellQuote(dir_.file("missing.mobi")), 2, "cannot open"},
        {"info", 1, "usage: quillet-cli info BOOK"},
        {"text " + ShellQuote(book_) + " --size x", 1, "usage: quillet-cli text"},
        {"images " + ShellQuote(book_) + " --bogus", 1, "usage: quillet-cli images"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(RunCommand(Cli(c.arguments) + " 2>&1", &out), c.status) << c.arguments;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.arguments << ": " << out;
    }
}

}  // namespace
