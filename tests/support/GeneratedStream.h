#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/streams/KsStream.h"

// A read-only stream of `size` bytes that repeats a pattern, generated as it is read: inputs of
// hundreds of megabytes for the input-safety checks without holding them anywhere.
class GeneratedStream final : public KsStream {
public:
    GeneratedStream(std::string pattern, ks_pos_t size)
        : pattern_(std::move(pattern)), size_(size) {}

    using KsStream::GetSize;
    KsStatus GetSize(ks_pos_t* size) override {
        *size = size_;
        return KS_OK;
    }
    KsStreamMode GetMode() const override { return KS_MODE_READ; }
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override {
        const int64_t base = origin == KS_SEEK_SET   ? 0
                             : origin == KS_SEEK_CUR ? int64_t(position_)
                                                     : int64_t(size_);
        const int64_t target = base + offset;
        if (target < 0 || target > int64_t(size_)) return KS_FAIL;
        position_ = ks_pos_t(target);
        if (newPosition) *newPosition = position_;
        return KS_OK;
    }
    KsStatus SetSize(ks_pos_t) override { return KS_FAIL; }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override {
        const ks_pos_t n = std::min(count, size_ - position_);
        char* out = static_cast<char*>(buffer);
        for (ks_pos_t done = 0; done < n;) {
            const size_t at = size_t((position_ + done) % pattern_.size());
            const ks_pos_t piece = std::min<ks_pos_t>(n - done, pattern_.size() - at);
            std::memcpy(out + done, pattern_.data() + at, size_t(piece));
            done += piece;
        }
        position_ += n;
        if (bytesRead) *bytesRead = n;
        return KS_OK;
    }
    KsStatus Write(const void*, ks_pos_t, ks_pos_t*) override { return KS_FAIL; }
    bool Eof() override { return position_ >= size_; }

private:
    std::string pattern_;
    ks_pos_t size_;
    ks_pos_t position_ = 0;
};
