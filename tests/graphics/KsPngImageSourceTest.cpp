#include "engine/graphics/KsPngImageSource.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "engine/streams/KsMemoryStream.h"
#include "tests/support/ImageFixtures.h"

namespace {

int ChannelsOf(int colorType) {
    switch (colorType) {
        case 0:
        case 3:
            return 1;
        case 4:
            return 2;
        case 2:
            return 3;
        default:
            return 4;
    }
}

// A sample scaled to 8 bits the way PNG defines it for lower depths (bit replication equals
// v * 255 / (2^d - 1) for 1, 2 and 4 bits); 16-bit samples keep their high byte.
uint32_t To8(uint16_t v, int depth) {
    if (depth == 16) return v >> 8;
    return v * 255u / ((1u << depth) - 1);
}

PngFixture RandomPng(int colorType, int depth, bool interlaced, unsigned seed) {
    PngFixture f;
    f.width = 13;
    f.height = 11;
    f.colorType = colorType;
    f.bitDepth = depth;
    f.interlaced = interlaced;
    std::mt19937 random(seed);
    const int channels = ChannelsOf(colorType);
    const uint32_t paletteSize = 1u << std::min(depth, 4);
    for (int i = 0; i < f.width * f.height * channels; ++i) {
        const uint32_t limit = colorType == 3 ? paletteSize : 1u << depth;
        f.samples.push_back(static_cast<uint16_t>(random() % limit));
    }
    if (colorType == 3)
        for (uint32_t i = 0; i < paletteSize; ++i)
            f.palette.push_back(random() & 0xFFFFFF);
    return f;
}

// What the decoder must deliver, computed from the samples.
TestPixels Expected(const PngFixture& f) {
    TestPixels image{f.width, f.height, {}};
    const int channels = ChannelsOf(f.colorType);
    for (int i = 0; i < f.width * f.height; ++i) {
        const uint16_t* s = &f.samples[static_cast<size_t>(i) * channels];
        uint32_t r = 0, g = 0, b = 0, alpha = 255;
        switch (f.colorType) {
            case 0:
                r = g = b = To8(s[0], f.bitDepth);
                if (f.hasColorKey && s[0] == f.colorKey[0]) alpha = 0;
                break;
            case 2:
                r = To8(s[0], f.bitDepth);
                g = To8(s[1], f.bitDepth);
                b = To8(s[2], f.bitDepth);
                if (f.hasColorKey && s[0] == f.colorKey[0] && s[1] == f.colorKey[1] &&
                    s[2] == f.colorKey[2])
                    alpha = 0;
                break;
            case 3: {
                const uint32_t c = f.palette[s[0]];
                r = c >> 16;
                g = (c >> 8) & 0xFF;
                b = c & 0xFF;
                if (s[0] < f.paletteAlpha.size()) alpha = f.paletteAlpha[s[0]];
                break;
            }
            case 4:
                r = g = b = To8(s[0], f.bitDepth);
                alpha = To8(s[1], f.bitDepth);
                break;
            case 6:
                r = To8(s[0], f.bitDepth);
                g = To8(s[1], f.bitDepth);
                b = To8(s[2], f.bitDepth);
                alpha = To8(s[3], f.bitDepth);
                break;
        }
        image.pixels.push_back(((255 - alpha) << 24) | (r << 16) | (g << 8) | b);
    }
    return image;
}

struct PngCase {
    int colorType;
    int bitDepth;
    bool interlaced;
};

void PrintTo(const PngCase& c, std::ostream* os) {
    *os << "type " << c.colorType << " depth " << c.bitDepth << (c.interlaced ? " interlaced" : "");
}

std::string CaseName(const testing::TestParamInfo<PngCase>& param) {
    static const char* kTypes[] = {"gray", "", "rgb", "palette", "grayAlpha", "", "rgba"};
    return std::string(kTypes[param.param.colorType]) + std::to_string(param.param.bitDepth) +
           (param.param.interlaced ? "Interlaced" : "");
}

std::vector<PngCase> AllPngKinds() {
    const std::vector<std::pair<int, std::vector<int>>> depths = {
        {0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
    std::vector<PngCase> cases;
    for (bool interlaced : {false, true})
        for (const auto& [type, list] : depths)
            for (int depth : list)
                cases.push_back({type, depth, interlaced});
    return cases;
}

class PngDecode : public testing::TestWithParam<PngCase> {};

TEST_P(PngDecode, EveryPixelAsEncoded) {
    const PngCase& c = GetParam();
    const PngFixture fixture = RandomPng(c.colorType, c.bitDepth, c.interlaced, 11);
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WritePng(fixture), decoded));
    EXPECT_EQ(decoded.starts, 1);
    EXPECT_EQ(decoded.ends, 1);
    EXPECT_EQ(decoded.outcome, KsDecodeOutcome::Finished);
    // Interlaced or not, every row is reported once, top to bottom, complete.
    std::vector<int> inOrder;
    for (int y = 0; y < fixture.height; ++y)
        inOrder.push_back(y);
    EXPECT_EQ(decoded.rowOrder, inOrder);
    const TestPixels expected = Expected(fixture);
    ASSERT_EQ(decoded.image.width, expected.width);
    ASSERT_EQ(decoded.image.height, expected.height);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(decoded.image.At(x, y), expected.At(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Kinds, PngDecode, testing::ValuesIn(AllPngKinds()), CaseName);

TEST(KsPngImageSource, TransparencyChunks) {
    PngFixture palette = RandomPng(3, 4, false, 3);
    palette.paletteAlpha = {0, 128, 255, 7};  // entries after the fourth stay opaque
    PngFixture gray = RandomPng(0, 2, true, 4);
    gray.hasColorKey = true;
    gray.colorKey[0] = 1;
    PngFixture rgb = RandomPng(2, 16, false, 5);
    for (int i = 0; i < 3; ++i)
        rgb.samples[static_cast<size_t>(7 * 3 + i)] = static_cast<uint16_t>(1000 * i);
    rgb.hasColorKey = true;
    rgb.colorKey[0] = 0;
    rgb.colorKey[1] = 1000;
    rgb.colorKey[2] = 2000;
    for (const PngFixture& f : {palette, gray, rgb}) {
        CollectingCallback decoded;
        ASSERT_TRUE(DecodeImageBytes(WritePng(f), decoded));
        EXPECT_EQ(decoded.image.pixels, Expected(f).pixels) << "colour type " << f.colorType;
    }
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WritePng(rgb), decoded));
    EXPECT_EQ(decoded.image.At(7, 0) >> 24, 0xFFu);  // the keyed colour is fully transparent
}

TEST(KsPngImageSource, ZeroAlphaIsFullTransparency) {
    PngFixture f = RandomPng(6, 8, false, 9);
    f.samples[3] = 0;    // pixel 0 alpha 0
    f.samples[7] = 255;  // pixel 1 opaque
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WritePng(f), decoded));
    EXPECT_EQ(decoded.image.At(0, 0) >> 24, 0xFFu);
    EXPECT_EQ(decoded.image.At(1, 0) >> 24, 0x00u);
}

