#include "engine/graphics/KsGifImageSource.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/streams/KsMemoryStream.h"
#include "tests/support/ImageFixtures.h"

namespace {

constexpr uint32_t kTransparent = 0xFFFFFFFF;

GifFixture Picture(int width, int height, unsigned seed, int colors = 4) {
    GifFixture f;
    f.screenWidth = f.width = width;
    f.screenHeight = f.height = height;
    for (int i = 0; i < colors; ++i)
        f.globalTable.push_back((0x010203u * static_cast<uint32_t>(i * 7 + 1)) & 0xFFFFFF);
    std::mt19937 random(seed);
    for (int i = 0; i < width * height; ++i)
        f.indices.push_back(static_cast<uint8_t>(random() % colors));
    return f;
}

// What a decode must show: the table colour of every index, transparent where the image has its
// transparent index and outside the image.
TestPixels Expected(const GifFixture& f) {
    const std::vector<uint32_t>& table = f.localTable.empty() ? f.globalTable : f.localTable;
    TestPixels image{
        f.screenWidth, f.screenHeight,
        std::vector<uint32_t>(static_cast<size_t>(f.screenWidth) * f.screenHeight, kTransparent)};
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const int index = f.indices[static_cast<size_t>(y) * f.width + x];
            if (index == f.transparentIndex) continue;
            image.pixels[static_cast<size_t>(y + f.top) * f.screenWidth + x + f.left] =
                table[index];
        }
    return image;
}

KsImageSourceRef SourceOf(const std::string& bytes) {
    return CreateStreamImageSource(
        nullptr,
        CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy));
}

std::vector<int> Rows(int count) {
    std::vector<int> rows;
    for (int y = 0; y < count; ++y)
        rows.push_back(y);
    return rows;
}

struct GifCase {
    const char* name;
    GifFixture fixture;
};

void PrintTo(const GifCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<GifCase> GifCases() {
    std::vector<GifCase> cases;
    cases.push_back({"plain", Picture(17, 9, 1)});
    GifFixture interlaced = Picture(7, 19, 2);
    interlaced.interlaced = true;
    cases.push_back({"interlaced", interlaced});
    // Random pixels of 16 colours fill the code table many times: once with a clear code each
    // time, once with the full table kept (deferred clear).
    GifFixture full = Picture(150, 150, 3, 16);
    cases.push_back({"clearWhenTableFull", full});
    full.clear = GifClear::Deferred;
    cases.push_back({"deferredClear", full});
    GifFixture framed = Picture(6, 5, 4);
    framed.screenWidth = 11;
    framed.screenHeight = 8;
    framed.left = 3;
    framed.top = 2;
    cases.push_back({"imageInsideALargerScreen", framed});
    GifFixture local = Picture(9, 4, 5);
    local.localTable = {0x111111, 0x222222, 0x333333, 0x444444,
                        0x555555, 0x666666, 0x777777, 0x888888};
    cases.push_back({"localColorTable", local});
    GifFixture noGlobal = local;
    noGlobal.globalTable.clear();
    cases.push_back({"onlyLocalTable", noGlobal});
    GifFixture transparent = Picture(8, 8, 6);
    transparent.transparentIndex = 2;
    transparent.backgroundIndex = 1;  // the background colour is drawn like any other
    cases.push_back({"transparentIndex", transparent});
    GifFixture wide = Picture(12, 3, 7, 256);
    wide.minCodeSize = 9;  // more bits than the symbols need
    cases.push_back({"codeSizeBeyondTheTable", wide});
    return cases;
}

class GifDecode : public testing::TestWithParam<GifCase> {};

TEST_P(GifDecode, ShowsThePicture) {
    const GifFixture& f = GetParam().fixture;
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WriteGif(f), decoded));
    EXPECT_EQ(decoded.starts, 1);
    EXPECT_EQ(decoded.ends, 1);
    EXPECT_EQ(decoded.outcome, KsDecodeOutcome::Finished);
    EXPECT_EQ(decoded.rowOrder, Rows(f.screenHeight));
    const TestPixels expected = Expected(f);
    ASSERT_EQ(decoded.image.width, expected.width);
    ASSERT_EQ(decoded.image.height, expected.height);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(decoded.image.At(x, y), expected.At(x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Kinds, GifDecode, testing::ValuesIn(GifCases()),
                         [](const testing::TestParamInfo<GifCase>& param) {
                             return param.param.name;
                         });

TEST(KsGifImageSource, WellKnownFiles) {
    // The classic 1 x 1 transparent GIF.
    const std::string pixel(
        "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00\x21\xF9\x04\x01\x00\x00\x00"
        "\x00\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B",
        43);
    CollectingCallback one;
    ASSERT_TRUE(DecodeImageBytes(pixel, one));
    EXPECT_EQ(one.image.pixels, std::vector<uint32_t>{kTransparent});

    // A 3 x 5 picture of 256 grey levels with the image data of the GIF article's sample: codes
    // 100 28 FF 103 102 103 106 107 101 (hex, 9 bits), which draw two black pixels on white.
    std::string sample("GIF89a\x03\x00\x05\x00\xF7\x00\x00", 13);
    for (int i = 0; i < 256; ++i)
        sample += std::string(3, static_cast<char>(i));
    sample += std::string(
        "\x2C\x00\x00\x00\x00\x03\x00\x05\x00\x00\x08\x0B\x00\x51\xFC\x1B\x28"
        "\x70\xA0\xC1\x83\x01\x01\x00\x3B",
        25);
    CollectingCallback grey;
    ASSERT_TRUE(DecodeImageBytes(sample, grey));
    const uint32_t b = 0x282828, w = 0xFFFFFF;
    EXPECT_EQ(grey.image.pixels,
              (std::vector<uint32_t>{b, w, w, w, b, w, w, w, w, w, w, w, w, w, w}));
}

TEST(KsGifImageSource, HeaderGivesTheScreenSize) {
    KsImageSourceRef source = SourceOf(WriteGif(Picture(20, 7, 1)));
    ASSERT_TRUE(source);
    EXPECT_NE(dynamic_cast<KsGifImageSource*>(source.Get()), nullptr);
    EXPECT_EQ(source->GetWidth(), 20);
    EXPECT_EQ(source->GetHeight(), 7);
}

TEST(KsGifImageSource, ACutPictureKeepsWhatDecoded) {
    GifFixture f = Picture(40, 40, 8);
    std::string bytes = WriteGif(f);
    bytes.resize(bytes.size() / 2);
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(bytes, decoded));
    EXPECT_EQ(decoded.rowOrder, Rows(40));
    const TestPixels expected = Expected(f);
    EXPECT_EQ(decoded.image.At(0, 0), expected.At(0, 0));
    EXPECT_EQ(decoded.image.At(39, 39), kTransparent);
}

