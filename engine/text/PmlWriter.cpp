#include "engine/text/PmlWriter.h"

#include "engine/core/StringUtils.h"
#include "engine/text/CodePages.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

constexpr unit16 kSoftHyphen = 0x00AD;
constexpr int kMaxChapterLevel = 4;

const char16_t* StyleElement(unit16 letter) {
    switch (letter) {
        case 'b':
        case 'B':
            return u"b";
        case 'i':
            return u"i";
        case 'u':
            return u"u";
        case 's':
            return u"strikethrough";
        default:
            return u"a";
    }
}

bool IsBlankText(const string16& text) {
    for (int32_t i = 0; i < text.Length(); ++i)
        if (text[i] != ' ' && text[i] != '\t') return false;
    return true;
}

// The value of `count` digits of a base at text[pos], or -1 when they are not all digits.
int DigitsValue(const string16& text, int32_t pos, int count, int base) {
    if (pos + count > text.Length()) return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = HexDigitValue(text[pos + i]);
        if (digit < 0 || digit >= base) return -1;
        value = value * base + digit;
    }
    return value;
}

}  // namespace

PmlWriter::PmlWriter(KsXMLParserCallback* callback)
    : callback_(callback), codeTable_(GetCharsetTableByName("windows-1252")) {}

void PmlWriter::AppendText(unit16 c) {
    if (!hidden_) pending_.Append(c);
}

void PmlWriter::FlushText() {
    if (pending_.Empty()) return;
    callback_->OnText(pending_.CStr(), pending_.Length(), 0);
    pending_.Clear();
}

void PmlWriter::StartParagraph() {
    if (paragraphOpen_) return;
    callback_->OnTagOpen(u"", u"p");
    string16 style;
    if (indented_) style.AppendLatin1("margin-left: 15%; ");
    if (align_ == 'c') {
        style.AppendLatin1("text-align: center; ");
        if (!indented_) style.AppendLatin1("text-indent: 0px; ");
    } else if (align_ == 'r') {
        style.AppendLatin1("text-align: right; ");
    }
    if (!style.Empty()) callback_->OnAttribute(u"", u"style", style.CStr());
    callback_->OnTagBody();
    for (int32_t i = 0; i < styles_.Length(); ++i)
        callback_->OnBareTagOpen(u"", StyleElement(styles_[i]));
    paragraphOpen_ = true;
}

void PmlWriter::EndParagraph() {
    // Blanks alone (the indentation of markup lines) make no paragraph.
    if (!paragraphOpen_ && IsBlankText(pending_)) pending_.Clear();
    if (!pending_.Empty()) {
        StartParagraph();
        FlushText();
    }
    if (!paragraphOpen_) return;
    for (int32_t i = styles_.Length() - 1; i >= 0; --i)
        callback_->OnTagClose(u"", StyleElement(styles_[i]));
    callback_->OnTagClose(u"", u"p");
    paragraphOpen_ = false;
}

void PmlWriter::CloseStylesDownTo(unit16 letter) {
    StartParagraph();
    FlushText();
    const int32_t at = styles_.FindLastUnit(letter);
    if (at < 0) return;
    for (int32_t i = styles_.Length() - 1; i >= at; --i) {
        if (styles_[i] == 'a') linkOpen_ = false;
        callback_->OnTagClose(u"", StyleElement(styles_[i]));
    }
    styles_.Truncate(at);
}

void PmlWriter::ToggleStyle(unit16 letter) {
    if (styles_.FindUnit(letter) >= 0) {
        CloseStylesDownTo(letter);
        return;
    }
    StartParagraph();
    FlushText();
    callback_->OnBareTagOpen(u"", StyleElement(letter));
    styles_.Append(letter);
}

void PmlWriter::StartLink(const string16& href) {
    if (linkOpen_) return;
    StartParagraph();
    FlushText();
    callback_->OnTagOpen(u"", u"a");
    callback_->OnAttribute(u"", u"href", href.CStr());
    callback_->OnTagBody();
    styles_.Append(unit16('a'));
    linkOpen_ = true;
}

void PmlWriter::EndLink() {
    if (!linkOpen_) return;
    linkOpen_ = false;
    CloseStylesDownTo('a');
}

void PmlWriter::AddAnchor(const string16& name) {
    StartParagraph();
    callback_->OnTagOpen(u"", u"a");
    callback_->OnAttribute(u"", u"name", name.CStr());
    callback_->OnTagBody();
    callback_->OnTagClose(u"", u"a");
}

void PmlWriter::AddImage(const string16& src) {
    callback_->OnTagOpen(u"", u"img");
    callback_->OnAttribute(u"", u"src", src.CStr());
    callback_->OnTagBody();
    callback_->OnTagClose(u"", u"img");
}

void PmlWriter::AddRule() {
    EndParagraph();
    callback_->OnEmptyTag(u"", u"hr");
}

