#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzTextImportEntry
#include "fuzz/TextImportFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(TextImport, FuzzTextImportEntry)
