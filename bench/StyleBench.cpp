// Computed styles per second: a book-shaped tree of 100 000 elements styled from scratch (styles,
// fonts through the caches, render methods), as a full re-render after a settings change does.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsFontManager.h"

namespace {

constexpr uint32_t kElements = 100000;

const char kBookCss[] =
    "body { text-align: justify; margin: 0 }"
    "section { page-break-before: always }"
    "p { text-indent: 1.5em; margin-top: 0; margin-bottom: 0 }"
    "p.indent { text-indent: 3em; margin-left: 5% }"
    "em { font-style: italic } b { font-weight: bold }"
    "a { text-decoration: underline; color: #2040a0 }"
    "section > p + p { text-indent: 2em }";

std::unique_ptr<ldomDocument> BuildBook(uint32_t* elements) {
    auto doc = std::make_unique<ldomDocument>();
    loadBuiltinNameTables(*doc);
    (void)doc->getStyleSheet().parse(string8(kBookCss));
    uint32_t state = 12345, count = 0;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 8) & 0xFFFFFF;
    };
    const string8 words("lorem ipsum dolor sit amet, consectetur adipiscing elit ");
    ldomNode* body = doc->getRootNode()->insertElement(-1, 0, el_body);
    ++count;
    while (count < kElements) {
        ldomNode* section = body->insertElement(-1, 0, el_section);
        ++count;
        for (int i = 0; i < 60 && count < kElements; ++i) {
            ldomNode* p = section->insertElement(-1, 0, el_p);
            ++count;
            if (next() % 10 == 0) p->setAttributeValue(0, attr_class, string16("indent"));
            p->insertText(words);
            uint32_t shape = next() % 10;
            if (shape >= 5) {
                ldomNode* inner = p->insertElement(-1, 0, shape >= 8 ? el_b : el_em);
                ++count;
                inner->insertText(string8("stressed"));
                inner->persist();
                p->insertText(words);
            }
            if (shape >= 8) {
                ldomNode* a = p->insertElement(-1, 0, el_a);
                ++count;
                a->insertText(string8("1"));
                a->persist();
            }
            p->persist();
        }
        section->persist();
    }
    *elements = count;
    return doc;
}

void BM_ComputeStyles(benchmark::State& state) {
    CreateFontManager(string8(QUILLET_SOURCE_DIR "/fonts"));
    GetFontManager()->RegisterFont("DejaVuSerif.ttf");
    GetFontManager()->RegisterFont("DejaVuSans.ttf");
    KsRef<KsFont> font = GetFontManager()->GetFont(22, 400, false, 1, string8("DejaVu Serif"));
    uint32_t elements = 0;
    std::unique_ptr<ldomDocument> doc = BuildBook(&elements);
    int width = 600;
    for (auto _ : state) {
        // A new page width invalidates the rendering, so every style is computed again.
        (void)doc->styles().setRenderProps(++width, 800, font, 100, nullptr);
        benchmark::DoNotOptimize(doc->styles().updateStyles());
    }
    state.SetItemsProcessed(state.iterations() * elements);
    state.counters["elements"] = elements;
    state.counters["styles"] = doc->cachedStyleCount();
    state.counters["fonts"] = doc->cachedFontCount();
    doc.reset();
    font.Reset();
    DestroyFontManager();
}

BENCHMARK(BM_ComputeStyles)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
