// Glyphs measured and drawn per second at the reader's common sizes, with the width tables and
// the glyph cache empty (cold) or filled by an earlier pass (warm).
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/graphics/KsFontManager.h"
#include "engine/graphics/KsGlyphBitmap.h"

namespace {

const char16_t kPage[] =
    u"It was the best of times, it was the worst of times, it was the age of wisdom, it was "
    u"the age of foolishness, it was the epoch of belief, it was the epoch of incredulity, it "
    u"was the season of Light, it was the season of Darkness, it was the spring of hope, it was "
    u"the winter of despair. \u201CWe had everything before us,\u201D we had nothing before "
    u"us \u2014 in short, the period was so far like the present period.";
constexpr int kPageLength = static_cast<int>(sizeof(kPage) / sizeof(kPage[0])) - 1;
constexpr int kLineLength = 60;

enum class Cache { Cold, Warm };

KsRef<KsFont> BenchFont(int size) {
    if (!GetFontManager()) {
        CreateFontManager(string8(QUILLET_SOURCE_DIR "/fonts"));
        GetFontManager()->RegisterFont("DejaVuSerif.ttf");
    }
    return GetFontManager()->GetFont(size, 400, false, 0, string8("DejaVu Serif"));
}

// Forgets widths and glyphs: a change of hinting mode drops both.
void MakeCold(KsFont& font) {
    int mode = font.getHintingMode();
    font.setHintingMode(mode == 2 ? 1 : 2);
    font.setHintingMode(mode);
    GetFontManager()->clearGlyphCache();
}

void BM_MeasureGlyphs(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const Cache cache = state.range(1) ? Cache::Warm : Cache::Cold;
    KsRef<KsFont> font = BenchFont(size);
    std::vector<int32_t> widths(kPageLength);
    std::vector<uint8_t> flags(kPageLength);
    font->measureRun(kPage, kPageLength, widths.data(), flags.data(), 0, u'?');
    for (auto _ : state) {
        if (cache == Cache::Cold) {
            state.PauseTiming();
            MakeCold(*font);
            state.ResumeTiming();
        }
        font->measureRun(kPage, kPageLength, widths.data(), flags.data(), 0, u'?');
        benchmark::DoNotOptimize(widths.data());
    }
    state.SetItemsProcessed(state.iterations() * kPageLength);
}

void BM_DrawGlyphs(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const Cache cache = state.range(1) ? Cache::Warm : Cache::Cold;
    KsRef<KsFont> font = BenchFont(size);
    KsGlyphBitmap page(kLineLength * size, (kPageLength / kLineLength + 1) * font->getHeight());
    auto drawPage = [&] {
        for (int start = 0, line = 0; start < kPageLength; start += kLineLength, ++line)
            font->DrawTextRun(&page, 0, line * font->getHeight(), kPage + start,
                              std::min(kLineLength, kPageLength - start), u'?', nullptr,
                              KsAddHyphen::No, 0);
    };
    drawPage();
    for (auto _ : state) {
        if (cache == Cache::Cold) {
            state.PauseTiming();
            MakeCold(*font);
            state.ResumeTiming();
        }
        drawPage();
        benchmark::DoNotOptimize(page.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kPageLength);
}

void FontSizes(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"px", "warm"});
    for (int size : {16, 24, 33})
        for (int warm : {0, 1})
            bench->Args({size, warm});
}

BENCHMARK(BM_MeasureGlyphs)->Apply(FontSizes);
BENCHMARK(BM_DrawGlyphs)->Apply(FontSizes);

}  // namespace
