#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzTreeOpsEntry
#include "fuzz/TreeOpsFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(TreeOps, FuzzTreeOpsEntry)
