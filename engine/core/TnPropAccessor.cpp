#include "engine/core/TnPropAccessor.h"

#include <cstdio>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/core/StringUtils.h"
#include "engine/core/TnPropContainer.h"
#include "engine/streams/KsMemoryStream.h"

bool ParseBoolText(const string16& text, bool& value) {
    static const char* const kTrue[] = {"true", "TRUE", "yes", "YES", "1"};
    static const char* const kFalse[] = {"false", "FALSE", "no", "NO", "0"};
    for (const char* t : kTrue)
        if (text == t) return value = true, true;
    for (const char* f : kFalse)
        if (text == f) return value = false, true;
    return false;
}

bool ParseColorText(const string16& text, uint32_t& value) {
    int32_t start;
    if (text.StartsWith("#"))
        start = 1;
    else if (text.StartsWith("0x"))
        start = 2;
    else
        return false;
    if (start >= text.Length()) return false;
    uint32_t acc = 0;
    for (int32_t i = start; i < text.Length(); ++i) {
        int d = HexDigitValue(text[i]);
        if (d < 0) return false;
        acc = (acc << 4) | static_cast<uint32_t>(d);
    }
    value = acc;
    return true;
}

namespace {

// Reads "{n,n,...}" with exactly `count` integers.
bool ParseBraced(const string16& text, int* out, int count) {
    if (!text.StartsWith("{") || !text.EndsWith("}")) return false;
    string16 inner = text.Substr(1, text.Length() - 2);
    KsString16Collection parts = SplitByChar(inner, u',');
    if (parts.Length() != count) return false;
    for (int i = 0; i < count; ++i) {
        string16 part = parts[i];
        part.Trim();
        int32_t v;
        if (!part.ParseInt(v)) return false;
        out[i] = v;
    }
    return true;
}

string16 Ascii(const char* text) {
    return string16(text);
}

}  // namespace

bool ParseRectText(const string16& text, KsRect& value) {
    int v[4];
    if (!ParseBraced(text, v, 4)) return false;
    value = {v[0], v[1], v[2], v[3]};
    return true;
}

bool ParsePointText(const string16& text, KsPoint& value) {
    int v[2];
    if (!ParseBraced(text, v, 2)) return false;
    value = {v[0], v[1]};
    return true;
}

string16 TnPropAccessor::readTextOr(const char* key, const char* defaultValue) const {
    string16 value;
    return readText(key, value) ? value : Utf8ToString16(defaultValue);
}

