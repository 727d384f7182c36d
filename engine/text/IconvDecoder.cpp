// The one place of the text import that talks to iconv.
#include "engine/text/IconvDecoder.h"

#include <iconv.h>

namespace {

iconv_t Handle(void* handle) {
    return static_cast<iconv_t>(handle);
}

const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);

}  // namespace

KsIconvDecoder::KsIconvDecoder(const char* charset) : handle_(iconv_open("UTF-32LE", charset)) {}

KsIconvDecoder::~KsIconvDecoder() {
    if (IsOpen()) iconv_close(Handle(handle_));
}

bool KsIconvDecoder::IsOpen() const {
    return Handle(handle_) != kClosed;
}

int KsIconvDecoder::DecodeOne(const uint8_t* bytes, size_t length, uint32_t* out, int maxOut) {
    if (!IsOpen() || maxOut <= 0) return 0;
    iconv_t cd = Handle(handle_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state

    char input[8];
    if (length > sizeof(input)) return 0;
    for (size_t i = 0; i < length; ++i)
        input[i] = static_cast<char>(bytes[i]);
    char output[4 * 4];
    char* in = input;
    size_t inLeft = length;
    char* outPtr = output;
    size_t outLeft = sizeof(output);
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
        return 0;
    // Stateful converters may hold a character back until the end of the input.
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;

    const size_t produced = (sizeof(output) - outLeft) / 4;
    int count = 0;
    for (size_t i = 0; i < produced && count < maxOut; ++i) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(output + 4 * i);
        out[count++] = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    }
    return count;
}
