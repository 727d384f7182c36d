#pragma once

#include <cstdint>
#include <memory>

#include "engine/streams/KsStream.h"

// Direct memory access to a region of a stream.
class KsStreamBuffer : public KsRefCounter {
public:
    // Null for a buffer of a write-only stream.
    virtual const uint8_t* GetReadOnly() = 0;
    // Null for a read-only buffer.
    virtual uint8_t* GetReadWrite() = 0;
    virtual ks_pos_t GetSize() const = 0;
    // Writes a writable buffer back to its stream; true on success.
    virtual bool Close() = 0;
};

// A heap copy of the region, written back on Close (and on destruction) when writable.
class KsDefStreamBuffer final : public KsStreamBuffer {
public:
    enum class Access { ReadOnly, ReadWrite };
    // Null when the stream's mode does not allow the access, its size is unknown, the region lies
    // outside it, or the region cannot be read.
    static KsRef<KsStreamBuffer> Open(KsStream& stream, ks_pos_t position, ks_pos_t size,
                                      Access access);
    ~KsDefStreamBuffer() override;

    const uint8_t* GetReadOnly() override;
    uint8_t* GetReadWrite() override;
    ks_pos_t GetSize() const override { return size_; }
    bool Close() override;

private:
    KsDefStreamBuffer(KsStream& stream, ks_pos_t position, ks_pos_t size, Access access);

    KsRef<KsStream> stream_;
    std::unique_ptr<uint8_t[]> data_;
    ks_pos_t position_;
    ks_pos_t size_;
    bool readOnly_;
    bool writeOnlyStream_;
};
