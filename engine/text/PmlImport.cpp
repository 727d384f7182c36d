// The body of a Palm Markup Language text: read again from its start as windows-1252 (the
// charset of PML; other characters come as \a and \U escapes) and converted line by line.
#include "engine/core/Log.h"
#include "engine/text/KsTextLineWindow.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/PmlWriter.h"

namespace {

constexpr int kRefillLines = 100;

}  // namespace

bool KsTextLineWindow::DoPMLImport(KsXMLParserCallback* callback) {
    LogDebug("DoPMLImport()");
    RemoveLines(0, LineCount());
    // The charset first: Reset decodes the first characters with the charset in force.
    parser_->SetCharset(u"windows-1252");
    parser_->Reset();
    PmlWriter writer(callback);
    while (ReadLines(kRefillLines)) {
        for (const KsTextLine& line : lines_) {
            writer.ProcessLine(line.text, (line.flags & KS_LINE_END) ? PmlWriter::LineEnd::Break
                                                                     : PmlWriter::LineEnd::Cut);
            parser_->updateProgress();
        }
        RemoveLines(0, LineCount());
    }
    writer.Finish();
    return true;
}
