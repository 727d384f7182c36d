#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/text/KsTextLine.h"

class KsTextParser;
class KsXMLParserCallback;

// How a plain text marks its paragraphs, as detectFormatFlags guesses it.
enum KsTextFormatFlags : int {
    FMT_PARA_PER_LINE = 0x001,      // one paragraph per line (part of the defaults 0x11, 0x81)
    FMT_INDENTED_PARAS = 0x002,     // paragraphs begin with an indented line
    FMT_EMPTY_LINE_PARAS = 0x004,   // paragraphs are separated by blank lines
    FMT_CENTERED_HEADINGS = 0x008,  // a centred single line is a heading
    FMT_RARE_EMPTY_LINES = 0x010,   // with FMT_INDENTED_PARAS: under 7 % of the lines are blank
    FMT_SHORT_LINES = 0x020,        // no line reaches column 80
    FMT_RIGHT_EDGE = 0x040,         // many lines end exactly at the right margin
    FMT_SPACED_LINES = 0x080,       // one paragraph per line, a blank line between paragraphs
    FMT_PREFORMATTED = 0x100,       // every line is written unchanged
    FMT_PML = 0x200,                // Palm Markup Language
};

// What the window held at its fullest during one import (for tests and benchmarks).
struct KsTextWindowPeak {
    int lines = 0;
    int64_t units = 0;
    int64_t linesRead = 0;
};

// The lines of a plain text the import currently holds, in file order, with the statistics of
// the text's layout. The imports slide it over the file: they write the lines they hold, drop
// them but for a few kept as context, and read on, so that only a window of the text is ever in
// memory however large the file is.
class KsTextLineWindow {
public:
    static constexpr int kMaxLineLength = 2000;

    explicit KsTextLineWindow(KsTextParser* parser, int flags = FMT_PREFORMATTED);
    KsTextLineWindow(const KsTextLineWindow&) = delete;
    KsTextLineWindow& operator=(const KsTextLineWindow&) = delete;

    // Appends up to n lines; it stops early once the window holds kMaxTextWindowUnits units (one
    // line is always read). False when the input had already ended (or a stop was requested).
    bool ReadLines(int n);
    // Deletes lines start ... start + n - 1.
    void RemoveLines(int start, int n);

    int LineCount() const { return static_cast<int>(lines_.size()); }
    const KsTextLine& Line(int index) const { return lines_[static_cast<size_t>(index)]; }

    // Guesses the format flags and the column statistics from the lines held (normally the first
    // 2000 of the file) and classifies them.
    void detectFormatFlags();
    // The alignment class of a line against the statistics of detectFormatFlags.
    int ClassifyLine(const KsTextLine& line) const;

    // The FB2 title-info: author and title guessed from the first line (an etext header, an
    // "Author. Title" line) or the file name. Drops the lines of an etext header.
    void WriteTitleInfo(KsXMLParserCallback* callback);
    // One paragraph (or title, subtitle, empty line) from lines first ... last.
    void WriteParagraph(int first, int last, KsXMLParserCallback* callback);

    // The body in each mode.
    bool DoParaPerLineImport(KsXMLParserCallback* callback);
    bool DoIdentParaImport(KsXMLParserCallback* callback);
    bool DoEmptyLineParaImport(KsXMLParserCallback* callback);
    bool DoPreFormattedImport(KsXMLParserCallback* callback);
    bool DoPMLImport(KsXMLParserCallback* callback);

    int flags() const { return flags_; }
    void setFlags(int flags) { flags_ = flags; }
    const string16& title() const { return title_; }
    const string16& author() const { return author_; }
    int minLeft() const { return minLeft_; }
    int maxRight() const { return maxRight_; }
    int avgLeft() const { return avgLeft_; }
    int avgRight() const { return avgRight_; }
    int avgCenter() const { return avgCenter_; }
    int modeLeft() const { return modeLeft_; }
    int secondLeft() const { return secondLeft_; }
    int modeRight() const { return modeRight_; }
    int headerEnd() const { return headerEnd_; }
    const KsTextWindowPeak& peak() const { return peak_; }

private:
    bool ParseEtextHeader(int firstLine);
    bool ParseAuthorTitleLine(int firstLine);
    void WriteAuthors(KsXMLParserCallback* callback) const;
    // An empty-line element, unless the run of them is already kMaxTextEmptyLinesInRow long.
    void WriteEmptyLine(KsXMLParserCallback* callback);
    void CloseOpenSection(KsXMLParserCallback* callback);
    // Drops the handled lines before `next` but for `keep` of them; returns the new index of the
    // line that was at `next`.
    int SlideWindow(int next, int keep);
    // The last piece of the line starting at `first` that ReadLine had to cut at the length
    // limit, or -1 when the rest of it is not in the window yet.
    int LastPieceOfLine(int first) const;

    std::vector<KsTextLine> lines_;
    KsTextParser* parser_;  // not owned
    int64_t unitsHeld_ = 0;
    KsTextWindowPeak peak_;

    string16 title_;
    string16 author_;
    int flags_;
    int minLeft_ = -1;
    int maxRight_ = -1;
    int avgLeft_ = 0;
    int avgRight_ = 0;
    int avgCenter_ = 0;
    int modeLeft_ = 0;
    int secondLeft_ = 0;
    int modeRight_ = 0;
    int paragraphCount_ = 0;
    int headerEnd_ = 0;
    int emptyLinesInRow_ = 0;
    bool inTitle_ = false;
    bool sectionOpen_ = false;
};

// 0 when the text is no heading, else its kind: 1 a volume, 2 a part, 3 a chapter ("Chapter 5",
// "ГЛАВА 1"), 4 a Roman numeral I-XXXIX, 5 + the number of dots for a number such as "12" or
// "1.2.3".
int DetectHeadingKind(const string16& text);
