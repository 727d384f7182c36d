#pragma once

#include <cstdint>
#include <vector>

#include "engine/dom/ldomNode.h"
#include "engine/streams/KsStream.h"

// A read-only stream of the bytes that the base64 text inside an element encodes (the binary
// sections of FB2 books). The input is the text of every text node below the element in
// document order; characters outside the base64 alphabet are skipped and "=" ends the data.
// Decoding runs in small steps, so the bytes are never held whole. The stream keeps node
// handles, not pointers: once the document is gone it simply reads nothing more.
class KsBase64NodeStream final : public KsNamedStream {
public:
    using KsNamedStream::GetSize;

    explicit KsBase64NodeStream(const ldomNode* element);

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
    static constexpr int kOutputBytes = 128;
    // A refill stops once the buffer holds more than this (one symbol adds at most 3 bytes).
    static constexpr int kRefillThreshold = 124;

    // Back to the first text node with an empty decoder.
    void rewind();
    // Decodes into the output buffer; the number of bytes it added (0 once the data ended).
    int refill();
    // Loads the next text node's text; false when there is none.
    bool loadNextText();
    void emit(uint32_t value);
    // Reads and drops bytes; false when the data ended first.
    bool skip(ks_pos_t count);

    std::vector<ldomNode> textNodes_;  // handle copies, in document order
    size_t nextText_ = 0;
    string8 text_;
    int32_t textIndex_ = 0;
    bool dataEnded_ = false;  // "=" seen or the input is used up
    int pending_ = 0;         // symbols since the last group of four
    uint32_t bits_ = 0;
    uint8_t output_[kOutputBytes] = {};
    int outputCount_ = 0;
    int outputIndex_ = 0;
    ks_pos_t size_ = 0;
    ks_pos_t position_ = 0;
};
