// Shared by the image decoder fuzz targets: decodes the bytes through one decoder and checks
// the decode protocol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/graphics/KsImageSource.h"
#include "engine/streams/KsMemoryStream.h"

namespace {

// Larger images are only sized: decoding tens of megapixels of nothing would slow the fuzzer
// down without reaching other code.
constexpr int64_t kFuzzDecodePixels = 1 << 22;

class CheckingCallback final : public KsImageDecoderCallback {
public:
    void OnStartDecode(KsImageSource* source) override {
        if (starts_++ != 0 || source->GetWidth() <= 0 || source->GetHeight() <= 0) std::abort();
        width_ = source->GetWidth();
        height_ = source->GetHeight();
    }
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override {
        if (starts_ != 1 || ends_ != 0 || y < 0 || y >= height_ || source->GetWidth() != width_)
            std::abort();
        for (int x = 0; x < width_; ++x)
            sum_ += row[x];  // every pixel must be readable
        return true;
    }
    void OnEndDecode(KsImageSource*, KsDecodeOutcome) override {
        if (starts_ != 1 || ends_++ != 0) std::abort();
    }
    void CheckEnded() const {
        if (starts_ != ends_) std::abort();
    }
    uint32_t Sum() const { return sum_; }

private:
    int starts_ = 0;
    int ends_ = 0;
    int width_ = 0;
    int height_ = 0;
    uint32_t sum_ = 0;
};

template <typename Source>
int FuzzImageDecoder(const uint8_t* data, size_t size) {
    KsRef<KsStream> stream =
        CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap);
    KsImageSourceRef source(new Source(nullptr, stream));
    if (!source->Decode(nullptr)) return 0;
    if (!ImageSizeWithinLimits(source->GetWidth(), source->GetHeight())) std::abort();
    if (int64_t{source->GetWidth()} * source->GetHeight() > kFuzzDecodePixels) return 0;
    CheckingCallback callback;
    (void)source->Decode(&callback);
    callback.CheckEnded();
    // Stretching the result must hold up too.
    KsImageSourceRef stretched = CreateStretchImageSource(
        source, 1 + data[0] % 40, 1 + data[size - 1] % 40, static_cast<KsStretchMode>(data[0] % 4),
        static_cast<KsStretchMode>(data[size - 1] % 4), data[size / 2] - 100, data[0] - 3);
    if (stretched) {
        CheckingCallback stretchCallback;
        (void)stretched->Decode(&stretchCallback);
        stretchCallback.CheckEnded();
    }
    return 0;
}

}  // namespace
