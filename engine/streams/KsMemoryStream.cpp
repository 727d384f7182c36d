#include "engine/streams/KsMemoryStream.h"

#include <cstdlib>
#include <cstring>

#include "engine/core/Limits.h"
#include "engine/core/Memory.h"

KsMemoryStream::KsMemoryStream()
    : buffer_(static_cast<uint8_t*>(KsRealloc(nullptr, 4096))), ownBuffer_(true), capacity_(4096) {
    mode_ = KS_MODE_READWRITE;
}

KsMemoryStream::KsMemoryStream(const void* data, ks_pos_t size)
    : buffer_(static_cast<uint8_t*>(const_cast<void*>(data))),
      ownBuffer_(false),
      size_(size),
      capacity_(size) {
    mode_ = KS_MODE_READ;
}

KsMemoryStream::KsMemoryStream(const void* data, ks_pos_t size, KsStreamMode mode)
    : buffer_(static_cast<uint8_t*>(KsRealloc(nullptr, size ? size : 1))),
      ownBuffer_(true),
      size_(size),
      capacity_(size ? size : 1) {
    if (size) std::memcpy(buffer_, data, size);
    mode_ = mode;
    if (mode == KS_MODE_APPEND) position_ = size;
}

KsMemoryStream::~KsMemoryStream() {
    if (ownBuffer_) std::free(buffer_);
}

KsStatus KsMemoryStream::Close() {
    if (!buffer_) return KS_FAIL;
    if (ownBuffer_) std::free(buffer_);
    buffer_ = nullptr;
    size_ = capacity_ = position_ = 0;
    return KS_OK;
}

KsStatus KsMemoryStream::GetSize(ks_pos_t* size) {
    if (!buffer_) return KS_FAIL;
    if (size) *size = size_;
    return KS_OK;
}

KsStatus KsMemoryStream::SetMode(KsStreamMode mode) {
    if (mode == mode_) return KS_OK;
    if (mode_ == KS_MODE_WRITE && mode == KS_MODE_READ) {
        mode_ = KS_MODE_READ;
        position_ = 0;
        return KS_OK;
    }
    return KS_FAIL;
}

KsStatus KsMemoryStream::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    if (!buffer_) return KS_FAIL;
    int64_t base = origin == KS_SEEK_SET ? 0 : origin == KS_SEEK_CUR ? position_ : size_;
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(size_)) return KS_FAIL;
    position_ = static_cast<ks_pos_t>(target);
    if (newPosition) *newPosition = position_;
    return KS_OK;
}

bool KsMemoryStream::Grow(uint64_t needed) {
    if (needed <= capacity_) return true;
    if (!ownBuffer_ || needed > kMaxMemoryStreamBytes) return false;
    uint64_t capacity = 2 * needed + 4096;
    if (capacity > kMaxMemoryStreamBytes) capacity = kMaxMemoryStreamBytes;
    buffer_ = static_cast<uint8_t*>(KsRealloc(buffer_, static_cast<size_t>(capacity)));
    capacity_ = static_cast<ks_pos_t>(capacity);
    return true;
}

KsStatus KsMemoryStream::SetSize(ks_pos_t size) {
    if (!buffer_ || mode_ == KS_MODE_READ) return KS_FAIL;
    if (!Grow(size)) return KS_FAIL;
    size_ = size;
    if (position_ > size_) position_ = size_;
    return KS_OK;
}

KsStatus KsMemoryStream::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (!buffer_ || mode_ == KS_MODE_WRITE || mode_ == KS_MODE_APPEND) return KS_FAIL;
    ks_pos_t available = position_ < size_ ? size_ - position_ : 0;
    ks_pos_t n = count < available ? count : available;
    if (n) std::memcpy(buffer, buffer_ + position_, n);
    position_ += n;
    if (bytesRead) *bytesRead = n;
    return KS_OK;
}

KsStatus KsMemoryStream::Write(const void* buffer, ks_pos_t count, ks_pos_t* bytesWritten) {
    if (bytesWritten) *bytesWritten = 0;
    if (!buffer_ || mode_ == KS_MODE_READ) return KS_FAIL;
    uint64_t end = static_cast<uint64_t>(position_) + count;
    if (end > capacity_) Grow(end);
    ks_pos_t room = capacity_ > position_ ? capacity_ - position_ : 0;
    ks_pos_t n = count < room ? count : room;
    if (n) std::memcpy(buffer_ + position_, buffer, n);
    position_ += n;
    if (position_ > size_) size_ = position_;
    if (bytesWritten) *bytesWritten = n;
    CountWrittenBytes(n);
    return n == count ? KS_OK : KS_FAIL;
}

KsRef<KsStream> CreateMemoryStream() {
    return KsRef<KsStream>(new KsMemoryStream());
}

KsRef<KsStream> CreateMemoryStream(const void* data, ks_pos_t size, MemoryCopy copy,
                                   KsStreamMode mode) {
    if (copy == MemoryCopy::Wrap) return KsRef<KsStream>(new KsMemoryStream(data, size));
    return KsRef<KsStream>(new KsMemoryStream(data, size, mode));
}
