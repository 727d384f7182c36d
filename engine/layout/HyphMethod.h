#pragma once

#include <cstdint>

#include "engine/core/Types.h"

// A way of finding the places inside a word after which a line may end with a hyphen. The method
// only adds CHAR_HYPH_WRAP_AFTER to `flags`; it never clears a flag.
class HyphMethod {
public:
    // `widths[i]` is the cumulative width in pixels from the caller's origin (line or word start)
    // up to and including word[i]; `maxWidth` is the largest cumulative width that the text before
    // a hyphen plus the hyphen may reach. Returns whether the method examined the word.
    virtual bool hyphenate(const unit16* word, int32_t length, const uint16_t* widths,
                           uint8_t* flags, uint16_t hyphenWidth, uint16_t maxWidth) = 0;
    virtual ~HyphMethod() = default;
};

// The method in force for the whole process. It is read at every call; the engine sets it once,
// to the method that finds no places, and never replaces it.
HyphMethod& CurrentHyphMethod();
