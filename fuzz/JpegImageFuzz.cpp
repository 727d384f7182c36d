// Arbitrary bytes through the JPEG decoder: header, full decode and a stretched decode.
#include "engine/graphics/KsJpegImageSource.h"
#include "fuzz/ImageFuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    return FuzzImageDecoder<KsJpegImageSource>(data, size);
}
