#include "engine/graphics/KsImageSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/graphics/KsDummyImageSource.h"
#include "engine/graphics/KsGifImageSource.h"
#include "engine/graphics/KsJpegImageSource.h"
#include "engine/graphics/KsPngImageSource.h"
#include "engine/graphics/KsStretchImgSource.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/ImageFixtures.h"

namespace {

KsRef<KsStream> MemoryOf(const std::string& bytes) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy);
}

TEST(CreateStreamImageSource, PicksTheDecoderFromTheFirstBytes) {
    TestPixels pixels{3, 2, std::vector<uint32_t>(6, 0x123456)};
    PngFixture png;
    png.width = 3;
    png.height = 2;
    png.colorType = 0;
    png.samples.assign(6, 9);
    GifFixture gif;
    gif.screenWidth = gif.width = 30;
    gif.screenHeight = gif.height = 2;
    gif.globalTable = {0, 0xFFFFFF};
    gif.indices.assign(60, 1);

    KsImageSourceRef p = CreateStreamImageSource(nullptr, MemoryOf(WritePng(png)));
    ASSERT_TRUE(p);
    EXPECT_NE(dynamic_cast<KsPngImageSource*>(p.Get()), nullptr);
    KsImageSourceRef j = CreateStreamImageSource(
        nullptr, MemoryOf(WriteJpeg(pixels, JpegColor::Rgb, JpegScans::Baseline)));
    ASSERT_TRUE(j);
    EXPECT_NE(dynamic_cast<KsJpegImageSource*>(j.Get()), nullptr);
    KsImageSourceRef g = CreateStreamImageSource(nullptr, MemoryOf(WriteGif(gif)));
    ASSERT_TRUE(g);
    EXPECT_NE(dynamic_cast<KsGifImageSource*>(g.Get()), nullptr);
    EXPECT_EQ(g->GetWidth(), 30);

    // Anything else stands in as a 50 x 50 placeholder ("GIF88a" is no GIF version).
    for (const char* other : {"plain text, not an image", "GIF88a and more bytes than that"}) {
        KsImageSourceRef d = CreateStreamImageSource(nullptr, MemoryOf(other));
        ASSERT_TRUE(d) << other;
        EXPECT_NE(dynamic_cast<KsDummyImageSource*>(d.Get()), nullptr);
        EXPECT_EQ(d->GetWidth(), 50);
        EXPECT_EQ(d->GetHeight(), 50);
    }
    // Nothing to read, or a recognised image whose header does not decode: no source.
    EXPECT_FALSE(CreateStreamImageSource(nullptr, nullptr));
    EXPECT_FALSE(CreateStreamImageSource(nullptr, MemoryOf("")));
    EXPECT_FALSE(CreateStreamImageSource(nullptr, MemoryOf("\x89PNG\r\n\x1a\n truncated")));
    EXPECT_FALSE(CreateStreamImageSource(nullptr, MemoryOf("GIF89a")));
}

TEST(CreateStreamImageSource, ReadsFromTheStartWhereverTheStreamStands) {
    PngFixture png;
    png.width = 2;
    png.height = 2;
    png.colorType = 0;
    png.samples.assign(4, 200);
    KsRef<KsStream> stream = MemoryOf(WritePng(png));
    ASSERT_EQ(stream->SetPos(10), 10u);
    KsImageSourceRef source = CreateStreamImageSource(nullptr, stream);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->GetSourceStream(), stream.Get());
    CollectingCallback decoded;
    ASSERT_TRUE(source->Decode(&decoded));
    EXPECT_EQ(decoded.image.At(1, 1), 0x00C8C8C8u);
}

TEST(KsDummyImageSource, WhiteWithABlackBorder) {
    KsImageSourceRef dummy = CreateDummyImageSource(nullptr, 4, 3);
    CollectingCallback decoded;
    ASSERT_TRUE(dummy->Decode(&decoded));
    const uint32_t k = 0, w = 0x00FFFFFF;
    EXPECT_EQ(decoded.image.pixels, (std::vector<uint32_t>{k, k, k, k, k, w, w, k, k, k, k, k}));
    EXPECT_EQ(decoded.ends, 1);
    EXPECT_FALSE(CreateDummyImageSource(nullptr, 0, 5)->Decode(&decoded));
}

// A source whose pixel at (x, y) is x * 256 + y.
class CoordinateImageSource final : public KsImageSource {
public:
    CoordinateImageSource(int width, int height) : width_(width), height_(height) {}
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    bool Decode(KsImageDecoderCallback* callback) override {
        if (!callback) return true;
        callback->OnStartDecode(this);
        std::vector<uint32_t> row(static_cast<size_t>(width_));
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x)
                row[x] = static_cast<uint32_t>(x * 256 + y);
            if (!callback->OnLineDecoded(this, y, row.data())) break;
        }
        callback->OnEndDecode(this, KsDecodeOutcome::Finished);
        return true;
    }

private:
    int width_;
    int height_;
};

KsImageSourceRef Coordinates(int width, int height) {
    return KsImageSourceRef(new CoordinateImageSource(width, height));
}

// Columns and rows of the source shown at each target pixel: x * 256 + y, or -1 (transparent).
std::vector<std::vector<int>> Stretched(KsImageSourceRef source) {
    CollectingCallback decoded;
    EXPECT_TRUE(source->Decode(&decoded));
    std::vector<std::vector<int>> rows(static_cast<size_t>(decoded.image.height));
    for (int y = 0; y < decoded.image.height; ++y)
        for (int x = 0; x < decoded.image.width; ++x) {
            const uint32_t p = decoded.image.At(x, y);
            rows[y].push_back(p == 0xFFFFFFFF ? -1 : p == 0xDEADBEEF ? -2 : static_cast<int>(p));
        }
    return rows;
}

