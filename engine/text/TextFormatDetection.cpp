// How a plain text marks its paragraphs: column statistics over the lines of the window.
#include <array>
#include <cstdlib>

#include "engine/core/Log.h"
#include "engine/text/KsTextLineWindow.h"

namespace {

constexpr int kHistogramColumns = 1000;
constexpr int kMinLinesToDetect = 10;
// More PML escapes than this among the lines detected on make the text Palm Markup Language.
constexpr int kMinPmlEscapes = 20;
// Lines with an average end below this column are laid out in fixed width.
constexpr int kFixedWidthColumns = 80;

using Histogram = std::array<int, kHistogramColumns>;

// The column with the largest count at or after `from` (the smallest one on ties); 0 when no
// column there has a count.
int ModeColumn(const Histogram& counts, int from) {
    int best = 0, bestCount = 0;
    for (int column = from; column < kHistogramColumns; ++column)
        if (counts[column] > bestCount) {
            best = column;
            bestCount = counts[column];
        }
    return best;
}

bool IsPmlEscapeLetter(unit16 c) {
    switch (c) {
        case 'C':
        case 'Q':
        case 'U':
        case 'X':
        case 'a':
        case 'b':
        case 'c':
        case 'l':
        case 'm':
        case 'n':
        case 'o':
        case 'p':
        case 'q':
        case 'r':
        case 's':
        case 't':
        case 'u':
        case 'v':
        case 'x':
            return true;
        default:
            return false;
    }
}

// Backslashes followed by a PML escape letter in the line without its outer blanks.
int CountPmlEscapes(const string16& text) {
    int32_t begin = 0, end = text.Length();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    int count = 0;
    for (int32_t i = begin; i + 1 < end; ++i)
        if (text[i] == '\\' && IsPmlEscapeLetter(text[i + 1])) ++count;
    return count;
}

}  // namespace

void KsTextLineWindow::detectFormatFlags() {
    flags_ = FMT_PARA_PER_LINE | FMT_RARE_EMPTY_LINES;
    const int lineCount = LineCount();
    if (lineCount < kMinLinesToDetect) return;

    flags_ = 0;
    minLeft_ = maxRight_ = -1;
    Histogram left{}, right{};
    int blank = 0, pmlEscapes = 0;
    int64_t sumLeft = 0, sumRight = 0;
    for (const KsTextLine& line : lines_) {
        if (line.IsBlank()) {
            ++blank;
            continue;
        }
        if (line.firstCol < kHistogramColumns) ++left[line.firstCol];
        if (line.endCol < kHistogramColumns) ++right[line.endCol];
        if (minLeft_ < 0 || line.firstCol < minLeft_) minLeft_ = line.firstCol;
        if (line.endCol > maxRight_) maxRight_ = line.endCol;
        sumLeft += line.firstCol;
        sumRight += line.endCol;
        pmlEscapes += CountPmlEscapes(line.text);
    }
    modeLeft_ = ModeColumn(left, 0);
    modeRight_ = ModeColumn(right, 0);
    const int maxRightCount = right[modeRight_];
    secondLeft_ = modeLeft_ + 1 < kHistogramColumns ? ModeColumn(left, modeLeft_ + 1) : 0;

    if (pmlEscapes > kMinPmlEscapes) {
        flags_ = FMT_PML;
        return;
    }
    const int nonBlank = lineCount - blank;
    if (nonBlank < kMinLinesToDetect) return;

    avgLeft_ = static_cast<int>(sumLeft / nonBlank);
    avgRight_ = static_cast<int>(sumRight / nonBlank);
    avgCenter_ = (avgLeft_ + avgRight_) / 2;
    const int rightModePercent = maxRightCount * 100 / lineCount;

    int indented = 0, centred = 0;
    const int width = modeRight_ - modeLeft_;
    for (const KsTextLine& line : lines_) {
        if (line.IsBlank() || line.firstCol <= minLeft_ + 1) continue;
        const int dCenter = std::abs((line.firstCol + line.endCol) / 2 - avgCenter_);
        const int dLeft = std::abs(line.firstCol - modeLeft_);
        if (dLeft <= dCenter)
            ++indented;
        else if (minLeft_ + width / 10 < line.firstCol && line.firstCol < maxRight_ - width / 10 &&
                 line.endCol - line.firstCol < width * 9 / 10)
            ++centred;
    }
    for (KsTextLine& line : lines_)
        line.align = ClassifyLine(line);

    if (avgRight_ < kFixedWidthColumns) {
        const int indentPercent = indented * 100 / nonBlank;
        const int blankPercent = blank * 100 / lineCount;
        const int centredPercent = centred * 100 / nonBlank;
        flags_ = 0;
        if (blankPercent > 5 && maxRight_ < kFixedWidthColumns) flags_ = FMT_EMPTY_LINE_PARAS;
        if (indentPercent >= 6 && indentPercent <= 54) {
            flags_ |= FMT_INDENTED_PARAS;
            if (blankPercent < 7) flags_ |= FMT_RARE_EMPTY_LINES;
        }
        if (centredPercent > 1) flags_ |= FMT_CENTERED_HEADINGS;
        if (maxRight_ < kFixedWidthColumns) flags_ |= FMT_SHORT_LINES;
        if (modeRight_ == maxRight_ && rightModePercent > 30) flags_ |= FMT_RIGHT_EDGE;
        LogDebug("detectFormatFlags() min_left=%d, max_right=%d, ident=%d, empty=%d, flags=%d",
                 minLeft_, maxRight_, indentPercent, blankPercent, flags_);
        if (flags_ == 0) flags_ = FMT_PARA_PER_LINE | FMT_RARE_EMPTY_LINES;
    } else if (nonBlank < blank && blank < nonBlank * 110 / 100) {
        flags_ = FMT_PARA_PER_LINE | FMT_SPACED_LINES;
    } else if (blank > nonBlank * 2 / 3) {
        flags_ = FMT_EMPTY_LINE_PARAS;
    }
}

int KsTextLineWindow::ClassifyLine(const KsTextLine& line) const {
    const int first = line.firstCol, end = line.endCol;
    if (first >= end) return LINE_EMPTY;
    if (!(flags_ & (FMT_SHORT_LINES | FMT_RIGHT_EDGE)))
        return first != minLeft_ ? LINE_INDENTED : LINE_LEFT;
    if (first == minLeft_) return end == maxRight_ ? LINE_FULL : LINE_LEFT;
    if (end == maxRight_) return LINE_RIGHT;
    if (first == secondLeft_) return LINE_INDENTED;
    const int towardsLeft = std::abs(first - modeLeft_);
    const int towardsRight = std::abs(end - avgRight_);
    if (first > secondLeft_) {
        const int c = std::abs((first + end) / 2 - avgCenter_);
        if (c < towardsLeft && c < towardsRight) return LINE_CENTERED;
    }
    if (towardsRight >= towardsLeft) return first > minLeft_ ? LINE_INDENTED : LINE_LEFT;
    return LINE_RIGHT;
}
