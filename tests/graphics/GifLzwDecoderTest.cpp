#include "engine/graphics/GifLzwDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/ImageFixtures.h"

namespace {

std::vector<uint8_t> RandomSymbols(size_t count, int alphabet, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> symbols;
    // Runs and noise, so that strings of every length reach the table.
    while (symbols.size() < count) {
        const uint8_t symbol = static_cast<uint8_t>(random() % alphabet);
        const size_t run = random() % 4 == 0 ? random() % 40 : 1;
        for (size_t i = 0; i < run && symbols.size() < count; ++i)
            symbols.push_back(symbol);
    }
    return symbols;
}

std::vector<uint16_t> Decode(const std::string& data, int minCodeSize, size_t capacity,
                             GifLzwDecoder::Result* result = nullptr) {
    GifLzwDecoder decoder;
    EXPECT_TRUE(decoder.Init(minCodeSize));
    std::vector<uint16_t> out(capacity);
    size_t produced = 0;
    GifLzwDecoder::Result r = decoder.Decode(reinterpret_cast<const uint8_t*>(data.data()),
                                             data.size(), out.data(), capacity, &produced);
    if (result) *result = r;
    out.resize(produced);
    return out;
}

struct LzwCase {
    int minCodeSize;
    GifClear clear;
};

void PrintTo(const LzwCase& c, std::ostream* os) {
    *os << "min code size " << c.minCodeSize << (c.clear == GifClear::Deferred ? " deferred" : "");
}

class LzwRoundTrip : public testing::TestWithParam<LzwCase> {};

TEST_P(LzwRoundTrip, DecodesWhatWasEncoded) {
    const LzwCase& c = GetParam();
    // Enough symbols to fill the 4096-entry table several times over.
    const int alphabet = std::min(1 << c.minCodeSize, 256);
    const std::vector<uint8_t> symbols = RandomSymbols(60000, alphabet, 5);
    const std::string data = GifLzwEncode(symbols, c.minCodeSize, c.clear);
    GifLzwDecoder::Result result;
    std::vector<uint16_t> decoded = Decode(data, c.minCodeSize, symbols.size(), &result);
    EXPECT_EQ(result, GifLzwDecoder::Result::Finished);
    EXPECT_EQ(decoded, std::vector<uint16_t>(symbols.begin(), symbols.end()));
}

INSTANTIATE_TEST_SUITE_P(
    CodeSizes, LzwRoundTrip,
    testing::Values(LzwCase{2, GifClear::WhenTableFull}, LzwCase{2, GifClear::Deferred},
                    LzwCase{4, GifClear::Deferred}, LzwCase{8, GifClear::WhenTableFull},
                    LzwCase{8, GifClear::Deferred}, LzwCase{11, GifClear::Deferred}));

TEST(GifLzwDecoder, CodeSizesOutsideTwoToElevenAreRefused) {
    GifLzwDecoder decoder;
    for (int size : {0, 1, 12, 13, 255})
        EXPECT_FALSE(decoder.Init(size)) << size;
    for (int size = 2; size <= 11; ++size)
        EXPECT_TRUE(decoder.Init(size)) << size;
}

TEST(GifLzwDecoder, StopsAtTheCapacityAndAtTheEndOfData) {
    const std::vector<uint8_t> symbols = RandomSymbols(500, 4, 1);
    const std::string data = GifLzwEncode(symbols, 2, GifClear::WhenTableFull);
    GifLzwDecoder::Result result;
    std::vector<uint16_t> part = Decode(data, 2, 123, &result);
    EXPECT_EQ(result, GifLzwDecoder::Result::Finished);
    EXPECT_EQ(part, std::vector<uint16_t>(symbols.begin(), symbols.begin() + 123));
    std::vector<uint16_t> cut = Decode(data.substr(0, data.size() / 2), 2, 500, &result);
    EXPECT_EQ(result, GifLzwDecoder::Result::DataEnded);
    EXPECT_GT(cut.size(), 0u);
    EXPECT_EQ(cut, std::vector<uint16_t>(symbols.begin(), symbols.begin() + cut.size()));
}

TEST(GifLzwDecoder, CodesNotInTheTableAreCorrupt) {
    // 3-bit codes: clear (4), then 7, which is not defined yet.
    GifLzwDecoder::Result result;
    Decode(std::string(1, static_cast<char>(4 | (7 << 3))), 2, 10, &result);
    EXPECT_EQ(result, GifLzwDecoder::Result::Corrupt);
    // The end code (5) right after a clear is a valid, empty image.
    EXPECT_TRUE(Decode(std::string(1, static_cast<char>(4 | (5 << 3))), 2, 10, &result).empty());
    EXPECT_EQ(result, GifLzwDecoder::Result::Finished);
}

}  // namespace
