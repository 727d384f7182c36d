#include "engine/books/PdbTypes.h"

const char* PdbFormatName(PdbFormat format) {
    switch (format) {
        case PDB_FORMAT_PALMDOC:
            return "PalmDOC";
        case PDB_FORMAT_EREADER:
            return "eReader";
        case PDB_FORMAT_PLUCKER:
            return "Plucker";
        case PDB_FORMAT_MOBI:
            return "MOBI";
        case PDB_FORMAT_NONE:
            break;
    }
    return "none";
}

const char* PdbCompressionName(PdbCompression compression) {
    switch (compression) {
        case PDB_COMPRESSION_NONE:
            return "none";
        case PDB_COMPRESSION_PALMDOC:
            return "PalmDOC";
        case PDB_COMPRESSION_ZLIB:
            return "zlib";
        case PDB_COMPRESSION_HUFF_CDIC:
            return "HUFF/CDIC";
    }
    return "unknown";
}

const char* PdbContentKindName(PdbContentKind kind) {
    switch (kind) {
        case PDB_CONTENT_PML:
            return "PML";
        case PDB_CONTENT_TEXT:
            return "text";
        case PDB_CONTENT_HTML:
            return "HTML";
        case PDB_CONTENT_NONE:
            break;
    }
    return "none";
}

const char* PdbOpenErrorText(PdbOpenError error) {
    switch (error) {
        case PdbOpenError::None:
            return "no error";
        case PdbOpenError::NotPdb:
            return "not a PDB book (MOBI, PalmDOC or eReader)";
        case PdbOpenError::UnsupportedFormat:
            return "a PDB file of a kind that is not supported";
        case PdbOpenError::Encrypted:
            return "the book is encrypted (DRM) and cannot be shown";
        case PdbOpenError::UnsupportedCompression:
            return "the book's text uses a compression that is not supported";
        case PdbOpenError::Damaged:
            return "the book is damaged";
        case PdbOpenError::TooLarge:
            return "the book's text is too large";
    }
    return "unknown error";
}
