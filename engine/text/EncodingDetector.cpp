#include "engine/text/EncodingDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/core/Log.h"
#include "engine/text/LangProfile.h"

namespace {

const uint8_t* Bytes(const char* bytes) {
    return reinterpret_cast<const uint8_t*>(bytes);
}

bool StartsWith(const char* bytes, size_t length, const char* mark, size_t markLength) {
    return length >= markLength && std::memcmp(bytes, mark, markLength) == 0;
}

// Windows "Unicode" text files often have no byte-order mark. Their zero bytes (the high byte of
// every ASCII character) fall on one parity only; 8-bit text has no zero bytes at all, and UTF-32
// has them on both parities.
const char* DetectUtf16WithoutMark(const char* bytes, size_t length) {
    if (length < 8) return nullptr;
    size_t units = length / 2;
    size_t evenZeros = 0, oddZeros = 0;
    for (size_t i = 0; i < units; ++i) {
        if (bytes[2 * i] == 0) ++evenZeros;
        if (bytes[2 * i + 1] == 0) ++oddZeros;
    }
    size_t big = std::max(evenZeros, oddZeros);
    size_t small = std::min(evenZeros, oddZeros);
    if (big < 2 || big < units / 32 || small * 8 > big) return nullptr;
    return evenZeros > oddZeros ? "utf-16be" : "utf-16le";
}

const char* UnicodeCharset(const char* bytes, size_t length) {
    if (StartsWith(bytes, length, "\xEF\xBB\xBF", 3)) return "utf-8";
    if (StartsWith(bytes, length, "\x00\x00\xFE\xFF", 4)) return "utf-32be";
    if (StartsWith(bytes, length, "\xFE\xFF", 2)) return "utf-16be";
    if (StartsWith(bytes, length, "\xFF\xFE\x00\x00", 4)) return "utf-32le";
    if (StartsWith(bytes, length, "\xFF\xFE", 2)) return "utf-16le";
    if (const char* utf16 = DetectUtf16WithoutMark(bytes, length)) return utf16;
    if (IsValidUtf8(bytes, length)) return "utf-8";
    return nullptr;
}

void LogUnexpectedByte(const uint8_t* bytes, size_t length, size_t position) {
    if (!IsLogLevelEnabled(KS_LOG_TRACE)) return;
    char context[33];
    size_t n = std::min<size_t>(32, length - position);
    std::memcpy(context, bytes + position, n);
    context[n] = 0;
    LogTrace("unexpected char %02x at position %x, str=%s", bytes[position],
             static_cast<unsigned>(position), context);
}

// --- Comparing a sample with the profiles ----------------------------------------------------
//
// Each profile gets score = (2 * S + 6 * P) / (Db + Dp), where Db and Dp are the mean absolute
// differences of the byte and pair frequencies, and S and P are similarities of the byte and the
// pair frequencies: the cosine over the entries with a byte >= 0x80 (these tell the code pages
// apart) plus the cosine over all entries (these tell the languages apart, which matters when a
// text has few bytes >= 0x80). Plain dot products would favour whichever profile carries the most
// weight above 0x80 (Greek, the CJK code pages) whatever the text is.

struct Norms {
    double highBytes;
    double allBytes;
    double highPairs;
    double allPairs;
};

Norms ComputeNorms(const TextStatistics& s) {
    uint64_t highBytes = 0, allBytes = 0, highPairs = 0, allPairs = 0;
    for (int b = 0; b < 256; ++b) {
        uint64_t square = static_cast<uint64_t>(s.byteFrequency[b]) * s.byteFrequency[b];
        allBytes += square;
        if (b >= 0x80) highBytes += square;
    }
    for (int i = 0; i < s.pairCount; ++i) {
        uint64_t f = PairFrequency(s.pairs[i]);
        allPairs += f * f;
        if (PairHasHighByte(s.pairs[i])) highPairs += f * f;
    }
    return {std::sqrt(static_cast<double>(highBytes)), std::sqrt(static_cast<double>(allBytes)),
            std::sqrt(static_cast<double>(highPairs)), std::sqrt(static_cast<double>(allPairs))};
}

double Cosine(uint64_t dot, double normA, double normB) {
    return (normA > 0 && normB > 0) ? static_cast<double>(dot) / (normA * normB) : 0.0;
}

const std::vector<Norms>& ProfileNorms() {
    static const std::vector<Norms> norms = [] {
        std::vector<Norms> result;
        for (int i = 0; i < GetLangProfileCount(); ++i)
            result.push_back(ComputeNorms(GetLangProfiles()[i].statistics));
        return result;
    }();
    return norms;
}

double Score(const TextStatistics& profile, const Norms& profileNorms, const TextStatistics& text,
             const Norms& textNorms) {
    constexpr double kOne = kFrequencyOne;
    constexpr double kMinDistance = 0.00001;

    uint64_t highBytes = 0, allBytes = 0, byteDifference = 0;
    for (int b = 0; b < 256; ++b) {
        uint64_t p = profile.byteFrequency[b], t = text.byteFrequency[b];
        allBytes += p * t;
        if (b >= 0x80) highBytes += p * t;
        byteDifference += p > t ? p - t : t - p;
    }

    uint64_t highPairs = 0, allPairs = 0, pairDifference = 0;
    int i = 0, j = 0;
    while (i < profile.pairCount && j < text.pairCount) {
        uint16_t a = PairKey(profile.pairs[i]), b = PairKey(text.pairs[j]);
        uint64_t fa = PairFrequency(profile.pairs[i]), fb = PairFrequency(text.pairs[j]);
        if (a == b) {
            allPairs += fa * fb;
            if (PairHasHighByte(profile.pairs[i])) highPairs += fa * fb;
            pairDifference += fa > fb ? fa - fb : fb - fa;
            ++i;
            ++j;
        } else if (a < b) {
            pairDifference += fa;
            ++i;
        } else {
            pairDifference += fb;
            ++j;
        }
    }
    for (; i < profile.pairCount; ++i)
        pairDifference += PairFrequency(profile.pairs[i]);
    for (; j < text.pairCount; ++j)
        pairDifference += PairFrequency(text.pairs[j]);

    double s = Cosine(highBytes, profileNorms.highBytes, textNorms.highBytes) +
               Cosine(allBytes, profileNorms.allBytes, textNorms.allBytes);
    double p = Cosine(highPairs, profileNorms.highPairs, textNorms.highPairs) +
               Cosine(allPairs, profileNorms.allPairs, textNorms.allPairs);
    double byteDistance = static_cast<double>(byteDifference) / kOne / 256;
    double pairDistance = static_cast<double>(pairDifference) / kOne / 256;
    return (2 * s + 6 * p) /
           (std::max(byteDistance, kMinDistance) + std::max(pairDistance, kMinDistance));
}

}  // namespace

