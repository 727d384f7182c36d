#include "engine/core/StringConvert.h"

#include <cstring>

size_t DecodeUtf8Char(const uint8_t* src, size_t srcLength, bool final, uint32_t& codePoint) {
    uint32_t lead = src[0];
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    size_t need;
    uint32_t value;
    uint32_t minimum;
    if (lead < 0xC0) {  // a continuation byte where a character should start
        codePoint = 0xFFFD;
        return 1;
    } else if (lead < 0xE0) {
        need = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead < 0xF0) {
        need = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead < 0xF8) {
        need = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        codePoint = 0xFFFD;
        return 1;
    }
    for (size_t k = 1; k <= need; ++k) {
        if (k >= srcLength) {
            if (!final) return 0;
            codePoint = 0xFFFD;
            return k;
        }
        uint32_t b = src[k];
        if ((b & 0xC0) != 0x80) {  // only continuation bytes continue a sequence
            codePoint = 0xFFFD;
            return k;
        }
        value = (value << 6) | (b & 0x3F);
    }
    codePoint = (value < minimum || value > 0x10FFFF) ? 0xFFFD : value;
    return need + 1;
}

namespace {

// Counts the UTF-16 units that `length` bytes decode to.
size_t CountUnits(const uint8_t* bytes, size_t length) {
    size_t units = 0;
    size_t i = 0;
    while (i < length) {
        if (bytes[i] < 0x80) {
            ++units, ++i;
            continue;
        }
        uint32_t cp;
        i += DecodeUtf8Char(bytes + i, length - i, true, cp);
        units += cp >= 0x10000 ? 2 : 1;
    }
    return units;
}

string16 Decode(const uint8_t* bytes, size_t length) {
    size_t units = CountUnits(bytes, length);
    string16 result;
    if (units == 0) return result;
    if (units > static_cast<size_t>(string16::kMaxLength)) units = string16::kMaxLength;
    result.Reserve(static_cast<int32_t>(units));
    unit16* out = result.Modify();
    size_t produced = 0;
    size_t i = 0;
    while (produced < units && i < length) {
        // Runs of ASCII are the common case in books.
        size_t run = length - i < units - produced ? length - i : units - produced;
        size_t k = 0;
        while (k < run && bytes[i + k] < 0x80) {
            out[produced + k] = bytes[i + k];
            ++k;
        }
        i += k;
        produced += k;
        if (i >= length || produced >= units) break;
        uint32_t cp;
        i += DecodeUtf8Char(bytes + i, length - i, true, cp);
        if (cp >= 0x10000 && produced + 2 > units) break;
        produced += static_cast<size_t>(EncodeUtf16(cp, out + produced));
    }
    result.SetLengthUnsafe(static_cast<int32_t>(produced));
    return result;
}

}  // namespace

string16 Utf8ToString16(const char* text) {
    if (!text) return string16();
    return Decode(reinterpret_cast<const uint8_t*>(text), std::strlen(text));
}

string16 Utf8ToString16(const char* bytes, size_t length) {
    if (!bytes || length == 0) return string16();
    return Decode(reinterpret_cast<const uint8_t*>(bytes), length);
}

string16 Utf8ToString16(const string8& text) {
    return Utf8ToString16(text.CStr(), static_cast<size_t>(text.Length()));
}

string8 String16ToUtf8(const unit16* text, int32_t count) {
    string8 result;
    if (!text || count <= 0) return result;
    int64_t bytes = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t u = text[i];
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
            bytes += 4;
            ++i;
        } else {
            bytes += 3;
        }
    }
    if (bytes > string8::kMaxLength) bytes = string8::kMaxLength;
    result.Reserve(static_cast<int32_t>(bytes));
    char* out = result.Modify();
    int64_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t u = text[i];
        if (u < 0x80) {
            if (n + 1 > bytes) break;
            out[n++] = static_cast<char>(u);
        } else if (u < 0x800) {
            if (n + 2 > bytes) break;
            out[n++] = static_cast<char>(0xC0 | (u >> 6));
            out[n++] = static_cast<char>(0x80 | (u & 0x3F));
        } else if (IsHighSurrogate(u) && i + 1 < count && IsLowSurrogate(text[i + 1])) {
            if (n + 4 > bytes) break;
            uint32_t cp =
                0x10000 + ((u - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
            ++i;
            out[n++] = static_cast<char>(0xF0 | (cp >> 18));
            out[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            if (n + 3 > bytes) break;
            out[n++] = static_cast<char>(0xE0 | (u >> 12));
            out[n++] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out[n++] = static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    result.SetLengthUnsafe(static_cast<int32_t>(n));
    return result;
}

string8 String16ToUtf8(const string16& text) {
    return String16ToUtf8(text.CStr(), text.Length());
}

string16 BytesToString16(const uint8_t* bytes, size_t length, const unit16* table128) {
    string16 result;
    if (!bytes || length == 0) return result;
    if (length > static_cast<size_t>(string16::kMaxLength)) length = string16::kMaxLength;
    result.Reserve(static_cast<int32_t>(length));
    unit16* out = result.Modify();
    for (size_t i = 0; i < length; ++i) {
        uint8_t b = bytes[i];
        out[i] = (b >= 0x80 && table128) ? table128[b - 0x80] : static_cast<unit16>(b);
    }
    result.SetLengthUnsafe(static_cast<int32_t>(length));
    return result;
}

Utf8DecodeResult DecodeUtf8Buffer(const uint8_t* src, size_t srcLength, unit16* dst,
                                  size_t dstCapacity, bool final) {
    size_t i = 0;
    size_t produced = 0;
    while (i < srcLength && produced < dstCapacity) {
        if (src[i] < 0x80) {
            dst[produced++] = src[i++];
            continue;
        }
        uint32_t cp;
        size_t used = DecodeUtf8Char(src + i, srcLength - i, final, cp);
        if (used == 0) break;  // incomplete sequence; wait for more bytes
        if (cp >= 0x10000 && produced + 2 > dstCapacity) break;
        produced += static_cast<size_t>(EncodeUtf16(cp, dst + produced));
        i += used;
    }
    return {i, produced};
}

void AppendCodePoint(string16& text, uint32_t codePoint) {
    unit16 units[2];
    int n = EncodeUtf16(codePoint, units);
    text.Append(units, n);
}
