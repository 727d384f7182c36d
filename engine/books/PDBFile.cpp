#include "engine/books/PDBFile.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "engine/books/HuffCdicDecoder.h"
#include "engine/books/KsPDBContainer.h"
#include "engine/books/MobiMetadata.h"
#include "engine/books/MobiTrailingEntries.h"
#include "engine/books/PalmDocLz77.h"
#include "engine/books/PdbContentDetector.h"
#include "engine/books/ZlibRecord.h"
#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

namespace {

// eReader image records: "PNG ", a 32-byte zero-padded name, then the image from byte 62.
constexpr uint32_t kEReaderImageHeaderBytes = 62;
constexpr uint32_t kEReaderImageNameBytes = 32;

bool IsImageSignature(const uint8_t* p, size_t size) {
    if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return true;  // JPEG, any marker
    if (size >= 4 && p[0] == 0x89 && std::memcmp(p + 1, "PNG", 3) == 0) return true;
    if (size >= 4 && std::memcmp(p, "GIF8", 4) == 0) return true;
    return false;
}

}  // namespace

PDBFile::PDBFile() : properties_(CreatePropContainer()) {}
PDBFile::~PDBFile() = default;

bool PDBFile::Refuse(PdbOpenError error) {
    error_ = error;
    return false;
}

bool PDBFile::ReadRecord(uint32_t index, uint32_t limit, std::vector<uint8_t>& out) {
    if (index >= database_.records.size()) return false;
    const PdbRecordEntry& record = database_.records[index];
    if (record.rawSize > limit) return false;
    out.resize(record.rawSize);
    if (base_->SetPos(record.offset) != record.offset) return false;
    return record.rawSize == 0 || base_->ReadExact(out.data(), record.rawSize);
}

bool PDBFile::OpenHeaders(KsRef<KsStream> stream) {
    error_ = PdbOpenError::None;
    if (!stream) return Refuse(PdbOpenError::NotPdb);
    PdbOpenError error = PdbOpenError::None;
    if (!ReadPdbDatabaseHeader(*stream, database_, error)) return Refuse(error);
    base_ = std::move(stream);
    // Record 0 holds the format headers, the full name and the EXTH block; a record 0 larger
    // than any real one is read only as far as the limit.
    const PdbRecordEntry& first = database_.records[0];
    uint32_t headBytes = std::min(first.rawSize, kMaxPdbHeaderRecordBytes);
    record0_.resize(headBytes);
    if (base_->SetPos(first.offset) != first.offset ||
        (headBytes && !base_->ReadExact(record0_.data(), headBytes)))
        return Refuse(PdbOpenError::Damaged);
    if (!ParsePdbBookHeader(database_.format, record0_.data(), record0_.size(), RecordCount(),
                            header_, error))
        return Refuse(error);
    if (header_.compression == PDB_COMPRESSION_HUFF_CDIC && !LoadHuffCdic())
        return Refuse(PdbOpenError::Damaged);
    return true;
}

bool PDBFile::LoadHuffCdic() {
    std::vector<uint8_t> huffRecord;
    if (!ReadRecord(header_.huffRecord, kMaxPdbRawRecordBytes, huffRecord)) return false;
    std::vector<std::vector<uint8_t>> cdicRecords(header_.huffRecordCount - 1);
    for (uint32_t i = 0; i < cdicRecords.size(); ++i)
        if (!ReadRecord(header_.huffRecord + 1 + i, kMaxPdbRawRecordBytes, cdicRecords[i]))
            return false;
    huff_ = std::make_unique<HuffCdicDecoder>();
    if (!huff_->Load(huffRecord, cdicRecords)) {
        LogError("PDB: the HUFF/CDIC records are malformed");
        return false;
    }
    return true;
}

bool PDBFile::CheckHeaders(KsRef<KsStream> stream) {
    return OpenHeaders(std::move(stream));
}

bool PDBFile::Open(KsRef<KsStream> stream, KsPDBContainer* container, PdbTextPass pass,
                   PdbContentKind* contentKind) {
    if (contentKind) *contentKind = PDB_CONTENT_NONE;
    if (!OpenHeaders(std::move(stream))) return false;

    if (database_.format == PDB_FORMAT_EREADER && container) AddEReaderImages(*container);
    if (database_.format == PDB_FORMAT_MOBI) {
        uint32_t coverOffset =
            ReadMobiMetadata(record0_.data(), record0_.size(), header_, *properties_);
        if (container) AddMobiImages(*container, coverOffset);
    }
    if (pass == PdbTextPass::Run && !RunTextPass()) return false;
    if (contentKind) *contentKind = contentKind_;
    return true;
}

