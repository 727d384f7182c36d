#include <gtest/gtest.h>

#include <string>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsEventDumpCallback.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsXMLParser.h"
#include "tests/support/TestSupport.h"

namespace {

enum class Kind { Xml, Html };

KsRef<KsStream> StreamOf(const std::string& bytes, const char* name = nullptr) {
    KsRef<KsStream> stream = CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()),
                                                MemoryCopy::Copy, KS_MODE_READ);
    if (name) stream->SetName(U16(name).CStr());
    return stream;
}

// The events of a parse, without the start/stop lines.
std::string Events(const std::string& input, Kind kind, int flags = 0, bool merge = false) {
    KsEventDumpCallback events(flags);
    events.setMergeText(merge);
    KsRef<KsStream> stream = StreamOf(input);
    if (kind == Kind::Html) {
        KsHTMLParser parser(stream, &events);
        parser.Parse();
    } else {
        KsXMLParser parser(stream, &events);
        parser.Parse();
    }
    std::string text = events.text();
    const std::string start = "start\n", stop = "stop\n";
    if (text.compare(0, start.size(), start) == 0) text.erase(0, start.size());
    if (text.size() >= stop.size() &&
        text.compare(text.size() - stop.size(), stop.size(), stop) == 0)
        text.erase(text.size() - stop.size());
    return text;
}

struct EventCase {
    const char* name;
    Kind kind;
    int flags;
    std::string input;
    std::string expected;
};

class Tokenizer : public ::testing::TestWithParam<EventCase> {};

TEST_P(Tokenizer, Events) {
    const EventCase& c = GetParam();
    EXPECT_EQ(Events(c.input, c.kind, c.flags), c.expected) << c.input;
}

const int TRIM = TXT_TRIM;
const int PRE = TXT_PREFORMATTED;