TEST(KsGifImageSource, SymbolsBeyondTheColorTableAreBlack) {
    GifFixture f = Picture(4, 4, 9);
    f.globalTable = {0xFFFFFF, 0xFFFFFF};  // two colours, but the image uses up to index 3
    f.minCodeSize = 2;
    f.indices.assign(16, 3);
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WriteGif(f), decoded));
    EXPECT_EQ(decoded.image.At(1, 1), 0u);
}

// Offset of the LZW minimum code size byte of a WriteGif file without extensions.
size_t CodeSizeOffset(const GifFixture& f) {
    return 13 + 3 * f.globalTable.size() + 10 + 3 * f.localTable.size();
}

TEST(KsGifImageSource, BrokenFilesFail) {
    const GifFixture f = Picture(10, 10, 1);
    const std::string good = WriteGif(f);
    ASSERT_TRUE(SourceOf(good));
    struct Case {
        const char* name;
        std::string bytes;
        bool headerDecodes;  // the size is still readable; the full decode fails
    };
    std::vector<Case> cases;
    for (int codeSize : {0, 1, 12, 200}) {
        std::string bytes = good;
        bytes[CodeSizeOffset(f)] = static_cast<char>(codeSize);
        cases.push_back({"codeSize", bytes, true});
    }
    std::string zeroScreen = good;
    zeroScreen[6] = zeroScreen[7] = 0;
    cases.push_back({"zeroWidthScreen", zeroScreen, false});
    std::string hugeScreen = good;
    hugeScreen[8] = 0x00;
    hugeScreen[9] = 0x10;  // 4096
    cases.push_back({"screenTooHigh", hugeScreen, false});
    GifFixture outside = f;
    outside.left = 1;  // the image sticks out of the screen
    cases.push_back({"imageOutsideScreen", WriteGif(outside), true});
    GifFixture noTable = f;
    noTable.globalTable.clear();
    cases.push_back({"noColorTable", WriteGif(noTable), true});
    std::string trailerFirst = good.substr(0, 13 + 12) + ";";
    trailerFirst.resize(40, '\0');
    cases.push_back({"noImage", trailerFirst, true});
    cases.push_back({"tooShort", good.substr(0, 31), false});
    std::string tooLong = good;
    tooLong.resize(600 * 1024, '\0');  // trailing bytes make the file too large to read whole
    cases.push_back({"tooLarge", tooLong, false});
    for (const Case& c : cases) {
        KsImageSourceRef source = SourceOf(c.bytes);
        EXPECT_EQ(static_cast<bool>(source), c.headerDecodes) << c.name;
        if (!source) continue;
        CollectingCallback decoded;
        EXPECT_FALSE(source->Decode(&decoded)) << c.name;
        EXPECT_EQ(decoded.starts, decoded.ends) << c.name;
    }
}

TEST(KsGifImageSource, CallbackCanStopTheDecode) {
    CollectingCallback decoded(4);
    ASSERT_TRUE(DecodeImageBytes(WriteGif(Picture(5, 9, 1)), decoded));
    EXPECT_EQ(decoded.rowOrder, Rows(4));
    EXPECT_EQ(decoded.ends, 1);
}

}  // namespace