void PDBFile::AddEReaderImages(KsPDBContainer& container) {
    for (uint32_t k = 0; k < header_.imageCount; ++k) {
        uint64_t index = static_cast<uint64_t>(header_.firstImageRecord) + k;
        if (index >= RecordCount()) break;
        const PdbRecordEntry& record = database_.records[index];
        if (record.rawSize < kEReaderImageHeaderBytes) continue;
        uint8_t head[4 + kEReaderImageNameBytes];
        if (base_->SetPos(record.offset) != record.offset || !base_->ReadExact(head, sizeof(head)))
            continue;
        if (std::memcmp(head, "PNG ", 4) != 0) continue;
        const char* nameBytes = reinterpret_cast<const char*>(head + 4);
        size_t nameLength = strnlen(nameBytes, kEReaderImageNameBytes);
        if (nameLength == 0) continue;
        container.AddItem(std::make_unique<KsPDBRegionContainerItem>(
            base_, record.offset + kEReaderImageHeaderBytes,
            record.rawSize - kEReaderImageHeaderBytes, Utf8ToString16(nameBytes, nameLength)));
    }
}

void PDBFile::AddMobiImages(KsPDBContainer& container, uint32_t coverOffset) {
    uint32_t first = header_.firstImageRecord;
    if (first >= RecordCount()) return;
    uint64_t coverIndex = static_cast<uint64_t>(first) + coverOffset;
    for (uint32_t index = first; index < RecordCount(); ++index) {
        const PdbRecordEntry& record = database_.records[index];
        // Every record from the first image on keeps its number, image or not, because the
        // book's markup refers to images by record number.
        uint8_t head[16];
        uint32_t headBytes = std::min<uint32_t>(record.rawSize, sizeof(head));
        if (headBytes < 3 || base_->SetPos(record.offset) != record.offset ||
            !base_->ReadExact(head, headBytes) || !IsImageSignature(head, headBytes))
            continue;
        string16 name("mobi_image_");
        name.AppendDecimal(index - first);
        if (coverOffset != kNoMobiCover && index == coverIndex) {
            properties_->writeText("doc.cover.file", name);
            LogTrace("MOBI COVER: %s", String16ToUtf8(name).CStr());
        }
        container.AddItem(
            std::make_unique<KsPDBRegionContainerItem>(base_, record.offset, record.rawSize, name));
    }
}

bool PDBFile::DecodeTextRecord(uint32_t index, std::vector<uint8_t>& out) {
    out.clear();
    if (index == 0 || index > header_.textRecordCount) return false;
    if (!ReadRecord(index, kMaxPdbRawRecordBytes, raw_)) return false;
    size_t size = raw_.size();
    if (database_.format == PDB_FORMAT_MOBI && header_.extraDataFlags != 0 &&
        !StripTrailingEntries(raw_.data(), raw_.size(), header_.extraDataFlags, size))
        return false;
    switch (header_.compression) {
        case PDB_COMPRESSION_NONE:
            if (size > kMaxPdbRecordTextBytes) return false;
            out.assign(raw_.begin(), raw_.begin() + static_cast<ptrdiff_t>(size));
            return true;
        case PDB_COMPRESSION_PALMDOC:
            return DecompressPalmDoc(raw_.data(), size, out, kMaxPdbRecordTextBytes);
        case PDB_COMPRESSION_ZLIB:
            return InflateZlibRecord(raw_.data(), size, out, kMaxPdbRecordTextBytes);
        case PDB_COMPRESSION_HUFF_CDIC:
            return huff_ && huff_->Decode(raw_.data(), size, out, kMaxPdbRecordTextBytes);
    }
    return false;
}

