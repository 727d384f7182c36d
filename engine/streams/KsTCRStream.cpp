#include "engine/streams/KsTCRStream.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"

namespace {

constexpr char kSignature[] = "!!8-Bit!!";
constexpr uint32_t kSignatureBytes = 9;
// Signature plus the largest possible dictionary (256 entries of a length byte and 255 bytes).
constexpr uint32_t kMaxHeadBytes = kSignatureBytes + 256 * 256;

}  // namespace

KsTCRStream::KsTCRStream(KsRef<KsStream> base) : base_(std::move(base)) {
    mode_ = KS_MODE_READ;
}

bool KsTCRStream::Open() {
    if (!base_ || !ReadDictionary() || !BuildBlockTable()) return false;
    return DecodeBlock(0);
}

bool KsTCRStream::ReadDictionary() {
    ks_pos_t baseSize = base_->GetSize();
    if (baseSize == KS_POS_UNKNOWN || base_->SetPos(0) != 0) return false;
    std::vector<uint8_t> head(std::min<ks_pos_t>(baseSize, kMaxHeadBytes));
    ks_pos_t got = 0;
    if (!head.empty() &&
        base_->Read(head.data(), static_cast<ks_pos_t>(head.size()), &got) == KS_FAIL)
        return false;
    if (got < kSignatureBytes || std::memcmp(head.data(), kSignature, kSignatureBytes) != 0)
        return false;

    dictionaryBytes_.clear();
    dictionaryBytes_.reserve(got);
    uint32_t at = kSignatureBytes;
    for (int code = 0; code < 256; ++code) {
        if (at >= got) return false;
        uint8_t length = head[at++];
        if (length == 0 && code != 0) return false;
        if (got - at < length) return false;
        dictionary_[code].offset = static_cast<uint16_t>(dictionaryBytes_.size());
        dictionary_[code].length = length;
        dictionaryBytes_.insert(dictionaryBytes_.end(), head.begin() + at,
                                head.begin() + at + length);
        at += length;
    }
    packedStart_ = at;
    packedSize_ = baseSize - packedStart_;
    return packedSize_ >= kMinTcrPackedBytes && packedSize_ <= kMaxTcrPackedBytes;
}

bool KsTCRStream::BuildBlockTable() {
    const uint32_t blockCount = (packedSize_ + kPackedBlockBytes - 1) / kPackedBlockBytes;
    blockTable_.assign(blockCount + 1, 0);
    readBuffer_.resize(kPackedBlockBytes);
    if (base_->SetPos(packedStart_) != packedStart_) return false;

    uint64_t unpacked = 0;
    ks_pos_t codesRead = 0;
    for (;;) {
        ks_pos_t got = 0;
        KsStatus status = base_->Read(readBuffer_.data(), kPackedBlockBytes, &got);
        if (status != KS_OK && status != KS_EOF) return false;
        if (got == 0 || got > kPackedBlockBytes) break;
        // A base that delivers more than it said it holds would run past the block table.
        if (got > packedSize_ - codesRead) return false;
        for (ks_pos_t i = 0; i < got; ++i) {
            ks_pos_t index = codesRead + i;
            if (index % kPackedBlockBytes == 0)
                blockTable_[index / kPackedBlockBytes] = static_cast<uint32_t>(unpacked);
            unpacked += dictionary_[readBuffer_[i]].length;
        }
        codesRead += got;
        // Positions of the decoded text are stream positions: refuse text of 2 GiB and more.
        if (unpacked > KS_MAX_STREAM_SIZE) {
            LogError("TCR text too large to decode");
            return false;
        }
        if (status == KS_EOF) break;
    }
    if (codesRead != packedSize_) return false;
    unpackedSize_ = static_cast<ks_pos_t>(unpacked);
    blockTable_[blockCount] = unpackedSize_;
    return true;
}

