#include "engine/books/PdbBook.h"

#include "engine/books/PDBFile.h"

bool IsPdbBook(KsRef<KsStream> stream, PdbContentKind& contentKind) {
    contentKind = PDB_CONTENT_NONE;
    if (!stream) return false;
    KsRef<PDBFile> file(new PDBFile());
    bool ok = file->CheckHeaders(stream);
    (void)stream->SetPos(0);
    return ok;
}
