#pragma once

#include "engine/books/PdbTypes.h"
#include "engine/streams/KsStream.h"

// The detection step of the document loader: true when the stream is a PalmDOC, eReader or MOBI
// book whose headers pass every check (nothing is decoded). The content kind stays
// PDB_CONTENT_NONE: it is known only once the text is decoded. The stream is rewound.
[[nodiscard]] bool IsPdbBook(KsRef<KsStream> stream, PdbContentKind& contentKind);
