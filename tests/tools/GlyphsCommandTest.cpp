#include <gtest/gtest.h>

#include "tests/support/FontTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Glyphs(const std::string& arguments, int* status) {
    std::string output;
    *status = RunCommand(ShellQuote(CliPath()) + " glyphs " + arguments + " 2>&1", &output);
    return output;
}

TEST(GlyphsCommand, MeasuresAndDraws) {
    TempDir dir;
    const std::string png = dir.file("hello.png");
    int status = -1;
    std::string out = Glyphs("--font " + ShellQuote(FontsDir() + "/DejaVuSans.ttf") +
                                 " --size 16 'Hi there-' --png " + ShellQuote(png),
                             &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("font \"DejaVu Sans\" 16 px"), std::string::npos) << out;
    EXPECT_NE(out.find("U+0048"), std::string::npos) << out;
    EXPECT_NE(out.find("flags 0x03"), std::string::npos) << out;  // the space
    EXPECT_NE(out.find("flags 0x04"), std::string::npos) << out;  // the hyphen
    EXPECT_NE(out.find("total "), std::string::npos) << out;
    std::string bytes = ReadFileBytes(png);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
}

TEST(GlyphsCommand, BadArgumentsAndFiles) {
    int status = -1;
    Glyphs("--size 16 text", &status);
    EXPECT_EQ(status, 1);
    Glyphs("--font x.ttf --size abc text", &status);
    EXPECT_EQ(status, 1);
    Glyphs("--font x.ttf --size 0 text", &status);
    EXPECT_EQ(status, 1);
    Glyphs("--font " + ShellQuote(FontsDir() + "/DejaVuSans.ttf") + " --size 16", &status);
    EXPECT_EQ(status, 1);
    std::string out = Glyphs(
        "--font " + ShellQuote(FontsDir() + "/LICENSE-DejaVu.txt") + " --size 16 text", &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(out.find("cannot use"), std::string::npos) << out;
}

}  // namespace
