#include "engine/dom/KsBase64NodeStream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Value of a base64 symbol (A-Z, a-z, 0-9, "+", "/"), or -1.
int Base64Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// The text nodes below the element, in document order, without recursion (books nest deeply).
void CollectTextNodes(const ldomNode* element, std::vector<ldomNode>& out) {
    if (!element || !element->isElement()) return;
    std::vector<std::pair<const ldomNode*, int>> stack;
    stack.emplace_back(element, 0);
    while (!stack.empty()) {
        auto& [node, index] = stack.back();
        if (index >= node->childCount()) {
            stack.pop_back();
            continue;
        }
        const ldomNode* child = node->childAt(index++);
        if (!child) continue;
        if (child->isText())
            out.push_back(*child);
        else if (child->isElement())
            stack.emplace_back(child, 0);
    }
}

}  // namespace

KsBase64NodeStream::KsBase64NodeStream(const ldomNode* element) {
    mode_ = KS_MODE_READ;
    CollectTextNodes(element, textNodes_);
    // One pass over the whole text tells the decoded size.
    uint64_t size = 0;
    for (int added; (added = refill()) > 0; outputCount_ = 0) {
        size += static_cast<uint64_t>(added);
        if (size >= KS_MAX_STREAM_SIZE) {
            size = KS_MAX_STREAM_SIZE;
            break;
        }
    }
    size_ = static_cast<ks_pos_t>(size);
    rewind();
}

void KsBase64NodeStream::rewind() {
    nextText_ = 0;
    text_ = string8();
    textIndex_ = 0;
    dataEnded_ = false;
    pending_ = 0;
    bits_ = 0;
    outputCount_ = 0;
    outputIndex_ = 0;
    position_ = 0;
}

bool KsBase64NodeStream::loadNextText() {
    while (nextText_ < textNodes_.size()) {
        text_ = textNodes_[nextText_++].text8();
        textIndex_ = 0;
        if (!text_.Empty()) return true;
    }
    return false;
}

void KsBase64NodeStream::emit(uint32_t value) {
    output_[outputCount_++] = static_cast<uint8_t>(value & 0xFF);
}

int KsBase64NodeStream::refill() {
    const int before = outputCount_;
    while (!dataEnded_ && outputCount_ <= kRefillThreshold) {
        if (textIndex_ >= text_.Length() && !loadNextText()) {
            dataEnded_ = true;
            break;
        }
        // Bytes of 0x80 and above belong to characters beyond ASCII, which base64 never uses.
        const unsigned char c = static_cast<unsigned char>(text_[textIndex_++]);
        if (c >= 0x80) continue;
        if (c == '=') {
            if (pending_ == 2) {
                emit(bits_ >> 4);
            } else if (pending_ == 3) {
                emit(bits_ >> 10);
                emit(bits_ >> 2);
            }
            dataEnded_ = true;
            break;
        }
        const int value = Base64Value(c);
        if (value < 0) continue;
        bits_ = (bits_ << 6) | static_cast<uint32_t>(value);
        if (++pending_ == 4) {
            emit(bits_ >> 16);
            emit(bits_ >> 8);
            emit(bits_);
            pending_ = 0;
            bits_ = 0;
        }
    }
    return outputCount_ - before;
}

KsStatus KsBase64NodeStream::GetSize(ks_pos_t* size) {
    if (size) *size = size_;
    return KS_OK;
}

KsStatus KsBase64NodeStream::Read(void* buffer, ks_pos_t count, ks_pos_t* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (count && !buffer) return KS_FAIL;
    auto* out = static_cast<uint8_t*>(buffer);
    ks_pos_t delivered = 0;
    while (delivered < count && position_ < size_) {
        if (outputIndex_ >= outputCount_) {
            outputCount_ = 0;
            outputIndex_ = 0;
            if (refill() == 0) break;
        }
        const ks_pos_t take = std::min<ks_pos_t>(
            {count - delivered, static_cast<ks_pos_t>(outputCount_ - outputIndex_),
             size_ - position_});
        std::memcpy(out + delivered, output_ + outputIndex_, take);
        outputIndex_ += static_cast<int>(take);
        delivered += take;
        position_ += take;
    }
    if (bytesRead) *bytesRead = delivered;
    return KS_OK;
}

bool KsBase64NodeStream::skip(ks_pos_t count) {
    uint8_t scratch[256];
    while (count > 0) {
        ks_pos_t got = 0;
        if (Read(scratch, std::min<ks_pos_t>(count, sizeof scratch), &got) != KS_OK || got == 0)
            return false;
        count -= got;
    }
    return true;
}

KsStatus KsBase64NodeStream::Seek(int64_t offset, KsSeekOrigin origin, ks_pos_t* newPosition) {
    const int64_t base = origin == KS_SEEK_SET   ? 0
                         : origin == KS_SEEK_CUR ? static_cast<int64_t>(position_)
                                                 : static_cast<int64_t>(size_);
    const int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(size_)) return KS_FAIL;
    const auto to = static_cast<ks_pos_t>(target);
    if (to < position_) rewind();
    if (to > position_ && !skip(to - position_)) return KS_FAIL;
    if (newPosition) *newPosition = position_;
    return KS_OK;
}
