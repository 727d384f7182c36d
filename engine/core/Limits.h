#pragma once

#include <cstddef>
#include <cstdint>

// Hard limits against hostile input, kept together so that they are easy to review and so that the
// fuzz targets can reach every one of them. Each subsystem adds its own section.

// --- Streams -------------------------------------------------------------------------------
// Largest region a stream buffer copies into memory.
constexpr uint32_t kMaxStreamBufferBytes = 256u * 1024 * 1024;
// Largest memory stream (its positions are 32-bit and files of 2 GiB are refused).
constexpr uint32_t kMaxMemoryStreamBytes = 0x7FFFFFFFu;

// --- Property files ------------------------------------------------------------------------
// Largest property file read into memory.
constexpr uint32_t kMaxPropertyFileBytes = 64u * 1024 * 1024;
