#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzJpegImageEntry
#include "fuzz/JpegImageFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(JpegImage, FuzzJpegImageEntry)
