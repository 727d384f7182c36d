#include "engine/graphics/KsGifImageSource.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/graphics/GifLzwDecoder.h"

namespace {

constexpr size_t kMinFileBytes = 32;
constexpr size_t kScreenDescriptorEnd = 13;
constexpr uint8_t kExtensionIntroducer = 0x21;  // '!'
constexpr uint8_t kImageSeparator = 0x2C;       // ','
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint32_t kTransparent = 0xFFFFFFFF;
constexpr int kNoTransparency = -1;

int ReadU16(const std::vector<uint8_t>& file, size_t at) {
    return file[at] | (file[at + 1] << 8);
}

std::vector<uint32_t> ReadColorTable(const std::vector<uint8_t>& file, size_t at, int entries) {
    std::vector<uint32_t> table(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i, at += 3)
        table[i] = (uint32_t{file[at]} << 16) | (uint32_t{file[at + 1]} << 8) | file[at + 2];
    return table;
}

// Skips the data sub-blocks starting at `at` (each a length byte and that many bytes, ended by a
// zero length); the offset after them, or 0 when the file ends first.
size_t SkipSubBlocks(const std::vector<uint8_t>& file, size_t at) {
    while (at < file.size()) {
        const size_t length = file[at++];
        if (length == 0) return at;
        if (file.size() - at < length) return 0;
        at += length;
    }
    return 0;
}

// The image row that the n-th row of an interlaced image's data is: rows 0, 8, 16, ..., then
// 4, 12, ..., then 2, 6, ..., then 1, 3, ....
std::vector<int> InterlacedRowOrder(int height) {
    std::vector<int> order;
    order.reserve(static_cast<size_t>(height));
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            order.push_back(y);
    return order;
}

}  // namespace

bool KsGifImageSource::ReadFile(std::vector<uint8_t>& file) {
    const ks_pos_t size = Stream().GetSize();
    if (size == KS_POS_UNKNOWN || size < kMinFileBytes || size > kMaxGifFileBytes) {
        LogError("GIF file size %u not supported", size);
        return false;
    }
    file.resize(size);
    return Stream().SetPos(0) == 0 && Stream().ReadExact(file.data(), size);
}

bool KsGifImageSource::Decode(KsImageDecoderCallback* callback) {
    std::vector<uint8_t> file;
    if (!ReadFile(file)) return false;
    if (std::memcmp(file.data(), "GIF8", 4) != 0 || (file[4] != '7' && file[4] != '9') ||
        file[5] != 'a')
        return false;
    version_ = file[4] - '0';
    const int screenWidth = ReadU16(file, 6);
    const int screenHeight = ReadU16(file, 8);
    if (screenWidth < 1 || screenWidth > kMaxGifScreenSide || screenHeight < 1 ||
        screenHeight > kMaxGifScreenSide)
        return false;
    hasGlobalTable_ = (file[10] & 0x80) != 0;
    bitsPerPixel_ = (file[10] & 0x07) + 1;
    backgroundIndex_ = file[11];
    SetSize(screenWidth, screenHeight);
    if (!callback) return true;

    size_t at = kScreenDescriptorEnd;
    globalTable_.clear();
    if (hasGlobalTable_) {
        const int entries = 1 << bitsPerPixel_;
        if (file.size() - at < size_t{3} * entries) return false;
        globalTable_ = ReadColorTable(file, at, entries);
        at += size_t{3} * entries;
    }
    int transparentIndex = kNoTransparency;
    while (at < file.size()) {
        const uint8_t introducer = file[at++];
        if (introducer == kImageSeparator) return DecodeImage(file, at, transparentIndex, callback);
        if (introducer != kExtensionIntroducer || at >= file.size()) return false;
        const uint8_t label = file[at++];
        // Graphic control extension: block of 4 bytes (flags, delay, transparent index).
        if (label == kGraphicControlLabel && file.size() - at >= 5 && file[at] == 4) {
            const bool hasTransparency = (file[at + 1] & 0x01) != 0;
            transparentIndex = hasTransparency ? file[at + 4] : kNoTransparency;
        }
        at = SkipSubBlocks(file, at);
        if (at == 0) return false;
    }
    return false;
}

bool KsGifImageSource::DecodeImage(const std::vector<uint8_t>& file, size_t at,
                                   int transparentIndex, KsImageDecoderCallback* callback) {
    if (file.size() - at < 10) return false;
    const int left = ReadU16(file, at);
    const int top = ReadU16(file, at + 2);
    const int width = ReadU16(file, at + 4);
    const int height = ReadU16(file, at + 6);
    const uint8_t flags = file[at + 8];
    at += 9;
    if (width < 1 || width > kMaxGifImageSide || height < 1 || height > kMaxGifImageSide ||
        left + width > GetWidth() || top + height > GetHeight())
        return false;
    const bool interlaced = (flags & 0x40) != 0;
    std::vector<uint32_t> localTable;
    if (flags & 0x80) {
        const int entries = 1 << ((flags & 0x07) + 1);
        if (file.size() - at < size_t{3} * entries) return false;
        localTable = ReadColorTable(file, at, entries);
        at += size_t{3} * entries;
    }
    const std::vector<uint32_t>& table = localTable.empty() ? globalTable_ : localTable;
    if (table.empty()) return false;

    if (at >= file.size()) return false;
    GifLzwDecoder lzw;
    if (!lzw.Init(file[at++])) {
        LogError("GIF LZW code size %d not supported", file[at - 1]);
        return false;
    }
    std::vector<uint8_t> data;
    while (at < file.size() && file[at] != 0) {
        const size_t length = file[at++];
        const size_t available = std::min(length, file.size() - at);
        data.insert(data.end(), file.begin() + at, file.begin() + at + available);
        at += available;
    }

    // Symbols can reach 2047 with large code sizes, so they are kept as 16-bit values; symbols
    // beyond the colour table are drawn black.
    const size_t pixelCount = size_t{static_cast<size_t>(width)} * height;
    std::vector<uint16_t> symbols(pixelCount);
    size_t decoded = 0;
    GifLzwDecoder::Result result =
        lzw.Decode(data.data(), data.size(), symbols.data(), pixelCount, &decoded);
    // A cut or damaged picture keeps what decoded; the rest stays transparent.
    if (result != GifLzwDecoder::Result::Finished)
        LogDebug("GIF image data incomplete: %zu of %zu pixels", decoded, pixelCount);

    std::vector<int> dataRowOf(static_cast<size_t>(height));
    if (interlaced) {
        std::vector<int> order = InterlacedRowOrder(height);
        for (int n = 0; n < height; ++n)
            dataRowOf[order[n]] = n;
    } else {
        for (int y = 0; y < height; ++y)
            dataRowOf[y] = y;
    }

    callback->OnStartDecode(this);
    std::vector<uint32_t> row(static_cast<size_t>(GetWidth()));
    for (int y = 0; y < GetHeight(); ++y) {
        std::fill(row.begin(), row.end(), kTransparent);
        if (y >= top && y < top + height) {
            const size_t start = size_t{static_cast<size_t>(dataRowOf[y - top])} * width;
            for (int x = 0; x < width && start + x < decoded; ++x) {
                const int symbol = symbols[start + x];
                if (symbol == transparentIndex) continue;
                row[left + x] = symbol < static_cast<int>(table.size()) ? table[symbol] : 0;
            }
        }
        if (!callback->OnLineDecoded(this, y, row.data())) break;
    }
    callback->OnEndDecode(this, KsDecodeOutcome::Finished);
    return true;
}
