#pragma once

#include <memory>
#include <vector>

#include "engine/books/PdbHeader.h"
#include "engine/books/PdbTypes.h"
#include "engine/core/TnPropContainer.h"
#include "engine/streams/KsStream.h"

class HuffCdicDecoder;
class KsPDBContainer;

// Whether opening decodes every text record once to measure the text (needed for reading).
enum class PdbTextPass { Skip, Run };

// A PalmDOC, eReader or MOBI book opened from a Palm database file: a read-only stream of the
// book's decoded text, the book's metadata as properties, and (given a container) its image
// records as container items. Only one decoded text record is kept in memory at a time; the
// text pass measures every record, computes the CRC-32 of the text and detects its kind.
class PDBFile final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    PDBFile();
    ~PDBFile() override;
    PDBFile(const PDBFile&) = delete;
    PDBFile& operator=(const PDBFile&) = delete;

    // Opens the book; false (with OpenError() telling why) when the file is not a book this
    // engine reads or fails a check. With a container, the image records become its items.
    [[nodiscard]] bool Open(KsRef<KsStream> stream, KsPDBContainer* container, PdbTextPass pass,
                            PdbContentKind* contentKind);
    // The header checks only: database header, record table and record 0's format header.
    [[nodiscard]] bool CheckHeaders(KsRef<KsStream> stream);

    PdbOpenError OpenError() const { return error_; }
    const PdbDatabaseHeader& Database() const { return database_; }
    const PdbBookHeader& BookHeader() const { return header_; }
    PdbFormat Format() const { return database_.format; }
    PdbCompression Compression() const { return header_.compression; }
    uint32_t RecordCount() const { return static_cast<uint32_t>(database_.records.size()); }
    uint32_t TextRecordCount() const { return header_.textRecordCount; }
    PdbContentKind ContentKind() const { return contentKind_; }
    uint32_t TextLength() const { return textLength_; }
    // The book's metadata ("doc.title", "doc.authors", ... and "doc.cover.file").
    KsRef<TnPropContainer> Properties() const { return properties_; }
    // Decodes text record `index` (1 ... TextRecordCount()) into `out`.
    [[nodiscard]] bool DecodeTextRecord(uint32_t index, std::vector<uint8_t>& out);

    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus SetMode(KsStreamMode) override { return KS_NOTIMPL; }
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override;
    KsStatus SetSize(ks_pos_t) override { return KS_NOTIMPL; }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override;
    KsStatus Write(const void*, ks_pos_t, ks_pos_t* bytesWritten) override {
        if (bytesWritten) *bytesWritten = 0;
        return KS_NOTIMPL;
    }
    bool Eof() override { return position_ >= textLength_; }
    // The CRC-32 of the decoded text, computed by the text pass.
    KsStatus ComputeCrc32(uint32_t* crc) override;

private:
    bool Refuse(PdbOpenError error);
    bool OpenHeaders(KsRef<KsStream> stream);
    bool LoadHuffCdic();
    [[nodiscard]] bool ReadRecord(uint32_t index, uint32_t limit, std::vector<uint8_t>& out);
    void AddMobiImages(KsPDBContainer& container, uint32_t coverOffset);
    void AddEReaderImages(KsPDBContainer& container);
    bool RunTextPass();
    // The text record whose text holds `position`, or 0.
    uint32_t FindTextRecord(ks_pos_t position) const;
    bool LoadCachedRecord(uint32_t index);

    KsRef<KsStream> base_;
    PdbDatabaseHeader database_;
    PdbBookHeader header_;
    std::vector<uint8_t> record0_;
    std::unique_ptr<HuffCdicDecoder> huff_;
    KsRef<TnPropContainer> properties_;
    PdbOpenError error_ = PdbOpenError::None;
    PdbContentKind contentKind_ = PDB_CONTENT_NONE;

    bool textPassDone_ = false;
    uint32_t textLength_ = 0;
    uint32_t textCrc_ = 0;
    // Text records with text, in text order, for finding the record of a position.
    std::vector<uint32_t> textRecords_;
    ks_pos_t position_ = 0;
    uint32_t cachedRecord_ = 0;  // 0: none
    std::vector<uint8_t> cache_;
    std::vector<uint8_t> raw_;
};
