#include "engine/graphics/KsImageSource.h"

#include <cstring>

#include "engine/core/Limits.h"
#include "engine/graphics/KsDummyImageSource.h"
#include "engine/graphics/KsGifImageSource.h"
#include "engine/graphics/KsJpegImageSource.h"
#include "engine/graphics/KsPngImageSource.h"
#include "engine/graphics/KsStretchImgSource.h"

namespace {

constexpr ks_pos_t kSniffBytes = 256;
constexpr int kPlaceholderSide = 50;

enum class ImageFormat { Unknown, Png, Jpeg, Gif };

ImageFormat DetectImageFormat(const uint8_t* head, ks_pos_t size) {
    if (size >= 4 && std::memcmp(head, "\x89PNG", 4) == 0) return ImageFormat::Png;
    if (size >= 2 && head[0] == 0xFF && head[1] == 0xD8) return ImageFormat::Jpeg;
    if (size >= 6 && std::memcmp(head, "GIF8", 4) == 0 && (head[4] == '7' || head[4] == '9') &&
        head[5] == 'a')
        return ImageFormat::Gif;
    return ImageFormat::Unknown;
}

}  // namespace

bool ImageSizeWithinLimits(int64_t width, int64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

KsImageSourceRef CreateStreamImageSource(ldomNode* node, KsRef<KsStream> stream) {
    if (!stream || stream->SetPos(0) != 0) return nullptr;
    uint8_t head[kSniffBytes];
    ks_pos_t got = 0;
    if (stream->Read(head, kSniffBytes, &got) != KS_OK || got == 0) return nullptr;
    if (stream->SetPos(0) != 0) return nullptr;
    KsImageSourceRef source;
    switch (DetectImageFormat(head, got)) {
        case ImageFormat::Png:
            source = KsImageSourceRef(new KsPngImageSource(node, std::move(stream)));
            break;
        case ImageFormat::Jpeg:
            source = KsImageSourceRef(new KsJpegImageSource(node, std::move(stream)));
            break;
        case ImageFormat::Gif:
            source = KsImageSourceRef(new KsGifImageSource(node, std::move(stream)));
            break;
        case ImageFormat::Unknown:
            source = CreateDummyImageSource(node, kPlaceholderSide, kPlaceholderSide);
            break;
    }
    if (!source || !source->Decode(nullptr)) return nullptr;
    return source;
}

KsImageSourceRef CreateDummyImageSource(ldomNode* node, int width, int height) {
    return KsImageSourceRef(new KsDummyImageSource(node, width, height));
}

KsImageSourceRef CreateStretchImageSource(KsImageSourceRef source, int width, int height,
                                          KsStretchMode horizontal, KsStretchMode vertical,
                                          int splitX, int splitY) {
    if (!source || !ImageSizeWithinLimits(width, height) ||
        !ImageSizeWithinLimits(source->GetWidth(), source->GetHeight()))
        return nullptr;
    return KsImageSourceRef(new KsStretchImgSource(std::move(source), width, height, horizontal,
                                                   vertical, splitX, splitY));
}

KsImageSourceRef CreateTileImageSource(KsImageSourceRef source, int width, int height, int offsetX,
                                       int offsetY) {
    return CreateStretchImageSource(std::move(source), width, height, KsStretchMode::Tile,
                                    KsStretchMode::Tile, offsetX, offsetY);
}
