#include "engine/view/DocFormat.h"

const char* DocFormatName(int formatId) {
    switch (formatId) {
        case doc_format_fb2:
            return "FictionBook (FB2)";
        case doc_format_txt:
            return "Plain text (TXT)";
        case doc_format_rtf:
            return "Rich text (RTF)";
        case doc_format_epub:
            return "EPUB";
        case doc_format_html:
            return "HTML";
        case doc_format_txt_bookmark:
            return "TNV TXT Bookmark";
        case doc_format_chm:
            return "CHM";
        case doc_format_doc:
            return "DOC";
        default:
            return "Unknown format";
    }
}
