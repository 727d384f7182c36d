#pragma once

#include "engine/core/Types.h"

// Small text tests the document writers share.

// Whether the units are all spaces, tabs, CRs and LFs (true for none).
inline bool IsBlankText(const unit16* text, int length) {
    for (int i = 0; i < length; ++i) {
        const unit16 c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

// Whether a terminated UTF-16 text equals an ASCII text (false for null).
inline bool EqualsAscii(const unit16* text, const char* ascii) {
    if (!text) return false;
    for (; *ascii; ++ascii, ++text)
        if (*text != unit16(uint8_t(*ascii))) return false;
    return *text == 0;
}
