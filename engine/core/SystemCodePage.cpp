// The engine's one use of the operating system's code-page conversion: the locale's codeset
// through nl_langinfo and iconv.
#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>

#include "engine/core/StringConvert.h"

namespace {

struct SystemCodeset {
    bool isUtf8 = true;
    iconv_t toSystem = reinterpret_cast<iconv_t>(-1);
    iconv_t fromSystem = reinterpret_cast<iconv_t>(-1);

    SystemCodeset() {
        const char* codeset = nl_langinfo(CODESET);
        if (!codeset || !*codeset || strcasecmp(codeset, "UTF-8") == 0 ||
            strcasecmp(codeset, "utf8") == 0)
            return;
        toSystem = iconv_open(codeset, "UTF-16LE");
        fromSystem = iconv_open("UTF-16LE", codeset);
        isUtf8 = toSystem == reinterpret_cast<iconv_t>(-1) ||
                 fromSystem == reinterpret_cast<iconv_t>(-1);
    }
};

SystemCodeset& Codeset() {
    static SystemCodeset codeset;
    return codeset;
}

}  // namespace

string8 String16ToSystem8(const string16& text) {
    SystemCodeset& cs = Codeset();
    if (cs.isUtf8) return String16ToUtf8(text);
    string8 result;
    result.Reserve(text.Length());
    iconv(cs.toSystem, nullptr, nullptr, nullptr, nullptr);
    for (int32_t i = 0; i < text.Length(); ++i) {
        // One character at a time, so that each unmappable one becomes '?'.
        unit16 in[2] = {text[i], 0};
        size_t inUnits = 1;
        if (IsHighSurrogate(in[0]) && i + 1 < text.Length() && IsLowSurrogate(text[i + 1])) {
            in[1] = text[++i];
            inUnits = 2;
        }
        char inBytes[4];
        for (size_t k = 0; k < inUnits; ++k) {
            inBytes[2 * k] = static_cast<char>(in[k] & 0xFF);
            inBytes[2 * k + 1] = static_cast<char>(in[k] >> 8);
        }
        char* inPtr = inBytes;
        size_t inLeft = inUnits * 2;
        char out[16];
        char* outPtr = out;
        size_t outLeft = sizeof(out);
        if (iconv(cs.toSystem, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            iconv(cs.toSystem, nullptr, nullptr, nullptr, nullptr);
            result.Append('?');
        } else {
            result.Append(out, static_cast<int32_t>(outPtr - out));
        }
    }
    return result;
}

string16 System8ToString16(const string8& text) {
    SystemCodeset& cs = Codeset();
    if (cs.isUtf8) return Utf8ToString16(text);
    string16 result;
    result.Reserve(text.Length());
    iconv(cs.fromSystem, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(text.CStr());
    size_t inLeft = static_cast<size_t>(text.Length());
    while (inLeft > 0) {
        char out[256];
        char* outPtr = out;
        size_t outLeft = sizeof(out);
        size_t rc = iconv(cs.fromSystem, &inPtr, &inLeft, &outPtr, &outLeft);
        for (char* p = out; p + 1 < outPtr; p += 2)
            result.Append(static_cast<unit16>(static_cast<uint8_t>(p[0]) |
                                              (static_cast<uint8_t>(p[1]) << 8)));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete byte: one '?' and go on after it.
            result.Append(u'?');
            ++inPtr;
            --inLeft;
            iconv(cs.fromSystem, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return result;
}
