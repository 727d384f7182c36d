#include <gtest/gtest.h>

#include <string>

#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsEventDumpCallback.h"
#include "engine/text/KsTextBookmarkParser.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

KsRef<KsStream> StreamOf(const std::string& bytes) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy,
                              KS_MODE_READ);
}

std::string Exported(const std::string& headerRest, const std::string& body) {
    return kBom + KsTextBookmarkParser::Header() + headerRest + "\r\n\r\n" + body;
}

TEST(BookmarkParser, CheckFormatNeedsMarkAndHeader) {
    const std::string good = Exported("book.fb2", "x");
    const struct {
        const char* name;
        std::string input;
        bool accepted;
    } cases[] = {
        {"exported file", good, true},
        {"no byte-order mark", good.substr(3), false},
        {"other header", kBom + "# Some other program - exported bookmarks\r\n# file name: a\r\n",
         false},
        {"header cut short", kBom + std::string(KsTextBookmarkParser::Header()).substr(0, 30),
         false},
    };
    for (const auto& c : cases) {
        KsEventDumpCallback events;
        KsTextBookmarkParser parser(StreamOf(c.input), &events);
        EXPECT_EQ(parser.CheckFormat(), c.accepted) << c.name;
    }
}

TEST(BookmarkParser, EventsOfAnExportedFile) {
    std::string input = kBom + KsTextBookmarkParser::Header() +
                        "onegin.fb2\r\n# file path: /books\r\n# book title: Onegin\r\n"
                        "# author: A. Pushkin\r\n\r\n## Chapter One\r\n** Bookmark text\r\n\r\n"
                        "plain line\r\n";
    KsEventDumpCallback events;
    KsTextBookmarkParser parser(StreamOf(input), &events);
    ASSERT_TRUE(parser.CheckFormat());
    ASSERT_TRUE(parser.Parse());
    const std::string p = "open p\nattr style=\"text-indent: 0em\"\nbody\n";
    auto para = [&](const std::string& prefix, const std::string& text) {
        std::string out = p;
        if (!prefix.empty()) out += "open strong\nbody\ntext \"" + prefix + "\"\nclose strong\n";
        return out + "text \"" + text + "\"\nclose p\n";
    };
    std::string expected =
        "open ?xml\nattr version=\"1.0\"\nattr encoding=\"utf8\"\ncharset utf8\nbody\nclose ?xml\n"
        "open FictionBook\nbody\nopen description\nbody\nopen title-info\nbody\nopen "
        "book-title\nbody\n"
        "text \"Bookmarks: A. Pushkin  Onegin  \"\nclose book-title\nclose title-info\nclose "
        "description\n"
        "open body\nbody\nopen title\nbody\n" +
        para("", "Tarnivelle Bookmarks file") + "close title\n" + para("file: ", "onegin.fb2") +
        para("path: ", "/books") + para("title: ", "Onegin") + para("author: ", "A. Pushkin") +
        "open empty-line\nbody\nclose empty-line\nopen section\nbody\n" + para("Chapter One", " ") +
        para("** ", "Bookmark text") + "open empty-line\nbody\nclose empty-line\n" +
        para("", "plain line") + "close section\nclose body\nclose FictionBook\n";
    EXPECT_EQ(events.text(), expected);
}

TEST(BookmarkParser, DefaultsWhenTheHeaderSaysLittle) {
    std::string input = kBom + KsTextBookmarkParser::Header() + "\r\n\r\n";
    KsEventDumpCallback events;
    KsTextBookmarkParser parser(StreamOf(input + "x\r\n"), &events);
    ASSERT_TRUE(parser.Parse());
    // An empty file name line gives an empty name; the title then defaults to "No Title".
    EXPECT_NE(events.text().find("text \"Bookmarks: No Title  \""), std::string::npos)
        << events.text();
    EXPECT_EQ(events.text().find("path: "), std::string::npos);  // empty values are not emitted
}

}  // namespace
