#include "engine/text/KsTextFileBase.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/text/CodePages.h"
#include "engine/text/DoubleByteDecoder.h"
#include "engine/text/EncodingDetector.h"

namespace {

constexpr unit16 kReplacement = '?';
constexpr unit16 kByteOrderMark = 0xFEFF;
// Bytes of the stream that AutodetectEncoding looks at.
constexpr int64_t kDetectionSampleBytes = 131072;
constexpr int64_t kMinDetectionBytes = 16;

// A charset name as the ASCII text the name tables hold; other units cannot match any name.
void AsciiName(const unit16* name, char* out, size_t capacity) {
    size_t n = 0;
    for (; name && name[n] && n + 1 < capacity; ++n)
        out[n] = name[n] < 0x80 ? static_cast<char>(name[n]) : '?';
    out[n] = 0;
}

bool IsBlank(unit16 c) {
    return c == ' ' || c == '\t';
}

// A UTF-32 value as UTF-16 units; values that are not characters give '?'.
int Utf32ToUnits(uint32_t value, unit16* units) {
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        units[0] = kReplacement;
        return 1;
    }
    return EncodeUtf16(value, units);
}

bool IsSampleMarkup(const std::vector<char>& sample) {
    int64_t open = 0, close = 0;
    for (char c : sample) {
        if (c == '<') ++open;
        if (c == '>') ++close;
    }
    int64_t difference = open > close ? open - close : close - open;
    return open > 2 && close > 2 && difference < 2;
}

// Lines made of one repeated '*', '-' or '=' (blanks between allowed) separate parts of a text.
bool IsSeparatorLine(const string16& line, int32_t first) {
    unit16 mark = line[first];
    if (mark != '*' && mark != '-' && mark != '=') return false;
    for (int32_t i = first + 1; i < line.Length(); ++i)
        if (!IsBlank(line[i]) && line[i] != mark) return false;
    return true;
}

}  // namespace

KsTextFileBase::KsTextFileBase(KsRef<KsStream> stream) : KsFileParserBase(std::move(stream)) {}

KsTextFileBase::~KsTextFileBase() = default;

void KsTextFileBase::Reset() {
    KsFileParserBase::Reset();
    charCount_ = 0;
    charIndex_ = 0;
    endOfInput_ = false;
    if (FillCharBuffer() > 0 && charBuffer_[charIndex_] == kByteOrderMark) ++charIndex_;
}

void KsTextFileBase::SetCharset(const unit16* name) {
    encodingName_ = string16(name);
    char ascii[64];
    AsciiName(name, ascii, sizeof(ascii));
    const KsCharsetKind kind = CharsetKindByName(ascii);
    if (kind == KS_CHARSET_8BIT) {
        if (const unit16* table = GetCharsetTableByName(ascii))
            SetCharsetTable(table);
        else
            LogDebug("unknown charset %s: the decoding stays as it is", ascii);
        return;
    }
    charsetKind_ = kind;
    if (kind == KS_CHARSET_UTF8) charsetTable_.reset();
}

void KsTextFileBase::SetCharsetTable(const unit16* table) {
    if (!table) {
        charsetTable_.reset();
        return;
    }
    if (!charsetTable_) charsetTable_ = std::make_unique<unit16[]>(128);
    std::memcpy(charsetTable_.get(), table, 128 * sizeof(unit16));
    charsetKind_ = KS_CHARSET_8BIT;
}

