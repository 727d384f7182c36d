#pragma once

#include "engine/core/KsString.h"

// Process-wide caches of strings made from static literals, keyed by the literal's address:
// repeated conversions of tag names, attribute names and property keys become a table lookup.
// Only pass string literals (or other storage that lives for the whole process).
const string8& Cs8(const char* literal);
// The literal decoded from UTF-8.
const string16& Cs16(const char* literal);
