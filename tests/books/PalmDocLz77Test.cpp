#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/books/PalmDocLz77.h"
#include "engine/core/Limits.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PalmDocCompressor.h"

namespace {

std::string Decode(const std::string& packed, bool* ok = nullptr,
                   size_t limit = kMaxPdbRecordTextBytes) {
    std::vector<uint8_t> out;
    bool result = DecompressPalmDoc(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(),
                                    out, limit);
    if (ok) *ok = result;
    return std::string(out.begin(), out.end());
}

struct DecodeCase {
    const char* what;
    std::string packed;
    std::string text;
};

class PalmDocDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(PalmDocDecode, GivesTheText) {
    bool ok = false;
    EXPECT_EQ(Decode(GetParam().packed, &ok), GetParam().text);
    EXPECT_TRUE(ok);
}

// Pair bytes: 0x80 | distance >> 5, (distance << 3) | (length - 3).
INSTANTIATE_TEST_SUITE_P(
    Cases, PalmDocDecode,
    testing::Values(
        DecodeCase{"plain bytes", "Hello\t\x7f", "Hello\t\x7f"},
        DecodeCase{"zero byte", std::string("a\0b", 3), std::string("a\0b", 3)},
        DecodeCase{"literal run", "\x03\x01\x80\xff!", "\x01\x80\xff!"},
        DecodeCase{"space and letter", "a\xe2\xc3", "a b C"},
        DecodeCase{"back reference", "abc\x80\x1a", "abcabcab"},          // distance 3, length 5
        DecodeCase{"overlapping copy", "ab\x80\x17", "abababababab"},     // distance 2, length 10
        DecodeCase{"reference before the start", "ab\x80\x28", "ab???"},  // distance 5
        DecodeCase{"distance zero", "ab\x80\x01", "ab????"},              // distance 0, length 4
        DecodeCase{"run cut off by the end", "ab\x05xy", "ab"},
        DecodeCase{"pair cut off by the end", "ab\x80", "ab"}, DecodeCase{"empty", "", ""}),
    [](const auto& p) { return TestCaseName(p.param.what); });

TEST(PalmDocLz77, RefusesOutputBeyondTheLimit) {
    bool ok = true;
    Decode("abcdefgh", &ok, 7);
    EXPECT_FALSE(ok);
    Decode("abcdefgh", &ok, 8);
    EXPECT_TRUE(ok);
    // A record of back references expands fivefold; the limit holds for them too.
    std::string packed = "abc";
    for (int i = 0; i < 20000; ++i)
        packed += "\x80\x1f";  // distance 3, length 10
    Decode(packed, &ok);
    EXPECT_FALSE(ok);
}

TEST(PalmDocLz77, RoundTripsTheTestCompressor) {
    std::string prose;
    for (int i = 0; i < 120; ++i)
        prose += "So she was considering in her own mind (as well as she could) " +
                 std::to_string(i) + " caf\xc3\xa9 \x01\x02\x7f\x80\xff\n";
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    for (const std::string& text : {prose.substr(0, 4096), binary, std::string("a"),
                                    std::string(4096, ' '), std::string(4096, 'x')}) {
        std::string packed = CompressPalmDoc(text);
        bool ok = false;
        EXPECT_EQ(Decode(packed, &ok), text);
        EXPECT_TRUE(ok);
    }
    EXPECT_LT(CompressPalmDoc(prose.substr(0, 4096)).size(), 3000u);
}

}  // namespace
