#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzBase64NodeStreamEntry
#include "fuzz/Base64NodeStreamFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(Base64NodeStream, FuzzBase64NodeStreamEntry)