void PmlWriter::StartSection(int level) {
    while (!sectionLevels_.empty() && sectionLevels_.back() >= level)
        CloseSection();
    ++sectionCount_;
    string16 id("_section");
    id.Append(string16::FormatInt(sectionCount_));
    callback_->OnTagOpen(u"", u"section");
    callback_->OnAttribute(u"", u"id", id.CStr());
    callback_->OnTagBody();
    sectionLevels_.push_back(level);
    EndParagraph();
}

void PmlWriter::CloseSection() {
    if (sectionLevels_.empty()) return;
    EndTitle();
    indented_ = false;
    EndParagraph();
    callback_->OnTagClose(u"", u"section");
    sectionLevels_.pop_back();
}

void PmlWriter::StartTitle(int level) {
    EndParagraph();
    StartSection(level);
    inTitle_ = true;
    callback_->OnBareTagOpen(u"", u"title");
}

void PmlWriter::EndTitle() {
    if (!inTitle_) return;
    EndParagraph();
    inTitle_ = false;
    callback_->OnTagClose(u"", u"title");
}

void PmlWriter::Finish() {
    EndParagraph();
    EndTitle();
    while (!sectionLevels_.empty())
        CloseSection();
}

string16 PmlWriter::ReadQuotedValue(const string16& text, int32_t& pos) const {
    if (pos + 1 >= text.Length() || text[pos] != '=' || text[pos + 1] != '"') return string16();
    const int32_t start = pos + 2;
    int32_t end = text.FindUnit('"', start);
    if (end < 0) end = text.Length();
    pos = end < text.Length() ? end + 1 : end;
    return text.Substr(start, end - start);
}

int32_t PmlWriter::ProcessEscape(const string16& text, int32_t pos) {
    const int32_t length = text.Length();
    // An escape this writer does not know keeps its backslash as text; the character after it
    // is read as text again.
    auto unrecognised = [&] {
        AppendText('\\');
        return pos + 1;
    };
    if (pos + 1 >= length) return unrecognised();
    const unit16 letter = text[pos + 1];
    int32_t next = pos + 2;
    switch (letter) {
        case '-':
            AppendText(kSoftHyphen);
            break;
        case '\\':
            AppendText('\\');
            break;
        case 'B':
        case 'b':
        case 'i':
        case 'u':
            ToggleStyle(letter);
            break;
        case 'o':
            ToggleStyle('s');
            break;
        case 'v':
            hidden_ = !hidden_;
            break;
        case 't':
            indented_ = !indented_;
            break;
        case 'c':
        case 'r':
            EndParagraph();
            align_ = align_ == 0 ? letter : 0;
            break;
        case 'p': {
            const int level = sectionLevels_.empty() ? 0 : sectionLevels_.back();
            CloseSection();
            StartSection(level);
            break;
        }
        case 'x':
        case 'X': {
            int level = 0;
            if (letter == 'X' && next < length) {
                const unit16 c = text[next++];
                level = c >= '0' && c <= '9' ? c - '0' : 1;
                if (level > kMaxChapterLevel) level = kMaxChapterLevel;
            }
            if (inTitle_)
                EndTitle();
            else
                StartTitle(level);
            break;
        }
        case 'C':
            // A chapter name for the chapter list only: \Cn="text".
            if (pos + 4 < length && text[pos + 3] == '=' && text[pos + 4] == '"') {
                const int32_t close = text.FindUnit('"', pos + 5);
                next = close < 0 ? length : close + 1;
            }
            break;
        case 'Q':
            AddAnchor(ReadQuotedValue(text, next));
            break;
        case 'q':
            if (linkOpen_)
                EndLink();
            else
                StartLink(ReadQuotedValue(text, next));
            break;
        case 'm':
            AddImage(ReadQuotedValue(text, next));
            break;
        case 'T':
            (void)ReadQuotedValue(text, next);
            break;
        case 'w':
            (void)ReadQuotedValue(text, next);
            AddRule();
            break;
        case 'U': {
            const int code = DigitsValue(text, pos + 2, 4, 16);
            if (code <= 0) return unrecognised();
            AppendText(static_cast<unit16>(code));
            next = pos + 6;
            break;
        }
        case 'a': {
            const int code = DigitsValue(text, pos + 2, 3, 10);
            if (code <= 0 || code > 255) return unrecognised();
            AppendText(code < 128 ? static_cast<unit16>(code) : codeTable_[code - 128]);
            next = pos + 5;
            break;
        }
        case 'd':
        case 'l':
        case 'n':
        case 's':
            break;
        default:
            return unrecognised();
    }
    return next;
}

void PmlWriter::ProcessLine(const string16& text, LineEnd end) {
    const int32_t length = text.Length();
    const unit16* units = text.CStr();
    int32_t i = 0;
    while (i < length) {
        if (units[i] == '\\') {
            i = ProcessEscape(text, i);
            continue;
        }
        // Runs of text go to the pending text at once.
        int32_t run = i;
        while (run < length && units[run] != '\\')
            ++run;
        if (!hidden_) pending_.Append(units + i, run - i);
        i = run;
    }
    if (end == LineEnd::Break) EndParagraph();
}
