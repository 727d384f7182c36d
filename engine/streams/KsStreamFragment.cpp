#include "engine/streams/KsStreamFragment.h"

KsStreamFragment::KsStreamFragment(KsRef<KsStream> base, ks_pos_t start, ks_pos_t size)
    : base_(std::move(base)), start_(start), size_(size) {
    mode_ = KS_MODE_READ;
    // A window reaching past the base stream is cut to what the base holds.
    ks_pos_t baseSize = base_ ? base_->GetSize() : 0;
    if (baseSize == KS_POS_UNKNOWN) baseSize = 0;
    if (start_ > baseSize) start_ = baseSize;
    if (size_ > baseSize - start_) size_ = baseSize - start_;
}

KsStatus KsStreamFragment::GetSize(ks_pos_t* size) {
    if (size) *size = size_;
    return KS_OK;
}

KsStatus KsStreamFragment::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    int64_t base = origin == KS_SEEK_SET ? 0 : origin == KS_SEEK_CUR ? position_ : size_;
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(size_)) return KS_FAIL;
    position_ = static_cast<ks_pos_t>(target);
    if (newPosition) *newPosition = position_;
    return KS_OK;
}

KsStatus KsStreamFragment::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (!base_) return KS_FAIL;
    ks_pos_t available = position_ < size_ ? size_ - position_ : 0;
    ks_pos_t want = count < available ? count : available;
    if (want == 0) return KS_OK;
    ks_pos_t at = start_ + position_;
    if (base_->SetPos(at) != at) return KS_FAIL;
    ks_pos_t got = 0;
    KsStatus status = base_->Read(buffer, want, &got);
    position_ += got;
    if (bytesRead) *bytesRead = got;
    return status;
}
