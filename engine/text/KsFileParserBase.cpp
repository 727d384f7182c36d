#include "engine/text/KsFileParserBase.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/Memory.h"
#include "engine/text/KsLoadingCallback.h"

namespace {

// A stream that cannot tell its size (or reports one beyond what streams may hold) is read as
// empty rather than as 4 GiB.
int64_t SizeOf(KsStream* stream) {
    if (!stream) return 0;
    ks_pos_t size = stream->GetSize();
    return (size == KS_POS_UNKNOWN || size > KS_MAX_STREAM_SIZE) ? 0 : static_cast<int64_t>(size);
}

}  // namespace

KsFileParserBase::KsFileParserBase(KsRef<KsStream> stream)
    : stream_(std::move(stream)), streamSize_(SizeOf(stream_.Get())) {}

KsFileParserBase::~KsFileParserBase() {
    std::free(buffer_);
}

void KsFileParserBase::Reset() {
    if (stream_) stream_->SetPos(0);
    bufferedBytes_ = 0;
    bufferPosition_ = 0;
    bufferFileOffset_ = 0;
    streamSize_ = SizeOf(stream_.Get());
}

int KsFileParserBase::getProgressPercent() {
    if (streamSize_ <= 0) return 0;
    return static_cast<int>((bufferFileOffset_ + bufferPosition_) * 100 / streamSize_);
}

bool KsFileParserBase::Eof() {
    return bufferFileOffset_ + bufferPosition_ >= streamSize_;
}

void KsFileParserBase::EnsureCapacity(int64_t bytes) {
    if (bytes <= capacity_) return;
    buffer_ = static_cast<uint8_t*>(KsRealloc(buffer_, static_cast<size_t>(bytes)));
    capacity_ = bytes;
}

bool KsFileParserBase::FillBuffer(int n) {
    const int64_t available = streamSize_ - bufferFileOffset_ - bufferedBytes_;
    if (available <= 0 || n <= 0) return true;
    const int64_t wanted = n < available ? n : available;
    if (capacity_ - bufferedBytes_ < wanted) {
        // Drop the consumed bytes first when that gains a worthwhile amount of room.
        if (bufferPosition_ > wanted || bufferPosition_ > 3 * bufferedBytes_ / 4) {
            std::memmove(buffer_, buffer_ + bufferPosition_,
                         static_cast<size_t>(bufferedBytes_ - bufferPosition_));
            bufferFileOffset_ += bufferPosition_;
            bufferedBytes_ -= bufferPosition_;
            bufferPosition_ = 0;
        }
        if (capacity_ - bufferedBytes_ < wanted)
            EnsureCapacity(capacity_ + (wanted - (capacity_ - bufferedBytes_)) + 4096);
    }
    ks_pos_t bytesRead = 0;
    if (stream_->Read(buffer_ + bufferedBytes_, static_cast<ks_pos_t>(wanted), &bytesRead) != KS_OK)
        return false;
    bufferedBytes_ += bytesRead;
    return bytesRead != 0;
}

bool KsFileParserBase::LoadRange(int64_t offset, int64_t size) {
    if (offset < 0 || size < 0) return false;
    if (offset >= bufferFileOffset_ && offset + size <= bufferFileOffset_ + bufferedBytes_) {
        bufferPosition_ = offset - bufferFileOffset_;
        return true;
    }
    if (offset >= streamSize_) return false;
    int64_t amount = size;
    if (amount < capacity_) amount = capacity_;
    if (amount < 4096) amount = 4096;
    if (amount > streamSize_ - offset) amount = streamSize_ - offset;
    if (amount > static_cast<int64_t>(kMaxParserBufferBytes)) {
        LogError("cannot load %lld bytes at once", static_cast<long long>(amount));
        return false;
    }
    EnsureCapacity(amount);
    if (stream_->SetPos(static_cast<ks_pos_t>(offset)) != static_cast<ks_pos_t>(offset)) {
        LogError("cannot set stream position to %d", static_cast<int>(offset));
        MarkInputLost();
        return false;
    }
    ks_pos_t bytesRead = 0;
    if (stream_->Read(buffer_, static_cast<ks_pos_t>(amount), &bytesRead) != KS_OK) {
        LogError("error while reading %d bytes from stream", static_cast<int>(amount));
        MarkInputLost();
        return false;
    }
    bufferFileOffset_ = offset;
    bufferPosition_ = 0;
    bufferedBytes_ = bytesRead;
    return true;
}

void KsFileParserBase::MarkInputLost() {
    // The stream position is unknown now: nothing more can be read in order.
    bufferedBytes_ = 0;
    bufferPosition_ = 0;
    bufferFileOffset_ = streamSize_;
}

int64_t KsFileParserBase::CurrentTimeSeconds() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void KsFileParserBase::updateProgress() {
    if (!progressCallback_) return;
    if (firstPagesCountdown_ >= 0 && --firstPagesCountdown_ == 0) {
        if (getProgressPercent() < 30) progressCallback_->OnFirstPagesReady();
        firstPagesCountdown_ = -1;
    }
    reportCounter_ = (reportCounter_ + 1) % 64;
    if (reportCounter_ != 0) return;
    const int64_t now = CurrentTimeSeconds();
    if (lastReportTime_ == 0) {
        lastReportTime_ = now;
        return;
    }
    if (now == lastReportTime_) return;
    const int percent = getProgressPercent();
    if (percent != lastPercent_) {
        progressCallback_->OnLoadProgress(percent);
        lastPercent_ = percent;
        lastReportTime_ = now;
    }
}
