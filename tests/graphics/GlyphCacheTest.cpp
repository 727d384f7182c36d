#include "engine/graphics/KsGlyphCache.h"

#include <gtest/gtest.h>

#include "engine/graphics/KsFontBoldTransform.h"
#include "engine/graphics/KsFreeTypeFace.h"
#include "engine/graphics/KsFreeTypeFontManager.h"
#include "tests/support/FontTestSupport.h"

namespace {

std::unique_ptr<KsGlyphEntry> Entry(uint32_t ch, int side) {
    KsRenderedGlyph glyph;
    glyph.width = glyph.height = side;
    glyph.advance = side;
    glyph.coverage = std::make_unique<uint8_t[]>(size_t(side) * side);
    return MakeGlyphEntry(ch, glyph);
}

TEST(GlyphCache, EvictsLeastRecentlyUsedOfAnyFont) {
    // Room for exactly three 10 x 10 entries (127 bytes each).
    KsRef<KsGlyphCache> cache = MakeRef<KsGlyphCache>(3 * 127);
    KsFontGlyphList first(cache), second(cache);
    first.Add(Entry('a', 10));
    second.Add(Entry('b', 10));
    first.Add(Entry('c', 10));
    EXPECT_EQ(cache->TotalBytes(), 3u * 127);
    EXPECT_NE(first.Find('a'), nullptr);  // 'a' is now the most recent; 'b' the oldest
    second.Add(Entry('d', 10));
    EXPECT_EQ(second.Find('b'), nullptr);
    EXPECT_NE(first.Find('a'), nullptr);
    EXPECT_NE(first.Find('c'), nullptr);
    EXPECT_EQ(cache->EntryCount(), 3);
    // A bigger entry pushes out as many as it needs.
    first.Add(Entry('e', 15));  // 252 bytes
    EXPECT_LE(cache->TotalBytes(), cache->LimitBytes());
    EXPECT_EQ(second.Find('d'), nullptr);
    EXPECT_EQ(first.Count() + second.Count(), cache->EntryCount());
    second.Clear();
    first.Clear();
    EXPECT_EQ(cache->TotalBytes(), 0u);
    EXPECT_EQ(cache->EntryCount(), 0);
}

TEST(GlyphCache, ListsLeaveTheCacheWhenDestroyed) {
    KsRef<KsGlyphCache> cache = MakeRef<KsGlyphCache>();
    {
        KsFontGlyphList list(cache);
        list.Add(Entry('x', 4));
        list.Add(Entry('x', 5));  // replaces the first
        EXPECT_EQ(cache->EntryCount(), 1);
        EXPECT_EQ(list.Find('x')->width, 5);
    }
    EXPECT_EQ(cache->EntryCount(), 0);
    EXPECT_EQ(cache->TotalBytes(), 0u);
}

struct FitCase {
    const char* what;
    int width, height, originX, originY, advance;
    // Expected entry fields:
    int entryWidth, entryHeight, entryOriginX, entryOriginY, entryAdvance;
    int inkX, inkY;  // where the source pixel (0, 0) lands in the entry, or -1 when cropped away
};

TEST(GlyphCache, OversizedGlyphsAreCroppedNotWrapped) {
    const FitCase cases[] = {
        {"fits", 10, 12, -2, 9, 11, 10, 12, -2, 9, 11, 0, 0},
        {"too wide", 300, 10, 0, 8, 300, 255, 10, 0, 8, 255, 0, 0},
        {"too tall", 10, 400, 1, 350, 12, 10, 177, 1, 127, 12, -1, -1},
        {"tall and high", 10, 600, 1, 300, 12, 10, 255, 1, 127, 12, -1, -1},
        {"far left", 20, 5, -200, 3, 20, 0, 0, -128, 3, 20, -1, -1},
        {"partly far left", 100, 5, -150, 3, 20, 78, 5, -128, 3, 20, -1, -1},
        {"far right", 20, 5, 150, 3, 200, 43, 5, 127, 3, 200, 23, 0},
        {"far below", 8, 8, 0, -140, 8, 8, 20, 0, -128, 8, 0, 12},
    };
    for (const auto& c : cases) {
        KsRenderedGlyph glyph;
        glyph.width = c.width;
        glyph.height = c.height;
        glyph.originX = c.originX;
        glyph.originY = c.originY;
        glyph.advance = c.advance;
        glyph.coverage = std::make_unique<uint8_t[]>(size_t(c.width) * c.height);
        glyph.coverage[0] = 200;  // mark the top-left source pixel
        std::unique_ptr<KsGlyphEntry> entry = MakeGlyphEntry('g', glyph);
        EXPECT_EQ(entry->width, c.entryWidth) << c.what;
        EXPECT_EQ(entry->height, c.entryHeight) << c.what;
        EXPECT_EQ(entry->originX, c.entryOriginX) << c.what;
        EXPECT_EQ(entry->originY, c.entryOriginY) << c.what;
        EXPECT_EQ(entry->advance, c.entryAdvance) << c.what;
        if (c.inkX >= 0) {
            EXPECT_EQ(entry->Coverage()[size_t(c.inkY) * entry->width + c.inkX], 200) << c.what;
        }
        // The ink that is kept stays at its place relative to the pen.
        if (entry->width && c.inkX < 0 && c.originY > 127 && c.height > 0) {
            int droppedRows = c.originY - 127;
            EXPECT_EQ(entry->height, std::min(255, c.height - droppedRows)) << c.what;
        }
    }
}

TEST(GlyphCache, FontsReuseCachedGlyphs) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    auto& ft = *static_cast<KsFreeTypeFontManager*>(GetFontManager());
    KsRef<KsFont> font = manager->GetFont(24, 400, false, 0, "DejaVu Sans");
    const KsGlyphEntry* a = font->getGlyph('a', 0);
    ASSERT_NE(a, nullptr);
    EXPECT_GT(a->width, 0);
    EXPECT_EQ(a->ch, uint32_t('a'));
    const int entries = ft.glyphCache()->EntryCount();
    EXPECT_EQ(font->getGlyph('a', 0), a);
    EXPECT_EQ(ft.glyphCache()->EntryCount(), entries);
    // Characters beyond U+FFFF are cached under their code point.
    const KsGlyphEntry* smile = font->getGlyph(0x1F600, 0);
    ASSERT_NE(smile, nullptr);
    EXPECT_EQ(smile->ch, 0x1F600u);
    EXPECT_EQ(font->getGlyph(0x1F600, 0), smile);
    EXPECT_NE(font->getGlyph(0xF600, 0), smile);
    manager->clearGlyphCache();
    EXPECT_EQ(ft.glyphCache()->EntryCount(), 0);
}

