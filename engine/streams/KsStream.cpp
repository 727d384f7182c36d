#include "engine/streams/KsStream.h"

#include <zlib.h>

#include <vector>

#include "engine/streams/KsStreamBuffer.h"

KsRef<KsStreamBuffer> KsStream::OpenReadBuffer(ks_pos_t position, ks_pos_t size) {
    return KsDefStreamBuffer::Open(*this, position, size, KsDefStreamBuffer::Access::ReadOnly);
}

KsRef<KsStreamBuffer> KsStream::OpenWriteBuffer(ks_pos_t position, ks_pos_t size) {
    return KsDefStreamBuffer::Open(*this, position, size, KsDefStreamBuffer::Access::ReadWrite);
}

ks_pos_t KsStream::SetPos(ks_pos_t position) {
    ks_pos_t result = 0;
    return Seek(position, KS_SEEK_SET, &result) == KS_OK ? result : KS_POS_UNKNOWN;
}

ks_pos_t KsStream::GetPos() {
    ks_pos_t result = 0;
    return Seek(0, KS_SEEK_CUR, &result) == KS_OK ? result : KS_POS_UNKNOWN;
}

bool KsStream::ReadExact(void* buffer, ks_pos_t count) {
    ks_pos_t got = 0;
    return Read(buffer, count, &got) == KS_OK && got == count;
}

bool KsStream::ReadU8(uint8_t& value) {
    return ReadExact(&value, 1);
}

bool KsStream::ReadU16(uint16_t& value) {
    uint8_t b[2];
    if (!ReadExact(b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool KsStream::ReadU32(uint32_t& value) {
    uint8_t b[4];
    if (!ReadExact(b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool KsStream::ReadU16BE(uint16_t& value) {
    uint8_t b[2];
    if (!ReadExact(b, 2)) return false;
    value = static_cast<uint16_t>((b[0] << 8) | b[1]);
    return true;
}

bool KsStream::ReadU32BE(uint32_t& value) {
    uint8_t b[4];
    if (!ReadExact(b, 4)) return false;
    value = (static_cast<uint32_t>(b[0]) << 24) | (static_cast<uint32_t>(b[1]) << 16) |
            (static_cast<uint32_t>(b[2]) << 8) | static_cast<uint32_t>(b[3]);
    return true;
}

int KsStream::ReadByte() {
    uint8_t b;
    return ReadExact(&b, 1) ? b : -1;
}

bool KsStream::WriteAll(const void* buffer, ks_pos_t count) {
    ks_pos_t written = 0;
    return Write(buffer, count, &written) == KS_OK && written == count;
}

KsStatus KsStream::ComputeCrc32(uint32_t* crc) {
    // Reads the whole stream from the start in 16 KiB blocks, restoring the position.
    KsStreamMode mode = GetMode();
    if (mode != KS_MODE_READ && mode != KS_MODE_APPEND) return KS_NOTIMPL;
    ks_pos_t size = GetSize();
    ks_pos_t saved = GetPos();
    if (size == KS_POS_UNKNOWN || saved == KS_POS_UNKNOWN || SetPos(0) != 0) return KS_FAIL;
    std::vector<uint8_t> block(16384);
    uLong value = crc32(0L, Z_NULL, 0);
    KsStatus status = KS_OK;
    for (ks_pos_t done = 0; done < size;) {
        ks_pos_t want = size - done < block.size() ? size - done : ks_pos_t(block.size());
        ks_pos_t got = 0;
        if (Read(block.data(), want, &got) != KS_OK || got != want) {
            status = KS_FAIL;
            break;
        }
        value = crc32(value, block.data(), static_cast<uInt>(got));
        done += got;
    }
    SetPos(saved);
    if (status == KS_OK && crc) *crc = static_cast<uint32_t>(value);
    return status;
}

const unit16* KsNamedStream::GetName() const {
    return fullName_.Empty() ? nullptr : fullName_.CStr();
}

void KsNamedStream::SetName(const unit16* name) {
    fullName_ = string16(name);
    int32_t cut = -1;
    for (int32_t i = fullName_.Length() - 1; i >= 0; --i) {
        if (fullName_[i] == '/' || fullName_[i] == '\\') {
            cut = i;
            break;
        }
    }
    pathName_ = fullName_.Left(cut + 1);
    fileName_ = fullName_.Substr(cut + 1);
}

KsStatus KsNamedStream::GetSize(ks_pos_t* size) {
    ks_pos_t saved = GetPos();
    if (saved == KS_POS_UNKNOWN) return KS_FAIL;
    ks_pos_t end = 0;
    if (Seek(0, KS_SEEK_END, &end) != KS_OK) return KS_FAIL;
    SetPos(saved);
    if (size) *size = end;
    return KS_OK;
}

KsStatus KsNamedStream::ComputeCrc32(uint32_t* crc) {
    if (crc_ != 0) {
        if (crc) *crc = crc_;
        return KS_OK;
    }
    if (crcFailed_) return KS_FAIL;
    uint32_t value = 0;
    KsStatus status = KsStream::ComputeCrc32(&value);
    if (status == KS_FAIL) crcFailed_ = true;
    if (status != KS_OK) return status;
    crc_ = value;
    if (crc) *crc = value;
    return KS_OK;
}

void KsNamedStream::CountWrittenBytes(ks_pos_t count) {
    bytesSinceSync_ += count;
    if (syncThreshold_ != 0 && bytesSinceSync_ > syncThreshold_) {
        (void)Flush(true);
        bytesSinceSync_ = 0;
    }
}

ks_pos_t PumpStream(KsStream& destination, KsStream& source) {
    if (source.SetPos(0) != 0) return 0;
    uint8_t block[5000];
    ks_pos_t total = 0;
    for (;;) {
        ks_pos_t got = 0;
        if (source.Read(block, sizeof(block), &got) != KS_OK || got == 0) break;
        ks_pos_t written = 0;
        if (destination.Write(block, got, &written) != KS_OK) break;
        total += written;
        if (written != got) break;
    }
    return total;
}