std::vector<int> ColumnsOf(const std::vector<std::vector<int>>& rows) {
    std::vector<int> columns;
    for (int p : rows.at(0))
        columns.push_back(p < 0 ? p : p / 256);
    return columns;
}

std::vector<int> RowsOf(const std::vector<std::vector<int>>& rows) {
    std::vector<int> result;
    for (const auto& row : rows)
        result.push_back(row.at(0) < 0 ? row.at(0) : row.at(0) % 256);
    return result;
}

TEST(KsStretchImgSource, HorizontalModes) {
    struct Case {
        const char* name;
        int sourceWidth;
        int targetWidth;
        KsStretchMode mode;
        int split;
        std::vector<int> columns;
    };
    const Case cases[] = {
        {"split3to6", 3, 6, KsStretchMode::Split, 1, {0, 1, 1, 1, 1, 2}},
        {"splitOutsideTakesTheMiddle", 4, 7, KsStretchMode::Split, 9, {0, 1, 2, 2, 2, 2, 3}},
        {"tile10offset3", 10, 25, KsStretchMode::Tile, 3, {7, 8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                           0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1}},
        {"tileOffsetWraps", 4, 6, KsStretchMode::Tile, 13, {3, 0, 1, 2, 3, 0}},
        {"tileNegativeOffset", 4, 6, KsStretchMode::Tile, -1, {1, 2, 3, 0, 1, 2}},
        {"scaleUp", 3, 7, KsStretchMode::Scale, 0, {0, 0, 0, 1, 1, 2, 2}},
        {"scaleDown", 6, 3, KsStretchMode::Scale, 0, {0, 2, 4}},
        {"cropWider", 3, 5, KsStretchMode::Crop, 0, {0, 1, 2, -1, -1}},
        {"cropNarrower", 5, 2, KsStretchMode::Crop, 0, {0, 1}},
    };
    for (const Case& c : cases) {
        KsImageSourceRef stretched =
            CreateStretchImageSource(Coordinates(c.sourceWidth, 2), c.targetWidth, 2, c.mode,
                                     KsStretchMode::Crop, c.split, 0);
        ASSERT_TRUE(stretched) << c.name;
        EXPECT_EQ(stretched->GetWidth(), c.targetWidth);
        EXPECT_EQ(ColumnsOf(Stretched(stretched)), c.columns) << c.name;
    }
}

TEST(KsStretchImgSource, VerticalModes) {
    struct Case {
        const char* name;
        int sourceHeight;
        int targetHeight;
        KsStretchMode mode;
        int split;
        std::vector<int> rows;  // -2: a row never reported
    };
    const Case cases[] = {
        {"split", 3, 6, KsStretchMode::Split, 1, {0, 1, 1, 1, 1, 2}},
        {"scaleUp", 2, 5, KsStretchMode::Scale, 0, {0, 0, 1, 1, 1}},
        {"scaleDown", 4, 2, KsStretchMode::Scale, 0, {1, 3}},  // the later row of each pair
        {"tile", 3, 7, KsStretchMode::Tile, 1, {2, 0, 1, 2, 0, 1, 2}},
        {"cropShorter", 5, 3, KsStretchMode::Crop, 0, {0, 1, 2}},
        {"cropTaller", 2, 4, KsStretchMode::Crop, 0, {0, 1, -2, -2}},
    };
    for (const Case& c : cases) {
        KsImageSourceRef stretched =
            CreateStretchImageSource(Coordinates(2, c.sourceHeight), 2, c.targetHeight,
                                     KsStretchMode::Crop, c.mode, 0, c.split);
        ASSERT_TRUE(stretched) << c.name;
        EXPECT_EQ(RowsOf(Stretched(stretched)), c.rows) << c.name;
    }
}

TEST(KsStretchImgSource, TileOffsetShiftsBothAxesAlike) {
    // The source's top left pixel lands at the offset (1, 1) on both axes.
    KsImageSourceRef tiled = CreateTileImageSource(Coordinates(3, 2), 4, 3, 1, 1);
    EXPECT_EQ(Stretched(tiled), (std::vector<std::vector<int>>{{0x201, 0x001, 0x101, 0x201},
                                                               {0x200, 0x000, 0x100, 0x200},
                                                               {0x201, 0x001, 0x101, 0x201}}));
}

TEST(KsStretchImgSource, CropStopsTheSourceBelowTheTarget) {
    CollectingCallback decoded;
    KsImageSourceRef cropped = CreateStretchImageSource(
        Coordinates(2, 50), 2, 3, KsStretchMode::Crop, KsStretchMode::Crop, 0, 0);
    ASSERT_TRUE(cropped->Decode(&decoded));
    EXPECT_EQ(decoded.rowOrder, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(decoded.starts, 1);
    EXPECT_EQ(decoded.ends, 1);
}

TEST(KsStretchImgSource, RefusesWhatItCannotShow) {
    EXPECT_FALSE(
        CreateStretchImageSource(nullptr, 5, 5, KsStretchMode::Scale, KsStretchMode::Scale, 0, 0));
    EXPECT_FALSE(CreateStretchImageSource(Coordinates(3, 3), 0, 5, KsStretchMode::Scale,
                                          KsStretchMode::Scale, 0, 0));
    EXPECT_FALSE(CreateTileImageSource(Coordinates(3, 3), 20000, 5, 0, 0));
    EXPECT_FALSE(CreateTileImageSource(Coordinates(0, 3), 10, 5, 0, 0));
}

}  // namespace
