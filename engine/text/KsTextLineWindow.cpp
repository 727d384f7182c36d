#include "engine/text/KsTextLineWindow.h"

#include <algorithm>

#include "engine/core/Limits.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"

void KsTextLine::Measure() {
    int32_t column = 0;
    firstCol = -1;
    endCol = 0;
    const int32_t length = text.Length();
    const unit16* units = text.CStr();
    for (int32_t i = 0; i < length; ++i) {
        const unit16 c = units[i];
        if (c == '\t') {
            column = (column / 8 + 1) * 8;
            continue;
        }
        if (c != ' ') {
            if (firstCol < 0) firstCol = column;
            endCol = column + 1;
        }
        ++column;
    }
    if (firstCol < 0) firstCol = endCol = 0;
}

KsTextLineWindow::KsTextLineWindow(KsTextParser* parser, int flags)
    : parser_(parser), flags_(flags) {}

bool KsTextLineWindow::ReadLines(int n) {
    int read = 0;
    for (; read < n; ++read) {
        if (parser_->IsStopRequested() || parser_->Eof()) break;
        // Lines cut without blanks are long; the window holds a bounded amount of text however
        // many of them come in a row.
        if (read > 0 && unitsHeld_ >= kMaxTextWindowUnits) break;
        if (lines_.size() == lines_.capacity()) lines_.reserve(lines_.size() * 3 / 2 + 8);
        KsTextLine line;
        line.text = parser_->ReadLine(kMaxLineLength, line.flags);
        line.Measure();
        if (minLeft_ >= 0) line.align = ClassifyLine(line);
        unitsHeld_ += line.text.Length();
        lines_.push_back(std::move(line));
    }
    peak_.linesRead += read;
    peak_.lines = std::max(peak_.lines, LineCount());
    peak_.units = std::max(peak_.units, unitsHeld_);
    return read > 0;
}

void KsTextLineWindow::RemoveLines(int start, int n) {
    start = std::clamp(start, 0, LineCount());
    n = std::clamp(n, 0, LineCount() - start);
    if (n == 0) return;
    const auto from = lines_.begin() + start;
    for (auto it = from; it != from + n; ++it)
        unitsHeld_ -= it->text.Length();
    lines_.erase(from, from + n);
}

int KsTextLineWindow::SlideWindow(int next, int keep) {
    const int drop = std::max(0, std::min(next, LineCount()) - keep);
    RemoveLines(0, drop);
    return next - drop;
}

int KsTextLineWindow::LastPieceOfLine(int first) const {
    int last = first;
    while (!(Line(last).flags & KS_LINE_END) && last - first + 1 < kMaxTextJoinedPieces) {
        if (last + 1 >= LineCount()) return parser_->Eof() ? last : -1;
        ++last;
    }
    return last;
}

void KsTextLineWindow::WriteEmptyLine(KsXMLParserCallback* callback) {
    if (emptyLinesInRow_ >= kMaxTextEmptyLinesInRow) return;
    ++emptyLinesInRow_;
    callback->OnEmptyTag(u"", u"empty-line");
}

void KsTextLineWindow::CloseOpenSection(KsXMLParserCallback* callback) {
    if (!sectionOpen_) return;
    callback->OnTagClose(u"", u"section");
    sectionOpen_ = false;
}
