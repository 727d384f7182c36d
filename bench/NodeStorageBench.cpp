// Building a book-shaped tree of one million nodes through the node operations, as a document
// writer does: nodes created per second and resident bytes per node, not counting the bytes of
// the text itself.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"

namespace {

constexpr uint32_t kTargetNodes = 1000000;

// A small deterministic generator (the same book every run).
class Random {
public:
    uint32_t next() {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 8) & 0xFFFFFF;
    }
    uint32_t between(uint32_t low, uint32_t high) { return low + next() % (high - low + 1); }

private:
    uint32_t state_ = 12345;
};

enum class Extras { None, Styles, StylesAndRects };

struct BookStats {
    uint64_t nodes = 0;
    uint64_t textBytes = 0;
    size_t resident = 0;
};

// Sections of 60 paragraphs under a body; paragraphs are plain text (half of them), text with
// one emphasised run (three in ten), or text with bold and a link (two in ten); one paragraph
// in ten has a class. Elements are persisted when closed.
BookStats BuildBook(Extras extras) {
    ldomDocument doc;
    loadBuiltinNameTables(doc);
    Random random;
    std::string words;
    for (int i = 0; i < 4096; ++i)
        words += "lorem ipsum dolor sit amet consectetur "[i % 39];
    uint64_t textBytes = 0;
    auto text = [&](ldomNode* parent, uint32_t low, uint32_t high) {
        uint32_t length = random.between(low, high);
        uint32_t start = random.next() % (4096 - length);
        parent->insertText(string8(words.c_str() + start, int32_t(length)));
        textBytes += length;
    };
    auto close = [&](ldomNode* element) {
        if (extras != Extras::None) element->setStyleRef({1, 1});
        if (extras == Extras::StylesAndRects) element->setRenderRect({0, 600, 0, 20});
        element->persist();
    };
    uint16_t hrefId = doc.getAttrNameIndex("href");
    ldomNode* body = doc.getRootNode()->insertElement(-1, 0, el_body);
    while (doc.itemCount() < kTargetNodes) {
        ldomNode* section = body->insertElement(-1, 0, el_section);
        for (int i = 0; i < 60 && doc.itemCount() < kTargetNodes; ++i) {
            ldomNode* p = section->insertElement(-1, 0, el_p);
            if (random.next() % 10 == 0) p->setAttributeValue(0, attr_class, string16("indent"));
            uint32_t shape = random.next() % 10;
            text(p, 20, 400);
            if (shape >= 5) {
                ldomNode* em = p->insertElement(-1, 0, shape >= 8 ? el_b : el_em);
                text(em, 3, 30);
                close(em);
                text(p, 10, 200);
            }
            if (shape >= 8) {
                ldomNode* a = p->insertElement(-1, 0, el_a);
                a->setAttributeValue(0, hrefId,
                                     string16("#note") + string16::FormatInt(random.next() % 5000));
                text(a, 1, 4);
                close(a);
                text(p, 10, 200);
            }
            close(p);
        }
        close(section);
    }
    close(body);
    BookStats stats;
    stats.nodes = doc.itemCount();
    stats.textBytes = textBytes;
    stats.resident = doc.memoryUsage().total();
    return stats;
}

void BM_BuildBookTree(benchmark::State& state) {
    auto extras = static_cast<Extras>(state.range(0));
    BookStats stats;
    for (auto _ : state) {
        stats = BuildBook(extras);
        benchmark::DoNotOptimize(stats.resident);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(stats.nodes));
    state.counters["nodes"] = double(stats.nodes);
    state.counters["bytes_per_node"] =
        double(stats.resident - stats.textBytes) / double(stats.nodes);
    state.counters["text_MB"] = double(stats.textBytes) / 1e6;
    state.SetLabel(extras == Extras::None     ? "tree"
                   : extras == Extras::Styles ? "tree+styles"
                                              : "tree+styles+rects");
}
BENCHMARK(BM_BuildBookTree)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
