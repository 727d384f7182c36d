#include "engine/graphics/KsJpegImageSource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/streams/KsMemoryStream.h"
#include "tests/support/ImageFixtures.h"

namespace {

// A smooth picture (JPEG keeps it close): a horizontal red ramp, a vertical green one and blue
// from both.
TestPixels Gradient(int width, int height) {
    TestPixels image{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t r = 40 + x * 170 / width, g = 30 + y * 180 / height,
                           b = 200 - (x + y) * 100 / (width + height);
            image.pixels.push_back((r << 16) | (g << 8) | b);
        }
    return image;
}

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// The largest difference of any channel (transparency included) between the two images.
int MaxDifference(const TestPixels& a, const TestPixels& b, bool grayOfGreen = false) {
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        uint32_t expected = a.pixels[i];
        if (grayOfGreen) {
            const uint32_t g = (expected >> 8) & 0xFF;
            expected = (g << 16) | (g << 8) | g;
        }
        for (int shift : {0, 8, 16, 24})
            worst =
                std::max(worst, std::abs(Channel(expected, shift) - Channel(b.pixels[i], shift)));
    }
    return worst;
}

struct JpegCase {
    const char* name;
    JpegColor color;
    JpegScans scans;
};

void PrintTo(const JpegCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegDecode : public testing::TestWithParam<JpegCase> {};

TEST_P(JpegDecode, RowsMatchTheEncodedPicture) {
    const JpegCase& c = GetParam();
    const TestPixels picture = Gradient(37, 23);
    CollectingCallback decoded;
    ASSERT_TRUE(DecodeImageBytes(WriteJpeg(picture, c.color, c.scans), decoded));
    EXPECT_EQ(decoded.starts, 1);
    EXPECT_EQ(decoded.ends, 1);
    EXPECT_EQ(decoded.outcome, KsDecodeOutcome::Finished);
    ASSERT_EQ(decoded.image.width, 37);
    ASSERT_EQ(decoded.image.height, 23);
    std::vector<int> inOrder;
    for (int y = 0; y < 23; ++y)
        inOrder.push_back(y);
    EXPECT_EQ(decoded.rowOrder, inOrder);
    EXPECT_LE(MaxDifference(picture, decoded.image, c.color == JpegColor::Gray), 12);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegDecode,
    testing::Values(JpegCase{"baselineRgb", JpegColor::Rgb, JpegScans::Baseline},
                    JpegCase{"progressiveRgb", JpegColor::Rgb, JpegScans::Progressive},
                    JpegCase{"baselineGray", JpegColor::Gray, JpegScans::Baseline},
                    JpegCase{"progressiveGray", JpegColor::Gray, JpegScans::Progressive},
                    JpegCase{"adobeCmyk", JpegColor::Cmyk, JpegScans::Baseline}),
    [](const testing::TestParamInfo<JpegCase>& param) { return param.param.name; });

KsImageSourceRef SourceOf(const std::string& bytes) {
    return CreateStreamImageSource(
        nullptr,
        CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy));
}

TEST(KsJpegImageSource, HeaderGivesTheSizeWithoutDecoding) {
    KsImageSourceRef source =
        SourceOf(WriteJpeg(Gradient(64, 9), JpegColor::Rgb, JpegScans::Baseline));
    ASSERT_TRUE(source);
    EXPECT_NE(dynamic_cast<KsJpegImageSource*>(source.Get()), nullptr);
    EXPECT_EQ(source->GetWidth(), 64);
    EXPECT_EQ(source->GetHeight(), 9);
    EXPECT_NE(source->GetSourceStream(), nullptr);
    // It decodes again and again from the same stream.
    for (int i = 0; i < 2; ++i) {
        CollectingCallback decoded;
        EXPECT_TRUE(source->Decode(&decoded));
        EXPECT_EQ(decoded.rowOrder.size(), 9u);
    }
}

// Busy pixels, so that most of the file is scan data and a cut lands inside a scan.
TestPixels Noise(int width, int height) {
    TestPixels image{width, height, {}};
    uint32_t state = 12345;
    for (int i = 0; i < width * height; ++i) {
        state = state * 1103515245u + 12345u;
        image.pixels.push_back((state >> 8) & 0xFFFFFF);
    }
    return image;
}

TEST(KsJpegImageSource, ACutFileStillDecodesEveryRow) {
    const TestPixels picture = Noise(48, 48);
    for (JpegScans scans : {JpegScans::Baseline, JpegScans::Progressive}) {
        const std::string whole = WriteJpeg(picture, JpegColor::Rgb, scans);
        CollectingCallback full;
        ASSERT_TRUE(DecodeImageBytes(whole, full));
        CollectingCallback cut;
        ASSERT_TRUE(DecodeImageBytes(whole.substr(0, whole.size() * 2 / 3), cut));
        EXPECT_EQ(cut.rowOrder.size(), 48u);
        EXPECT_EQ(cut.outcome, KsDecodeOutcome::Finished);
        // The rows before the cut of a baseline file are exactly those of the whole file.
        if (scans == JpegScans::Baseline) {
            for (int x = 0; x < 48; ++x)
                EXPECT_EQ(cut.image.At(x, 2), full.image.At(x, 2));
        }
    }
}