KsImageSourceRef SourceOf(const std::string& bytes) {
    return CreateStreamImageSource(
        nullptr,
        CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy));
}

// The IHDR chunk with another size, its CRC made right again.
std::string WithHeaderSize(std::string bytes, uint32_t width, uint32_t height) {
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<char>(width >> (24 - 8 * i));
        bytes[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17);
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return bytes;
}

TEST(KsPngImageSource, SizeLimitsAreCheckedOnTheHeader) {
    const std::string small = WritePng(RandomPng(2, 8, false, 1));
    KsImageSourceRef ok = SourceOf(WithHeaderSize(small, 16384, 4096));
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->GetWidth(), 16384);
    EXPECT_FALSE(SourceOf(WithHeaderSize(small, 16385, 10)));
    EXPECT_FALSE(SourceOf(WithHeaderSize(small, 10, 30000)));
    EXPECT_FALSE(SourceOf(WithHeaderSize(small, 16384, 4097)));
    EXPECT_FALSE(SourceOf(WithHeaderSize(small, 0x7FFFFFFF, 1)));
    // A header CRC that does not match.
    std::string damaged = small;
    damaged[18] ^= 1;
    EXPECT_FALSE(SourceOf(damaged));
}

TEST(KsPngImageSource, ACutFileFailsAfterItsRows) {
    const std::string bytes = WritePng(RandomPng(2, 8, false, 1));
    KsImageSourceRef source = SourceOf(bytes.substr(0, bytes.size() - 30));
    ASSERT_TRUE(source);
    CollectingCallback decoded;
    EXPECT_FALSE(source->Decode(&decoded));
    EXPECT_EQ(decoded.starts, 1);
    EXPECT_EQ(decoded.ends, 1);
    EXPECT_EQ(decoded.outcome, KsDecodeOutcome::Failed);
    EXPECT_EQ(source->GetWidth(), 0);
}

TEST(KsPngImageSource, CallbackCanStopTheDecode) {
    for (bool interlaced : {false, true}) {
        CollectingCallback decoded(2);
        ASSERT_TRUE(DecodeImageBytes(WritePng(RandomPng(0, 8, interlaced, 2)), decoded));
        EXPECT_EQ(decoded.rowOrder, (std::vector<int>{0, 1}));
        EXPECT_EQ(decoded.ends, 1);
    }
}

}  // namespace
