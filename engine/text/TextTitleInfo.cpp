// The FB2 title-info of a plain text: author and title guessed from its first line, else the file
// name.
#include <algorithm>

#include "engine/core/CharProps.h"
#include "engine/core/StringUtils.h"
#include "engine/streams/PathUtils.h"
#include "engine/text/KsTextLineWindow.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

// An etext header and its end mark are looked for among the first lines only.
constexpr int kMaxEtextHeaderLines = 500;

string16 WithoutLeadingBlanks(const string16& text) {
    int32_t i = 0;
    while (i < text.Length() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return i ? text.Substr(i) : text;
}

void WriteNamePart(KsXMLParserCallback* callback, const char16_t* element, const string16& value) {
    callback->OnBareTagOpen(u"", element);
    if (!value.Empty())
        callback->OnText(value.CStr(), value.Length(), TXT_TRIM | TXT_TRIM_DROP_EOL_HYPHENS);
    callback->OnTagClose(u"", element);
}

}  // namespace

bool KsTextLineWindow::ParseEtextHeader(int firstLine) {
    static const string16 kStart(u"The Project Gutenberg Etext of ");
    const string16 text = WithoutLeadingBlanks(Line(firstLine).text);
    if (!text.StartsWith(kStart)) return false;
    const string16 rest = text.Substr(kStart.Length());
    const int32_t by = rest.Find(string16(u", by "));
    if (by <= 0) return false;
    title_ = rest.Substr(0, by);
    author_ = rest.Substr(by + 5);

    const int limit = std::min(LineCount(), kMaxEtextHeaderLines);
    for (int i = firstLine; i < limit; ++i) {
        if (!Line(i).text.StartsWith(string16(u"*END*"))) continue;
        int end = i + 1;
        while (end < limit && Line(end).IsBlank())
            ++end;
        headerEnd_ = end;
        break;
    }
    return true;
}

bool KsTextLineWindow::ParseAuthorTitleLine(int firstLine) {
    string16 text = Line(firstLine).text;
    text.Trim();
    const int32_t dot = text.Find(string16(u". "));
    if (dot <= 0) return false;
    string16 title = text.Substr(dot + 2);
    if (title.Empty() || (GetCharProps(title[title.Length() - 1]) & CH_PROP_PUNCT)) return false;
    author_ = text.Substr(0, dot);
    title_ = title;
    return true;
}

void KsTextLineWindow::WriteAuthors(KsXMLParserCallback* callback) const {
    const KsString16Collection authors = SplitByChar(author_, ',', SplitPieces::Normalized);
    for (int32_t a = 0; a < authors.Length(); ++a) {
        const KsString16Collection names = SplitByChar(authors[a], ' ', SplitPieces::Normalized);
        if (names.Length() == 0) continue;
        string16 firstName = names[0], middleName, lastName;
        if (names.Length() == 2) lastName = names[1];
        if (names.Length() >= 3) {
            middleName = names[1];
            lastName = names[2];
        }
        callback->OnBareTagOpen(u"", u"author");
        WriteNamePart(callback, u"first-name", firstName);
        WriteNamePart(callback, u"middle-name", middleName);
        WriteNamePart(callback, u"last-name", lastName);
        callback->OnTagClose(u"", u"author");
    }
}

void KsTextLineWindow::WriteTitleInfo(KsXMLParserCallback* callback) {
    int firstLine = 0;
    while (firstLine < LineCount() && Line(firstLine).IsBlank())
        ++firstLine;
    title_.Clear();
    author_.Clear();
    const bool found =
        firstLine < LineCount() && (ParseEtextHeader(firstLine) || ParseAuthorTitleLine(firstLine));
    if (!found) {
        title_ = ExtractFilenameWithoutExtension(ExtractFilename(parser_->GetStreamName()));
        author_.Clear();
    }
    if (!author_.Empty()) WriteAuthors(callback);
    callback->OnBareTagOpen(u"", u"book-title");
    if (!title_.Empty()) callback->OnText(title_.CStr(), title_.Length(), 0);
    callback->OnTagClose(u"", u"book-title");
    if (headerEnd_ > 0) RemoveLines(0, std::min(headerEnd_, LineCount()));
}
