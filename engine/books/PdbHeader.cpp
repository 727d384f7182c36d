#include "engine/books/PdbHeader.h"

#include <cstring>

#include "engine/core/Log.h"

namespace {

constexpr size_t kDatabaseHeaderBytes = 78;
constexpr size_t kRecordEntryBytes = 8;
constexpr size_t kPalmDocHeaderBytes = 12;
constexpr size_t kMobiHeaderBytes = 180;
constexpr size_t kEReaderHeaderBytes = 132;

struct FormatId {
    const char* type;
    const char* creator;
    PdbFormat format;
};
constexpr FormatId kFormats[] = {
    {"TEXt", "REAd", PDB_FORMAT_PALMDOC},
    {"PNRd", "PPrs", PDB_FORMAT_EREADER},
    {"Data", "Plkr", PDB_FORMAT_PLUCKER},
    {"BOOK", "MOBI", PDB_FORMAT_MOBI},
};

bool Fail(PdbOpenError& error, PdbOpenError reason) {
    error = reason;
    return false;
}

// Compression field of a PalmDOC or MOBI header: 1 is stored as "none".
bool TakeCompression(uint16_t field, bool allowHuff, PdbBookHeader& header) {
    switch (field) {
        case 1:
            header.compression = PDB_COMPRESSION_NONE;
            return true;
        case 2:
            header.compression = PDB_COMPRESSION_PALMDOC;
            return true;
        case PDB_COMPRESSION_HUFF_CDIC:
            header.compression = PDB_COMPRESSION_HUFF_CDIC;
            return allowHuff;
        default:
            return false;
    }
}

bool ParsePalmDoc(const uint8_t* r0, size_t size, uint32_t recordCount, PdbBookHeader& header,
                  PdbOpenError& error) {
    if (size < kPalmDocHeaderBytes) return Fail(error, PdbOpenError::Damaged);
    // The encryption field sits at offset 12 as in the MOBI header; old DRM tools set it on
    // PalmDOC books too.
    if (size >= 14 && PdbU16(r0 + 12) != 0) return Fail(error, PdbOpenError::Encrypted);
    if (!TakeCompression(PdbU16(r0), false, header))
        return Fail(error, PdbOpenError::UnsupportedCompression);
    header.textLength = PdbU32(r0 + 4);
    header.textLengthKnown = true;
    header.textRecordCount = PdbU16(r0 + 8);
    if (header.textRecordCount >= recordCount) return Fail(error, PdbOpenError::Damaged);
    return true;
}

bool IsMobiBookType(uint32_t type) {
    switch (type) {
        case 2:
        case 3:
        case 257:
        case 258:
        case 259:
        case 517:
        case 518:
            return true;
        default:
            return false;
    }
}

bool ParseMobi(const uint8_t* r0, size_t size, uint32_t recordCount, PdbBookHeader& header,
               PdbOpenError& error) {
    if (size < kMobiHeaderBytes) return Fail(error, PdbOpenError::Damaged);
    if (PdbU16(r0 + 12) != 0) return Fail(error, PdbOpenError::Encrypted);
    if (!TakeCompression(PdbU16(r0), true, header))
        return Fail(error, PdbOpenError::UnsupportedCompression);
    header.textLength = PdbU32(r0 + 4);
    header.textLengthKnown = true;
    header.textRecordCount = PdbU16(r0 + 8);
    if (header.textRecordCount >= recordCount) return Fail(error, PdbOpenError::Damaged);
    header.mobiHeaderLength = PdbU32(r0 + 20);
    header.mobiType = PdbU32(r0 + 24);
    if (!IsMobiBookType(header.mobiType)) return Fail(error, PdbOpenError::UnsupportedFormat);
    header.textEncoding = PdbU32(r0 + 28);
    header.fullNameOffset = PdbU32(r0 + 84);
    header.fullNameLength = PdbU32(r0 + 88);
    header.firstImageRecord = PdbU32(r0 + 108);
    header.huffRecord = PdbU32(r0 + 112);
    header.huffRecordCount = PdbU32(r0 + 116);
    header.exthFlags = PdbU32(r0 + 128);
    // MOBI headers of 228 bytes and more (versions 5 and later: 228, 232, 248, 264 ...) carry
    // the extra data flags that announce trailing entries in every text record.
    if (header.mobiHeaderLength >= 228 && size >= 244) header.extraDataFlags = PdbU16(r0 + 242);
    if (header.compression == PDB_COMPRESSION_HUFF_CDIC) {
        // The HUFF record and at least one CDIC record, all inside the file and past record 0.
        if (header.huffRecord == 0 || header.huffRecordCount < 2 ||
            header.huffRecord >= recordCount ||
            header.huffRecordCount > recordCount - header.huffRecord)
            return Fail(error, PdbOpenError::Damaged);
    }
    return true;
}

bool ParseEReader(const uint8_t* r0, size_t size, uint32_t recordCount, PdbBookHeader& header,
                  PdbOpenError& error) {
    if (size < kEReaderHeaderBytes) return Fail(error, PdbOpenError::Damaged);
    switch (PdbU16(r0)) {
        case 1:
            header.compression = PDB_COMPRESSION_NONE;
            break;
        case 2:
            header.compression = PDB_COMPRESSION_PALMDOC;
            break;
        case 10:
            header.compression = PDB_COMPRESSION_ZLIB;
            break;
        default:
            // 260 and above are encrypted books.
            return Fail(error, PdbU16(r0) >= 260 ? PdbOpenError::Encrypted
                                                 : PdbOpenError::UnsupportedCompression);
    }
    // Records 1 ... M - 1 are text; M = 0 names no valid record.
    uint32_t firstNonText = PdbU16(r0 + 12);
    if (firstNonText == 0) return Fail(error, PdbOpenError::Damaged);
    header.textRecordCount = firstNonText - 1;
    if (header.textRecordCount >= recordCount) return Fail(error, PdbOpenError::Damaged);
    header.imageCount = PdbU16(r0 + 20);
    header.firstImageRecord = PdbU16(r0 + 40);
    return true;
}

}  // namespace