int KsTextFileBase::DecodeRun(unit16* dest, int max, bool& ranOut) {
    const uint8_t* src = buffer_ + bufferPosition_;
    const size_t available = static_cast<size_t>(bufferedBytes_ - bufferPosition_);
    const size_t room = max > 0 ? static_cast<size_t>(max) : 0;
    size_t used = 0, out = 0;
    ranOut = false;
    switch (charsetKind_) {
        case KS_CHARSET_UTF16BE:
        case KS_CHARSET_UTF16LE: {
            // Surrogate pairs are two units in the source as in the result.
            const bool bigEndian = charsetKind_ == KS_CHARSET_UTF16BE;
            while (out < room && used + 2 <= available) {
                const uint8_t b0 = src[used], b1 = src[used + 1];
                dest[out++] = static_cast<unit16>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
                used += 2;
            }
            ranOut = used + 2 > available;
            break;
        }
        case KS_CHARSET_UTF32BE:
        case KS_CHARSET_UTF32LE: {
            const bool bigEndian = charsetKind_ == KS_CHARSET_UTF32BE;
            while (used + 4 <= available) {
                const uint8_t* p = src + used;
                const uint32_t value =
                    bigEndian
                        ? (uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3])
                        : (uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 |
                           p[0]);
                unit16 units[2];
                const int count = Utf32ToUnits(value, units);
                if (out + static_cast<size_t>(count) > room) break;
                for (int k = 0; k < count; ++k)
                    dest[out++] = units[k];
                used += 4;
            }
            ranOut = used + 4 > available;
            break;
        }
        case KS_CHARSET_8BIT:
            if (charsetTable_) {
                const unit16* table = charsetTable_.get();
                while (out < room && used < available) {
                    const uint8_t b = src[used++];
                    dest[out++] = b < 0x80 ? b : table[b - 0x80];
                }
                ranOut = used == available;
                break;
            }
            [[fallthrough]];
        case KS_CHARSET_UTF8: {
            const Utf8DecodeResult result = DecodeUtf8Buffer(src, available, dest, room, false);
            used = result.consumed;
            out = result.produced;
            ranOut = used == available || room - out >= 2;
            break;
        }
        case KS_CHARSET_GBK:
        case KS_CHARSET_EUCJP:
        case KS_CHARSET_SJIS:
        case KS_CHARSET_BIG5:
        case KS_CHARSET_EUCKR: {
            static constexpr DoubleByteCharset kCharsets[] = {
                DoubleByteCharset::Gbk, DoubleByteCharset::EucJp, DoubleByteCharset::ShiftJis,
                DoubleByteCharset::Big5, DoubleByteCharset::EucKr};
            const DoubleByteProgress result = DecodeDoubleByte(
                kCharsets[charsetKind_ - KS_CHARSET_GBK], src, available, dest, room);
            used = result.consumed;
            out = result.produced;
            ranOut = result.needMoreInput || used == available;
            break;
        }
        case KS_CHARSET_NONE:
            break;
    }
    bufferPosition_ += static_cast<int64_t>(used);
    return static_cast<int>(out);
}

int KsTextFileBase::ReadChars(unit16* dest, int max) {
    bool ranOut = false;
    const int produced = DecodeRun(dest, max, ranOut);
    // An incomplete character at the very end of the stream can never be completed: drop it so
    // that the end of input is reached. Only bytes that are in the buffer are dropped.
    if (ranOut && bufferFileOffset_ + bufferedBytes_ >= streamSize_)
        bufferPosition_ = bufferedBytes_;
    return produced;
}

int KsTextFileBase::FillCharBuffer() {
    const int unread = charCount_ - charIndex_;
    if (unread > 512) return unread;
    if (bufferedBytes_ - bufferPosition_ < 4096) (void)FillBuffer(8192);
    if (charCount_ > kCharBufferUnits - 512) {
        std::memmove(charBuffer_, charBuffer_ + charIndex_,
                     static_cast<size_t>(unread) * sizeof(unit16));
        charCount_ = unread;
        charIndex_ = 0;
    }
    charCount_ += ReadChars(charBuffer_ + charCount_, kCharBufferUnits - charCount_);
    return charCount_ - charIndex_;
}

bool KsTextFileBase::AtEnd() {
    if (charIndex_ < charCount_) return false;
    if (FillCharBuffer() > 0) return false;
    endOfInput_ = true;
    return true;
}

bool KsTextFileBase::Eof() {
    return AtEnd();
}

unit16 KsTextFileBase::PeekChar() {
    return AtEnd() ? 0 : charBuffer_[charIndex_];
}

unit16 KsTextFileBase::PeekCharAt(int n) {
    if (n < 0 || AtEnd()) return 0;
    if (charIndex_ + n >= charCount_) FillCharBuffer();
    return charIndex_ + n < charCount_ ? charBuffer_[charIndex_ + n] : 0;
}

