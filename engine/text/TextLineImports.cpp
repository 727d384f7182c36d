// The bodies of the line-based imports. Each slides the window over the file: it writes the
// lines it holds, keeps a few as context for WriteParagraph, and reads on until the input ends.
#include "engine/core/Log.h"
#include "engine/text/KsTextLineWindow.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

// Lines kept before the next one to handle when the window slides, and lines read per refill.
constexpr int kContextLines = 3;
constexpr int kRefillLines = 100;
constexpr int kParagraphRefillLines = 200;
// The paragraph imports refill when no more than this many lines are left to handle.
constexpr int kMinLinesAhead = 30;
// Longest paragraph of the indentation import, in lines; the empty-line import takes one more.
constexpr int kMaxParagraphLines = 30;
// Lines narrower than this end a paragraph of the empty-line import.
constexpr int kMinFullLineWidth = 45;

// A heading word or number at the start of the line decides alone (its blanks do not count).
int HeadingKindOfLine(const string16& line) {
    int32_t i = 0;
    while (i < line.Length() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    return DetectHeadingKind(i ? line.Substr(i) : line);
}

}  // namespace

bool KsTextLineWindow::DoParaPerLineImport(KsXMLParserCallback* callback) {
    LogDebug("DoParaPerLineImport()");
    const bool spaced = flags_ & FMT_SPACED_LINES;
    int next = 0;
    do {
        while (next < LineCount()) {
            if (Line(next).IsBlank()) {
                if (!spaced) WriteEmptyLine(callback);
                ++next;
                parser_->updateProgress();
                continue;
            }
            // A line longer than the line length limit comes in pieces; they make one paragraph.
            const int last = LastPieceOfLine(next);
            if (last < 0) break;
            WriteParagraph(next, last, callback);
            next = last + 1;
            parser_->updateProgress();
        }
        next = SlideWindow(next, kContextLines);
    } while (ReadLines(kRefillLines));
    CloseOpenSection(callback);
    return true;
}

bool KsTextLineWindow::DoPreFormattedImport(KsXMLParserCallback* callback) {
    LogDebug("DoPreFormattedImport()");
    int next = 0;
    do {
        for (; next < LineCount(); ++next) {
            const KsTextLine& line = Line(next);
            if (line.IsBlank()) {
                WriteEmptyLine(callback);
            } else {
                callback->OnBareTagOpen(u"", u"pre");
                // Every piece of a preformatted text keeps its spaces, also a piece of a line cut
                // at the length limit (which has no line-end flag).
                callback->OnText(line.text.CStr(), line.text.Length(), TXT_PREFORMATTED);
                callback->OnTagClose(u"", u"pre");
                emptyLinesInRow_ = 0;
            }
            parser_->updateProgress();
        }
        next = SlideWindow(next, kContextLines);
    } while (ReadLines(kRefillLines));
    CloseOpenSection(callback);
    return true;
}

bool KsTextLineWindow::DoIdentParaImport(KsXMLParserCallback* callback) {
    LogDebug("DoIdentParaImport()");
    int a = 0;
    for (;;) {
        if (LineCount() - a <= kMinLinesAhead) {
            RemoveLines(0, a);
            a = 0;
            (void)ReadLines(kParagraphRefillLines);
        }
        if (a >= LineCount()) break;
        int last = a, next = a + 1;
        if (HeadingKindOfLine(Line(a).text) == 0) {
            for (int i = a + 1; i < LineCount() && i < a + kMaxParagraphLines; ++i) {
                const KsTextLine& line = Line(i);
                if (line.IsBlank()) {
                    next = i + 1;  // the blank line ends the paragraph and is consumed
                    break;
                }
                if (line.firstCol > minLeft_) {
                    next = i;  // an indented line starts the next paragraph
                    break;
                }
                last = i;
                next = i + 1;
            }
        }
        WriteParagraph(a, last, callback);
        parser_->updateProgress();
        a = next;
    }
    CloseOpenSection(callback);
    return true;
}

bool KsTextLineWindow::DoEmptyLineParaImport(KsXMLParserCallback* callback) {
    LogDebug("DoEmptyLineParaImport()");
    int a = 0;
    for (;;) {
        if (LineCount() - a <= kMinLinesAhead) {
            if (a > 0) {
                // The line before keeps its place as context.
                RemoveLines(0, a - 1);
                a = 1;
            }
            (void)ReadLines(kParagraphRefillLines);
        }
        if (a >= LineCount()) break;
        while (a < LineCount() && Line(a).IsBlank())
            ++a;
        if (a >= LineCount()) continue;  // only blank lines were left: read on
        int b = a;
        if (HeadingKindOfLine(Line(a).text) == 0) {
            while (b < LineCount() && b < a + kMaxParagraphLines) {
                const KsTextLine& line = Line(b);
                if (line.IsBlank() || line.endCol - line.firstCol < kMinFullLineWidth) break;
                ++b;
            }
            if (b >= LineCount()) b = LineCount() - 1;
        }
        WriteParagraph(a, b, callback);
        parser_->updateProgress();
        a = b + 1;
    }
    CloseOpenSection(callback);
    return true;
}
