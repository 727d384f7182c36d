#pragma once

#include "engine/books/PdbTypes.h"
#include "engine/streams/KsStream.h"

// The detection step of the document loader: true when the stream is a PalmDOC, eReader or MOBI
// book whose headers pass every check (nothing is decoded). The content kind stays
// PDB_CONTENT_NONE: it is known only once the text is decoded. The stream is rewound.
// `refusal`, when given, tells why a PDB file was not accepted: NotPdb for anything that is no
// book database, otherwise the reason a book was refused (encrypted, damaged ...).
[[nodiscard]] bool IsPdbBook(KsRef<KsStream> stream, PdbContentKind& contentKind,
                             PdbOpenError* refusal = nullptr);
