// Arbitrary bytes through the UTF-8 decoders (whole-buffer and incremental) and back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/core/StringConvert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    string16 whole = Utf8ToString16(reinterpret_cast<const char*>(data), size);
    // Re-encoding and decoding again must give the same units.
    string16 again = Utf8ToString16(String16ToUtf8(whole));
    if (again != whole) std::abort();

    // The incremental decoder in small pieces must agree with the whole-buffer one.
    std::vector<unit16> pieces;
    unit16 out[3];
    size_t at = 0;
    while (at < size) {
        size_t chunk = 1 + (data[at] % 5);
        if (chunk > size - at) chunk = size - at;
        bool final = at + chunk == size;
        Utf8DecodeResult r = DecodeUtf8Buffer(data + at, chunk, out, 3, final);
        pieces.insert(pieces.end(), out, out + r.produced);
        if (r.consumed == 0) {
            // Waiting for more bytes: feed a longer piece.
            r = DecodeUtf8Buffer(data + at, size - at, out, 3, true);
            pieces.insert(pieces.end(), out, out + r.produced);
            if (r.consumed == 0) std::abort();
        }
        at += r.consumed;
    }
    if (pieces.size() != static_cast<size_t>(whole.Length())) std::abort();
    for (size_t i = 0; i < pieces.size(); ++i)
        if (pieces[i] != whole[static_cast<int32_t>(i)]) std::abort();
    return 0;
}
