#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"

// Positions and sizes of streams are unsigned 32-bit values; KS_POS_UNKNOWN (all bits set) means
// "unknown" where an operation returns a position. Files of 2 GiB and more are refused.
using ks_pos_t = uint32_t;
constexpr ks_pos_t KS_POS_UNKNOWN = 0xFFFFFFFFu;
constexpr ks_pos_t KS_MAX_STREAM_SIZE = 0x7FFFFFFFu;

// Status codes of stream and container operations.
enum KsStatus : int {
    KS_OK = 0,
    KS_FAIL = 1,
    KS_EOF = 2,
    KS_NOTIMPL = 4,
};

// Open modes (the low 3 bits of a stream's mode word).
enum KsStreamMode : int {
    KS_MODE_ERROR = 0,
    KS_MODE_CLOSED = 1,
    KS_MODE_READ = 2,
    KS_MODE_WRITE = 3,   // a file is created or truncated
    KS_MODE_APPEND = 4,  // a file is opened or created and positioned at its end
    KS_MODE_READWRITE = 5,
};

enum KsSeekOrigin : int {
    KS_SEEK_SET = 0,
    KS_SEEK_CUR = 1,
    KS_SEEK_END = 2,
};

class KsContainer;
class KsStreamBuffer;

// Base of streams and containers.
class KsStorageObject : public KsRefCounter {
public:
    virtual bool IsContainer() const { return false; }
    // The object's name, or null when it has none.
    virtual const unit16* GetName() const { return nullptr; }
    virtual void SetName(const unit16* /*name*/) {}
    virtual KsContainer* GetParentContainer() { return nullptr; }
    // The size, or KS_POS_UNKNOWN when it cannot be told.
    ks_pos_t GetSize() {
        ks_pos_t size = 0;
        return GetSize(&size) == KS_OK ? size : KS_POS_UNKNOWN;
    }
    [[nodiscard]] virtual KsStatus GetSize(ks_pos_t* size) = 0;
};

// The abstract stream: every byte the engine reads or writes goes through one.
class KsStream : public KsStorageObject {
public:
    using KsStorageObject::GetSize;

    // Direct memory access to a region (see KsStreamBuffer); null when not possible.
    virtual KsRef<KsStreamBuffer> OpenReadBuffer(ks_pos_t position, ks_pos_t size);
    virtual KsRef<KsStreamBuffer> OpenWriteBuffer(ks_pos_t position, ks_pos_t size);

    virtual KsStreamMode GetMode() const = 0;
    [[nodiscard]] virtual KsStatus SetMode(KsStreamMode /*mode*/) { return KS_NOTIMPL; }
    virtual KsStatus Flush(bool /*sync*/) { return KS_OK; }

    // newPosition is optional.
    [[nodiscard]] virtual KsStatus Seek(int64_t offset, KsSeekOrigin origin,
                                        ks_pos_t* newPosition) = 0;
    [[nodiscard]] KsStatus Tell(ks_pos_t* position) { return Seek(0, KS_SEEK_CUR, position); }
    // Returns the new position, or KS_POS_UNKNOWN.
    ks_pos_t SetPos(ks_pos_t position);
    ks_pos_t GetPos();
    [[nodiscard]] virtual KsStatus SetSize(ks_pos_t size) = 0;

    // bytesRead is optional.
    [[nodiscard]] virtual KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) = 0;
    [[nodiscard]] virtual KsStatus Write(const void* buffer, ks_pos_t count,
                                         ks_pos_t* bytesWritten) = 0;
    virtual bool Eof() = 0;

    // Fixed-size reads in the machine's (little-endian) byte order and in big-endian order; true
    // only when all bytes were read.
    bool ReadU8(uint8_t& value);
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadU16BE(uint16_t& value);
    bool ReadU32BE(uint32_t& value);
    // Reads exactly `count` bytes; false when fewer could be read.
    bool ReadExact(void* buffer, ks_pos_t count);
    // The next byte (0-255), or -1.
    int ReadByte();
    bool WriteAll(const void* buffer, ks_pos_t count);

    [[nodiscard]] virtual KsStatus ComputeCrc32(uint32_t* crc);
    virtual void SetSyncThreshold(ks_pos_t /*bytes*/) {}
    virtual void CountWrittenBytes(ks_pos_t /*count*/) {}
};

// A stream with a name: the base of all concrete streams.
class KsNamedStream : public KsStream {
public:
    using KsStream::GetSize;

    const unit16* GetName() const override;
    void SetName(const unit16* name) override;
    const string16& FullName() const { return fullName_; }
    const string16& FileName() const { return fileName_; }
    const string16& PathName() const { return pathName_; }

    KsStreamMode GetMode() const override { return mode_; }
    // Seeks to the end and back.
    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus ComputeCrc32(uint32_t* crc) override;
    void SetSyncThreshold(ks_pos_t bytes) override { syncThreshold_ = bytes; }
    // Counts written bytes and flushes with sync once the threshold is passed.
    void CountWrittenBytes(ks_pos_t count) override;

protected:
    KsStreamMode mode_ = KS_MODE_ERROR;
    uint32_t crc_ = 0;  // 0 = not computed
    bool crcFailed_ = false;

private:
    string16 fullName_;
    string16 fileName_;
    string16 pathName_;
    ks_pos_t syncThreshold_ = 0;
    ks_pos_t bytesSinceSync_ = 0;
};

// Copies the whole source (from position 0) to the destination in blocks; stops at the first
// failed or empty read and at the first failed write. Returns the bytes copied.
ks_pos_t PumpStream(KsStream& destination, KsStream& source);
