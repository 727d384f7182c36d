#include "engine/text/KsFileParserBase.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/text/KsLoadingCallback.h"
#include "tests/text/TextTestSupport.h"

namespace {

// The byte layer alone, with a clock the test controls.
class ByteParser final : public KsFileParserBase {
public:
    using KsFileParserBase::KsFileParserBase;
    bool CheckFormat() override { return false; }
    bool Parse() override { return false; }
    void SetCharset(const unit16*) override {}
    void SetCharsetTable(const unit16*) override {}
    const unit16* GetCharsetTable() override { return nullptr; }

    std::string Buffered() const {
        return std::string(reinterpret_cast<const char*>(buffer_),
                           static_cast<size_t>(bufferedBytes_));
    }
    int64_t Position() const { return bufferFileOffset_ + bufferPosition_; }
    void Advance(int64_t n) { bufferPosition_ += n; }
    uint8_t At(int64_t offset) const { return buffer_[offset - bufferFileOffset_]; }

    mutable int clockReads = 0;
    int64_t now = 1000;

protected:
    int64_t CurrentTimeSeconds() const override {
        ++clockReads;
        return now;
    }
};

class RecordingCallback final : public KsLoadingCallback {
public:
    void OnFirstPagesReady() override { ++firstPages; }
    void OnLoadProgress(int percent) override { reports.push_back(percent); }
    int firstPages = 0;
    std::vector<int> reports;
};

// A stream that cannot tell its size.
class SizelessStream final : public KsStream {
public:
    KsStatus GetSize(ks_pos_t*) override { return KS_FAIL; }
    KsStreamMode GetMode() const override { return KS_MODE_READ; }
    KsStatus Seek(int64_t, KsSeekOrigin, ks_pos_t* position) override {
        if (position) *position = 0;
        return KS_OK;
    }
    KsStatus SetSize(ks_pos_t) override { return KS_FAIL; }
    KsStatus Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) override {
        std::memset(buffer, 'x', count);
        if (bytesRead) *bytesRead = count;
        return KS_OK;
    }
    KsStatus Write(const void*, ks_pos_t, ks_pos_t*) override { return KS_FAIL; }
    bool Eof() override { return false; }
};

std::string Digits(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i)
        s += static_cast<char>('0' + i % 10);
    return s;
}

TEST(KsFileParserBase, FillBufferReadsAheadAndKeepsOffsets) {
    ByteParser parser(StreamOf(Digits(20000)));
    EXPECT_EQ(parser.getProgressPercent(), 0);
    EXPECT_FALSE(parser.Eof());
    ASSERT_TRUE(parser.FillBuffer(8192));
    EXPECT_EQ(parser.Buffered().size(), 8192u);
    parser.Advance(8000);
    ASSERT_TRUE(parser.FillBuffer(8192));  // moves the unread bytes down first
    EXPECT_EQ(parser.Position(), 8000);
    EXPECT_EQ(parser.At(8000), '0');
    EXPECT_EQ(parser.At(16383), '3');
    EXPECT_EQ(parser.getProgressPercent(), 40);
    // Past the end nothing is missing any more.
    ASSERT_TRUE(parser.FillBuffer(100000));
    EXPECT_TRUE(parser.FillBuffer(10));
    parser.Advance(20000 - parser.Position());
    EXPECT_TRUE(parser.Eof());
    EXPECT_EQ(parser.getProgressPercent(), 100);
}

TEST(KsFileParserBase, LoadRange) {
    ByteParser parser(StreamOf(Digits(10000)));
    ASSERT_TRUE(parser.LoadRange(5003, 10));
    EXPECT_EQ(parser.Position(), 5003);
    EXPECT_EQ(parser.At(5003), '3');
    // Inside what is buffered only the position moves.
    ASSERT_TRUE(parser.LoadRange(6000, 100));
    EXPECT_EQ(parser.Position(), 6000);
    EXPECT_EQ(parser.At(6001), '1');
    EXPECT_FALSE(parser.LoadRange(10000, 1));
    EXPECT_FALSE(parser.LoadRange(-1, 1));
    ASSERT_TRUE(parser.LoadRange(0, 4));
    EXPECT_EQ(parser.Buffered().substr(0, 4), "0123");
    // The stream stands after the loaded bytes, so reading ahead continues seamlessly.
    ASSERT_TRUE(parser.FillBuffer(10));
    EXPECT_EQ(parser.Buffered().size(), 4106u);
    EXPECT_EQ(parser.At(4105), '5');
}

