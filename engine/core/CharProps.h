#pragma once

#include <cstdint>

#include "engine/core/Types.h"

// Property bits of a UTF-16 unit, used by the text formatter, the hyphenator and the text import.
enum : uint16_t {
    CH_PROP_UPPER = 0x0001,       // upper-case letter (every ASCII letter carries it)
    CH_PROP_LOWER = 0x0002,       // lower-case letter
    CH_PROP_DIGIT = 0x0004,       // '0'-'9' (and ':' ';' '<' '=' '>' '?')
    CH_PROP_PUNCT = 0x0008,       // sentence punctuation
    CH_PROP_SPACE = 0x0010,       // space
    CH_PROP_VOWEL = 0x0040,       // vowel (with the case bit)
    CH_PROP_CONSONANT = 0x0080,   // consonant (with the case bit)
    CH_PROP_SIGN = 0x0100,        // other sign
    CH_PROP_ALPHA_SIGN = 0x0200,  // letter sign (Cyrillic hard and soft signs)
    CH_PROP_DASH = 0x0400,        // hyphen or dash
    CH_PROP_ALPHA = CH_PROP_UPPER | CH_PROP_LOWER,
};

uint16_t GetCharProps(unit16 unit);
void GetCharPropsRun(const unit16* units, int32_t count, uint16_t* props);
