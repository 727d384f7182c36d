#include "engine/streams/PathUtils.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace {

struct CombineCase {
    const char* base;
    const char* relative;
    const char* expected;
};

TEST(PathUtils, CombinePaths) {
    const CombineCase cases[] = {
        {"OEBPS/", "../images/a.png", "images/a.png"},
        {"OEBPS/text", "ch1.html", "OEBPS/text/ch1.html"},
        {"a/b/c/", "../../x.css", "a/x.css"},
        {"a\\b", "c/d.txt", "a\\b\\c\\d.txt"},
        {"", "x/y", "x/y"},
        {"base", "/abs/path", "/abs/path"},
        {"base", "c:\\abs", "c:\\abs"},
        {"./", "a.html", "a.html"},
        {"../", "a.html", "../a.html"},
        {"a/", "../../b", "../b"},
        {"", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(CombinePaths(string16(c.base), string16(c.relative))), c.expected)
            << c.base << " + " << c.relative;
}

struct NameCase {
    const char* path;
    const char* path_part;
    const char* file;
    const char* stem;
};

TEST(PathUtils, ExtractParts) {
    const NameCase cases[] = {
        {"c:\\books\\a.b.epub", "c:\\books\\", "a.b.epub", "a.b"},
        {".profile", "", ".profile", ".profile"},
        {"dir/file", "dir/", "file", "file"},
        {"archive.longextension", "", "archive.longextension", "archive.longextension"},
        {"x/y.", "x/", "y.", "y"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        string16 p(c.path);
        EXPECT_EQ(U8(ExtractPath(p)), c.path_part) << c.path;
        EXPECT_EQ(U8(ExtractFilename(p)), c.file) << c.path;
        EXPECT_EQ(U8(ExtractFilenameWithoutExtension(p)), c.stem) << c.path;
    }
    EXPECT_EQ(U8(ExtractPath(string16("name"), EmptyPath::Dot)), ".\\");
}

TEST(PathUtils, SplitArchivePath) {
    string16 archive, item;
    EXPECT_TRUE(SplitArchivePath(string16("book.zip@/a.fb2"), archive, item));
    EXPECT_EQ(U8(archive), "book.zip");
    EXPECT_EQ(U8(item), "a.fb2");
    EXPECT_TRUE(SplitArchivePath(string16("c:\\b.zip@\\d\\e.txt"), archive, item));
    EXPECT_EQ(U8(item), "d\\e.txt");
    EXPECT_FALSE(SplitArchivePath(string16("x@/"), archive, item));
    EXPECT_FALSE(SplitArchivePath(string16("@/x"), archive, item));
    EXPECT_FALSE(SplitArchivePath(string16("plain.txt"), archive, item));
}

TEST(PathUtils, DelimitersAndLastElement) {
    EXPECT_EQ(DetectPathDelimiter(string16("a/b\\c")), u'/');
    EXPECT_EQ(DetectPathDelimiter(string16("abc")), u'\\');
    string16 p("a/b");
    AppendPathDelimiter(p);
    EXPECT_EQ(U8(p), "a/b/");
    AppendPathDelimiter(p);
    EXPECT_EQ(U8(p), "a/b/");
    string16 empty;
    AppendPathDelimiter(empty);
    EXPECT_TRUE(empty.Empty());
    string16 path("x/y/z/");
    EXPECT_EQ(U8(SplitLastPathElement(path)), "z");
    EXPECT_EQ(U8(path), "x/y");
    string16 single("only");
    EXPECT_EQ(U8(SplitLastPathElement(single)), "only");
    EXPECT_TRUE(single.Empty());
}

}  // namespace