string16 TnPropAccessor::readTextOr(const char* key, const string16& defaultValue) const {
    string16 value;
    return readText(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeTextIfAbsent(const char* key, const string16& value) {
    if (!contains(key)) writeText(key, value);
}

void TnPropAccessor::writeTextIfAbsent(const char* key, const char* value) {
    if (!contains(key)) writeText(key, Utf8ToString16(value));
}

void TnPropAccessor::writeText(const char* key, const char* value) {
    writeText(key, Utf8ToString16(value));
}

void TnPropAccessor::writeText(const char* key, const string8& value) {
    writeText(key, Utf8ToString16(value));
}

void TnPropAccessor::restrictToList(const char* key, const int* values, int valueCount) {
    if (valueCount <= 0) return;
    string16 current;
    if (readText(key, current)) {
        for (int i = 0; i < valueCount; ++i)
            if (current == string16::FormatInt(values[i])) return;
    }
    writeInt(key, values[0]);
}

void TnPropAccessor::restrictToList(const char* key, const char* const* values) {
    if (!values || !values[0]) return;
    string16 current;
    if (readText(key, current)) {
        for (int i = 0; values[i]; ++i)
            if (current == Utf8ToString16(values[i])) return;
    }
    writeText(key, values[0]);
}

bool TnPropAccessor::readInt(const char* key, int32_t& value) const {
    string16 text;
    return readText(key, text) && text.ParseInt(value);
}

int32_t TnPropAccessor::readIntOr(const char* key, int32_t defaultValue) const {
    int32_t value;
    return readInt(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeInt(const char* key, int32_t value) {
    writeText(key, string16::FormatInt(value));
}

void TnPropAccessor::writeIntIfAbsent(const char* key, int32_t value) {
    if (!contains(key)) writeInt(key, value);
}

void TnPropAccessor::writeHex(const char* key, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    writeText(key, Ascii(text));
}

void TnPropAccessor::writeHexIfAbsent(const char* key, uint32_t value) {
    if (!contains(key)) writeHex(key, value);
}

bool TnPropAccessor::readBool(const char* key, bool& value) const {
    string16 text;
    return readText(key, text) && ParseBoolText(text, value);
}

bool TnPropAccessor::readBoolOr(const char* key, bool defaultValue) const {
    bool value;
    return readBool(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeBool(const char* key, bool value) {
    writeText(key, Ascii(value ? "1" : "0"));
}

bool TnPropAccessor::readInt64(const char* key, int64_t& value) const {
    string16 text;
    return readText(key, text) && text.ParseInt64(value);
}

int64_t TnPropAccessor::readInt64Or(const char* key, int64_t defaultValue) const {
    int64_t value;
    return readInt64(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeInt64(const char* key, int64_t value) {
    writeText(key, string16::FormatInt(value));
}

bool TnPropAccessor::readColor(const char* key, uint32_t& value) const {
    string16 text;
    return readText(key, text) && ParseColorText(text, value);
}

uint32_t TnPropAccessor::readColorOr(const char* key, uint32_t defaultValue) const {
    uint32_t value;
    return readColor(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeColor(const char* key, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%06x", value);
    writeText(key, Ascii(text));
}

void TnPropAccessor::writeColorIfAbsent(const char* key, uint32_t value) {
    if (!contains(key)) writeColor(key, value);
}

bool TnPropAccessor::readRect(const char* key, KsRect& value) const {
    string16 text;
    return readText(key, text) && ParseRectText(text, value);
}

KsRect TnPropAccessor::readRectOr(const char* key, const KsRect& defaultValue) const {
    KsRect value;
    return readRect(key, value) ? value : defaultValue;
}

void TnPropAccessor::writeRect(const char* key, const KsRect& value) {
    char text[64];
    std::snprintf(text, sizeof(text), "{%d,%d,%d,%d}", value.left, value.top, value.right,
                  value.bottom);
    writeText(key, Ascii(text));
}

bool TnPropAccessor::readPoint(const char* key, KsPoint& value) const {
    string16 text;
    return readText(key, text) && ParsePointText(text, value);
}

KsPoint TnPropAccessor::readPointOr(const char* key, const KsPoint& defaultValue) const {
    KsPoint value;
    return readPoint(key, value) ? value : defaultValue;
}

void TnPropAccessor::writePoint(const char* key, const KsPoint& value) {
    char text[32];
    std::snprintf(text, sizeof(text), "{%d,%d}", value.x, value.y);
    writeText(key, Ascii(text));
}

void TnPropAccessor::copyAllFrom(const TnPropAccessor& other) {
    if (&other == this) return;
    for (int i = 0; i < other.count(); ++i)
        writeText(other.nameAt(i).CStr(), other.valueAt(i));
}

string8 TnPropAccessor::EscapeValue(const string8& text) {
    bool needed = false;
    for (char c : text) {
        if (c == '\0' || c == '\n' || c == '\r' || c == '\\') {
            needed = true;
            break;
        }
    }
    if (!needed) return text;
    string8 out;
    out.Reserve(text.Length() + 8);
    for (char c : text) {
        switch (c) {
            case '\0':
                out.Append("\\0");
                break;
            case '\n':
                out.Append("\\n");
                break;
            case '\r':
                out.Append("\\r");
                break;
            case '\\':
                out.Append("\\\\");
                break;
            default:
                out.Append(c);
        }
    }
    return out;
}

string8 TnPropAccessor::UnescapeValue(const char* text, int32_t length) {
    string8 out;
    out.Reserve(length);
    for (int32_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < length) {
            char next = text[++i];
            c = next == '0' ? '\0' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        }
        out.Append(c);
    }
    return out;
}

bool TnPropAccessor::loadText(KsStream& stream) {
    KsStreamMode mode = stream.GetMode();
    if (mode != KS_MODE_READ && mode != KS_MODE_READWRITE) return false;
    ks_pos_t size = stream.GetSize();
    ks_pos_t position = stream.GetPos();
    if (size == KS_POS_UNKNOWN || position == KS_POS_UNKNOWN || position >= size) return false;
    ks_pos_t length = size - position;
    if (length > kMaxPropertyFileBytes) return false;
    std::vector<char> data(length);
    ks_pos_t got = 0;
    if (stream.Read(data.data(), length, &got) != KS_OK) return false;
    const char* p = data.data();
    const char* end = p + got;
    if (got >= 3 && static_cast<uint8_t>(p[0]) == 0xEF && static_cast<uint8_t>(p[1]) == 0xBB &&
        static_cast<uint8_t>(p[2]) == 0xBF)
        p += 3;
    // Line breaks before the first line are skipped like those between lines, so that a key never
    // starts with one (it could not be written back).
    while (p < end && (*p == '\r' || *p == '\n'))
        ++p;
    while (p < end) {
        // A line ends at LF or at CR followed by LF; a lone CR belongs to the line.
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' &&
               !(*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n'))
            ++lineEnd;
        if (*p != '#') {
            const char* eq = p + 1;
            while (eq < lineEnd && *eq != '=')
                ++eq;
            if (lineEnd > p && eq < lineEnd) {
                string8 key;
                key.Append(p, static_cast<int32_t>(eq - p));
                string8 value = UnescapeValue(eq + 1, static_cast<int32_t>(lineEnd - eq - 1));
                if (static_cast<int32_t>(eq - p) == key.Length())  // no zero byte inside the key
                    writeText(key.CStr(),
                              Utf8ToString16(value.CStr(), static_cast<size_t>(value.Length())));
            }
        }
        p = lineEnd;
        while (p < end && (*p == '\r' || *p == '\n'))
            ++p;
    }
    return true;
}

bool TnPropAccessor::saveText(KsStream& stream) const {
    KsStreamMode mode = stream.GetMode();
    if (mode != KS_MODE_WRITE && mode != KS_MODE_APPEND && mode != KS_MODE_READWRITE) return false;
    KsRef<KsStream> buffer = CreateMemoryStream();
    bool ok = buffer->WriteAll("\xEF\xBB\xBF", 3);
    string8 prefix = keyPrefix();
    for (int i = 0; ok && i < count(); ++i) {
        string8 line = prefix;
        line.Append(nameAt(i));
        line.Append('=');
        line.Append(EscapeValue(String16ToUtf8(valueAt(i))));
        line.Append("\r\n");
        ok = buffer->WriteAll(line.CStr(), static_cast<ks_pos_t>(line.Length()));
    }
    if (!ok) return false;
    ks_pos_t size = buffer->GetSize();
    return PumpStream(stream, *buffer) == size;
}