bool ReadPdbDatabaseHeader(KsStream& stream, PdbDatabaseHeader& header, PdbOpenError& error) {
    error = PdbOpenError::NotPdb;
    if (stream.SetPos(0) != 0) return false;
    ks_pos_t fileSize = stream.GetSize();
    if (fileSize == KS_POS_UNKNOWN || fileSize < kDatabaseHeaderBytes) return false;
    uint8_t head[kDatabaseHeaderBytes];
    if (!stream.ReadExact(head, sizeof(head))) return false;
    std::memcpy(header.name, head, 32);
    header.name[32] = 0;
    std::memcpy(header.type, head + 60, 4);
    std::memcpy(header.creator, head + 64, 4);
    header.format = PDB_FORMAT_NONE;
    for (const FormatId& id : kFormats)
        if (std::memcmp(header.type, id.type, 4) == 0 &&
            std::memcmp(header.creator, id.creator, 4) == 0)
            header.format = id.format;
    if (header.format == PDB_FORMAT_NONE) return false;
    if (header.format == PDB_FORMAT_PLUCKER) return Fail(error, PdbOpenError::UnsupportedFormat);

    // The record list must fit in the file before it drives an allocation.
    uint32_t count = PdbU16(head + 76);
    if (count == 0) return Fail(error, PdbOpenError::Damaged);
    if (static_cast<uint64_t>(count) * kRecordEntryBytes > fileSize - kDatabaseHeaderBytes)
        return Fail(error, PdbOpenError::Damaged);
    std::vector<uint8_t> list(count * kRecordEntryBytes);
    if (!stream.ReadExact(list.data(), static_cast<ks_pos_t>(list.size())))
        return Fail(error, PdbOpenError::Damaged);
    header.records.assign(count, PdbRecordEntry{});
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t offset = PdbU32(&list[i * kRecordEntryBytes]);
        if (offset >= fileSize || (i > 0 && offset < header.records[i - 1].offset)) {
            LogDebug("PDB: record %u has a bad offset %u", i, offset);
            return Fail(error, PdbOpenError::Damaged);
        }
        header.records[i].offset = offset;
        if (i > 0) header.records[i - 1].rawSize = offset - header.records[i - 1].offset;
    }
    header.records.back().rawSize = fileSize - header.records.back().offset;
    error = PdbOpenError::None;
    return true;
}

bool ParsePdbBookHeader(PdbFormat format, const uint8_t* record0, size_t size, uint32_t recordCount,
                        PdbBookHeader& header, PdbOpenError& error) {
    header = PdbBookHeader{};
    error = PdbOpenError::None;
    switch (format) {
        case PDB_FORMAT_PALMDOC:
            return ParsePalmDoc(record0, size, recordCount, header, error);
        case PDB_FORMAT_MOBI:
            return ParseMobi(record0, size, recordCount, header, error);
        case PDB_FORMAT_EREADER:
            return ParseEReader(record0, size, recordCount, header, error);
        case PDB_FORMAT_PLUCKER:
            return Fail(error, PdbOpenError::UnsupportedFormat);
        case PDB_FORMAT_NONE:
            break;
    }
    return Fail(error, PdbOpenError::NotPdb);
}
