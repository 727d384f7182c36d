#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzHtmlParserEntry
#include "fuzz/HtmlParserFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(HtmlParser, FuzzHtmlParserEntry)
