#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzEmbeddedFontEntry
#include "fuzz/EmbeddedFontFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(EmbeddedFont, FuzzEmbeddedFontEntry)
