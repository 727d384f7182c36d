#include "engine/text/KsTextBookmarkParser.h"

#include <vector>

#include "engine/text/KsXMLParserCallback.h"

namespace {

constexpr int kLineLimit = 20000;
constexpr int kCheckChars = 16383;
const unit16 kEmpty[] = {0};

}  // namespace

const char* KsTextBookmarkParser::Header() {
    return "# Tarnivelle 3 - exported bookmarks\r\n# file name: ";
}

KsTextBookmarkParser::KsTextBookmarkParser(KsRef<KsStream> stream, KsXMLParserCallback* callback)
    : KsTextParser(std::move(stream), callback) {}

bool KsTextBookmarkParser::CheckFormat() {
    Reset();
    langName_ = string16("en");
    SetCharset(string16("utf8").CStr());  // not a listed name: the UTF-8 decoding stays
    Reset();
    (void)FillBuffer(kCheckChars + 1);
    std::vector<unit16> sample(kCheckChars);
    const int count =
        ReadTextBytes(0, static_cast<int>(bufferedBytes_), sample.data(), kCheckChars, 0);
    const string16 header(Header());
    bool accepted = count > header.Length() && sample[0] == 0xFEFF;
    for (int32_t i = 0; accepted && i < header.Length(); ++i)
        accepted = sample[static_cast<size_t>(i + 1)] == header[i];
    Reset();
    return accepted;
}

void KsTextBookmarkParser::Paragraph(const string16& prefix, const string16& text) {
    if (text.Empty()) return;
    callback_->OnTagOpen(kEmpty, u"p");
    callback_->OnAttribute(kEmpty, u"style", u"text-indent: 0em");
    callback_->OnTagBody();
    if (!prefix.Empty()) {
        callback_->OnBareTagOpen(kEmpty, u"strong");
        callback_->OnText(prefix.CStr(), prefix.Length(), 0);
        callback_->OnTagClose(kEmpty, u"strong");
    }
    callback_->OnText(text.CStr(), text.Length(), 0);
    callback_->OnTagClose(kEmpty, u"p");
}

bool KsTextBookmarkParser::Parse() {
    Reset();
    string16 fileName("Unknown"), filePath, bookTitle("No Title"), author;
    int lineFlags = 0;
    while (!Eof() && !IsStopRequested()) {
        string16 line = ReadLine(kLineLimit, lineFlags);
        if (line.Empty()) break;
        if (line.StartsWith("# file name: "))
            fileName = line.Substr(13);
        else if (line.StartsWith("# file path: "))
            filePath = line.Substr(13);
        else if (line.StartsWith("# book title: "))
            bookTitle = line.Substr(14);
        else if (line.StartsWith("# author: "))
            author = line.Substr(10);
    }

    string16 title("Bookmarks: ");
    if (!author.Empty()) title.Append(author).AppendLatin1("  ");
    title.Append(bookTitle.Empty() ? fileName : bookTitle).AppendLatin1("  ");

    const string16 encoding = GetEncodingName();
    callback_->OnTagOpen(kEmpty, u"?xml");
    callback_->OnAttribute(kEmpty, u"version", u"1.0");
    callback_->OnAttribute(kEmpty, u"encoding", encoding.CStr());
    callback_->OnCharset(encoding.CStr(), GetCharsetTable());
    callback_->OnTagBody();
    callback_->OnTagClose(kEmpty, u"?xml");
    for (const char16_t* tag : {u"FictionBook", u"description", u"title-info", u"book-title"})
        callback_->OnBareTagOpen(kEmpty, tag);
    callback_->OnText(title.CStr(), title.Length(), 0);
    for (const char16_t* tag : {u"book-title", u"title-info", u"description"})
        callback_->OnTagClose(kEmpty, tag);
    callback_->OnBareTagOpen(kEmpty, u"body");
    callback_->OnBareTagOpen(kEmpty, u"title");
    Paragraph(string16(), string16("Tarnivelle Bookmarks file"));
    callback_->OnTagClose(kEmpty, u"title");
    Paragraph(string16("file: "), fileName);
    Paragraph(string16("path: "), filePath);
    Paragraph(string16("title: "), bookTitle);
    Paragraph(string16("author: "), author);
    callback_->OnEmptyTag(kEmpty, u"empty-line");
    callback_->OnBareTagOpen(kEmpty, u"section");

    while (!Eof() && !IsStopRequested()) {
        string16 line = ReadLine(kLineLimit, lineFlags);
        if (line.Empty()) {
            callback_->OnEmptyTag(kEmpty, u"empty-line");
            continue;
        }
        string16 prefix;
        if (line.Length() > 3 && line[1] == line[0] && line[2] == ' ' && line[0] < 'A') {
            prefix = line.Left(3);
            line = line.Substr(3);
            if (prefix == "## ") {
                prefix = line;
                line = string16(" ");
            }
        }
        Paragraph(prefix, line);
    }
    for (const char16_t* tag : {u"section", u"body", u"FictionBook"})
        callback_->OnTagClose(kEmpty, tag);
    return true;
}
