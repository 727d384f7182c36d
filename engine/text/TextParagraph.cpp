// One paragraph of a plain text: its lines joined, and whether it is a title, a separator
// (written as a subtitle), an empty line or body text.
#include "engine/core/CharProps.h"
#include "engine/text/KsTextFileBase.h"
#include "engine/text/KsTextLineWindow.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

// Paragraphs longer than this are never titles; single lines shorter than this between blank
// lines are "isolated".
constexpr int kMaxTitleLength = 48;
constexpr int kMaxEarlyTitleLength = 50;
constexpr int kMaxShortLineTitle = 4;
constexpr unit16 kMaxSeparatorCode = 0x40;

bool IsBlankOrBreak(unit16 c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A text made of one character repeated (blanks between allowed) with a code up to 0x40, such as
// "* * *", a row of hyphens or of number signs.
bool IsSeparatorText(const string16& text) {
    unit16 mark = 0;
    for (int32_t i = 0; i < text.Length(); ++i) {
        const unit16 c = text[i];
        if (IsBlankOrBreak(c)) continue;
        if (mark == 0)
            mark = c;
        else if (c != mark)
            return false;
    }
    return mark != 0 && mark <= kMaxSeparatorCode;
}

bool IsLetter(unit16 c) {
    return (GetCharProps(c) & CH_PROP_ALPHA) != 0;
}

// The texts of the lines joined by line breaks, without the blanks at their ends; blank lines add
// nothing. The pieces of a line the line reader had to cut are joined as they were. A word
// hyphenated at the end of a line is joined again ("won-" "derful" gives "wonderful"); the
// hyphen of the paragraph's last line stays.
string16 JoinLines(const KsTextLineWindow& window, int first, int last) {
    enum class Join { Break, Hyphen, Piece } join = Join::Break;
    string16 text;
    for (int i = first; i <= last; ++i) {
        const KsTextLine& line = window.Line(i);
        if (line.IsBlank()) continue;
        const bool cut = !(line.flags & KS_LINE_END) && i < last;
        int32_t end = line.text.Length();
        if (!cut)
            while (end > 0 && (line.text[end - 1] == ' ' || line.text[end - 1] == '\t'))
                --end;
        int32_t begin = 0;
        if (join == Join::Hyphen)
            while (begin < end && (line.text[begin] == ' ' || line.text[begin] == '\t'))
                ++begin;
        else if (join == Join::Break && !text.Empty())
            text.Append(unit16('\n'));
        text.Append(line.text.CStr() + begin, end - begin);
        join = Join::Break;
        if (cut) {
            join = Join::Piece;
        } else if (i < last && text.Length() >= 2 && text[text.Length() - 1] == '-' &&
                   IsLetter(text[text.Length() - 2])) {
            join = Join::Hyphen;
            text.Truncate(text.Length() - 1);
        }
    }
    return text;
}

}  // namespace

void KsTextLineWindow::WriteParagraph(int first, int last, KsXMLParserCallback* callback) {
    string16 text = JoinLines(*this, first, last);
    text.CollapseSpaces(SpaceCollapse::None);
    const int len = text.Length();
    const int count = LineCount();
    auto blankAt = [&](int index) { return Line(index).IsBlank(); };

    bool isolated = false, doublyIsolated = false;
    if (first == last && last < count - 1 &&
        (!(flags_ & FMT_INDENTED_PARAS) || Line(first).firstCol != 0) && blankAt(last + 1) &&
        (first == 0 || blankAt(first - 1))) {
        isolated = Line(first).text.Length() < kMaxTitleLength;
        if (first < 2 || blankAt(first - 2)) doublyIsolated = isolated;
    }
    const bool separator = IsSeparatorText(text);
    bool title = separator;

    if (flags_ & FMT_SPACED_LINES) {
        title = doublyIsolated;
        if ((isolated && first < 3 && len < kMaxTitleLength) ||
            (first < 2 && len < kMaxTitleLength))
            title = true;
        if (len == 0) return;
    } else {
        if ((first == last && len < kMaxShortLineTitle) ||
            (paragraphCount_ < 2 && len < kMaxEarlyTitleLength && first < count - 2 &&
             (blankAt(first + 1) || blankAt(first + 2))))
            title = true;
        if (first == last &&
            ((Line(first).flags & KS_LINE_HEADING) ||
             ((flags_ & FMT_CENTERED_HEADINGS) && Line(first).align == LINE_CENTERED)))
            title = true;
        if (DetectHeadingKind(text) > 0) title = true;
        if (isolated && !(flags_ & FMT_EMPTY_LINE_PARAS)) title = true;
    }
    if (len > kMaxTitleLength) title = false;

    if (len == 0) {
        if (!((flags_ & FMT_EMPTY_LINE_PARAS) && title)) WriteEmptyLine(callback);
        return;
    }
    const char16_t* wrapper = nullptr;
    if (title && !separator) {
        if (!inTitle_) {
            CloseOpenSection(callback);
            callback->OnBareTagOpen(u"", u"section");
            sectionOpen_ = true;
        }
        inTitle_ = true;
        wrapper = u"title";
    } else {
        inTitle_ = false;
        if (title) wrapper = u"subtitle";
    }
    if (wrapper) callback->OnBareTagOpen(u"", wrapper);
    callback->OnBareTagOpen(u"", u"p");
    callback->OnText(text.CStr(), len, TXT_TRIM | TXT_TRIM_DROP_EOL_HYPHENS);
    callback->OnTagClose(u"", u"p");
    if (wrapper) callback->OnTagClose(u"", wrapper);
    ++paragraphCount_;
    emptyLinesInRow_ = 0;
}
