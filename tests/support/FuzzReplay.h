#pragma once

#include <cstddef>
#include <cstdint>

// Replays every checked-in input of a fuzz target (fuzz/regressions/<name>/ and fuzz/seeds/<name>/)
// through the target's entry point; returns the number of inputs run. A target signals a fault by
// crashing or aborting, which fails the test.
int ReplayFuzzInputs(const char* name, int (*entry)(const uint8_t* data, size_t size));

// Use in tests/fuzz/<Name>ReplayTest.cpp:
//   #define LLVMFuzzerTestOneInput Fuzz<Name>Entry
//   #include "fuzz/<Name>Fuzz.cpp"
//   #undef LLVMFuzzerTestOneInput
//   QUILLET_FUZZ_REPLAY(<Name>, Fuzz<Name>Entry)
#define QUILLET_FUZZ_REPLAY(name, entry)                              \
    TEST(FuzzReplay, name) {                                          \
        int inputs = ReplayFuzzInputs(#name, entry);                  \
        RecordProperty("inputs", inputs);                             \
        /* An empty input must always be safe too. */                 \
        EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(""), 0), 0); \
    }
