#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzCharsetEntry
#include "fuzz/CharsetFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(Charset, FuzzCharsetEntry)
