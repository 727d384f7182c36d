#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/streams/KsStream.h"
#include "engine/text/KsFileFormatParser.h"

// What every parser shares: the input stream, bytes read ahead of the parse position, the stop
// request and throttled progress reports. The byte buffer holds the stream bytes
// [bufferFileOffset_, bufferFileOffset_ + bufferedBytes_); the stream itself always stands right
// after them, which Reset and LoadRange establish and FillBuffer relies on.
class KsFileParserBase : public KsFileFormatParser {
public:
    explicit KsFileParserBase(KsRef<KsStream> stream);
    ~KsFileParserBase() override;
    KsFileParserBase(const KsFileParserBase&) = delete;
    KsFileParserBase& operator=(const KsFileParserBase&) = delete;

    KsLoadingCallback* getProgressCallback() override { return progressCallback_; }
    void setProgressCallback(KsLoadingCallback* callback) override { progressCallback_ = callback; }
    // Stream position 0, an empty byte buffer, the stream size read again.
    void Reset() override;
    void Stop() override { stopRequested_ = true; }

    // How much of the stream has been read, 0-100 (0 for an empty stream).
    virtual int getProgressPercent();
    // True when every byte of the stream has been consumed.
    virtual bool Eof();

    // Reads so that at least n more bytes (as far as the stream has them) follow the buffered
    // ones. False on a read error, or when nothing could be read although bytes were missing.
    [[nodiscard]] bool FillBuffer(int n);
    // Makes the stream bytes [offset, offset + size) addressable in the buffer and moves the
    // buffer position to `offset`. False when offset lies beyond the stream, when the range is
    // larger than kMaxParserBufferBytes, or on a seek or read error (logged).
    [[nodiscard]] bool LoadRange(int64_t offset, int64_t size);
    // Called by the parsers while they run: the first-pages notification after a countdown, and
    // at most one progress notification per second (the clock is read once per 64 calls).
    void updateProgress();

    bool IsStopRequested() const { return stopRequested_; }
    void SetFirstPagesCountdown(int steps) { firstPagesCountdown_ = steps; }

protected:
    // Whole seconds of the clock that progress reports are spaced by.
    virtual int64_t CurrentTimeSeconds() const;

    KsRef<KsStream> stream_;
    uint8_t* buffer_ = nullptr;  // C allocator (KsRealloc), freed by the destructor
    int64_t capacity_ = 0;
    int64_t streamSize_ = 0;
    int64_t bufferedBytes_ = 0;
    int64_t bufferPosition_ = 0;
    int64_t bufferFileOffset_ = 0;

private:
    // Makes room for `bytes` bytes in the buffer.
    void EnsureCapacity(int64_t bytes);
    void MarkInputLost();

    bool stopRequested_ = false;
    KsLoadingCallback* progressCallback_ = nullptr;
    int64_t lastReportTime_ = 0;  // 0: no report yet
    int lastPercent_ = 0;
    int reportCounter_ = 0;
    int firstPagesCountdown_ = -1;  // -1: off
};
