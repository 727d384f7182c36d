#include "engine/books/PdbBook.h"

#include "engine/books/PDBFile.h"

bool IsPdbBook(KsRef<KsStream> stream, PdbContentKind& contentKind, PdbOpenError* refusal) {
    contentKind = PDB_CONTENT_NONE;
    if (refusal) *refusal = PdbOpenError::NotPdb;
    if (!stream) return false;
    KsRef<PDBFile> file(new PDBFile());
    bool ok = file->CheckHeaders(stream);
    (void)stream->SetPos(0);
    if (refusal) *refusal = ok ? PdbOpenError::None : file->OpenError();
    return ok;
}
