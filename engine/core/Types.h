#pragma once

#include <cstddef>
#include <cstdint>

// Units of the engine's two string types: bytes and UTF-16 code units.
using unit8 = char;
using unit16 = char16_t;
