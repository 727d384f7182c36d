#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/graphics/KsImageSource.h"

// Test images made in the tests themselves: JPEG and PNG through the libjpeg and libpng
// encoders, GIF through a small encoder of our own, plus a callback that collects decoded rows.

// A decoded or expected image: pixels 0xAARRGGBB with AA = transparency (0 opaque).
struct TestPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Collects what a decode delivers.
class CollectingCallback final : public KsImageDecoderCallback {
public:
    // Stops the decode (OnLineDecoded returns false) after this many rows; -1 never.
    explicit CollectingCallback(int stopAfterRows = -1) : stopAfterRows_(stopAfterRows) {}

    void OnStartDecode(KsImageSource* source) override;
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override;
    void OnEndDecode(KsImageSource* source, KsDecodeOutcome outcome) override;

    TestPixels image;
    std::vector<int> rowOrder;  // the y of each reported row, in order
    int starts = 0;
    int ends = 0;
    KsDecodeOutcome outcome = KsDecodeOutcome::Finished;
    bool rowsWithinImage = true;

private:
    int stopAfterRows_;
};

// Decodes the bytes through CreateStreamImageSource; false when no source was made or the decode
// failed.
bool DecodeImageBytes(const std::string& bytes, CollectingCallback& callback);

enum class JpegColor { Gray, Rgb, Cmyk };
enum class JpegScans { Baseline, Progressive };
// A JPEG of the pixels (0x00RRGGBB; for Cmyk the encoder is given Adobe-style inverted CMYK made
// from the RGB), quality 95, no chroma subsampling.
std::string WriteJpeg(const TestPixels& image, JpegColor color, JpegScans scans);

struct PngFixture {
    int width = 0;
    int height = 0;
    int colorType = 0;  // PNG colour type 0, 2, 3, 4, 6
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint16_t> samples;      // channels x width x height, each below 2^bitDepth
    std::vector<uint32_t> palette;      // 0xRRGGBB, colour type 3
    std::vector<uint8_t> paletteAlpha;  // tRNS of a palette image
    bool hasColorKey = false;           // tRNS of a grey or RGB image
    uint16_t colorKey[3] = {0, 0, 0};
};
std::string WritePng(const PngFixture& fixture);

enum class GifClear { WhenTableFull, Deferred };
struct GifFixture {
    int screenWidth = 0;
    int screenHeight = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> globalTable;  // 0xRRGGBB; a power of two entries, or empty
    std::vector<uint32_t> localTable;
    int backgroundIndex = 0;
    int transparentIndex = -1;  // written in a graphic control extension when >= 0
    bool interlaced = false;
    int minCodeSize = 0;  // 0: from the table size (at least 2)
    GifClear clear = GifClear::WhenTableFull;
    std::vector<uint8_t> indices;  // width x height, top row first
};
std::string WriteGif(const GifFixture& fixture);
// The LZW data of a GIF image (before it is cut into sub-blocks).
std::string GifLzwEncode(const std::vector<uint8_t>& indices, int minCodeSize, GifClear clear);
