// Plain-text import: MB/s of text to a finished tree for a 20 MB book in each layout, and the
// input-safety cases (one line of 500 MB, 10 million empty lines) through the parser alone, with
// the most the window of lines held.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomTextImport.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParserCallback.h"
#include "tests/support/GeneratedStream.h"

namespace {

constexpr size_t kBookBytes = 20u * 1024 * 1024;

const char kSentence[] =
    "It was a bright cold day in April, and the clocks were striking thirteen; the hallway "
    "smelt of boiled cabbage and old rag mats, and at one end of it a coloured poster had been "
    "tacked to the wall. ";

// Paragraphs of wrapped lines: indented first lines, or a blank line between paragraphs, or PML.
enum class BookLayout { Indented, EmptyLines, Pml };

std::string MakeBook(BookLayout layout) {
    std::string book;
    book.reserve(kBookBytes + 4096);
    int chapter = 0;
    while (book.size() < kBookBytes) {
        if (layout == BookLayout::Pml)
            book += "\\x\\bChapter " + std::to_string(++chapter) + "\\b\\x\n";
        else
            book += "\nChapter " + std::to_string(++chapter) + "\n\n";
        for (int paragraph = 0; paragraph < 40; ++paragraph) {
            std::string text;
            for (int s = 0; s < 4; ++s)
                text += kSentence;
            if (layout == BookLayout::Pml) {
                book += "\\t" + text + "\\i" + kSentence + "\\i\\t\n";
                continue;
            }
            size_t column = 0;
            if (layout == BookLayout::Indented) book += "    ";
            for (size_t start = 0; start < text.size();) {
                size_t end = text.find(' ', start);
                if (end == std::string::npos) end = text.size();
                if (column > 0 && column + end - start > 70) {
                    book += '\n';
                    column = 0;
                }
                book.append(text, start, end - start + 1);
                column += end - start + 1;
                start = end + 1;
            }
            book += layout == BookLayout::EmptyLines ? "\n\n" : "\n";
        }
    }
    return book;
}

void ImportBook(benchmark::State& state, BookLayout layout) {
    const std::string book = MakeBook(layout);
    for (auto _ : state) {
        ldomDocument document;
        loadBuiltinNameTables(document);
        KsRef<KsStream> stream = CreateMemoryStream(book.data(), static_cast<ks_pos_t>(book.size()),
                                                    MemoryCopy::Wrap, KS_MODE_READ);
        if (!ImportTextDocument(stream, document)) state.SkipWithError("not imported");
        benchmark::DoNotOptimize(document.getRootNode());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(book.size()));
}

void BM_TextImportIndented(benchmark::State& state) {
    ImportBook(state, BookLayout::Indented);
}
BENCHMARK(BM_TextImportIndented)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_TextImportEmptyLines(benchmark::State& state) {
    ImportBook(state, BookLayout::EmptyLines);
}
BENCHMARK(BM_TextImportEmptyLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_TextImportPml(benchmark::State& state) {
    ImportBook(state, BookLayout::Pml);
}
BENCHMARK(BM_TextImportPml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Counts the events only.
class NoTree final : public KsXMLParserCallback {
public:
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16*) override {
        ++elements;
        return nullptr;
    }
    void OnTagBody() override {}
    void OnTagClose(const unit16*, const unit16*) override {}
    void OnAttribute(const unit16*, const unit16*, const unit16*) override {}
    void OnText(const unit16*, int length, int) override { units += length; }
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return false; }
    int64_t elements = 0, units = 0;
};

// state.range(0): megabytes of the pattern.
void HugeInput(benchmark::State& state, const std::string& pattern, TextLayout layout) {
    const ks_pos_t bytes = static_cast<ks_pos_t>(state.range(0)) * 1024 * 1024;
    KsTextWindowPeak peak;
    int64_t elements = 0;
    for (auto _ : state) {
        NoTree events;
        KsTextParser parser(KsRef<KsStream>(new GeneratedStream(pattern, bytes)), &events, layout);
        (void)parser.CheckFormat();
        (void)parser.Parse();
        peak = parser.GetWindowPeak();
        elements = events.elements;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
    state.counters["window_units"] = static_cast<double>(peak.units);
    state.counters["window_lines"] = peak.lines;
    state.counters["lines_read"] = static_cast<double>(peak.linesRead);
    state.counters["elements"] = static_cast<double>(elements);
}

void BM_TextImportOneLine(benchmark::State& state) {
    HugeInput(state, "some words ", TextLayout::Detect);
}
BENCHMARK(BM_TextImportOneLine)->Arg(50)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TextImportOneLineWithoutBlanks(benchmark::State& state) {
    HugeInput(state, "abcdefghij", TextLayout::Detect);
}
BENCHMARK(BM_TextImportOneLineWithoutBlanks)
    ->Arg(50)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// 1 and 10 MiB of line breaks: about 1 and 10 million empty lines.
void BM_TextImportEmptyLinesOnly(benchmark::State& state) {
    HugeInput(state, "\n", TextLayout::Detect);
}
BENCHMARK(BM_TextImportEmptyLinesOnly)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
