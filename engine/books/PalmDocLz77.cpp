#include "engine/books/PalmDocLz77.h"

bool DecompressPalmDoc(const uint8_t* data, size_t size, std::vector<uint8_t>& out, size_t limit) {
    out.clear();
    // Every input byte gives at most 5 output bytes on average (a 2-byte pair gives up to 10).
    out.reserve(size * 5 < limit ? size * 5 : limit);
    size_t i = 0;
    while (i < size) {
        uint8_t b = data[i++];
        if (b >= 0x01 && b <= 0x08) {
            if (size - i < b) break;  // a literal run cut off by the end of the record
            if (out.size() + b > limit) return false;
            out.insert(out.end(), data + i, data + i + b);
            i += b;
        } else if (b < 0x80) {
            if (out.size() + 1 > limit) return false;
            out.push_back(b);
        } else if (b < 0xC0) {
            if (i >= size) break;
            unsigned pair = ((static_cast<unsigned>(b) << 8) | data[i++]) & 0x3FFF;
            size_t distance = pair >> 3;
            size_t length = (pair & 7) + 3;
            if (out.size() + length > limit) return false;
            if (distance == 0 || distance > out.size()) {
                out.insert(out.end(), length, '?');
            } else {
                // Byte by byte: the source may overlap the bytes being written.
                size_t from = out.size() - distance;
                for (size_t k = 0; k < length; ++k)
                    out.push_back(out[from + k]);
            }
        } else {
            if (out.size() + 2 > limit) return false;
            out.push_back(' ');
            out.push_back(b & 0x7F);
        }
    }
    return true;
}