bool PDBFile::RunTextPass() {
    uint64_t total = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    std::vector<uint8_t> text;
    textRecords_.clear();
    for (uint32_t i = 1; i <= header_.textRecordCount; ++i) {
        PdbRecordEntry& record = database_.records[i];
        record.textStart = static_cast<uint32_t>(total);
        record.textLength = 0;
        if (!DecodeTextRecord(i, text)) {
            // One broken record must not lose the rest of the book.
            LogWarn("PDB: text record %u cannot be decoded", i);
            continue;
        }
        if (i == 1) contentKind_ = DetectPdbContent(text.data(), text.size());
        if (total + text.size() > kMaxPdbTextBytes) {
            LogError("PDB: the decoded text is larger than %u bytes", kMaxPdbTextBytes);
            return Refuse(PdbOpenError::TooLarge);
        }
        // The CRC covers exactly the bytes the stream delivers: text past the header's length
        // is cut off below.
        size_t counted = text.size();
        if (header_.textLengthKnown)
            counted = total >= header_.textLength
                          ? 0
                          : std::min<uint64_t>(counted, header_.textLength - total);
        crc = crc32(crc, text.data(), static_cast<uInt>(counted));
        record.textLength = static_cast<uint32_t>(text.size());
        if (!text.empty()) textRecords_.push_back(i);
        total += text.size();
    }
    uint64_t length = total;
    if (header_.textLengthKnown) {
        if (total < header_.textLength) {
            LogWarn("PDB: Unpacked text size is %d but expected %d", static_cast<int>(total),
                    static_cast<int>(header_.textLength));
        } else if (total > header_.textLength) {
            length = header_.textLength;
            for (uint32_t index : textRecords_) {
                PdbRecordEntry& record = database_.records[index];
                record.textLength =
                    record.textStart >= length
                        ? 0
                        : std::min<uint64_t>(record.textLength, length - record.textStart);
            }
            textRecords_.erase(std::remove_if(textRecords_.begin(), textRecords_.end(),
                                              [this](uint32_t index) {
                                                  return database_.records[index].textLength == 0;
                                              }),
                               textRecords_.end());
        }
    }
    textLength_ = static_cast<uint32_t>(length);
    textCrc_ = static_cast<uint32_t>(crc);
    textPassDone_ = true;
    position_ = 0;
    cachedRecord_ = 0;
    SetName(base_->GetName());
    mode_ = KS_MODE_READ;
    return true;
}

uint32_t PDBFile::FindTextRecord(ks_pos_t position) const {
    // The last record starting at or before the position.
    auto after = std::upper_bound(
        textRecords_.begin(), textRecords_.end(), position,
        [this](ks_pos_t pos, uint32_t index) { return pos < database_.records[index].textStart; });
    if (after == textRecords_.begin()) return 0;
    const PdbRecordEntry& record = database_.records[*(after - 1)];
    if (position - record.textStart >= record.textLength) return 0;
    return *(after - 1);
}

bool PDBFile::LoadCachedRecord(uint32_t index) {
    if (cachedRecord_ == index) return true;
    cachedRecord_ = 0;
    if (!DecodeTextRecord(index, cache_)) return false;
    cachedRecord_ = index;
    return true;
}

KsStatus PDBFile::GetSize(ks_pos_t* size) {
    if (!textPassDone_) return KS_FAIL;
    if (size) *size = textLength_;
    return KS_OK;
}

KsStatus PDBFile::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    if (!textPassDone_) return KS_FAIL;
    int64_t base = origin == KS_SEEK_SET ? 0 : origin == KS_SEEK_CUR ? position_ : textLength_;
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(textLength_)) return KS_FAIL;
    position_ = static_cast<ks_pos_t>(target);
    if (newPosition) *newPosition = position_;
    return KS_OK;
}

KsStatus PDBFile::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (!textPassDone_) return KS_FAIL;
    uint8_t* out = static_cast<uint8_t*>(buffer);
    ks_pos_t done = 0;
    KsStatus status = KS_OK;
    while (done < count && position_ < textLength_) {
        uint32_t index = FindTextRecord(position_);
        if (index == 0 || !LoadCachedRecord(index)) {
            status = KS_FAIL;
            break;
        }
        const PdbRecordEntry& record = database_.records[index];
        // Never past what the text pass measured, even if a record now decodes longer.
        uint32_t available = std::min<uint64_t>(record.textLength, cache_.size());
        uint32_t inRecord = position_ - record.textStart;
        if (inRecord >= available) {
            status = KS_FAIL;
            break;
        }
        ks_pos_t n = std::min<ks_pos_t>(available - inRecord, count - done);
        std::memcpy(out + done, cache_.data() + inRecord, n);
        done += n;
        position_ += n;
    }
    if (bytesRead) *bytesRead = done;
    return status;
}

KsStatus PDBFile::ComputeCrc32(uint32_t* crc) {
    if (!textPassDone_) return KS_FAIL;
    if (crc) *crc = textCrc_;
    return KS_OK;
}