TEST(KsJpegImageSource, BrokenFilesGiveNoSourceOrFail) {
    const std::string good = WriteJpeg(Gradient(16, 16), JpegColor::Rgb, JpegScans::Baseline);
    EXPECT_FALSE(SourceOf(good.substr(0, 2)));              // nothing after the start marker
    EXPECT_FALSE(SourceOf(good.substr(0, 2) + "garbage"));  // no JPEG markers
    EXPECT_FALSE(SourceOf(good.substr(0, 120)));            // header cut before the frame

    // Scan data replaced by a marker libjpeg does not accept: the decode fails after it began,
    // and says so.
    std::string broken = good;
    const size_t sos = broken.find("\xFF\xDA");
    ASSERT_NE(sos, std::string::npos);
    broken.replace(sos, 2, "\xFF\xC3");  // lossless frame marker in the middle: unsupported
    CollectingCallback decoded;
    EXPECT_FALSE(DecodeImageBytes(broken, decoded));
    EXPECT_EQ(decoded.starts, decoded.ends);
}

// Replaces the size in the frame header (SOF0 or SOF2).
std::string WithFrameSize(std::string bytes, int width, int height) {
    size_t at = bytes.find("\xFF\xC0");
    if (at == std::string::npos) at = bytes.find("\xFF\xC2");
    EXPECT_NE(at, std::string::npos);
    bytes[at + 5] = static_cast<char>(height >> 8);
    bytes[at + 6] = static_cast<char>(height);
    bytes[at + 7] = static_cast<char>(width >> 8);
    bytes[at + 8] = static_cast<char>(width);
    return bytes;
}

TEST(KsJpegImageSource, SizeLimitsAreCheckedOnTheHeader) {
    const std::string small = WriteJpeg(Gradient(8, 8), JpegColor::Rgb, JpegScans::Baseline);
    EXPECT_TRUE(SourceOf(WithFrameSize(small, 16384, 16)));
    EXPECT_FALSE(SourceOf(WithFrameSize(small, 16385, 16)));
    EXPECT_FALSE(SourceOf(WithFrameSize(small, 16, 20000)));
    EXPECT_TRUE(SourceOf(WithFrameSize(small, 16384, 4096)));   // 64 megapixels
    EXPECT_FALSE(SourceOf(WithFrameSize(small, 16384, 4097)));  // one row more
}

TEST(KsJpegImageSource, HugeProgressiveImageFailsInsteadOfTakingTheMemory) {
    // A progressive decoder keeps every coefficient: 16384 x 4096 x 3 components x 2 bytes
    // would be 400 MB for a file of a few hundred bytes.
    const std::string small = WriteJpeg(Gradient(8, 8), JpegColor::Rgb, JpegScans::Progressive);
    KsImageSourceRef source = SourceOf(WithFrameSize(small, 16384, 4096));
    ASSERT_TRUE(source);
    CollectingCallback decoded;
    EXPECT_FALSE(source->Decode(&decoded));
    EXPECT_TRUE(decoded.rowOrder.empty());
}

// Splits a JPEG into marker segments; a scan's entropy-coded data stays with its SOS segment.
std::vector<std::string> JpegSegments(const std::string& bytes) {
    std::vector<std::string> segments;
    size_t at = 2;
    segments.push_back(bytes.substr(0, 2));
    while (at + 4 <= bytes.size()) {
        const unsigned char marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xD9) {
            segments.push_back(bytes.substr(at));
            break;
        }
        size_t end = at + 2 +
                     ((static_cast<unsigned char>(bytes[at + 2]) << 8) |
                      static_cast<unsigned char>(bytes[at + 3]));
        if (marker == 0xDA) {
            while (end + 1 < bytes.size()) {
                const unsigned char next = static_cast<unsigned char>(bytes[end + 1]);
                if (bytes[end] == '\xFF' && next != 0 && (next < 0xD0 || next > 0xD7)) break;
                ++end;
            }
        }
        segments.push_back(bytes.substr(at, end - at));
        at = end;
    }
    return segments;
}

TEST(KsJpegImageSource, EndlessScansAreCutOff) {
    // The first scan (with the Huffman tables before it) repeated far more often than any real
    // file has scans: libjpeg would only warn and go on through all of them.
    const std::string good = WriteJpeg(Gradient(8, 8), JpegColor::Rgb, JpegScans::Progressive);
    std::vector<std::string> segments = JpegSegments(good);
    size_t firstScan = 0;
    while (firstScan < segments.size() && segments[firstScan].compare(0, 2, "\xFF\xDA") != 0)
        ++firstScan;
    ASSERT_LT(firstScan, segments.size());
    size_t groupStart = firstScan;
    while (groupStart > 0 && segments[groupStart - 1].compare(0, 2, "\xFF\xC4") == 0)
        --groupStart;
    std::string group;
    for (size_t i = groupStart; i <= firstScan; ++i)
        group += segments[i];
    std::string hostile;
    for (size_t i = 0; i <= firstScan; ++i)
        hostile += segments[i];
    for (int i = 0; i < 600; ++i)
        hostile += group;
    for (size_t i = firstScan + 1; i < segments.size(); ++i)
        hostile += segments[i];
    CollectingCallback decoded;
    EXPECT_FALSE(DecodeImageBytes(hostile, decoded));

    std::string fewer;
    for (size_t i = 0; i <= firstScan; ++i)
        fewer += segments[i];
    for (int i = 0; i < 20; ++i)
        fewer += group;
    for (size_t i = firstScan + 1; i < segments.size(); ++i)
        fewer += segments[i];
    CollectingCallback fine;
    EXPECT_TRUE(DecodeImageBytes(fewer, fine));
}

TEST(KsJpegImageSource, CallbackCanStopTheDecode) {
    CollectingCallback decoded(3);
    ASSERT_TRUE(DecodeImageBytes(WriteJpeg(Gradient(10, 10), JpegColor::Rgb, JpegScans::Baseline),
                                 decoded));
    EXPECT_EQ(decoded.rowOrder.size(), 3u);
    EXPECT_EQ(decoded.ends, 1);
}

}  // namespace
