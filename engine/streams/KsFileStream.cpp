// The engine's file-system layer: POSIX file calls.
#include "engine/streams/KsFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

KsFileStream::~KsFileStream() {
    CloseFile();
    SetName(nullptr);
}

void KsFileStream::CloseFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

KsStatus KsFileStream::Open(const string16& path, KsStreamMode mode) {
    if (mode == KS_MODE_ERROR || mode == KS_MODE_CLOSED) FatalError(-1, "Unknown fatal error");
    CloseFile();
    int flags = O_CLOEXEC;
    switch (mode) {
        case KS_MODE_READ:
            flags |= O_RDONLY;
            break;
        case KS_MODE_WRITE:
            flags |= O_WRONLY | O_CREAT | O_TRUNC;
            break;
        default:  // append, read-write
            flags |= O_RDWR | O_CREAT;
            break;
    }
    string8 utf8 = String16ToUtf8(path);
    int fd = ::open(utf8.CStr(), flags, 0666);
    if (fd < 0) return KS_FAIL;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > static_cast<off_t>(KS_MAX_STREAM_SIZE)) {
        ::close(fd);
        return KS_FAIL;
    }
    fd_ = fd;
    mode_ = mode;
    size_ = static_cast<ks_pos_t>(info.st_size);
    position_ = 0;
    SetName(path.CStr());
    if (mode == KS_MODE_APPEND && Seek(0, KS_SEEK_END, nullptr) != KS_OK) {
        CloseFile();
        return KS_FAIL;
    }
    return KS_OK;
}

KsStatus KsFileStream::GetSize(ks_pos_t* size) {
    if (fd_ < 0) return KS_FAIL;
    if (size) *size = size_;
    return KS_OK;
}

KsStatus KsFileStream::Flush(bool sync) {
    if (fd_ < 0) return KS_FAIL;
    if (sync && mode_ != KS_MODE_READ && ::fsync(fd_) != 0) return KS_FAIL;
    return KS_OK;
}

KsStatus KsFileStream::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    if (fd_ < 0) return KS_FAIL;
    int whence = origin == KS_SEEK_SET ? SEEK_SET : origin == KS_SEEK_CUR ? SEEK_CUR : SEEK_END;
    int64_t base = origin == KS_SEEK_SET ? 0 : origin == KS_SEEK_CUR ? position_ : size_;
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(KS_MAX_STREAM_SIZE)) return KS_FAIL;
    off_t result = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (result < 0) return KS_FAIL;
    position_ = static_cast<ks_pos_t>(result);
    if (newPosition) *newPosition = position_;
    return KS_OK;
}

KsStatus KsFileStream::SetSize(ks_pos_t size) {
    if (fd_ < 0 || mode_ == KS_MODE_READ || size > KS_MAX_STREAM_SIZE) return KS_FAIL;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return KS_FAIL;
    size_ = size;
    if (position_ > size_ && Seek(size_, KS_SEEK_SET, nullptr) != KS_OK) return KS_FAIL;
    return KS_OK;
}

KsStatus KsFileStream::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (fd_ < 0 || mode_ == KS_MODE_WRITE || position_ > size_) return KS_FAIL;
    ks_pos_t done = 0;
    auto* out = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ssize_t n = ::read(fd_, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            position_ += done;
            if (bytesRead) *bytesRead = done;
            return KS_FAIL;
        }
        if (n == 0) break;
        done += static_cast<ks_pos_t>(n);
    }
    position_ += done;
    if (bytesRead) *bytesRead = done;
    return KS_OK;
}

KsStatus KsFileStream::Write(const void* buffer, ks_pos_t count, ks_pos_t* bytesWritten) {
    if (bytesWritten) *bytesWritten = 0;
    if (fd_ < 0 || mode_ == KS_MODE_READ) return KS_FAIL;
    if (static_cast<uint64_t>(position_) + count > KS_MAX_STREAM_SIZE) return KS_FAIL;
    ks_pos_t done = 0;
    const auto* in = static_cast<const uint8_t*>(buffer);
    KsStatus status = KS_OK;
    while (done < count) {
        ssize_t n = ::write(fd_, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            status = KS_FAIL;
            break;
        }
        done += static_cast<ks_pos_t>(n);
    }
    position_ += done;
    if (position_ > size_) size_ = position_;
    if (bytesWritten) *bytesWritten = done;
    CountWrittenBytes(done);
    return status;
}

KsRef<KsStream> OpenFileStream(const string16& path, KsStreamMode mode) {
    KsRef<KsFileStream> stream(new KsFileStream());
    if (stream->Open(path, mode) != KS_OK) return nullptr;
    return KsRef<KsStream>(stream);
}

bool FileExists(const string16& path) {
    return OpenFileStream(path, KS_MODE_READ) != nullptr;
}
