#include "bench/BookMarkup.h"

#include <cstdlib>

#include "engine/books/PDBFile.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"

std::string BigBookMarkup() {
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
