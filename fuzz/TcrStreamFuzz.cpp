// Arbitrary bytes as a TCR file: when the stream opens, reading it in pieces and seeking about
// must give exactly the text a plain decode of the whole file gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/streams/KsMemoryStream.h"
#include "engine/streams/KsTCRStream.h"

namespace {

// The whole text at once: signature, 256 length-prefixed strings, then one code per byte.
bool DecodeWhole(const uint8_t* data, size_t size, std::string& text) {
    size_t at = 9;
    if (size < at) return false;
    std::vector<std::string> strings;
    for (int code = 0; code < 256; ++code) {
        if (at >= size) return false;
        const size_t length = data[at++];
        if (size - at < length) return false;
        strings.emplace_back(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }
    for (; at < size; ++at)
        text += strings[data[at]];
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KsRef<KsStream> tcr =
        OpenTcrStream(CreateMemoryStream(data, static_cast<ks_pos_t>(size), MemoryCopy::Wrap));
    if (!tcr) return 0;
    std::string expected;
    if (!DecodeWhole(data, size, expected)) std::abort();
    if (tcr->GetSize() != expected.size()) std::abort();

    std::string text;
    char block[777];
    for (size_t piece = 1;; piece = piece * 3 % 777 + 1) {
        ks_pos_t got = 0;
        KsStatus status = tcr->Read(block, static_cast<ks_pos_t>(piece), &got);
        if (got > piece) std::abort();
        text.append(block, got);
        if (status != KS_OK || got == 0) break;
    }
    if (text != expected) std::abort();

    // Seeks to positions taken from the input, each followed by a short read.
    for (size_t i = 0; i + 1 < size && i < 64; i += 2) {
        const ks_pos_t target =
            static_cast<ks_pos_t>((data[i] << 8 | data[i + 1]) % (expected.size() + 1));
        if (tcr->SetPos(target) != target) {
            if (target < expected.size()) std::abort();
            continue;
        }
        ks_pos_t got = 0;
        (void)tcr->Read(block, 100, &got);
        if (expected.compare(target, got, block, got) != 0) std::abort();
    }
    return 0;
}
