#pragma once

#include "engine/streams/KsStream.h"

// A stream over a memory buffer: either its own growable buffer or the caller's bytes (read-only,
// never modified, never grown; the caller keeps them alive).
class KsMemoryStream final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    // An empty owned buffer of 4096 bytes, mode read-write.
    KsMemoryStream();
    // Wraps the caller's bytes read-only.
    KsMemoryStream(const void* data, ks_pos_t size);
    // Owns a copy of the bytes in the given mode; in append mode the position starts at the end.
    KsMemoryStream(const void* data, ks_pos_t size, KsStreamMode mode);
    ~KsMemoryStream() override;
    KsMemoryStream(const KsMemoryStream&) = delete;
    KsMemoryStream& operator=(const KsMemoryStream&) = delete;

    KsContainer* GetParentContainer() override { return nullptr; }
    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus SetMode(KsStreamMode mode) override;
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override;
    KsStatus SetSize(ks_pos_t size) override;
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override;
    KsStatus Write(const void* buffer, ks_pos_t count, ks_pos_t* bytesWritten) override;
    bool Eof() override { return position_ >= size_; }
    // Frees an owned buffer and empties the stream; fails when there is no buffer.
    [[nodiscard]] KsStatus Close();

    // The bytes (valid until the next write).
    const uint8_t* Data() const { return buffer_; }

private:
    // Grows an owned buffer to hold `needed` bytes; false when it cannot.
    bool Grow(uint64_t needed);

    uint8_t* buffer_ = nullptr;
    bool ownBuffer_ = false;
    ks_pos_t size_ = 0;
    ks_pos_t capacity_ = 0;
    ks_pos_t position_ = 0;
};

KsRef<KsStream> CreateMemoryStream();
enum class MemoryCopy { Wrap, Copy };
// Wrap: read-only over the caller's bytes. Copy: an owned copy in the given mode.
KsRef<KsStream> CreateMemoryStream(const void* data, ks_pos_t size, MemoryCopy copy,
                                   KsStreamMode mode = KS_MODE_READ);
