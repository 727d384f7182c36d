// quillet-cli tree and image on books made by the test writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/ImageFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string Cli(const std::string& arguments) {
    return ShellQuote(CliPath()) + " " + arguments + " 2>&1";
}

// A 3x2 RGBA PNG; pixel (x, y) has red 100x, green 100y, blue 7 and alpha 255 - 60x.
std::string Picture() {
    PngFixture png;
    png.width = 3;
    png.height = 2;
    png.colorType = 6;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            png.samples.insert(png.samples.end(),
                               {uint16_t(100 * x), uint16_t(100 * y), 7, uint16_t(255 - 60 * x)});
    return WritePng(png);
}

class PdbBookTree : public testing::Test {
protected:
    void SetUp() override {
        PdbBookRecipe recipe;
        recipe.text =
            "<html><head></head><body><p>Down the <b>Rabbit</b>-Hole</p>"
            "<p><img recindex=\"00001\"/></p></body></html>";
        recipe.images = {Picture()};
        book_ = dir_.file("alice.mobi");
        ASSERT_TRUE(WriteFileBytes(book_, WritePdbBook(recipe)));
    }
    TempDir dir_;
    std::string book_;
};

TEST_F(PdbBookTree, TreeOfAMobiBook) {
    std::string out;
    ASSERT_EQ(RunCommand(Cli("tree " + ShellQuote(book_)), &out), 0) << out;
    EXPECT_NE(out.find("<b>Rabbit</b>"), std::string::npos) << out;
    EXPECT_NE(out.find("<img recindex=\"00001\"/>"), std::string::npos) << out;
}

TEST_F(PdbBookTree, RefusedBooksSayWhy) {
    PdbBookRecipe recipe;
    recipe.text = "<html><body><p>secret</p></body></html>";
    recipe.encryption = 2;
    const std::string locked = dir_.file("locked.mobi");
    ASSERT_TRUE(WriteFileBytes(locked, WritePdbBook(recipe)));
    std::string out;
    EXPECT_EQ(RunCommand(Cli("tree " + ShellQuote(locked)), &out), 2);
    EXPECT_NE(out.find("ERROR: Error reading PDB format"), std::string::npos) << out;
    EXPECT_NE(out.find("encrypted"), std::string::npos) << out;
}

TEST_F(PdbBookTree, ImageDecodesThroughTheEngine) {
    const std::string png = dir_.file("out.png");
    std::string out;
    ASSERT_EQ(
        RunCommand(Cli("image " + ShellQuote(book_) + " mobi_image_0 --png " + ShellQuote(png)),
                   &out),
        0)
        << out;
    EXPECT_EQ(out, "mobi_image_0\t3x2\n");
    CollectingCallback written, original;
    ASSERT_TRUE(DecodeImageBytes(ReadFileBytes(png), written));
    ASSERT_TRUE(DecodeImageBytes(Picture(), original));
    EXPECT_EQ(written.image.pixels, original.image.pixels);
    EXPECT_EQ(written.image.pixels[1], 0x3C640007u);  // alpha 195 is transparency 60
}

TEST_F(PdbBookTree, ImageOfAMarkupFileComesFromItsFolder) {
    ASSERT_TRUE(WriteFileBytes(dir_.file("page.html"),
                               "<html><body><p><img src='pic.png'/></p></body></html>"));
    std::filesystem::create_directories(dir_.file("page_img"));
    ASSERT_TRUE(WriteFileBytes(dir_.file("page_img/pic.png"), Picture()));
    std::string out;
    EXPECT_EQ(RunCommand(Cli("image " + ShellQuote(dir_.file("page.html")) + " pic.png --png " +
                             ShellQuote(dir_.file("out.png"))),
                         &out),
              0)
        << out;
    EXPECT_EQ(out, "pic.png\t3x2\n");
}

TEST_F(PdbBookTree, ImageErrors) {
    struct Case {
        std::string arguments;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"image " + ShellQuote(book_), 1, "usage:"},
        {"image " + ShellQuote(book_) + " mobi_image_0", 1, "usage:"},
        {"image " + ShellQuote(book_) + " mobi_image_7 --png x.png", 1, "no image mobi_image_7"},
        {"image " + ShellQuote(dir_.file("missing.mobi")) + " a --png x.png", 2, "quillet-cli:"},
        {"image " + ShellQuote(book_) + " mobi_image_0 --png " +
             ShellQuote(dir_.file("no/such/folder/x.png")),
         2, "cannot write"},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(RunCommand(Cli(c.arguments), &out), c.status) << c.arguments;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.arguments << ": " << out;
    }
}

}  // namespace
