// A MOBI book from its file to the finished document tree: the PDB decode, the HTML parse and
// the tree, as the document loader runs them. Throughput is in bytes of decoded text. Uses the
// large MOBI of the corpus when it is there, else a book made by the test writer.
// bench/compare-pdb-tree.sh puts the whole-process time and peak memory beside libmobi's decode
// and libxml2's parse of the same markup.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/books/PDBFile.h"
#include "engine/books/PdbBookImport.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string CorpusPath(const char* name) {
    const char* env = std::getenv("QUILLET_CORPUS");
    const std::string dir = env && *env ? env : QUILLET_CORPUS_DIR;
    return dir + "/" + name;
}

// About 5 MB of HTML in a PalmDOC-compressed MOBI.
const std::string& SyntheticMobi() {
    static const std::string book = [] {
        PdbBookRecipe recipe;
        recipe.text = "<html><head></head><body>";
        const std::string paragraph =
            "<p height=\"1em\" width=\"0pt\">Alice was beginning to get <i>very</i> tired of "
            "sitting by her sister on the bank, and of having nothing to do.</p>\n";
        while (recipe.text.size() < 5000000)
            recipe.text += paragraph;
        recipe.text += "</body></html>";
        return WritePdbBook(recipe);
    }();
    return book;
}

KsRef<KsStream> OpenBigBook() {
    const std::string path = CorpusPath("perf/calibre-big-alice.mobi");
    const string16 path16 = Utf8ToString16(path.c_str());
    if (FileExists(path16)) return OpenFileStream(path16, KS_MODE_READ);
    const std::string& book = SyntheticMobi();
    return CreateMemoryStream(book.data(), static_cast<ks_pos_t>(book.size()), MemoryCopy::Wrap);
}

void BM_MobiFileToTree(benchmark::State& state) {
    ks_pos_t textBytes = 0;
    ks_pos_t fileBytes = 0;
    size_t treeBytes = 0;
    uint32_t nodes = 0;
    for (auto _ : state) {
        auto document = std::make_unique<ldomDocument>();
        loadBuiltinNameTables(*document);
        KsRef<KsStream> stream = OpenBigBook();
        fileBytes = stream->GetSize();
        PdbContentKind kind = PDB_CONTENT_NONE;
        if (!LoadPdbBook(stream, *document, nullptr, &kind)) {
            state.SkipWithError("the book did not load");
            return;
        }
        textBytes = stream->GetSize();
        treeBytes = document->memoryUsage().total();
        nodes = document->itemCount();
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(textBytes));
    state.counters["file_bytes"] = static_cast<double>(fileBytes);
    state.counters["text_bytes"] = static_cast<double>(textBytes);
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["tree_bytes"] = static_cast<double>(treeBytes);
}
BENCHMARK(BM_MobiFileToTree)->Unit(benchmark::kMillisecond);

}  // namespace
