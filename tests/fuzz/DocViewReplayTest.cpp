#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzDocViewEntry
#include "fuzz/DocViewFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(DocView, FuzzDocViewEntry)
