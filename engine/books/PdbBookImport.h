#pragma once

#include "engine/books/PdbTypes.h"
#include "engine/streams/KsStream.h"

class KsLoadingCallback;
class ldomDocument;

// Turns a MOBI, PalmDOC or eReader book into the document: the stream is replaced by the book's
// decoded text, the book's image records become the document's container (so "mobi_image_N"
// names resolve), its metadata is copied into the document properties, and the text is parsed
// as HTML or as plain text (Palm Markup Language included) as the content detection found.
// `contentKind` (may be null) receives that kind. False when the book cannot be opened (the
// document is then untouched and the stream stays as it was) or its text does not parse.
[[nodiscard]] bool LoadPdbBook(KsRef<KsStream>& stream, ldomDocument& document,
                               KsLoadingCallback* progress, PdbContentKind* contentKind);