TEST(KsFileParserBase, StreamOfUnknownSizeIsEmpty) {
    ByteParser parser{KsRef<KsStream>(new SizelessStream)};
    EXPECT_TRUE(parser.Eof());
    EXPECT_TRUE(parser.FillBuffer(8192));
    EXPECT_TRUE(parser.Buffered().empty());
    EXPECT_FALSE(parser.LoadRange(0, 16));
    EXPECT_EQ(parser.getProgressPercent(), 0);
}

TEST(KsFileParserBase, ResetGoesBackToTheStart) {
    ByteParser parser(StreamOf(Digits(300)));
    ASSERT_TRUE(parser.LoadRange(100, 10));
    parser.Stop();
    EXPECT_TRUE(parser.IsStopRequested());
    parser.Reset();
    EXPECT_EQ(parser.Position(), 0);
    EXPECT_TRUE(parser.Buffered().empty());
    ASSERT_TRUE(parser.FillBuffer(8192));
    EXPECT_EQ(parser.Buffered(), Digits(300));
}

TEST(KsFileParserBase, ProgressIsThrottled) {
    ByteParser parser(StreamOf(Digits(1000)));
    RecordingCallback callback;
    parser.updateProgress();  // no callback: nothing at all
    EXPECT_EQ(parser.clockReads, 0);
    parser.setProgressCallback(&callback);
    EXPECT_EQ(parser.getProgressCallback(), &callback);

    for (int i = 0; i < 63; ++i)
        parser.updateProgress();
    EXPECT_EQ(parser.clockReads, 0);
    parser.updateProgress();  // the 64th call stores the time
    EXPECT_EQ(parser.clockReads, 1);
    EXPECT_TRUE(callback.reports.empty());

    ASSERT_TRUE(parser.FillBuffer(1000));
    parser.Advance(500);
    for (int i = 0; i < 64; ++i)
        parser.updateProgress();  // same second: no report
    EXPECT_TRUE(callback.reports.empty());
    parser.now = 1001;
    for (int i = 0; i < 64; ++i)
        parser.updateProgress();
    EXPECT_EQ(callback.reports, std::vector<int>{50});
    parser.now = 1002;
    for (int i = 0; i < 64; ++i)
        parser.updateProgress();  // percent unchanged: no report
    EXPECT_EQ(callback.reports, std::vector<int>{50});
    parser.Advance(250);
    for (int i = 0; i < 64; ++i)
        parser.updateProgress();
    EXPECT_EQ(callback.reports, (std::vector<int>{50, 75}));
    EXPECT_EQ(callback.firstPages, 0);
}

TEST(KsFileParserBase, FirstPagesAfterTheCountdown) {
    ByteParser parser(StreamOf(Digits(1000)));
    RecordingCallback callback;
    parser.setProgressCallback(&callback);
    parser.SetFirstPagesCountdown(3);
    parser.updateProgress();
    parser.updateProgress();
    EXPECT_EQ(callback.firstPages, 0);
    parser.updateProgress();
    EXPECT_EQ(callback.firstPages, 1);
    for (int i = 0; i < 10; ++i)
        parser.updateProgress();
    EXPECT_EQ(callback.firstPages, 1);

    // Not when most of the file is read already.
    ByteParser late(StreamOf(Digits(1000)));
    late.setProgressCallback(&callback);
    ASSERT_TRUE(late.FillBuffer(1000));
    late.Advance(400);
    late.SetFirstPagesCountdown(1);
    late.updateProgress();
    EXPECT_EQ(callback.firstPages, 1);
}

}  // namespace
