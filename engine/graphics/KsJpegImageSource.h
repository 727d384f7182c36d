#pragma once

#include "engine/graphics/KsNodeImageSource.h"

// JPEG through libjpeg: baseline and progressive, grey, colour and CMYK. A file that ends early
// still decodes (libjpeg fills the missing part).
class KsJpegImageSource final : public KsNodeImageSource {
public:
    using KsNodeImageSource::KsNodeImageSource;

    bool Decode(KsImageDecoderCallback* callback) override;
};
