// quillet-cli css: the stylesheet printed back, with what was dropped.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace {

TEST(CssCli, PrintsRulesAndDroppedParts) {
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("base.css"), "body { text-indent: 1.5em hanging }\n"));
    ASSERT_TRUE(WriteFileBytes(dir.file("main.css"),
                               "@charset \"utf-8\";\n@import url(base.css);\n"
                               "p.note, .Wide > span { margin: 1em 2em; color: Red; float: left }\n"
                               "a:hover { color: blue }\n"
                               "h1 { font-family: \"Book Antiqua\", serif; font-size: 150% }\n"));
    std::string output;
    EXPECT_EQ(
        RunCommand(ShellQuote(CliPath()) + " css " + ShellQuote(dir.file("main.css")), &output), 0);
    EXPECT_EQ(
        output,
        "body { text-indent: -1.5em }\n"
        "p.note { margin: 1em 2em 1em 2em; color: #ff0000 }\n"
        ".wide > span { margin: 1em 2em 1em 2em; color: #ff0000 }\n"
        "h1 { font-family: serif; $dummy-for-font-names$: \"Book Antiqua\"; font-size: 150% }\n"
        "/* dropped declaration (line 3): float: left */\n"
        "/* dropped rule (line 4): a:hover { color: blue } */\n");

    EXPECT_EQ(
        RunCommand(ShellQuote(CliPath()) + " css --no-imports " + ShellQuote(dir.file("main.css")),
                   &output),
        0);
    EXPECT_EQ(output.find("body"), std::string::npos);
    EXPECT_NE(output.find("dropped import"), std::string::npos);
}

TEST(CssCli, BadArgumentsAndMissingFiles) {
    std::string cli = ShellQuote(CliPath());
    EXPECT_EQ(RunCommand(cli + " css 2>/dev/null"), 1);
    EXPECT_EQ(RunCommand(cli + " css a.css b.css 2>/dev/null"), 1);
    EXPECT_EQ(RunCommand(cli + " css --bogus a.css 2>/dev/null"), 1);
    EXPECT_EQ(RunCommand(cli + " css /nonexistent/x.css 2>/dev/null"), 2);
}

}  // namespace
