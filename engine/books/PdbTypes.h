#pragma once

#include <cstdint>

// Book formats carried in a Palm database, by type and creator.
enum PdbFormat : int {
    PDB_FORMAT_NONE = 0,
    PDB_FORMAT_PALMDOC = 1,  // "TEXt" / "REAd"
    PDB_FORMAT_EREADER = 2,  // "PNRd" / "PPrs"
    PDB_FORMAT_PLUCKER = 3,  // "Data" / "Plkr" (recognised, refused)
    PDB_FORMAT_MOBI = 4,     // "BOOK" / "MOBI"
};

// Compression of the text records as kept after the header checks (the header's 1, "none", is
// stored as 0).
enum PdbCompression : int {
    PDB_COMPRESSION_NONE = 0,
    PDB_COMPRESSION_PALMDOC = 2,        // PalmDOC LZ77
    PDB_COMPRESSION_ZLIB = 10,          // eReader only
    PDB_COMPRESSION_HUFF_CDIC = 17480,  // "DH": MOBI only
};

// What the decoded text is, found by content.
enum PdbContentKind : int {
    PDB_CONTENT_NONE = 0,
    PDB_CONTENT_PML = 1,
    PDB_CONTENT_TEXT = 2,
    PDB_CONTENT_HTML = 5,
};

// Why a PDB file could not be opened, so that callers can tell the user.
enum class PdbOpenError {
    None,
    NotPdb,             // no PDB header, or a type/creator that is no book
    UnsupportedFormat,  // Plucker, or a MOBI type that is not a book
    Encrypted,          // DRM: the text cannot be shown
    UnsupportedCompression,
    Damaged,   // record table, headers or compression tables are broken
    TooLarge,  // the decoded text exceeds the engine's limit
};

const char* PdbFormatName(PdbFormat format);
const char* PdbCompressionName(PdbCompression compression);
const char* PdbContentKindName(PdbContentKind kind);
// A sentence for the user, e.g. "the book is encrypted (DRM) and cannot be shown".
const char* PdbOpenErrorText(PdbOpenError error);
