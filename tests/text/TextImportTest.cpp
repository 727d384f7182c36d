// The plain-text import below the tree: heading kinds, columns, layout detection, the PML writer's
// events, and input safety on generated streams of hundreds of thousands of lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"
#include "engine/text/PmlWriter.h"
#include "tests/support/GeneratedStream.h"
#include "tests/text/TextTestSupport.h"

namespace {

// Writes the events as compact markup: <p>, </p>, <a href=x>, text in brackets.
class EventRecorder final : public KsXMLParserCallback {
public:
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16* name) override {
        ++elements;
        if (record) out += "<" + Utf8(name);
        open = true;
        return nullptr;
    }
    void OnTagBody() override {
        if (record && open) out += ">";
        open = false;
    }
    void OnTagClose(const unit16*, const unit16* name) override {
        if (record) out += "</" + Utf8(name) + ">";
    }
    void OnAttribute(const unit16*, const unit16* name, const unit16* value) override {
        if (record) out += " " + Utf8(name) + "=" + Utf8(value);
    }
    void OnText(const unit16* text, int length, int) override {
        ++texts;
        longestText = std::max(longestText, length);
        textUnits += length;
        if (record) out += "[" + Str(String16ToUtf8(string16(text, length))) + "]";
    }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return false; }

    bool record = true;
    bool open = false;
    std::string out;
    int64_t elements = 0, texts = 0, textUnits = 0;
    int longestText = 0;

private:
    static std::string Utf8(const unit16* text) { return Str(String16ToUtf8(string16(text))); }
};

