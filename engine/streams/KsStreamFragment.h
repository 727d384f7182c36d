#pragma once

#include "engine/streams/KsStream.h"

// A read-only window of `size` bytes of a base stream starting at `start`. The fragment keeps its
// own position, so other readers of the base stream do not disturb it; reads and seeks stay
// inside the window.
class KsStreamFragment final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    KsStreamFragment(KsRef<KsStream> base, ks_pos_t start, ks_pos_t size);

    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override;
    KsStatus SetSize(ks_pos_t) override { return KS_NOTIMPL; }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override;
    KsStatus Write(const void*, ks_pos_t, ks_pos_t* bytesWritten) override {
        if (bytesWritten) *bytesWritten = 0;
        return KS_NOTIMPL;
    }
    bool Eof() override { return position_ >= size_; }

private:
    KsRef<KsStream> base_;
    ks_pos_t start_;
    ks_pos_t size_;
    ks_pos_t position_ = 0;
};
