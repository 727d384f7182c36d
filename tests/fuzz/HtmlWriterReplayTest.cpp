#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzHtmlWriterEntry
#include "fuzz/HtmlWriterFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(HtmlWriter, FuzzHtmlWriterEntry)
