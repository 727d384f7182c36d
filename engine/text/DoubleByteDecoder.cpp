#include "engine/text/DoubleByteDecoder.h"

#include <array>
#include <vector>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/text/IconvDecoder.h"

namespace {

constexpr unit16 kReplacement = '?';
// A table entry with this bit set indexes the list of two-code-point characters.
constexpr uint32_t kComposedFlag = 0x80000000u;

bool InRange(uint8_t b, uint8_t first, uint8_t last) {
    return b >= first && b <= last;
}

struct Framing {
    const char* iconvName;
    bool (*isLead)(uint8_t);
    bool (*isTrail)(uint8_t);
};

const Framing& FramingOf(DoubleByteCharset charset) {
    static const Framing kGbk = {
        "GBK", [](uint8_t b) { return InRange(b, 0x81, 0xFE); },
        [](uint8_t b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFE); }};
    static const Framing kEucJp = {
        "EUC-JISX0213", [](uint8_t b) { return b == 0x8E || b == 0x8F || InRange(b, 0xA1, 0xFE); },
        [](uint8_t b) { return InRange(b, 0xA1, 0xFE); }};
    static const Framing kShiftJis = {
        "SHIFT_JISX0213",
        [](uint8_t b) { return InRange(b, 0x81, 0x9F) || InRange(b, 0xE0, 0xFC); },
        [](uint8_t b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0x80, 0xFC); }};
    static const Framing kBig5 = {
        "CP950", [](uint8_t b) { return InRange(b, 0x81, 0xFE); },
        [](uint8_t b) { return InRange(b, 0x40, 0x7E) || InRange(b, 0xA1, 0xFE); }};
    static const Framing kEucKr = {"CP949", [](uint8_t b) { return InRange(b, 0x81, 0xFE); },
                                   [](uint8_t b) {
                                       return InRange(b, 0x41, 0x5A) || InRange(b, 0x61, 0x7A) ||
                                              InRange(b, 0x81, 0xFE);
                                   }};
    switch (charset) {
        case DoubleByteCharset::Gbk:
            return kGbk;
        case DoubleByteCharset::EucJp:
            return kEucJp;
        case DoubleByteCharset::ShiftJis:
            return kShiftJis;
        case DoubleByteCharset::Big5:
            return kBig5;
        case DoubleByteCharset::EucKr:
            break;
    }
    return kEucKr;
}

// The user-defined areas of code page 950 in the private use area, as Windows maps them: lead
// bytes FA-FE from U+E000, 8E-A0 from U+E311, 81-8D from U+EEB8, 157 trail bytes each.
uint32_t Big5UserDefined(uint8_t lead, uint8_t trail) {
    uint32_t column = trail <= 0x7E ? trail - 0x40u : trail - 0xA1u + 63;
    if (InRange(lead, 0xFA, 0xFE)) return 0xE000 + (lead - 0xFAu) * 157 + column;
    if (InRange(lead, 0x8E, 0xA0)) return 0xE311 + (lead - 0x8Eu) * 157 + column;
    if (InRange(lead, 0x81, 0x8D)) return 0xEEB8 + (lead - 0x81u) * 157 + column;
    return 0;
}

// Code points of every lead/trail pair (and, for EUC-JP, of every 0x8F sequence).
class DoubleByteTable {
public:
    explicit DoubleByteTable(DoubleByteCharset charset) : pairs_(65536, 0) {
        const Framing& framing = FramingOf(charset);
        KsIconvDecoder decoder(framing.iconvName);
        if (!decoder.IsOpen()) {
            LogError("charset %s is not available; its text decodes as '?'", framing.iconvName);
            return;
        }
        for (int lead = 0x80; lead < 0x100; ++lead) {
            if (!framing.isLead(static_cast<uint8_t>(lead)) || lead == 0x8F) continue;
            for (int trail = 0; trail < 0x100; ++trail) {
                if (!framing.isTrail(static_cast<uint8_t>(trail))) continue;
                const uint8_t bytes[2] = {static_cast<uint8_t>(lead), static_cast<uint8_t>(trail)};
                uint32_t code = Store(decoder, bytes, 2);
                if (!code && charset == DoubleByteCharset::Big5)
                    code = Big5UserDefined(bytes[0], bytes[1]);
                pairs_[static_cast<size_t>(lead << 8 | trail)] = code;
            }
        }
        if (charset == DoubleByteCharset::EucJp) {
            plane2_.assign(94 * 94, 0);
            for (int row = 0; row < 94; ++row) {
                for (int cell = 0; cell < 94; ++cell) {
                    const uint8_t bytes[3] = {0x8F, static_cast<uint8_t>(0xA1 + row),
                                              static_cast<uint8_t>(0xA1 + cell)};
                    plane2_[static_cast<size_t>(row * 94 + cell)] = Store(decoder, bytes, 3);
                }
            }
        }
    }