const EventCase kCases[] = {
    {"NameFollowedByLineFeed", Kind::Html, 0, "<p\nclass=\"x\">t</p>",
     "open p\nattr class=\"x\"\nbody\ntext \"t\"\nclose p\n"},
    {"NameFollowedByTab", Kind::Xml, 0, "<a\tb='1'\r\n/>", "open a\nattr b=\"1\"\nbody\nclose a\n"},
    {"QuotedValueEndsAtGreaterThan", Kind::Xml, 0, "<a title=\"x>y\">z</a>",
     "open a\nattr title=\"x\"\nbody\ntext \"y\\\">z\"\nclose a\n"},
    {"NbspEntityEatsTheSpace", Kind::Xml, 0, "<p>&nbsp x</p>",
     "open p\nbody\ntext \"\\u00a0x\"\nclose p\n"},
    {"UnknownEntityStays", Kind::Xml, 0, "<p>AT&T;</p>", "open p\nbody\ntext \"AT&T;\"\nclose p\n"},
    {"BareAmpersandStays", Kind::Xml, 0, "<p>R & D, a &1 b, &#;</p>",
     "open p\nbody\ntext \"R & D, a &1 b, &#;\"\nclose p\n"},
    {"NumericReferences", Kind::Xml, 0, "<p>&#x41;&#65;&#65 b</p>",
     "open p\nbody\ntext \"AAA b\"\nclose p\n"},
    {"ReferencesBeyondTheBasicPlane", Kind::Xml, 0, "<p>&#x1F600;&#128512;</p>",
     "open p\nbody\ntext \"\xF0\x9F\x98\x80\xF0\x9F\x98\x80\"\nclose p\n"},
    {"InvalidReferencesBecomeReplacement", Kind::Xml, 0,
     "<p>&#0;&#xD800;&#x110000;&#99999999999;</p>",
     "open p\nbody\ntext \"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"\nclose p\n"},
    {"TrimCollapsesAndTrims", Kind::Xml, TRIM, "<p>  a  b  </p>",
     "open p\nbody\ntext[0x4] \"a b\"\nclose p\n"},
    {"PreformattedTabsAndLineBreaks", Kind::Xml, PRE, "<pre>abc\tx\r\ny\n\rz</pre>",
     "open pre\nbody\ntext[0x1] \"abc     x\\ny\\nz\"\nclose pre\n"},
    {"XmlDeclarationSetsTheCharset", Kind::Xml, 0,
     "<?xml version=\"1.0\" encoding=\"windows-1251\"?><r/>",
     "open ?xml\nattr version=\"1.0\"\nattr encoding=\"windows-1251\"\ncharset windows-1251\nbody\n"
     "close ?xml\nopen r\nbody\nclose r\n"},
    {"HtmlLowerCasesNamesNotValues", Kind::Html, 0, "<P CLASS=\"Big\">t</P>",
     "open p\nattr class=\"Big\"\nbody\ntext \"t\"\nclose p\n"},
    {"XmlKeepsCase", Kind::Xml, 0, "<P CLASS=\"Big\"/>",
     "open P\nattr CLASS=\"Big\"\nbody\nclose P\n"},
    {"CommentsAndDoctypeVanish", Kind::Xml, 0, "<!DOCTYPE html><!-- a - b -- c --><p>t</p>",
     "open p\nbody\ntext \"t\"\nclose p\n"},
    {"UnterminatedCommentTakesTheRest", Kind::Xml, 0, "<p>a</p><!-- <p>b</p>",
     "open p\nbody\ntext \"a\"\nclose p\n"},
    {"TextBeforeFirstTagIsDropped", Kind::Xml, 0, "junk<p>t</p>",
     "open p\nbody\ntext \"t\"\nclose p\n"},
    {"CDataEndsAtItsMarker", Kind::Xml, 0, "<s><![CDATA[a > b && c]]>d</s>",
     "open s\nbody\ntext \"a > b && c\"\ntext \"d\"\nclose s\n"},
    {"NamespacePrefixes", Kind::Xml, 0, "<l:a xlink:href=\"#n\"/>",
     "open l:a\nattr xlink:href=\"#n\"\nbody\nclose l:a\n"},
    {"AttributeEntitiesAreDecoded", Kind::Xml, 0, "<a href=\"x?a=1&amp;b=2\" t=v&lt;w/>",
     "open a\nattr href=\"x?a=1&b=2\"\nattr t=\"v<w/\"\nbody\n"},
    {"EmptyAndUnquotedValues", Kind::Html, 0, "<td nowrap width=30%>t</td>",
     "open td\nattr nowrap=\"\"\nattr width=\"30%\"\nbody\ntext \"t\"\nclose td\n"},
    {"StrayCharacterInTagKeepsText", Kind::Html, 0, "<img src=\"a\" / >tail",
     "open img\nattr src=\"a\"\nbody\ntext \"tail\"\n"},
    {"TagCutByAnotherTag", Kind::Html, 0, "<p a=1 <b>x</b>",
     "open p\nattr a=\"1\"\nbody\nopen b\nbody\ntext \"x\"\nclose b\n"},
    {"HtmlScriptIsRawText", Kind::Html, 0, "<script>if (a<b) x();</script><p>t</p>",
     "open script\nbody\ntext \"if (a<b) x();\"\nclose script\nopen p\nbody\ntext \"t\"\nclose "
     "p\n"},
    {"HtmlStyleLosesHidingMarkers", Kind::Html, 0, "<style><!-- p { x: 1 } --></style>",
     "open style\nbody\ntext \" p { x: 1 } \"\nclose style\n"},
    {"UnreadableTagStartIsDropped", Kind::Xml, 0, "<1abc>t<=x>u", "text \"t\"\ntext \"u\"\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Tokenizer, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<EventCase>& c) {
                             return std::string(c.param.name);
                         });

// Text pieces: 8192 units at most, cut after a space when there is one, never inside an entity
// or a surrogate pair, and the whole text always survives.
TEST(TokenizerPieces, LongTextWithoutSpaces) {
    std::string text(10000, 'x');
    std::string events = Events("<p>" + text + "</p>", Kind::Xml);
    EXPECT_NE(events.find("text \"" + std::string(8192, 'x') + "\"\ntext \"" +
                          std::string(1808, 'x') + "\"\n"),
              std::string::npos);
}

TEST(TokenizerPieces, CutsNeverSplitEntitiesOrPairs) {
    for (int shift = 0; shift < 12; ++shift) {
        std::string before(8188 + shift, 'a');
        std::string input =
            "<p>" + before + "&amp;\xF0\x9F\x98\x80" + std::string(300, 'b') + "</p>";
        std::string merged = Events(input, Kind::Xml, 0, true);
        std::string expected = "open p\nbody\ntext \"" + before + "&\xF0\x9F\x98\x80" +
                               std::string(300, 'b') + "\"\nclose p\n";
        EXPECT_EQ(merged, expected) << "shift " << shift;
        EXPECT_EQ(Events(input, Kind::Xml).find("\\ud"), std::string::npos) << "lone surrogate";
    }
}

TEST(TokenizerPieces, CutAfterLastSpace) {
    std::string input = "<p>" + std::string(8000, 'a') + " " + std::string(1000, 'b') + "</p>";
    std::string events = Events(input, Kind::Xml);
    EXPECT_NE(
        events.find("text \"" + std::string(8000, 'a') + " \"\ntext \"" + std::string(1000, 'b')),
        std::string::npos);
}

TEST(TokenizerSafety, BoundedAttributesNamesAndValues) {
    std::string many = "<p";
    for (int i = 0; i < 5000; ++i)
        many += " a" + std::to_string(i) + "=1";
    many += ">t</p>";
    KsEventDumpCallback events;
    KsXMLParser parser(StreamOf(many), &events);
    parser.Parse();
    const std::string& out = events.text();
    size_t attributes = 0;
    for (size_t at = out.find("attr "); at != std::string::npos; at = out.find("attr ", at + 1))
        ++attributes;
    EXPECT_EQ(attributes, 1024u);
    EXPECT_NE(out.find("text \"t\""), std::string::npos);

    std::string longValue = "<p v=\"" + std::string(3 << 20, 'v') + "\">t</p>";
    std::string valueEvents = Events(longValue, Kind::Xml);
    EXPECT_NE(valueEvents.find("attr v=\"" + std::string(1 << 20, 'v') + "\"\n"),
              std::string::npos);
    EXPECT_NE(valueEvents.find("text \"t\""), std::string::npos);

    std::string longName = "<" + std::string(300, 'n') + ">t";
    EXPECT_EQ(Events(longName, Kind::Xml), "text \"t\"\n");
}

TEST(TokenizerSafety, SplitModeCutsAtIndentedLines) {
    std::string events = Events("<pre>line one\n  indented\nplain</pre>", Kind::Xml,
                                TXT_PREFORMATTED | TXT_SPLIT_INDENTED_LINES | TXT_TRIM);
    EXPECT_EQ(
        events,
        "open pre\nbody\ntext[0x85] \"line one\"\ntext[0x85] \" indented plain\"\nclose pre\n");
}

struct FormatCase {
    const char* name;
    std::string input;
    XmlRootCheck check;
    bool accepted;
};

TEST(XmlCheckFormat, Roots) {
    const std::string fb2 =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<FictionBook "
        "xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\">";
    const std::string xhtml =
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>x</title></head>";
    const FormatCase cases[] = {
        {"fb2 as fb2", fb2, XmlRootCheck::Fb2Only, true},
        {"fb2 as xml", fb2, XmlRootCheck::AnyXml, true},
        {"other xml as fb2", "<?xml version=\"1.0\"?><package xmlns=\"x\"></package>",
         XmlRootCheck::Fb2Only, false},
        {"xhtml without declaration", xhtml, XmlRootCheck::XmlOrXhtml, true},
        {"xhtml refused as plain xml", xhtml, XmlRootCheck::AnyXml, false},
        {"too short", "<?xml version=\"1.0\"?><a/>", XmlRootCheck::AnyXml, false},
        {"plain text", std::string(100, 'a'), XmlRootCheck::AnyXml, false},
    };
    for (const auto& c : cases) {
        KsEventDumpCallback events;
        KsXMLParser parser(StreamOf(c.input), &events, c.check);
        EXPECT_EQ(parser.CheckFormat(), c.accepted) << c.name;
    }
}

TEST(XmlCheckFormat, DeclaredEncodingIsSelected) {
    for (const char* quote : {"\"", "'"}) {
        std::string input = std::string("<?xml version=\"1.0\" encoding=") + quote +
                            "windows-1251" + quote +
                            "?><FictionBook><p>\xCF\xF0\xE8\xE2\xE5\xF2</p></FictionBook>";
        KsEventDumpCallback events;
        KsXMLParser parser(StreamOf(input), &events, XmlRootCheck::Fb2Only);
        ASSERT_TRUE(parser.CheckFormat()) << quote;
        EXPECT_EQ(U8(parser.GetEncodingName()), "windows-1251");
        parser.Parse();
        EXPECT_NE(events.text().find("text \"\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\""),
                  std::string::npos)
            << events.text();
    }
}

TEST(HtmlCheckFormat, AcceptsAndReadsCharsetDeclarations) {
    struct Case {
        const char* name;
        std::string input;
        const char* streamName;
        bool accepted;
        const char* charset;
    } cases[] = {
        {"html head", "<HTML><HEAD><TITLE>A book title here</TITLE></HEAD>", nullptr, true, ""},
        {"fragment named .htm", "<p>Some paragraph text of a page</p>", "x/ch1.HTM", true, ""},
        {"fragment without a name", "<p>Some paragraph text of a page</p>", nullptr, false, ""},
        {"meta http-equiv",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1251\"></head>",
         nullptr, true, "windows-1251"},
        {"meta charset", "<html><head><meta charset=\"koi8-r\"/></head><body>", nullptr, true,
         "koi8-r"},
        {"declared utf-16 ignored",
         "<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
         "charset=utf-16\"></head>",
         nullptr, true, ""},
        {"short", "<html><body></body>", nullptr, false, ""},
    };
    for (const auto& c : cases) {
        KsEventDumpCallback events;
        KsHTMLParser parser(StreamOf(c.input, c.streamName), &events);
        EXPECT_EQ(parser.CheckFormat(), c.accepted) << c.name;
        if (*c.charset) {
            EXPECT_EQ(U8(parser.GetEncodingName()), c.charset) << c.name;
        } else {
            EXPECT_NE(U8(parser.GetEncodingName()), "utf-16") << c.name;
        }
    }
}

TEST(TokenizerStop, StopEndsTheParseWithOnStop) {
    class Stopper : public KsEventDumpCallback {
    public:
        ldomNode* OnTagOpen(const unit16* ns, const unit16* name) override {
            if (string16(name) == "stop") parser_->Stop();
            return KsEventDumpCallback::OnTagOpen(ns, name);
        }
    } events;
    KsXMLParser parser(StreamOf("<a/><stop/><b/>"), &events);
    EXPECT_TRUE(parser.Parse());
    EXPECT_EQ(events.text().find("open b"), std::string::npos);
    EXPECT_EQ(events.text().substr(events.text().size() - 5), "stop\n");
}

}  // namespace
