#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/books/PdbTypes.h"
#include "engine/streams/KsStream.h"

// One entry of a PDB file's record table: where the record lies in the file and, for text
// records after the text pass, where its decoded text lies in the book's text.
struct PdbRecordEntry {
    uint32_t offset = 0;
    uint32_t rawSize = 0;
    uint32_t textStart = 0;
    uint32_t textLength = 0;
};

// The Palm database header (78 bytes, big-endian) and its record list.
struct PdbDatabaseHeader {
    char name[33] = {};  // database name, zero-terminated
    char type[5] = {};
    char creator[5] = {};
    PdbFormat format = PDB_FORMAT_NONE;
    std::vector<PdbRecordEntry> records;
};

// Reads the database header and the record list from the start of the stream. Offsets must
// not decrease and must lie inside the file; a record's raw size runs to the next record's
// offset (the last one to the end of the file). Refuses files that are no book (NotPdb), and
// Plucker (UnsupportedFormat).
[[nodiscard]] bool ReadPdbDatabaseHeader(KsStream& stream, PdbDatabaseHeader& header,
                                         PdbOpenError& error);

// What the engine takes from record 0: the PalmDOC header (16 bytes), the MOBI header that
// follows it, or the eReader header (132 bytes).
struct PdbBookHeader {
    PdbCompression compression = PDB_COMPRESSION_NONE;
    uint32_t textLength = 0;  // from the header; unknown for eReader
    bool textLengthKnown = false;
    uint32_t textRecordCount = 0;  // text records are 1 ... textRecordCount
    uint32_t firstImageRecord = UINT32_MAX;

    // MOBI only.
    uint32_t mobiHeaderLength = 0;  // counted from offset 16
    uint32_t mobiType = 0;
    uint32_t textEncoding = 0;  // 1252 windows-1252, 65001 UTF-8
    uint32_t fullNameOffset = 0;
    uint32_t fullNameLength = 0;
    uint32_t huffRecord = 0;  // the HUFF record; the CDIC records follow it
    uint32_t huffRecordCount = 0;
    uint32_t exthFlags = 0;
    uint16_t extraDataFlags = 0;

    // eReader only.
    uint32_t imageCount = 0;
};

// MOBI text encodings.
constexpr uint32_t kMobiEncodingWindows1252 = 1252;
constexpr uint32_t kMobiEncodingUtf8 = 65001;

// Parses the header of record 0 for the given format from the `size` bytes of record 0 that were
// read; recordCount is the database's record count N.
[[nodiscard]] bool ParsePdbBookHeader(PdbFormat format, const uint8_t* record0, size_t size,
                                      uint32_t recordCount, PdbBookHeader& header,
                                      PdbOpenError& error);

inline uint16_t PdbU16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t PdbU32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}