    uint32_t Pair(uint8_t lead, uint8_t trail) const { return pairs_[lead << 8 | trail]; }
    uint32_t Plane2(uint8_t row, uint8_t cell) const {
        return plane2_.empty() ? 0
                               : plane2_[static_cast<size_t>((row - 0xA1) * 94 + (cell - 0xA1))];
    }
    const std::array<uint32_t, 2>& Composed(uint32_t entry) const {
        return composed_[entry & ~kComposedFlag];
    }

private:
    uint32_t Store(KsIconvDecoder& decoder, const uint8_t* bytes, size_t length) {
        uint32_t codes[2];
        int count = decoder.DecodeOne(bytes, length, codes, 2);
        if (count == 1) return codes[0] <= 0x10FFFF ? codes[0] : 0;
        if (count == 2 && codes[0] < 0x10000 && codes[1] < 0x10000) {
            composed_.push_back({codes[0], codes[1]});
            return kComposedFlag | static_cast<uint32_t>(composed_.size() - 1);
        }
        return 0;
    }

    std::vector<uint32_t> pairs_;
    std::vector<uint32_t> plane2_;
    std::vector<std::array<uint32_t, 2>> composed_;
};

const DoubleByteTable& TableOf(DoubleByteCharset charset) {
    switch (charset) {
        case DoubleByteCharset::Gbk: {
            static const DoubleByteTable table(DoubleByteCharset::Gbk);
            return table;
        }
        case DoubleByteCharset::EucJp: {
            static const DoubleByteTable table(DoubleByteCharset::EucJp);
            return table;
        }
        case DoubleByteCharset::ShiftJis: {
            static const DoubleByteTable table(DoubleByteCharset::ShiftJis);
            return table;
        }
        case DoubleByteCharset::Big5: {
            static const DoubleByteTable table(DoubleByteCharset::Big5);
            return table;
        }
        case DoubleByteCharset::EucKr:
            break;
    }
    static const DoubleByteTable table(DoubleByteCharset::EucKr);
    return table;
}

// A byte that stands for itself, or 0 when it starts a sequence or is invalid alone.
uint32_t SingleByte(DoubleByteCharset charset, uint8_t b) {
    if (b == 0) return kReplacement;
    if (charset == DoubleByteCharset::ShiftJis) {
        if (b == 0x5C) return 0x00A5;
        if (b == 0x7E) return 0x203E;
        if (InRange(b, 0xA1, 0xDF)) return 0xFF61 + (b - 0xA1u);
    }
    if (b < 0x80) return b;
    if (charset == DoubleByteCharset::Gbk && b == 0x80) return 0x20AC;
    return 0;
}

}  // namespace

DoubleByteProgress DecodeDoubleByte(DoubleByteCharset charset, const uint8_t* src, size_t length,
                                    unit16* dst, size_t capacity) {
    const Framing& framing = FramingOf(charset);
    const DoubleByteTable* table = nullptr;  // built on the first double-byte character
    size_t i = 0, out = 0;
    while (i < length) {
        const uint8_t b = src[i];
        uint32_t code = SingleByte(charset, b);
        size_t used = 1;
        uint32_t entry = 0;
        if (!code) {
            code = kReplacement;
            if (framing.isLead(b)) {
                const size_t needed = (charset == DoubleByteCharset::EucJp && b == 0x8F) ? 3 : 2;
                if (i + needed > length) return {i, out, true};
                if (!table) table = &TableOf(charset);
                if (!framing.isTrail(src[i + 1])) {
                    used = 1;
                } else if (needed == 3 && !framing.isTrail(src[i + 2])) {
                    used = 2;
                } else {
                    used = needed;
                    entry = needed == 3 ? table->Plane2(src[i + 1], src[i + 2])
                                        : table->Pair(b, src[i + 1]);
                }
            }
        }
        unit16 units[2];
        int count;
        if (entry & kComposedFlag) {
            const std::array<uint32_t, 2>& pair = table->Composed(entry);
            units[0] = static_cast<unit16>(pair[0]);
            units[1] = static_cast<unit16>(pair[1]);
            count = 2;
        } else {
            count = EncodeUtf16(entry ? entry : code, units);
        }
        if (out + static_cast<size_t>(count) > capacity) break;
        for (int k = 0; k < count; ++k)
            dst[out++] = units[k];
        i += used;
    }
    return {i, out, false};
}
