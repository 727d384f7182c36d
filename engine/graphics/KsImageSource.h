#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/streams/KsStream.h"

class ldomNode;
class KsImageSource;

// How a decode ended, as told to OnEndDecode.
enum class KsDecodeOutcome { Finished, Failed };

// Receives the rows of a decode. Pixels are 0xAARRGGBB where AA is transparency: 0x00 opaque,
// 0xFF fully transparent.
class KsImageDecoderCallback {
public:
    virtual ~KsImageDecoderCallback() = default;
    virtual void OnStartDecode(KsImageSource* source) = 0;
    // One row of GetWidth() pixels; rows arrive top to bottom, each once. False asks the decoder
    // to stop (the decode then still ends with OnEndDecode).
    virtual bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) = 0;
    virtual void OnEndDecode(KsImageSource* source, KsDecodeOutcome outcome) = 0;
};

// An image that knows its size and decodes itself row by row. Shared through KsImageSourceRef.
class KsImageSource : public KsRefCounter {
public:
    // The document element the image belongs to, or null.
    virtual ldomNode* GetSourceNode() { return nullptr; }
    // The stream the image decodes from, or null.
    virtual KsStream* GetSourceStream() { return nullptr; }
    // Releases memory kept for decoding (the decoders keep none between decodes).
    virtual void Compact() {}
    // 0 until known.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    // Decodes the image into the callback: OnStartDecode, every row, OnEndDecode. With a null
    // callback only the header is read, to learn the size. False when the image cannot be
    // decoded.
    [[nodiscard]] virtual bool Decode(KsImageDecoderCallback* callback) = 0;
};

using KsImageSourceRef = KsRef<KsImageSource>;

// Picks the decoder from the first bytes of the stream: PNG, JPEG or GIF; other data gives a
// 50 x 50 placeholder. Null when the stream is null or unreadable, or its header does not
// decode (including images larger than the engine's limits).
KsImageSourceRef CreateStreamImageSource(ldomNode* node, KsRef<KsStream> stream);
// A white rectangle with a black one-pixel border, standing in for a missing image.
KsImageSourceRef CreateDummyImageSource(ldomNode* node, int width, int height);

// How a stretched image fills a target of another size, along one axis.
enum class KsStretchMode {
    Crop = 0,   // the source as it is, cut at the target size
    Split = 1,  // the source with the pixel at the split repeated to fill the rest
    Scale = 2,  // nearest-neighbour scaling
    Tile = 3,   // the source repeated, starting at the split
};

// The source drawn at width x height. Null when the source is null or the size is not within
// 1 ... the engine's image limits.
KsImageSourceRef CreateStretchImageSource(KsImageSourceRef source, int width, int height,
                                          KsStretchMode horizontal, KsStretchMode vertical,
                                          int splitX, int splitY);
// The source tiled over width x height, beginning at (offsetX, offsetY) of the source.
KsImageSourceRef CreateTileImageSource(KsImageSourceRef source, int width, int height, int offsetX,
                                       int offsetY);

// True when the size is within 1 ... kMaxImageSide per side and kMaxImagePixels in all.
bool ImageSizeWithinLimits(int64_t width, int64_t height);
