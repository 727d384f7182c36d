#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Writes small Palm database books (MOBI, PalmDOC, eReader) for the tests and the sample book:
// the headers, compressed text records with optional trailing entries, EXTH metadata and image
// records. Fields that hostile files get wrong can be set freely, and the patch helpers below
// change single fields of a finished file.

enum class PdbBookKind { Mobi, PalmDoc, EReader };

// Header compression codes.
constexpr uint16_t kWriteUncompressed = 1;
constexpr uint16_t kWritePalmDoc = 2;
constexpr uint16_t kWriteZlib = 10;
constexpr uint16_t kWriteHuffCdic = 17480;

struct PdbBookRecipe {
    PdbBookKind kind = PdbBookKind::Mobi;
    std::string text;
    uint16_t compression = kWritePalmDoc;
    uint32_t recordSize = 4096;  // text bytes per record
    std::string databaseName = "Test_Book";

    // MOBI
    uint32_t mobiHeaderLength = 232;  // counted from offset 16 of record 0
    uint32_t mobiType = 2;
    uint32_t textEncoding = 65001;
    std::string fullName = "Test Book";
    std::vector<std::pair<uint32_t, std::string>> exth;  // type, value
    bool writeExth = true;
    // Trailing entries written after every text record, one per set bit. Bit 0 writes the
    // multibyte entry (the bytes completing a UTF-8 character split by the record boundary);
    // every other bit an entry of `trailingEntryBytes` bytes including its size.
    uint16_t extraDataFlags = 0;
    uint32_t trailingEntryBytes = 5;
    // Where offset 242 is written at all; by default when the header length is 228 or more.
    bool writeExtraFlagsField = true;

    uint16_t encryption = 0;  // record 0 offset 12 (MOBI and PalmDOC)
    // The decompressed length in record 0; by default the length of `text`.
    int64_t declaredTextLength = -1;

    // Records after the text (and the HUFF/CDIC records): MOBI image records (any bytes; the
    // first of them is the first image record), or eReader images with their names.
    std::vector<std::string> images;
    std::vector<std::string> imageNames;  // eReader only
};

// The whole file.
std::string WritePdbBook(const PdbBookRecipe& recipe);

// A PDB file from raw records (record 0 first).
std::string WritePdbFile(const std::string& name, const char* type, const char* creator,
                         const std::vector<std::string>& records);

// Field access in a finished file (all big-endian).
uint32_t PdbRecordCount(const std::string& file);
uint32_t PdbRecordOffset(const std::string& file, uint32_t index);
void PatchU16(std::string& file, size_t offset, uint16_t value);
void PatchU32(std::string& file, size_t offset, uint32_t value);
// Changes a field at an offset inside record `index`.
void PatchRecordU16(std::string& file, uint32_t index, size_t offset, uint16_t value);
void PatchRecordU32(std::string& file, uint32_t index, size_t offset, uint32_t value);

// The backward-encoded variable-width number of MOBI trailing entries.
std::string EncodeBackwardVarint(uint32_t value);

// Minimal image records: the signatures are right, the rest is filler.
std::string FakeJpeg(unsigned char marker, size_t size);
std::string FakePng(size_t size);
std::string FakeGif(size_t size);
