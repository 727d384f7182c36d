#include "engine/graphics/KsFaceDef.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/KsFont.h"
#include "engine/graphics/KsFontCache.h"

namespace {

KsFaceDef Def(int size, int weight, int italic, int family, const char* face, int documentId = -1) {
    KsFaceDef def;
    def.size = size;
    def.weight = weight;
    def.italic = italic;
    def.family = family;
    def.typeface = face;
    def.documentId = documentId;
    return def;
}

struct ScoreCase {
    const char* what;
    KsFaceDef definition;
    KsFaceDef request;
    int expected;
};

// score = 5 * (italic + 20 * (family + face + size) + weight)
TEST(FaceDef, MatchScores) {
    const ScoreCase cases[] = {
        {"exact", Def(-1, 400, 0, 2, "A"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (256 + 2560 + 256) + 256)},
        {"other face", Def(-1, 400, 0, 2, "B"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (256 + 0 + 256) + 256)},
        {"face names are case-sensitive", Def(-1, 400, 0, 2, "a"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (256 + 0 + 256) + 256)},
        {"sizes 12 of 16", Def(12, 400, 0, 2, "A"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (256 + 2560 + 192) + 256)},
        {"weight 300 apart", Def(-1, 400, 0, 2, "A"), Def(16, 700, 0, 2, "A"),
         5 * (256 + 20 * (256 + 2560 + 256) + 160)},
        {"weight far apart", Def(-1, 100, 0, 2, "A"), Def(16, 900, 0, 2, "A"),
         5 * (256 + 20 * (256 + 2560 + 256) + 0)},
        {"real italic for italic", Def(-1, 400, 1, 2, "A"), Def(16, 400, 1, 2, "A"),
         5 * (256 + 20 * (256 + 2560 + 256) + 256)},
        {"slanted for italic", Def(-1, 400, 2, 2, "A"), Def(16, 400, 1, 2, "A"),
         5 * (128 + 20 * (256 + 2560 + 256) + 256)},
        {"upright for italic", Def(-1, 400, 0, 2, "A"), Def(16, 400, 1, 2, "A"),
         5 * (0 + 20 * (256 + 2560 + 256) + 256)},
        {"slanted for upright", Def(-1, 400, 2, 2, "A"), Def(16, 400, 0, 2, "A"),
         5 * (0 + 20 * (256 + 2560 + 256) + 256)},
        {"serif for sans", Def(-1, 400, 0, 1, "A"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (64 + 2560 + 256) + 256)},
        {"mono for sans", Def(-1, 400, 0, 5, "A"), Def(16, 400, 0, 2, "A"),
         5 * (256 + 20 * (0 + 2560 + 256) + 256)},
        {"any family", Def(-1, 400, 0, 5, "A"), Def(16, 400, 0, 0, "A"),
         5 * (256 + 20 * (256 + 2560 + 256) + 256)},
        {"own document", Def(-1, 400, 0, 2, "A", 3), Def(16, 400, 0, 2, "A", 3),
         5 * (256 + 20 * (256 + 2560 + 256) + 256)},
        {"other document", Def(-1, 400, 0, 2, "A", 3), Def(16, 400, 0, 2, "A", 4), 0},
        {"book font, no document asked", Def(-1, 400, 0, 2, "A", 3), Def(16, 400, 0, 2, "A"), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalcMatch(c.definition, c.request), c.expected) << c.what;
}

TEST(FaceDef, FallbackScores) {
    EXPECT_EQ(CalcFallbackMatch(Def(-1, 400, 0, 2, "A"), string8("B")), 0);
    EXPECT_EQ(CalcFallbackMatch(Def(-1, 400, 0, 2, "A"), string8("A")), 25600 + 1280 + 5 * 128);
    EXPECT_EQ(CalcFallbackMatch(Def(-1, 700, 0, 2, "A"), string8("A")), 25600 + 1280 + 5 * 32);
    EXPECT_EQ(CalcFallbackMatch(Def(-1, 400, 2, 2, "A"), string8("A")), 25600 + 5 * 128);
    EXPECT_EQ(CalcFallbackMatch(Def(-1, -1, 1, 2, "A"), string8("A")), 25600 + 5 * 256);
}

TEST(FaceDef, Duplicates) {
    KsFaceDef regular = Def(-1, 400, 0, 2, "A");
    EXPECT_TRUE(IsDuplicateDef(regular, Def(-1, 400, 0, 2, "A")));
    EXPECT_TRUE(IsDuplicateDef(regular, Def(-1, 400, 0, 0, "A")));  // family 0 matches any
    EXPECT_FALSE(IsDuplicateDef(regular, Def(-1, 700, 0, 2, "A")));
    EXPECT_FALSE(IsDuplicateDef(regular, Def(-1, 400, 2, 2, "A")));
    EXPECT_FALSE(IsDuplicateDef(regular, Def(-1, 400, 0, 5, "A")));
    EXPECT_FALSE(IsDuplicateDef(regular, Def(-1, 400, 0, 2, "B")));
    // A book's font never repeats a system font or another book's font.
    EXPECT_FALSE(IsDuplicateDef(regular, Def(-1, 400, 0, 2, "A", 1)));
    EXPECT_FALSE(IsDuplicateDef(Def(-1, 400, 0, 2, "A", 2), Def(-1, 400, 0, 2, "A", 1)));
    EXPECT_TRUE(IsDuplicateDef(Def(-1, 400, 0, 2, "A", 1), Def(-1, 400, 0, 2, "A", 1)));
}

struct SplitCase {
    const char* list;
    std::vector<std::string> names;
};

TEST(FontCache, SplitFaceList) {
    const SplitCase cases[] = {
        {"", {}},
        {"Arial", {"Arial"}},
        {"\"Times New Roman\", serif", {"Times New Roman", "serif"}},
        {" 'DejaVu Sans' ,Arial,, ", {"DejaVu Sans", "Arial"}},
        {"\"\"", {}},
        {"\"unbalanced", {"\"unbalanced"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const string8& name : KsFontCache::SplitFaceList(string8(c.list)))
            names.push_back(name.CStr());
        EXPECT_EQ(names, c.names) << c.list;
    }
}

}  // namespace
