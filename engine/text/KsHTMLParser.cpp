#include "engine/text/KsHTMLParser.h"

#include "engine/text/XmlSample.h"

namespace {

constexpr int kSampleChars = 8191;
constexpr int kMinSampleChars = 31;

bool NameHasHtmlExtension(const unit16* name) {
    if (!name) return false;
    string16 lower(name);
    lower.ToLower();
    return lower.EndsWith(".htm") || lower.EndsWith(".html") || lower.EndsWith(".hhc") ||
           lower.EndsWith(".xhtml");
}

}  // namespace

KsHTMLParser::KsHTMLParser(KsRef<KsStream> stream, KsXMLParserCallback* callback)
    : KsXMLParser(std::move(stream), callback, XmlRootCheck::XmlOrXhtml) {
    SetHtmlMode();
}

bool KsHTMLParser::CheckFormat() {
    Reset();
    // A container that already set the charset only lets byte-order marks and UTF-8 override it.
    const EncodingDetection detection =
        GetEncodingName().Empty() ? EncodingDetection::Full : EncodingDetection::UnicodeOnly;
    if (!AutodetectEncoding(detection)) {
        Reset();
        return false;
    }
    Reset();
    std::vector<unit16> units;
    bool accepted = false;
    if (ReadSample(units, kSampleChars) >= kMinSampleChars) {
        XmlSample sample(units);
        sample.ToLower();
        if (sample.Contains("<html") && (sample.Contains("<head") || sample.Contains("<body")))
            accepted = true;
        else if (NameHasHtmlExtension(stream_->GetName()) &&
                 (sample.Contains("<!--") || sample.Contains("<p>") || sample.Contains("ul")))
            accepted = true;
        string16 charset = sample.DeclaredHtmlCharset();
        if (!charset.Empty()) SetCharset(charset.CStr());
    }
    Reset();
    return accepted;
}
