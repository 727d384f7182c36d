// Decoding throughput of the text file base and the time of the charset detector.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/CodePages.h"
#include "engine/text/EncodingDetector.h"
#include "engine/text/KsTextParser.h"

namespace {

constexpr size_t kInputBytes = 10u * 1024 * 1024;

const char16_t kRussian[] =
    u"\u0412 \u0442\u043e\u0439 \u0441\u0442\u0440\u0430\u043d\u0435, \u0433\u0434\u0435 "
    u"\u0436\u0438\u043b\u0438 \u043b\u044e\u0434\u0438, \u0431\u044b\u043b \u0431\u043e\u043b"
    u"\u044c\u0448\u043e\u0439 \u0433\u043e\u0440\u043e\u0434 \u043d\u0430 \u0431\u0435\u0440"
    u"\u0435\u0433\u0443 \u0440\u0435\u043a\u0438.\n";

std::string Repeat(const std::string& piece, size_t bytes) {
    std::string out;
    out.reserve(bytes + piece.size());
    while (out.size() < bytes)
        out += piece;
    return out;
}

std::string Utf8Text() {
    return Repeat(std::string(String16ToUtf8(string16(kRussian)).CStr()), kInputBytes);
}

std::string Cp1251Text() {
    const unit16* table = GetCharsetTableById(KS_CP_WINDOWS_1251);
    std::string piece;
    for (const char16_t* c = kRussian; *c; ++c) {
        if (*c < 0x80) {
            piece += static_cast<char>(*c);
            continue;
        }
        for (int i = 0; i < 128; ++i)
            if (table[i] == *c) piece += static_cast<char>(0x80 + i);
    }
    return Repeat(piece, kInputBytes);
}

std::string GbkText() {
    // "Chinese text" and punctuation, with line breaks.
    return Repeat(
        "\xD6\xD0\xCE\xC4\xCE\xC4\xB1\xBE\xA3\xAC\xD5\xE2\xCA\xC7\xD2\xBB\xB6\xCE"
        "\xB2\xE2\xCA\xD4\xA1\xA3 abc\n",
        kInputBytes);
}

void DecodeAll(benchmark::State& state, const std::string& bytes, const char16_t* charset) {
    for (auto _ : state) {
        KsTextParser parser(
            CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Wrap),
            nullptr);
        parser.SetCharset(charset);
        parser.Reset();
        uint32_t sum = 0;
        while (!parser.Eof())
            sum += parser.ReadChar();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}

void BM_DecodeUtf8(benchmark::State& state) {
    static const std::string bytes = Utf8Text();
    DecodeAll(state, bytes, u"utf-8");
}
BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);

void BM_DecodeSingleByte(benchmark::State& state) {
    static const std::string bytes = Cp1251Text();
    DecodeAll(state, bytes, u"windows-1251");
}
BENCHMARK(BM_DecodeSingleByte)->Unit(benchmark::kMillisecond);

void BM_DecodeGbk(benchmark::State& state) {
    static const std::string bytes = GbkText();
    DecodeAll(state, bytes, u"gbk");
}
BENCHMARK(BM_DecodeGbk)->Unit(benchmark::kMillisecond);

void BM_DetectCodePage128K(benchmark::State& state) {
    static const std::string sample = Cp1251Text().substr(0, 128 * 1024);
    for (auto _ : state) {
        string8 charset, language;
        DetectCodePage(sample.data(), sample.size(), charset, language, SampleMarkup::Count);
        benchmark::DoNotOptimize(charset);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(sample.size()));
}
BENCHMARK(BM_DetectCodePage128K)->Unit(benchmark::kMillisecond);

}  // namespace