TEST(GlyphCache, BudgetHoldsAcrossFontsAndEvictsOldestFirst) {
    ScopedFontManager manager({"DejaVuSans.ttf", "DejaVuSerif.ttf"});
    auto& ft = *static_cast<KsFreeTypeFontManager*>(GetFontManager());
    KsRef<KsFont> sans = manager->GetFont(33, 400, false, 0, "DejaVu Sans");
    KsRef<KsFont> serif = manager->GetFont(33, 400, false, 0, "DejaVu Serif");
    auto* sansFace = dynamic_cast<KsFreeTypeFace*>(sans.Get());
    auto* serifFace = dynamic_cast<KsFreeTypeFace*>(serif.Get());
    ASSERT_TRUE(sansFace && serifFace);

    // A glyph in use stays while the other font fills the budget many times over...
    ASSERT_NE(sans->getGlyph('A', 0), nullptr);
    for (uint32_t ch = 0x21; ch < 0x21 + 1500; ++ch) {
        (void)serif->getGlyph(ch, 0);
        if (ch % 8 == 0) (void)sans->getGlyph('A', 0);
        ASSERT_LE(ft.glyphCache()->TotalBytes(), KsGlyphCache::kDefaultLimitBytes);
    }
    EXPECT_EQ(sansFace->cachedGlyphCount(), 1);
    EXPECT_GT(ft.glyphCache()->TotalBytes(), KsGlyphCache::kDefaultLimitBytes * 3 / 4);
    // ... and goes first once it is the least recently used.
    KsRef<KsFont> larger = manager->GetFont(34, 400, false, 0, "DejaVu Serif");
    auto* largerFace = dynamic_cast<KsFreeTypeFace*>(larger.Get());
    for (uint32_t ch = 0x21; ch < 0x21 + 300; ++ch)
        (void)larger->getGlyph(ch, 0);
    EXPECT_EQ(sansFace->cachedGlyphCount(), 0);
    EXPECT_EQ(serifFace->cachedGlyphCount() + largerFace->cachedGlyphCount(),
              ft.glyphCache()->EntryCount());
}

TEST(GlyphCache, BoldGlyphsAreDilated) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    KsRef<KsFont> bold = manager->GetFont(40, 700, false, 0, "DejaVu Sans");
    auto* transform = dynamic_cast<KsFontBoldTransform*>(bold.Get());
    ASSERT_NE(transform, nullptr);
    EXPECT_EQ(transform->extraWidth(), 2);  // above 36 pixels
    EXPECT_EQ(transform->extraHeight(), 1);
    const KsGlyphEntry* base = transform->base()->getGlyph('l', 0);
    ASSERT_NE(base, nullptr);
    const int baseWidth = base->width, baseHeight = base->height, baseAdvance = base->advance;
    int baseInk = 0;
    for (int i = 0; i < baseWidth * baseHeight; ++i)
        baseInk += base->Coverage()[i] > 0;
    const KsGlyphEntry* glyph = bold->getGlyph('l', 0);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->width, baseWidth + 2);
    EXPECT_EQ(glyph->height, baseHeight + 1);
    EXPECT_EQ(glyph->advance, baseAdvance + 2);
    int ink = 0;
    for (int i = 0; i < glyph->width * glyph->height; ++i)
        ink += glyph->Coverage()[i] > 0;
    EXPECT_GT(ink, baseInk);
    KsGlyphInfo info, baseInfo;
    ASSERT_TRUE(bold->getGlyphInfo('l', &info, 0));
    ASSERT_TRUE(transform->base()->getGlyphInfo('l', &baseInfo, 0));
    EXPECT_EQ(info.width, baseInfo.width + 2);
    EXPECT_EQ(info.blackBoxY, baseInfo.blackBoxY + 1);
}

}  // namespace
