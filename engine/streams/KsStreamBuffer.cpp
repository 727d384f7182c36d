#include "engine/streams/KsStreamBuffer.h"

#include "engine/core/Limits.h"

KsDefStreamBuffer::KsDefStreamBuffer(KsStream& stream, ks_pos_t position, ks_pos_t size,
                                     Access access)
    : stream_(&stream),
      data_(new uint8_t[size ? size : 1]),
      position_(position),
      size_(size),
      readOnly_(access == Access::ReadOnly),
      writeOnlyStream_(stream.GetMode() == KS_MODE_WRITE) {}

KsRef<KsStreamBuffer> KsDefStreamBuffer::Open(KsStream& stream, ks_pos_t position, ks_pos_t size,
                                              Access access) {
    KsStreamMode mode = stream.GetMode();
    if (mode == KS_MODE_ERROR || mode == KS_MODE_CLOSED) return nullptr;
    if (access == Access::ReadOnly && mode != KS_MODE_READ) return nullptr;
    if (access == Access::ReadWrite && mode == KS_MODE_READ) return nullptr;
    ks_pos_t streamSize = stream.GetSize();
    if (streamSize == KS_POS_UNKNOWN) return nullptr;
    if (static_cast<uint64_t>(position) + size > streamSize) return nullptr;
    if (size > kMaxStreamBufferBytes) return nullptr;
    KsRef<KsDefStreamBuffer> buffer(new KsDefStreamBuffer(stream, position, size, access));
    if (stream.SetPos(position) != position || !stream.ReadExact(buffer->data_.get(), size)) {
        buffer->readOnly_ = true;  // nothing to write back
        return nullptr;
    }
    return KsRef<KsStreamBuffer>(buffer);
}

KsDefStreamBuffer::~KsDefStreamBuffer() {
    Close();
}

const uint8_t* KsDefStreamBuffer::GetReadOnly() {
    return writeOnlyStream_ ? nullptr : data_.get();
}

uint8_t* KsDefStreamBuffer::GetReadWrite() {
    return readOnly_ ? nullptr : data_.get();
}

bool KsDefStreamBuffer::Close() {
    if (!stream_) return false;
    bool ok = true;
    if (!readOnly_) {
        ok = stream_->SetPos(position_) == position_ && stream_->WriteAll(data_.get(), size_);
    }
    data_.reset();
    stream_ = nullptr;
    return ok;
}
