// quillet-cli tree on small text and PML files: each import mode, the title and author guesses,
// headings and PML escapes against checked-in tree dumps. QUILLET_UPDATE_GOLDEN=1 rewrites the
// dumps (review the diff before committing).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/TestSupport.h"

namespace {

struct GoldenCase {
    const char* file;
    const char* option;
    const char* shows;
};

const GoldenCase kCases[] = {
    {"short.txt", "--text", "fewer than 10 lines: a paragraph per line, blank lines kept"},
    {"indented.txt", "--text",
     "indented paragraphs, an Author. Title line, centred and Roman headings"},
    {"emptyline.txt", "--text",
     "paragraphs between blank lines, chapter headings, a hyphenated word"},
    {"spaced.txt", "--text", "long lines with a blank line after each: one paragraph per line"},
    {"pre.txt", "--pre", "preformatted lines with their spaces and tabs"},
    {"gutenberg.txt", "--text", "an etext header gives title and author and is not imported"},
    {"title-punct.txt", "--text", "a title ending with punctuation falls back to the file name"},
    {"escapes.pml", "--text", "PML recognised by its escapes, read again as windows-1252"},
    {"short.pml", "--pml", "PML asked for, with too few escapes to be recognised"},
};

std::string DataPath(const std::string& name) {
    return std::string(QUILLET_SOURCE_DIR) + "/tests/text/data/import/" + name;
}

class TextImportGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(TextImportGolden, TreeMatchesTheDump) {
    const GoldenCase& c = GetParam();
    std::string tree;
    const int status = RunCommand(
        ShellQuote(CliPath()) + " tree " + ShellQuote(DataPath(c.file)) + " " + c.option + " 2>&1",
        &tree);
    ASSERT_EQ(status, 0) << tree;
    const std::string golden = DataPath(std::string(c.file) + ".tree");
    if (std::getenv("QUILLET_UPDATE_GOLDEN")) {
        FILE* out = std::fopen(golden.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(tree.data(), 1, tree.size(), out);
        std::fclose(out);
    }
    EXPECT_EQ(tree, ReadFileBytes(golden)) << c.shows;
}

INSTANTIATE_TEST_SUITE_P(Files, TextImportGolden, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GoldenCase>& param) {
                             std::string name;
                             for (const char* p = param.param.file; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(TextImportCommand, RefusesConflictingOptions) {
    std::string out;
    const std::string file = ShellQuote(DataPath("short.txt"));
    EXPECT_EQ(RunCommand(ShellQuote(CliPath()) + " tree " + file + " --text --pml 2>&1", &out), 1);
    EXPECT_EQ(RunCommand(ShellQuote(CliPath()) + " tree " + file + " --pre --html 2>&1", &out), 1);
}

}  // namespace
