// Tokenizer throughput: the HTML parser over the decoded markup of the large MOBI of the corpus
// (or a synthetic page when the corpus is missing), reporting MB/s of markup and events/s.
// bench/compare-tokenizer.sh runs it beside libxml2's HTML parser on the same bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BookMarkup.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

class CountingCallback : public KsXMLParserCallback {
public:
    int getFlags() override { return TXT_TRIM; }
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16*) override {
        ++events;
        return nullptr;
    }
    void OnTagBody() override {}
    void OnTagClose(const unit16*, const unit16*) override { ++events; }
    void OnAttribute(const unit16*, const unit16*, const unit16*) override { ++events; }
    void OnText(const unit16*, int, int) override { ++events; }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return true; }
    int64_t events = 0;
};

void BM_TokenizeBookMarkup(benchmark::State& state) {
    static const std::string markup = BigBookMarkup();
    int64_t events = 0;
    for (auto _ : state) {
        KsRef<KsStream> stream = CreateMemoryStream(
            markup.data(), static_cast<ks_pos_t>(markup.size()), MemoryCopy::Wrap);
        CountingCallback callback;
        KsHTMLParser parser(stream, &callback);
        parser.SetCharset(u"utf-8");
        parser.Parse();
        events += callback.events;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(markup.size()));
    state.counters["events_per_second"] =
        benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
    state.counters["markup_bytes"] = static_cast<double>(markup.size());
}
BENCHMARK(BM_TokenizeBookMarkup)->Unit(benchmark::kMillisecond);

}  // namespace
