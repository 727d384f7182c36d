#include "engine/graphics/KsDummyImageSource.h"

#include <vector>

namespace {
constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kBlack = 0x00000000;
}  // namespace

bool KsDummyImageSource::Decode(KsImageDecoderCallback* callback) {
    if (!callback) return true;
    if (!ImageSizeWithinLimits(width_, height_)) return false;
    callback->OnStartDecode(this);
    std::vector<uint32_t> border(static_cast<size_t>(width_), kBlack);
    std::vector<uint32_t> inside(static_cast<size_t>(width_), kWhite);
    inside.front() = kBlack;
    inside.back() = kBlack;
    for (int y = 0; y < height_; ++y) {
        const bool edge = y == 0 || y == height_ - 1;
        if (!callback->OnLineDecoded(this, y, edge ? border.data() : inside.data())) break;
    }
    callback->OnEndDecode(this, KsDecodeOutcome::Finished);
    return true;
}
