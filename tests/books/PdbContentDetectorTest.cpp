#include "engine/books/PdbContentDetector.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace {

struct DetectCase {
    const char* what;
    std::string text;
    PdbContentKind kind;
};

class DetectContent : public testing::TestWithParam<DetectCase> {};

TEST_P(DetectContent, FindsTheKind) {
    const std::string& text = GetParam().text;
    EXPECT_EQ(DetectPdbContent(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
              GetParam().kind);
}

const std::string kPad(20, ' ');  // the last ten bytes are never scored

INSTANTIATE_TEST_SUITE_P(
    Cases, DetectContent,
    testing::Values(
        DetectCase{"empty", "", PDB_CONTENT_NONE},
        DetectCase{"ten bytes of HTML", "<html><p>x", PDB_CONTENT_TEXT},
        DetectCase{"html tag", "<HTML>" + kPad, PDB_CONTENT_HTML},
        DetectCase{"body tag", "<Body>" + kPad, PDB_CONTENT_HTML},
        DetectCase{"one paragraph", "<p>Some words" + kPad, PDB_CONTENT_HTML},
        DetectCase{"one heading is not enough", "<h1>Title" + kPad, PDB_CONTENT_TEXT},
        DetectCase{"two headings", "<h1>a</h1><h2>b" + kPad, PDB_CONTENT_HTML},
        DetectCase{"list items", "<ul><li>one" + kPad, PDB_CONTENT_HTML},
        DetectCase{"unknown tags", "<div><span><table>" + kPad, PDB_CONTENT_TEXT},
        DetectCase{"five PML tags", "\\p\\x\\b\\i\\u" + kPad, PDB_CONTENT_PML},
        DetectCase{"four PML tags", "\\p\\x\\b\\i plain" + kPad, PDB_CONTENT_TEXT},
        DetectCase{"backslashes that are no tags", "\\z\\y\\1\\2\\3\\4" + kPad, PDB_CONTENT_TEXT},
        DetectCase{"PML beats weak HTML", "\\p\\x\\b\\i\\u\\t\\n\\s\\l\\a\\B\\S <p>" + kPad,
                   PDB_CONTENT_PML},
        DetectCase{"HTML wins a tie", "<p>\\p\\x\\b\\i\\u\\t\\n\\s\\l\\a" + kPad, PDB_CONTENT_HTML},
        DetectCase{"tag in the last ten bytes", "plain text here <html>..", PDB_CONTENT_TEXT},
        DetectCase{"plain", "It was a bright cold day in April." + kPad, PDB_CONTENT_TEXT}),
    [](const auto& p) { return TestCaseName(p.param.what); });

}  // namespace
