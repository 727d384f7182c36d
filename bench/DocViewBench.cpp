// Whole-book loading through the reader's view: the large MOBI of the corpus and a 20 MB plain
// text, from path to finished document, in MB/s of file. bench/compare-load.sh runs the same
// loads under /usr/bin/time (wall time, peak memory) beside libmobi and libxml2.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/StringConvert.h"
#include "engine/view/KsDocView.h"

namespace {

std::string CorpusBook() {
    const char* env = std::getenv("QUILLET_CORPUS");
    return std::string(env && *env ? env : QUILLET_CORPUS_DIR) + "/perf/calibre-big-alice.mobi";
}

long FileSize(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return -1;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// A 20 MB text of paragraphs separated by empty lines, written once.
std::string TwentyMegabyteText() {
    static const std::string path = [] {
        const std::string p = "/tmp/quillet-bench-20mb.txt";
        if (FileSize(p) >= (20l << 20)) return p;
        FILE* file = std::fopen(p.c_str(), "wb");
        if (!file) return std::string();
        const char paragraph[] =
            "Alice was beginning to get very tired of sitting by her sister on the bank, and of\n"
            "having nothing to do: once or twice she had peeped into the book her sister was\n"
            "reading, but it had no pictures or conversations in it.\n\n";
        for (long written = 0; written < (20l << 20); written += long(sizeof paragraph - 1))
            std::fwrite(paragraph, 1, sizeof paragraph - 1, file);
        std::fclose(file);
        return p;
    }();
    return path;
}

void LoadBook(benchmark::State& state, const std::string& path) {
    const long size = path.empty() ? -1 : FileSize(path);
    if (size <= 0) {
        state.SkipWithError("book not found");
        return;
    }
    const string16 path16 = Utf8ToString16(path.c_str());
    for (auto _ : state) {
        KsRef<KsDocView> view = MakeRef<KsDocView>();
        if (!view->LoadDocument(path16)) {
            state.SkipWithError("the book did not load");
            return;
        }
        benchmark::DoNotOptimize(view->getDocument());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}

void BM_LoadDocumentBigMobi(benchmark::State& state) {
    LoadBook(state, CorpusBook());
}
void BM_LoadDocumentText20MB(benchmark::State& state) {
    LoadBook(state, TwentyMegabyteText());
}

BENCHMARK(BM_LoadDocumentBigMobi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocumentText20MB)->Unit(benchmark::kMillisecond);

}  // namespace
