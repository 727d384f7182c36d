#include "tests/support/Base64.h"

#include <algorithm>
#include <cstdint>

std::string EncodeBase64(const std::string& bytes, int lineLength) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    int column = 0;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << 16;
        if (n > 1) group |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8;
        if (n > 2) group |= static_cast<uint8_t>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += n > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out += n > 2 ? kAlphabet[group & 63] : '=';
        if (lineLength > 0 && (column += 4) >= lineLength) {
            out += '\n';
            column = 0;
        }
    }
    return out;
}
