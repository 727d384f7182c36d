// UTF-8 decoding throughput and the costs of copying and appending strings.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/core/StringConvert.h"

namespace {

// Mixed text: ASCII with Latin-1, Cyrillic, CJK and emoji, like a multilingual book.
std::string SampleUtf8(size_t bytes) {
    const std::string piece =
        "The quick brown fox jumps over the lazy dog. caf\xC3\xA9 na\xC3\xAFve "
        "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE4\xB8\xAD\xE6\x96\x87 "
        "\xF0\x9F\x98\x80\n";
    std::string text;
    while (text.size() < bytes)
        text += piece;
    return text;
}

void BM_Utf8ToString16(benchmark::State& state) {
    std::string text = SampleUtf8(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        string16 s = Utf8ToString16(text.data(), text.size());
        benchmark::DoNotOptimize(s.CStr());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToString16)->Arg(4096)->Arg(1 << 20);

void BM_Utf8ToString16Ascii(benchmark::State& state) {
    std::string text(static_cast<size_t>(state.range(0)), 'a');
    for (auto _ : state) {
        string16 s = Utf8ToString16(text.data(), text.size());
        benchmark::DoNotOptimize(s.CStr());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToString16Ascii)->Arg(1 << 20);

void BM_String16ToUtf8(benchmark::State& state) {
    string16 text = Utf8ToString16(SampleUtf8(1 << 20).c_str());
    for (auto _ : state) {
        string8 s = String16ToUtf8(text);
        benchmark::DoNotOptimize(s.CStr());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * text.Length());
}
BENCHMARK(BM_String16ToUtf8);

void BM_StringCopyShared(benchmark::State& state) {
    string16 text = Utf8ToString16(SampleUtf8(1 << 16).c_str());
    for (auto _ : state) {
        string16 copy = text;  // shares the chunk: no allocation
        benchmark::DoNotOptimize(copy.CStr());
    }
}
BENCHMARK(BM_StringCopyShared);

void BM_StringCopyThenModify(benchmark::State& state) {
    string16 text = Utf8ToString16(SampleUtf8(static_cast<size_t>(state.range(0))).c_str());
    for (auto _ : state) {
        string16 copy = text;
        copy.Append(u'x');  // unshares: one allocation and copy
        benchmark::DoNotOptimize(copy.CStr());
    }
}
BENCHMARK(BM_StringCopyThenModify)->Arg(64)->Arg(4096);

void BM_AppendUnits(benchmark::State& state) {
    for (auto _ : state) {
        string16 s;
        for (int i = 0; i < state.range(0); ++i)
            s.Append(static_cast<unit16>('a' + (i & 15)));
        benchmark::DoNotOptimize(s.CStr());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_AppendUnits)->Arg(100)->Arg(100000);

void BM_AppendWords(benchmark::State& state) {
    string16 word("word ");
    for (auto _ : state) {
        string16 s;
        for (int i = 0; i < state.range(0); ++i)
            s.Append(word);
        benchmark::DoNotOptimize(s.CStr());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_AppendWords)->Arg(10000);

}  // namespace
