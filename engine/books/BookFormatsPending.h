#pragma once

#include "engine/core/KsRefCounter.h"
#include "engine/streams/KsContainer.h"
#include "engine/streams/KsStream.h"

class CacheLoadingCallback;
class KsLoadingCallback;
class ldomDocument;

// Entry points of the book formats whose readers are not written yet. Each detector answers
// "not this format", so such a book is never passed off as something else: it falls through to
// the parser chain, which reports it as a document it cannot read.
// FIXME: the ZIP archive, EPUB and CHM readers replace these.

// The stream as a ZIP archive container, or null.
KsRef<KsContainer> OpenArchive(KsRef<KsStream> stream);
// Whether the stream is an EPUB book (a ZIP archive with the EPUB "mimetype" item).
bool IsEpubBook(KsRef<KsStream> stream);
// Whether the stream is a compiled HTML help file.
bool IsChmBook(KsRef<KsStream> stream);
// The importers of those books; they fail, as no reader exists yet.
bool LoadEpubBook(KsRef<KsStream> stream, ldomDocument* document, KsLoadingCallback* progress,
                  CacheLoadingCallback* formatCallback);
bool LoadChmBook(KsRef<KsStream> stream, ldomDocument* document, KsLoadingCallback* progress);
