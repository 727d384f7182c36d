#pragma once

#include "engine/streams/KsStream.h"

// A stream over an operating-system file. Paths are string16, handed to the system as UTF-8.
class KsFileStream final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    KsFileStream() = default;
    ~KsFileStream() override;
    KsFileStream(const KsFileStream&) = delete;
    KsFileStream& operator=(const KsFileStream&) = delete;

    // Mode KS_MODE_ERROR or KS_MODE_CLOSED is an internal error. Files of 2 GiB or more are
    // refused.
    [[nodiscard]] KsStatus Open(const string16& path, KsStreamMode mode);

    KsStatus GetSize(ks_pos_t* size) override;
    KsStatus Flush(bool sync) override;
    KsStatus Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) override;
    KsStatus SetSize(ks_pos_t size) override;
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override;
    KsStatus Write(const void* buffer, ks_pos_t count, ks_pos_t* bytesWritten) override;
    bool Eof() override { return position_ >= size_; }

private:
    void CloseFile();

    int fd_ = -1;
    ks_pos_t size_ = 0;
    ks_pos_t position_ = 0;
};

// Opens a file; null when it cannot be opened.
KsRef<KsStream> OpenFileStream(const string16& path, KsStreamMode mode);
// True when the file opens for reading.
bool FileExists(const string16& path);
