#include "engine/text/XmlSample.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

namespace {

constexpr int kMaxEncodingName = 20;

bool IsCharsetNameChar(unit16 c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

}  // namespace

int XmlSample::Find(const char* ascii, int from) const {
    const int n = static_cast<int>(units_.size());
    int length = 0;
    while (ascii[length])
        ++length;
    for (int i = from < 0 ? 0 : from; i + length <= n; ++i) {
        int k = 0;
        while (k < length && units_[static_cast<size_t>(i + k)] == static_cast<uint8_t>(ascii[k]))
            ++k;
        if (k == length) return i;
    }
    return -1;
}

string16 XmlSample::DeclaredXmlEncoding() const {
    int at = Find("encoding=");
    if (at < 0) return string16();
    at += 9;
    if (at >= static_cast<int>(units_.size())) return string16();
    const unit16 quote = units_[static_cast<size_t>(at)];
    if (quote != '"' && quote != '\'') return string16();
    string16 name;
    for (int i = at + 1; i < static_cast<int>(units_.size()) && i <= at + kMaxEncodingName; ++i) {
        const unit16 c = units_[static_cast<size_t>(i)];
        if (c == quote) return name;
        name.Append(c);
    }
    return string16();  // no closing quote within 20 characters
}

string16 XmlSample::DeclaredHtmlCharset() const {
    int from = -1;
    int at = Find("meta http-equiv=\"content-type\"");
    if (at >= 0) {
        int close = Find(">", at);
        int end = close < 0 ? static_cast<int>(units_.size()) : close;
        string16 content(units_.data() + at, end - at);
        LogDebug("http-equiv content-type: %s", String16ToUtf8(content).CStr());
        int charset = Find("charset=", at);
        if (charset >= 0 && charset < end) from = charset + 8;
    }
    if (from < 0) {
        // The short form of HTML5: <meta charset="...">
        at = Find("<meta charset=");
        if (at >= 0) {
            from = at + 14;
            if (from < static_cast<int>(units_.size()) &&
                (units_[static_cast<size_t>(from)] == '"' ||
                 units_[static_cast<size_t>(from)] == '\''))
                ++from;
        }
    }
    if (from < 0) return string16();
    string16 name;
    for (int i = from;
         i < static_cast<int>(units_.size()) && IsCharsetNameChar(units_[static_cast<size_t>(i)]);
         ++i)
        name.Append(units_[static_cast<size_t>(i)]);
    // The sample was read as 8-bit text, so a declared UTF-16 cannot be right.
    if (name == "utf-16") return string16();
    return name;
}

void XmlSample::ToLower() {
    string16 text(units_.data(), static_cast<int32_t>(units_.size()));
    text.ToLower();
    for (int32_t i = 0; i < text.Length(); ++i)
        units_[static_cast<size_t>(i)] = text[i];
}
