#pragma once

#include "engine/graphics/KsNodeImageSource.h"

// PNG through libpng: every colour type and bit depth, with transparency, interlaced or not.
class KsPngImageSource final : public KsNodeImageSource {
public:
    using KsNodeImageSource::KsNodeImageSource;

    bool Decode(KsImageDecoderCallback* callback) override;
};
