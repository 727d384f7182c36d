#pragma once

#include <cstdint>
#include <vector>

#include "engine/graphics/KsNodeImageSource.h"

// GIF87a and GIF89a, our own decoder: the first image of the file is drawn on its logical
// screen. Screen pixels outside the image, and the image's transparent colour, are transparent.
class KsGifImageSource final : public KsNodeImageSource {
public:
    using KsNodeImageSource::KsNodeImageSource;

    bool Decode(KsImageDecoderCallback* callback) override;

private:
    bool ReadFile(std::vector<uint8_t>& file);
    bool DecodeImage(const std::vector<uint8_t>& file, size_t at, int transparentIndex,
                     KsImageDecoderCallback* callback);

    int version_ = 0;  // 7 or 9
    int bitsPerPixel_ = 0;
    bool hasGlobalTable_ = false;
    int backgroundIndex_ = 0;
    std::vector<uint32_t> globalTable_;
};
