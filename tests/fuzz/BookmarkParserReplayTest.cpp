#include <gtest/gtest.h>

#include "tests/support/FuzzReplay.h"

#define LLVMFuzzerTestOneInput FuzzBookmarkParserEntry
#include "fuzz/BookmarkParserFuzz.cpp"
#undef LLVMFuzzerTestOneInput

QUILLET_FUZZ_REPLAY(BookmarkParser, FuzzBookmarkParserEntry)
