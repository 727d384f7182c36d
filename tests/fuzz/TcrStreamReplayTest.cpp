#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzTcrStreamEntry
#include "fuzz/TcrStreamFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(TcrStream, FuzzTcrStreamEntry)