bool KsTCRStream::DecodeBlock(uint32_t block) {
    if (currentBlock_ == static_cast<int64_t>(block)) return true;
    const uint32_t blockCount = static_cast<uint32_t>(blockTable_.size()) - 1;
    if (block >= blockCount) return false;
    const ks_pos_t packedOffset = block * kPackedBlockBytes;
    const ks_pos_t packedLength = std::min(kPackedBlockBytes, packedSize_ - packedOffset);
    if (packedLength == 0) return false;
    currentBlock_ = -1;
    decoded_.clear();
    if (base_->SetPos(packedStart_ + packedOffset) != packedStart_ + packedOffset) return false;
    if (!base_->ReadExact(readBuffer_.data(), packedLength)) return false;

    // The block table says how long the text of this block is; a base that changed since it was
    // indexed must not make the block longer than that.
    const uint32_t expected = blockTable_[block + 1] - blockTable_[block];
    decoded_.reserve(expected);
    for (ks_pos_t i = 0; i < packedLength; ++i) {
        const DictionaryEntry& entry = dictionary_[readBuffer_[i]];
        if (entry.length > expected - decoded_.size()) return false;
        const uint8_t* text = dictionaryBytes_.data() + entry.offset;
        decoded_.insert(decoded_.end(), text, text + entry.length);
    }
    if (decoded_.size() != expected) return false;
    currentBlock_ = block;
    blockStart_ = blockTable_[block];
    return true;
}

bool KsTCRStream::PositionInCurrentBlock(ks_pos_t position) const {
    return currentBlock_ >= 0 && position >= blockStart_ &&
           position - blockStart_ < decoded_.size();
}

bool KsTCRStream::BringInBlockAt(ks_pos_t position) {
    if (PositionInCurrentBlock(position)) return true;
    if (position >= unpackedSize_) return false;
    // The block k with table[k] <= position < table[k + 1]; empty blocks are stepped over.
    auto next = std::upper_bound(blockTable_.begin(), blockTable_.end(), position);
    if (next == blockTable_.begin() || next == blockTable_.end()) return false;
    return DecodeBlock(static_cast<uint32_t>(next - blockTable_.begin() - 1));
}

KsStatus KsTCRStream::GetSize(ks_pos_t* size) {
    if (size) *size = unpackedSize_;
    return KS_OK;
}

KsStatus KsTCRStream::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    // Telling the position always works, also at the end of the text.
    if (origin == KS_SEEK_CUR && offset == 0) {
        if (newPosition) *newPosition = position_;
        return KS_OK;
    }
    int64_t target = 0;
    switch (origin) {
        case KS_SEEK_SET:
            target = offset;
            break;
        case KS_SEEK_CUR:
            target = static_cast<int64_t>(position_) + offset;
            break;
        case KS_SEEK_END:
            target = static_cast<int64_t>(unpackedSize_) + offset;
            break;
    }
    if (target < 0 || target >= static_cast<int64_t>(unpackedSize_)) return KS_FAIL;
    position_ = static_cast<ks_pos_t>(target);
    if (!BringInBlockAt(position_)) return KS_FAIL;
    if (newPosition) *newPosition = position_;
    return KS_OK;
}

KsStatus KsTCRStream::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    auto* out = static_cast<uint8_t*>(buffer);
    ks_pos_t done = 0;
    while (done < count && position_ < unpackedSize_) {
        if (!BringInBlockAt(position_)) {
            if (bytesRead) *bytesRead = done;
            return KS_FAIL;
        }
        const ks_pos_t inBlock = position_ - blockStart_;
        const ks_pos_t available = static_cast<ks_pos_t>(decoded_.size()) - inBlock;
        const ks_pos_t n = std::min(available, count - done);
        std::memcpy(out + done, decoded_.data() + inBlock, n);
        done += n;
        position_ += n;
    }
    if (bytesRead) *bytesRead = done;
    return done == 0 && count > 0 ? KS_EOF : KS_OK;
}

KsRef<KsStream> OpenTcrStream(KsRef<KsStream> stream, KsStreamMode mode) {
    if (!stream || mode != KS_MODE_READ) return nullptr;
    KsRef<KsTCRStream> tcr(new KsTCRStream(std::move(stream)));
    if (!tcr->Open()) return nullptr;
    return tcr;
}
