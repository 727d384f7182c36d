#include "tools/cli/CliBooks.h"

#include <cstdio>

#include "tools/cli/CliStreams.h"

int CliOpenPdbBook(const std::string& path, CliPdbBook& book) {
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    book.file = KsRef<PDBFile>(new PDBFile());
    book.images = KsRef<KsPDBContainer>(new KsPDBContainer());
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (!book.file->Open(stream, book.images.Get(), PdbTextPass::Run, &kind)) {
        std::fprintf(stderr, "quillet-cli: %s: %s\n", path.c_str(),
                     PdbOpenErrorText(book.file->OpenError()));
        return 1;
    }
    book.images->SetPdbFile(book.file);
    return 0;
}