TEST(DetectHeadingKind, NamesVolumesPartsChaptersAndNumbers) {
    const struct {
        const char16_t* text;
        int kind;
    } cases[] = {
        {u"", 0},
        {u"Chapter 5", 3},
        {u"ГЛАВА 1", 3},
        {u"vol", 0},
        {u"vol. 2", 1},
        {u"Volume III", 1},
        {u"Часть вторая", 2},
        {u"PART ONE", 2},
        {u"12", 5},
        {u"1.2.3", 7},
        {u"12a", 0},
        {u"XIV", 4},
        {u"XXXIX", 4},
        {u"XL", 0},
        {u"iv", 0},
        {u"I", 4},
        // A heading word must be a word of its own: these are ordinary sentences.
        {u"Particularly so.", 0},
        {u"Voltage dropped", 0},
        {u"Chapters of life", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DetectHeadingKind(string16(c.text)), c.kind) << Str(String16ToUtf8(c.text));
    // A number of 80 characters or more is no heading.
    EXPECT_EQ(DetectHeadingKind(string16(std::string(79, '1').c_str())), 5);
    EXPECT_EQ(DetectHeadingKind(string16(std::string(80, '1').c_str())), 0);
}

TEST(KsTextLine, MeasuresColumnsWithTabStops) {
    const struct {
        const char16_t* text;
        int firstCol, endCol;
    } cases[] = {
        {u"\tab", 8, 10}, {u"ab", 0, 2},   {u"  a b  ", 2, 5},    {u" \t ", 0, 0},
        {u"", 0, 0},      {u"a\tb", 0, 9}, {u"1234567\tx", 0, 9},
    };
    for (const auto& c : cases) {
        KsTextLine line;
        line.text = string16(c.text);
        line.Measure();
        EXPECT_EQ(line.firstCol, c.firstCol) << Str(String16ToUtf8(c.text));
        EXPECT_EQ(line.endCol, c.endCol) << Str(String16ToUtf8(c.text));
    }
}

// The format flags a text is imported with.
int FlagsOf(const std::string& text, TextLayout layout = TextLayout::Detect) {
    EventRecorder events;
    KsTextParser parser(StreamOf(text), &events, layout);
    EXPECT_TRUE(parser.CheckFormat());
    EXPECT_TRUE(parser.Parse());
    return parser.GetFormatFlags();
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(DetectFormatFlags, ChoosesTheImportFromTheLayout) {
    const std::string wrapped = "words words words words words words words words words words\n";
    EXPECT_EQ(FlagsOf("only a few lines\nof text here\n"),
              FMT_PARA_PER_LINE | FMT_RARE_EMPTY_LINES);
    // Fewer than 10 lines with text: no flag, the paragraph-per-line import.
    EXPECT_EQ(FlagsOf(Repeat("\n", 40) + "one line of text among many blank lines\n"), 0);
    EXPECT_TRUE(FlagsOf(Repeat("    a short first line\n" + wrapped + wrapped, 10)) &
                FMT_INDENTED_PARAS);
    EXPECT_TRUE(FlagsOf(Repeat(wrapped + wrapped + "\n", 10)) & FMT_EMPTY_LINE_PARAS);
    const std::string longLine = Repeat("long words ", 20) + "\n";
    EXPECT_EQ(FlagsOf("\n" + Repeat(longLine + "\n", 30) + "\n"),
              FMT_PARA_PER_LINE | FMT_SPACED_LINES);
    EXPECT_EQ(FlagsOf(Repeat(longLine, 20), TextLayout::Preformatted), FMT_PREFORMATTED);
    EXPECT_EQ(FlagsOf(Repeat("\\bbold\\b and \\iitalic words\n", 12)), FMT_PML);
    EXPECT_EQ(FlagsOf("no escapes at all, but PML asked for\n", TextLayout::Pml), FMT_PML);
}

// The events of the body a text is imported to.
std::string BodyEvents(const std::string& text) {
    EventRecorder events;
    KsTextParser parser(StreamOf(text), &events);
    EXPECT_TRUE(parser.CheckFormat());
    EXPECT_TRUE(parser.Parse());
    const size_t body = events.out.find("<body>");
    return body == std::string::npos ? events.out : events.out.substr(body);
}

TEST(TextImport, IndentedHeadingWordsStandAlone) {
    // An indented "Chapter 2" followed by the unindented lines of a paragraph is a heading of its
    // own, not the start of that paragraph.
    const std::string wrapped = "words words words words words words words words words words\n";
    std::string text;
    for (int i = 0; i < 6; ++i)
        text += "    a short first line\n" + wrapped + wrapped;
    text += "    Chapter 2\n" + wrapped + "    a short first line\n" + wrapped;
    ASSERT_TRUE(FlagsOf(text) & FMT_INDENTED_PARAS);
    const std::string body = BodyEvents(text);
    EXPECT_NE(body.find("<section><title><p>[Chapter 2]</p></title><p>[words words"),
              std::string::npos)
        << body;
}

std::string PmlEvents(std::initializer_list<const char16_t*> lines) {
    EventRecorder events;
    PmlWriter writer(&events);
    for (const char16_t* line : lines)
        writer.ProcessLine(string16(line));
    writer.Finish();
    return events.out;
}

TEST(PmlWriter, ConvertsEscapes) {
    const struct {
        std::initializer_list<const char16_t*> lines;
        const char* events;
    } cases[] = {
        {{u"\\bbold\\b text"}, "<p><b>[bold]</b>[ text]</p>"},
        {{u"\\x\\cChapter\\c"},
         "<section id=_section1><title><p style=text-align: center; text-indent: 0px; >"
         "[Chapter]</p></title></section>"},
        {{u"\\iopen", u"still"}, "<p><i>[open]</i></p><p><i>[still]</i></p>"},
        {{u"\\a233 \\a000 \\U0000 \\U00e9 \\a12x"}, "<p>[é \\a000 \\U0000 é \\a12x]</p>"},
        {{u"a\\-b \\\\ \\z"}, "<p>[a\u00ADb \\ \\z]</p>"},
        {{u"\\vhidden\\v shown"}, "<p>[ shown]</p>"},
        {{u"\\q=\"#n1\"note\\q and \\Q=\"n1\"anchor"},
         // An anchor goes before the text not yet sent.
         "<p><a href=#n1>[note]</a><a name=n1></a>[ and anchor]</p>"},
        {{u"\\m=\"a.png\"", u"\\w=\"50%\"", u"\\T=\"1em\"x"},
         "<img src=a.png></img><hr></hr><p>[x]</p>"},
        {{u"\\C0=\"Chapter\"\\C1 text"}, "<p>[1 text]</p>"},
        // Indentation and alignment apply to the paragraph started after them.
        {{u"\\tin \\rright\\r\\t"},
         "<p style=margin-left: 15%; >[in ]</p>"
         "<p style=margin-left: 15%; text-align: right; >[right]</p>"},
        {{u"\\Bone\\ub\\B after"}, "<p><b>[one]<u>[b]</u></b>[ after]</p>"},
        // Sub-chapters nest inside their chapter; a page break starts a sibling section.
        {{u"\\xOne\\x", u"\\X1A\\X1", u"\\X2B\\X2", u"\\pC"},
         "<section id=_section1><title><p>[One]</p></title><section id=_section2><title><p>[A]</p>"
         "</title><section id=_section3><title><p>[B]</p></title></section><section "
         "id=_section4><p>[C]</p></section></section></section>"},
        {{u"trailing \\"}, "<p>[trailing \\]</p>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PmlEvents(c.lines), c.events) << Str(String16ToUtf8(string16(*c.lines.begin())));
}

struct SafetyCase {
    const char* name;
    std::string pattern;
    ks_pos_t bytes;
    TextLayout layout;
};

// Every layout reads a huge input through a bounded window: one line of tens of megabytes (with
// and without blanks) and hundreds of thousands of empty lines. The tree gets a bounded number of
// empty lines, and no text event is larger than a joined line.
TEST(TextImportSafety, HugeLinesAndRunsOfEmptyLinesStayBounded) {
    const ks_pos_t kBig = 8u * 1024 * 1024;  // twice what the window may hold
    const SafetyCase cases[] = {
        {"one line with blanks", "some words ", kBig, TextLayout::Detect},
        {"one line without blanks", "abcdefghij", kBig, TextLayout::Detect},
        {"one preformatted line", "abcdefghij", kBig, TextLayout::Preformatted},
        {"empty lines", "\n", 2'000'000, TextLayout::Detect},
        {"empty CR LF lines", "\r\n", 4'000'000, TextLayout::Preformatted},
        {"short lines of PML", "\\bword\\b\n", 4'000'000, TextLayout::Detect},
        {"indented paragraphs", "    word word word word word\nword word word word word\n", kBig,
         TextLayout::Detect},
    };
    for (const SafetyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EventRecorder events;
        events.record = false;
        KsTextParser parser(KsRef<KsStream>(new GeneratedStream(c.pattern, c.bytes)), &events,
                            c.layout);
        (void)parser.CheckFormat();  // text without blanks is no text file, but books hold such
        ASSERT_TRUE(parser.Parse());
        const KsTextWindowPeak& peak = parser.GetWindowPeak();
        EXPECT_LE(peak.units, kMaxTextWindowUnits + kMaxTextLineUnits);
        EXPECT_LE(peak.lines, 2200);
        EXPECT_LE(events.longestText, kMaxTextJoinedPieces * kMaxTextLineUnits);
        EXPECT_GT(peak.linesRead, 0);
        if (c.pattern.find_first_not_of("\r\n") == std::string::npos) {
            // Nothing but line breaks: a few empty lines, not millions of elements.
            EXPECT_LE(events.elements, 40);
        } else {
            // The text is all there (blanks collapse, so count at least a third of the bytes).
            EXPECT_GE(events.textUnits, int64_t(c.bytes / 3));
        }
    }
}

}  // namespace
