#pragma once

#include "engine/core/KsString.h"

class KsContainer;

// The entry of an archive of books that the reader opens: the last "index" or "default" page
// (.htm, .html) if there is one, else the first entry of a supported kind (.htm, .html, .fb2,
// .rtf, .txt, .pml, .fbd). Names are compared in lower case; directories are skipped. Returns
// the entry's index, or -1 when nothing can be opened.
int ChooseArchiveEntry(KsContainer& archive);
