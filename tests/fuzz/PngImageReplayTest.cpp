#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzPngImageEntry
#include "fuzz/PngImageFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(PngImage, FuzzPngImageEntry)
