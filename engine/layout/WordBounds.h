#pragma once

#include <cstdint>

#include "engine/core/Types.h"

struct WordBounds {
    int32_t start = 0;
    int32_t end = 0;  // exclusive
    bool operator==(const WordBounds&) const = default;
};

// The word around `position` in a run of `length` units, as handed to the hyphenation method:
// steps back over spaces and punctuation to the nearest letter before the position, back to the
// start of that word, and forward to its end. A letter is a unit with an upper- or lower-case
// property. text[0] is never tested, so a run that starts with a quotation mark directly followed
// by letters yields a word that includes the mark. Position 0 gives an empty word at 0.
WordBounds GetWordBounds(const unit16* text, int32_t length, int32_t position);
