#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzFb2WriterEntry
#include "fuzz/Fb2WriterFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(Fb2Writer, FuzzFb2WriterEntry)
