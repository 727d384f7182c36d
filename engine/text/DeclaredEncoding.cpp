#include <cstdint>
#include <initializer_list>

#include "engine/core/Log.h"
#include "engine/text/AsciiCase.h"
#include "engine/text/EncodingDetector.h"

namespace {

// An XML declaration's encoding may be at most this long; longer values are not charset names.
constexpr int64_t kMaxXmlEncodingLength = 20;
// The longest charset value taken from an HTML meta tag.
constexpr int64_t kMaxMetaCharsetLength = 32;

int64_t FindFrom(const char* text, int64_t length, int64_t from, const char* needle) {
    return FindIgnoreAsciiCase(text, from, length, needle);
}

int64_t FindLastBefore(const char* text, int64_t before, const char* needle) {
    int64_t found = -1;
    for (int64_t at = FindFrom(text, before, 0, needle); at >= 0;
         at = FindFrom(text, before, at + 1, needle))
        found = at;
    return found;
}

bool EndsCharsetValue(char c) {
    return c == '"' || c == '\'' || c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n' ||
           c == '>' || c == '/';
}

bool TakeValue(const char* text, int64_t start, int64_t end, int64_t maxLength, string8& value) {
    if (end <= start || end - start > maxLength) return false;
    value = string8(text + start, static_cast<int32_t>(end - start));
    return true;
}

bool ParseXmlDeclaration(const char* text, int64_t length, string8& charset, bool& isXml) {
    int64_t declaration = FindFrom(text, length, 0, "<?xml");
    int64_t close = FindFrom(text, length, 0, "?>");
    isXml = declaration >= 0 && close > declaration;
    if (!isXml) return false;
    int64_t key = FindFrom(text, close, declaration, "encoding=");
    if (key < 0) return false;
    int64_t quoteAt = key + 9;
    if (quoteAt >= close || (text[quoteAt] != '"' && text[quoteAt] != '\'')) return false;
    const char quote = text[quoteAt];
    int64_t start = quoteAt + 1;
    int64_t end = start;
    while (end < close && text[end] != quote)
        ++end;
    if (end >= close || !TakeValue(text, start, end, kMaxXmlEncodingLength, charset)) return false;
    LogDebug("XML header encoding detected: %s", charset.CStr());
    return true;
}

// The charset= value inside the tag [tagStart, tagEnd), or false.
bool CharsetInTag(const char* text, int64_t tagStart, int64_t tagEnd, string8& charset) {
    int64_t key = FindFrom(text, tagEnd, tagStart, "charset=");
    if (key < 0) return false;
    int64_t start = key + 8;
    if (start < tagEnd && (text[start] == '"' || text[start] == '\'')) ++start;
    int64_t end = start;
    while (end < tagEnd && !EndsCharsetValue(text[end]))
        ++end;
    return TakeValue(text, start, end, kMaxMetaCharsetLength, charset);
}

bool ParseHttpEquivMeta(const char* text, int64_t length, string8& charset) {
    int64_t equiv = -1;
    for (const char* form :
         {"http-equiv=\"content-type\"", "http-equiv='content-type'", "http-equiv=content-type"}) {
        equiv = FindFrom(text, length, 0, form);
        if (equiv >= 0) break;
    }
    if (equiv < 0) return false;
    int64_t meta = FindLastBefore(text, equiv, "<meta");
    if (meta < 0) return false;
    int64_t close = FindFrom(text, length, meta, ">");
    if (close < 0 || !CharsetInTag(text, meta, close, charset)) return false;
    LogDebug("HTML header meta encoding detected: %s", charset.CStr());
    return true;
}

// The short form of HTML5: <meta charset="utf-8">.
bool ParseMetaCharset(const char* text, int64_t length, string8& charset) {
    for (int64_t meta = FindFrom(text, length, 0, "<meta"); meta >= 0;
         meta = FindFrom(text, length, meta + 5, "<meta")) {
        int64_t close = FindFrom(text, length, meta, ">");
        if (close < 0) return false;
        if (CharsetInTag(text, meta, close, charset)) {
            LogDebug("HTML header meta encoding detected: %s", charset.CStr());
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseDeclaredEncoding(const char* bytes, size_t length, string8& charset) {
    if (!bytes) return false;
    const int64_t n = static_cast<int64_t>(length);
    bool isXml = false;
    if (ParseXmlDeclaration(bytes, n, charset, isXml)) return true;
    if (isXml) return false;
    return ParseHttpEquivMeta(bytes, n, charset) || ParseMetaCharset(bytes, n, charset);
}