bool IsValidUtf8(const char* text, size_t length) {
    const uint8_t* bytes = Bytes(text);
    if (length <= 5) return true;
    const size_t end = length - 5;
    size_t i = 0;
    while (i < end) {
        uint8_t b = bytes[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        if ((b & 0xC0) == 0x80) {
            LogUnexpectedByte(bytes, length, i);
            return false;
        }
        size_t continuations;
        if ((b & 0xE0) == 0xC0)
            continuations = 1;
        else if ((b & 0xF0) == 0xE0)
            continuations = 2;
        else if ((b & 0xF8) == 0xF0)
            continuations = 3;
        else
            return false;
        for (size_t k = 1; k <= continuations; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) {
                if (continuations == 1) LogUnexpectedByte(bytes, length, i + k);
                return false;
            }
        }
        i += continuations + 1;
    }
    return true;
}

bool DetectUnicodeEncoding(const char* bytes, size_t length, string8& charset, string8& language) {
    const char* found = UnicodeCharset(bytes, length);
    if (!found) return false;
    charset = found;
    language = "en";
    return true;
}

int FindClosestLangProfile(const char* bytes, size_t length, SampleMarkup markup) {
    auto text = std::make_unique<TextStatistics>();
    MeasureTextStatistics(Bytes(bytes), length, markup, *text);
    const Norms textNorms = ComputeNorms(*text);
    const std::vector<Norms>& norms = ProfileNorms();
    int best = 0;
    double bestScore = -1;
    for (int i = 0; i < GetLangProfileCount(); ++i) {
        double score =
            Score(GetLangProfiles()[i].statistics, norms[static_cast<size_t>(i)], *text, textNorms);
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

void DetectCodePage(const char* bytes, size_t length, string8& charset, string8& language,
                    SampleMarkup markup) {
    if (DetectUnicodeEncoding(bytes, length, charset, language)) return;
    const bool skipMarkup = markup == SampleMarkup::Skip;
    int best = FindClosestLangProfile(bytes, length, markup);
    const LangProfile& profile = GetLangProfiles()[best];
    charset = profile.codePage;
    language = profile.language;
    LogDebug("Detected codepage:%s lang:%s index:%d %s", profile.codePage, profile.language, best,
             skipMarkup ? "(skipHtml)" : "");
    if (skipMarkup) {
        string8 declared;
        if (ParseDeclaredEncoding(bytes, length, declared)) {
            charset = declared;
            LogDebug("Encoding parsed from XML/HTML: %s", declared.CStr());
        }
    }
}
