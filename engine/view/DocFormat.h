#pragma once

#include "engine/core/KsString.h"

// What a loaded document was read as; stored in "doc.file.format.id" (and, as text, in
// "doc.file.format"). PDB books keep the content kind their container reports, which is none.
enum DocFormatId : int {
    doc_format_none = 0,
    doc_format_fb2 = 1,
    doc_format_txt = 2,
    doc_format_rtf = 3,
    doc_format_epub = 4,
    doc_format_html = 5,
    doc_format_txt_bookmark = 6,
    doc_format_chm = 7,
    doc_format_doc = 8,
};

// "FictionBook (FB2)", "Plain text (TXT)", ...; "Unknown format" for 0 and any other value.
const char* DocFormatName(int formatId);