unit16 KsTextFileBase::ReadChar() {
    return AtEnd() ? 0 : charBuffer_[charIndex_++];
}

unit16 KsTextFileBase::ReadNextChar() {
    if (AtEnd()) return 0;
    ++charIndex_;
    return PeekChar();
}

unit16 KsTextFileBase::SkipChars(int n) {
    for (int i = 0; i <= n; ++i) {
        if (AtEnd()) return 0;
        ++charIndex_;
    }
    return PeekChar();
}

bool KsTextFileBase::SkipSpaces() {
    while (!AtEnd()) {
        const unit16 c = charBuffer_[charIndex_];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return true;
        ++charIndex_;
    }
    return false;
}

bool KsTextFileBase::SkipToChar(unit16 c) {
    while (!AtEnd()) {
        if (charBuffer_[charIndex_] == c) return true;
        ++charIndex_;
    }
    return false;
}

string16 KsTextFileBase::ReadLine(int maxLength, int& lineFlags) {
    lineFlags = 0;
    string16 line;
    line.Reserve(80);
    for (;;) {
        if (AtEnd()) {
            lineFlags |= KS_LINE_END;
            break;
        }
        const unit16 c = charBuffer_[charIndex_++];
        if (c == '\r' || c == '\n') {
            const unit16 other = c == '\r' ? '\n' : '\r';
            if (!AtEnd() && charBuffer_[charIndex_] == other) ++charIndex_;
            lineFlags |= KS_LINE_END;
            break;
        }
        line.Append(c);
        if (IsBlank(c) && line.Length() >= maxLength) break;
        // Text without blanks (CJK, binary data) is cut too, keeping surrogate pairs whole.
        if (line.Length() >= kMaxTextLineUnits && !IsHighSurrogate(c)) break;
    }

    int32_t first = 0;
    while (first < line.Length() && IsBlank(line[first]))
        ++first;
    if (first < line.Length()) {
        const int32_t last = line.Length() - 1;
        if (line[first] == 0x14 && last > first && line[last] == 0x15) {
            line = line.Substr(first + 1, last - first - 1);
            lineFlags |= KS_LINE_HEADING;
        } else if (IsSeparatorLine(line, first)) {
            line = string16("* * *");
            lineFlags |= KS_LINE_HEADING;
        }
    }
    return line;
}

int KsTextFileBase::ReadTextBytes(int64_t offset, int size, unit16* dest, int maxChars,
                                  int /*flags*/) {
    if (!LoadRange(offset, size)) {
        LogError("KsTextFileBase::ReadTextBytes seek error! cannot set pos to %d to read %d bytes",
                 static_cast<int>(offset), size);
        return 0;
    }
    return ReadChars(dest, maxChars);
}

bool KsTextFileBase::AutodetectEncoding(EncodingDetection detection) {
    if (!stream_) return false;
    const int64_t sampleSize = std::min(streamSize_, kDetectionSampleBytes);
    if (sampleSize < kMinDetectionBytes) return false;

    const ks_pos_t savedPosition = stream_->GetPos();
    std::vector<char> sample(static_cast<size_t>(sampleSize));
    ks_pos_t bytesRead = 0;
    if (stream_->SetPos(0) != 0 ||
        stream_->Read(sample.data(), static_cast<ks_pos_t>(sampleSize), &bytesRead) != KS_OK)
        bytesRead = 0;
    stream_->SetPos(savedPosition);
    sample.resize(bytesRead);
    if (static_cast<int64_t>(sample.size()) < kMinDetectionBytes) return false;

    const SampleMarkup markup = IsSampleMarkup(sample) ? SampleMarkup::Skip : SampleMarkup::Count;
    string8 charset, language;
    bool detected = true;
    if (detection == EncodingDetection::UnicodeOnly)
        detected = DetectUnicodeEncoding(sample.data(), sample.size(), charset, language);
    else
        DetectCodePage(sample.data(), sample.size(), charset, language, markup);
    if (!detected) return true;  // UnicodeOnly: the charset in force stays

    langName_ = Utf8ToString16(language);
    SetCharset(Utf8ToString16(charset).CStr());
    return true;
}
