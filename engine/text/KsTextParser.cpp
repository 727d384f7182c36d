#include "engine/text/KsTextParser.h"

#include <memory>

#include "engine/core/Log.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

// Characters of the first bytes that the format check looks at.
constexpr int kCheckBytes = 16384;
constexpr int kCheckChars = 16383;
constexpr int kMinTextChars = 16;
// Lines the layout of a text is guessed from.
constexpr int kDetectionLines = 2000;

// Control characters that plain text does not hold; BEL, BS, tab, LF, FF, CR, U+0014, U+0015 and
// U+001E (used as markers by some text formats) are allowed.
bool IsIllegalControl(unit16 c) {
    return c <= 0x06 || c == 0x0B || (c >= 0x0E && c <= 0x13) || (c >= 0x16 && c <= 0x1D) ||
           c == 0x1F;
}

}  // namespace

KsTextParser::KsTextParser(KsRef<KsStream> stream, KsXMLParserCallback* callback, TextLayout layout)
    : KsTextFileBase(std::move(stream)), layout_(layout) {
    callback_ = callback;
    SetFirstPagesCountdown(300);
}

bool KsTextParser::CheckFormat() {
    Reset();
    if (!AutodetectEncoding(EncodingDetection::Full)) {
        Reset();
        return false;
    }
    Reset();
    (void)FillBuffer(kCheckBytes);
    auto chars = std::make_unique<unit16[]>(kCheckChars);
    const int count =
        ReadTextBytes(0, static_cast<int>(bufferedBytes_), chars.get(), kCheckChars, 0);
    bool isText = false;
    if (count > kMinTextChars) {
        int illegal = 0, spaces = 0, lineBreaks = 0;
        for (int i = 0; i < count; ++i) {
            const unit16 c = chars[i];
            if (IsIllegalControl(c)) ++illegal;
            if (c == ' ' || c == '\t') ++spaces;
            if (c == '\r' || c == '\n') ++lineBreaks;
        }
        if (illegal > 0)
            LogDebug("illegal characters detected: count=%d", illegal);
        else
            isText = spaces >= count / 16 || lineBreaks > 0;
    }
    Reset();
    return isText;
}

string16 KsTextParser::GetStreamName() const {
    const unit16* name = stream_ ? stream_->GetName() : nullptr;
    return name ? string16(name) : string16();
}

bool KsTextParser::Parse() {
    KsXMLParserCallback* callback = callback_;
    if (!callback) return false;
    KsTextLineWindow window(this, FMT_PREFORMATTED);
    (void)window.ReadLines(kDetectionLines);
    if (layout_ == TextLayout::Detect) window.detectFormatFlags();
    if (layout_ == TextLayout::Pml) window.setFlags(FMT_PML);
    formatFlags_ = window.flags();

    const string16 encoding = GetEncodingName();
    callback->OnTagOpen(u"", u"?xml");
    callback->OnAttribute(u"", u"version", u"1.0");
    callback->OnAttribute(u"", u"encoding", encoding.CStr());
    callback->OnCharset(encoding.CStr(), GetCharsetTable());
    callback->OnTagBody();
    callback->OnTagClose(u"", u"?xml");

    callback->OnBareTagOpen(u"", u"FictionBook");
    callback->OnBareTagOpen(u"", u"description");
    callback->OnBareTagOpen(u"", u"title-info");
    window.WriteTitleInfo(callback);
    callback->OnTagClose(u"", u"title-info");
    callback->OnTagClose(u"", u"description");

    callback->OnBareTagOpen(u"", u"body");
    const int flags = window.flags();
    if (flags & FMT_PML)
        (void)window.DoPMLImport(callback);
    else if (flags & FMT_PREFORMATTED)
        (void)window.DoPreFormattedImport(callback);
    else if (flags & FMT_INDENTED_PARAS)
        (void)window.DoIdentParaImport(callback);
    else if (flags & FMT_EMPTY_LINE_PARAS)
        (void)window.DoEmptyLineParaImport(callback);
    else
        (void)window.DoParaPerLineImport(callback);
    callback->OnTagClose(u"", u"body");
    callback->OnTagClose(u"", u"FictionBook");
    windowPeak_ = window.peak();
    return true;
}
