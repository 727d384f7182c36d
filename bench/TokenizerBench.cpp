// Tokenizer throughput: the HTML parser over the decoded markup of the large MOBI of the corpus
// (or a synthetic page when the corpus is missing), reporting MB/s of markup and events/s.
// bench/compare-tokenizer.sh runs it beside libxml2's HTML parser on the same bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "engine/books/PDBFile.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsXMLParserCallback.h"

namespace {

std::string BigMarkup() {
    const char* env = std::getenv("QUILLET_CORPUS");
    std::string path =
        std::string(env && *env ? env : QUILLET_CORPUS_DIR) + "/perf/calibre-big-alice.mobi";
    KsRef<KsStream> file = OpenFileStream(Utf8ToString16(path.c_str()), KS_MODE_READ);
    KsRef<PDBFile> book(new PDBFile());
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (file && book->Open(file, nullptr, PdbTextPass::Run, &kind)) {
        std::string markup(book->TextLength(), '\0');
        if (book->SetPos(0) == 0 &&
            book->ReadExact(markup.data(), static_cast<ks_pos_t>(markup.size())))
            return markup;
    }
    std::string markup = "<html><head><title>t</title></head><body>";
    while (markup.size() < (5u << 20))
        markup +=
            "<p class=\"x\">Alice was beginning to get <i>very</i> tired of sitting by her "
            "sister on the bank, &amp; of having nothing to do.</p>\n";
    return markup + "</body></html>";
}

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
    static const std::string markup = BigMarkup();
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
