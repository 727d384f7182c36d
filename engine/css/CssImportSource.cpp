#include "engine/css/CssImportSource.h"

#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"

namespace {

// Windows-1252 for 0x80-0x9F; 0xA0-0xFF are Latin-1.
const unit16 kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

bool IsValidUtf8(const uint8_t* bytes, size_t length) {
    size_t i = 0;
    while (i < length) {
        uint32_t codePoint;
        size_t used = DecodeUtf8Char(bytes + i, length - i, true, codePoint);
        if (used == 0 || (codePoint == 0xFFFD && !(used == 3 && bytes[i] == 0xEF &&
                                                   bytes[i + 1] == 0xBF && bytes[i + 2] == 0xBD)))
            return false;
        i += used;
    }
    return true;
}

}  // namespace

string8 DecodeStyleSheetBytes(const uint8_t* bytes, size_t length) {
    // FIXME: use the charset detection of plain-text files once the text import has it.
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return string8(reinterpret_cast<const char*>(bytes + 3), int32_t(length - 3));
    if (length >= 2 &&
        ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        bool little = bytes[0] == 0xFF;
        string16 text;
        text.Reserve(int32_t((length - 2) / 2));
        for (size_t i = 2; i + 1 < length; i += 2)
            text.Append(static_cast<unit16>(little ? bytes[i] | (bytes[i + 1] << 8)
                                                   : (bytes[i] << 8) | bytes[i + 1]));
        return String16ToUtf8(text);
    }
    if (IsValidUtf8(bytes, length))
        return string8(reinterpret_cast<const char*>(bytes), int32_t(length));
    string16 text;
    text.Reserve(int32_t(length));
    for (size_t i = 0; i < length; ++i) {
        uint8_t b = bytes[i];
        text.Append(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : static_cast<unit16>(b));
    }
    return String16ToUtf8(text);
}

bool ReadStyleSheetStream(KsStream& stream, string8& utf8) {
    ks_pos_t size = stream.GetSize();
    if (size == KS_POS_UNKNOWN || size > kMaxCssFileBytes) return false;
    std::vector<uint8_t> bytes(size);
    if (stream.SetPos(0) != 0) return false;
    if (size && !stream.ReadExact(bytes.data(), size)) return false;
    utf8 = DecodeStyleSheetBytes(bytes.data(), bytes.size());
    return true;
}

bool CssContainerImportSource::readStyleSheet(const string16& path, string8& utf8) {
    if (!container_) return false;
    KsRef<KsStream> stream = container_->OpenStream(path, KS_MODE_READ);
    return stream && ReadStyleSheetStream(*stream, utf8);
}

bool CssFileImportSource::readStyleSheet(const string16& path, string8& utf8) {
    KsRef<KsStream> stream = OpenFileStream(path, KS_MODE_READ);
    return stream && ReadStyleSheetStream(*stream, utf8);
}
