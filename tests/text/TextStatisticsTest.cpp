#include "engine/text/TextStatistics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TextStatistics Measure(const std::string& text, SampleMarkup markup = SampleMarkup::Count) {
    TextStatistics s;
    MeasureTextStatistics(reinterpret_cast<const uint8_t*>(text.data()), text.size(), markup, s);
    return s;
}

std::vector<uint16_t> Keys(const TextStatistics& s) {
    std::vector<uint16_t> keys;
    for (int i = 0; i < s.pairCount; ++i)
        keys.push_back(PairKey(s.pairs[i]));
    return keys;
}

TEST(TextStatistics, CountsLettersApostrophesAndHighBytes) {
    const TextStatistics s = Measure("Ab'c d.\xE9");
    // Counted: A b ' c d and 0xE9; the space and the full stop are not.
    EXPECT_EQ(s.byteFrequency['A'], 0x7000 / 6);
    EXPECT_EQ(s.byteFrequency['\''], 0x7000 / 6);
    EXPECT_EQ(s.byteFrequency[0xE9], 0x7000 / 6);
    EXPECT_EQ(s.byteFrequency[' '], 0);
    EXPECT_EQ(s.byteFrequency['.'], 0);
    // Pairs start at the second byte after a space; non-letters are spaces; (space, space) is not
    // counted: (sp,b) (b,') (',c) (c,sp) (sp,d) (d,sp) (sp,E9).
    EXPECT_EQ(Keys(s),
              (std::vector<uint16_t>{0x2062, 0x2064, 0x20E9, 0x2763, 0x6227, 0x6320, 0x6420}));
    for (int i = 0; i < s.pairCount; ++i)
        EXPECT_EQ(PairFrequency(s.pairs[i]), 0x7000 / 7);
}

TEST(TextStatistics, SkipsMarkupWhenAsked) {
    const TextStatistics s = Measure("<p class=x>ab</p>", SampleMarkup::Skip);
    EXPECT_EQ(s.byteFrequency['a'], 0x7000 / 2);
    EXPECT_EQ(s.byteFrequency['p'], 0);
    EXPECT_EQ(Keys(s), (std::vector<uint16_t>{0x2061, 0x6162, 0x6220}));

    const TextStatistics counted = Measure("<p class=x>ab</p>");
    EXPECT_GT(counted.byteFrequency['p'], 0);
}

TEST(TextStatistics, KeepsTheMostFrequentPairsLowerFirstOnTies) {
    // 676 two-letter words: the 52 pairs with a space come 26 times each, the letter pairs once.
    std::string text;
    for (char a = 'a'; a <= 'z'; ++a)
        for (char b = 'a'; b <= 'z'; ++b)
            text += std::string(" ") + a + b;
    text += ' ';
    const TextStatistics s = Measure(text);
    ASSERT_EQ(s.pairCount, kMaxStatPairs);
    const std::vector<uint16_t> keys = Keys(s);
    auto has = [&](uint16_t key) {
        for (uint16_t k : keys)
            if (k == key) return true;
        return false;
    };
    EXPECT_TRUE(has(0x2061));   // (sp, a)
    EXPECT_TRUE(has(0x7A20));   // (z, sp)
    EXPECT_TRUE(has(0x6876));   // (h, v): the 204th letter pair
    EXPECT_FALSE(has(0x6877));  // (h, w)
    EXPECT_EQ(PairFrequency(s.pairs[0]), 26 * 0x7000 / 2028);
}

TEST(TextStatistics, EmptyTextHasNoFrequencies) {
    const TextStatistics s = Measure("");
    EXPECT_EQ(s.pairCount, 0);
    for (uint16_t f : s.byteFrequency)
        EXPECT_EQ(f, 0);
}

}  // namespace
