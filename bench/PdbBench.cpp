// Decoding speed of PDB books: the text pass (every record decoded once, CRC and content kind),
// and reading the whole text stream afterwards. Throughput is in bytes of decoded text. Uses the
// large MOBI of the corpus when it is there, else a book made by the test writer.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/books/PDBFile.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string CorpusFile(const char* name) {
    const char* env = std::getenv("QUILLET_CORPUS");
    std::string dir = env && *env ? env : QUILLET_CORPUS_DIR;
    std::ifstream in(dir + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string SyntheticBook(uint16_t compression, size_t textBytes) {
    PdbBookRecipe recipe;
    recipe.compression = compression;
    recipe.extraDataFlags = 0x3;
    const std::string paragraph =
        "<p>Alice was beginning to get very tired of sitting by her sister on the bank, and of "
        "having nothing to do: once or twice she had peeped into the book her sister was "
        "reading, but it had no pictures or conversations in it.</p>\n";
    while (recipe.text.size() < textBytes)
        recipe.text += paragraph;
    return WritePdbBook(recipe);
}

// The large PalmDOC MOBI of the corpus (5 MB of text), or a synthetic one.
const std::string& LargeMobi() {
    static const std::string book = [] {
        std::string bytes = CorpusFile("perf/calibre-big-alice.mobi");
        return bytes.empty() ? SyntheticBook(kWritePalmDoc, 5u << 20) : bytes;
    }();
    return book;
}

const std::string& HuffMobi() {
    static const std::string book = [] {
        std::string bytes = CorpusFile("mobi/sample-unicode-huffdic.mobi");
        return bytes.empty() ? SyntheticBook(kWriteHuffCdic, 256u << 10) : bytes;
    }();
    return book;
}

KsRef<PDBFile> OpenBook(const std::string& bytes) {
    KsRef<PDBFile> file(new PDBFile());
    KsRef<KsStream> stream =
        CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Wrap);
    if (!file->Open(stream, nullptr, PdbTextPass::Run, nullptr)) return nullptr;
    return file;
}

void TextPass(benchmark::State& state, const std::string& bytes) {
    int64_t decoded = 0;
    for (auto _ : state) {
        KsRef<PDBFile> file = OpenBook(bytes);
        if (!file) {
            state.SkipWithError("the book does not open");
            return;
        }
        decoded += file->TextLength();
    }
    state.SetBytesProcessed(decoded);
}

void BM_PdbTextPassPalmDoc(benchmark::State& state) {
    TextPass(state, LargeMobi());
}
BENCHMARK(BM_PdbTextPassPalmDoc)->Unit(benchmark::kMillisecond);

void BM_PdbTextPassHuffCdic(benchmark::State& state) {
    TextPass(state, HuffMobi());
}
BENCHMARK(BM_PdbTextPassHuffCdic)->Unit(benchmark::kMillisecond);

// Sequential reads of an opened book in 16 KiB blocks, as a parser reads it.
void BM_PdbReadText(benchmark::State& state) {
    KsRef<PDBFile> file = OpenBook(LargeMobi());
    if (!file) {
        state.SkipWithError("the book does not open");
        return;
    }
    std::vector<char> block(16384);
    int64_t decoded = 0;
    for (auto _ : state) {
        (void)file->SetPos(0);
        ks_pos_t got = 0;
        while (file->Read(block.data(), static_cast<ks_pos_t>(block.size()), &got) == KS_OK &&
               got > 0)
            decoded += got;
    }
    state.SetBytesProcessed(decoded);
}
BENCHMARK(BM_PdbReadText)->Unit(benchmark::kMillisecond);

}  // namespace
