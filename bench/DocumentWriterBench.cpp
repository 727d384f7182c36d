// Tree building: HTML bytes through the parser and the auto-closing writer into a finished
// document, over the decoded markup of the large MOBI of the corpus. Reports MB/s of markup and
// the bytes of tree per byte of markup. bench/compare-tree.sh runs it beside libxml2 building
// its tree of the same bytes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BookMarkup.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsHTMLParser.h"

namespace {

void BM_HtmlBytesToTree(benchmark::State& state) {
    static const std::string markup = BigBookMarkup();
    size_t treeBytes = 0;
    uint32_t nodes = 0;
    for (auto _ : state) {
        auto document = std::make_unique<ldomDocument>();
        loadBuiltinNameTables(*document);
        KsRef<KsStream> stream = CreateMemoryStream(
            markup.data(), static_cast<ks_pos_t>(markup.size()), MemoryCopy::Wrap);
        {
            ldomDocumentWriterFilter writer(document.get(), WriterHeaderOnly::No,
                                            kHtmlAutoCloseRules);
            KsHTMLParser parser(stream, &writer);
            parser.SetCharset(u"utf-8");
            parser.Parse();
        }
        treeBytes = document->memoryUsage().total();
        nodes = document->itemCount();
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(markup.size()));
    state.counters["markup_bytes"] = static_cast<double>(markup.size());
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["tree_bytes"] = static_cast<double>(treeBytes);
    state.counters["tree_per_markup_byte"] =
        static_cast<double>(treeBytes) / static_cast<double>(markup.size());
}
BENCHMARK(BM_HtmlBytesToTree)->Unit(benchmark::kMillisecond);

}  // namespace
