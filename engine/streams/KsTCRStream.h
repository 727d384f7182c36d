#pragma once

#include <array>
#include <vector>

#include "engine/streams/KsStream.h"

// Read-only view of TCR-compressed text as the plain text. TCR is a 9-byte signature "!!8-Bit!!",
// a dictionary of 256 byte strings (a length byte and the bytes, for codes 0 ... 255), then one
// code byte per dictionary string up to the end of the file. The code bytes are taken in packed
// blocks of 4096; only one block is decoded at a time.
class KsTCRStream final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    static constexpr uint32_t kPackedBlockBytes = 4096;

    explicit KsTCRStream(KsRef<KsStream> base);

    // Reads the dictionary, indexes the code bytes and decodes the first block; false when the
    // base is not TCR or its decoded text would not fit a stream.
    [[nodiscard]] bool Open();

    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override;
    KsStatus SetSize(ks_pos_t) override { return KS_FAIL; }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override;
    KsStatus Write(const void*, ks_pos_t, ks_pos_t*) override { return KS_FAIL; }
    bool Eof() override { return position_ >= unpackedSize_; }

private:
    struct DictionaryEntry {
        uint16_t offset = 0;  // into dictionaryBytes_
        uint8_t length = 0;
    };

    bool ReadDictionary();
    bool BuildBlockTable();
    bool DecodeBlock(uint32_t block);
    // Decodes the block holding `position` unless it is the current one.
    bool BringInBlockAt(ks_pos_t position);
    bool PositionInCurrentBlock(ks_pos_t position) const;

    KsRef<KsStream> base_;
    std::array<DictionaryEntry, 256> dictionary_{};
    std::vector<uint8_t> dictionaryBytes_;
    ks_pos_t packedStart_ = 0;
    ks_pos_t packedSize_ = 0;
    ks_pos_t unpackedSize_ = 0;
    // blockTable_[k] is the unpacked offset where packed block k begins; the last entry is the
    // unpacked size.
    std::vector<uint32_t> blockTable_;
    int64_t currentBlock_ = -1;
    ks_pos_t blockStart_ = 0;
    std::vector<uint8_t> decoded_;
    std::vector<uint8_t> readBuffer_;
    ks_pos_t position_ = 0;
};

// The decompressing stream over `stream`, or null when it is not TCR. Only KS_MODE_READ is
// accepted.
KsRef<KsStream> OpenTcrStream(KsRef<KsStream> stream, KsStreamMode mode = KS_MODE_READ);
