#pragma once

#include <cstdint>

#include "engine/core/KsString.h"

// A text node made writable again (modify); persisting writes it back into a text record.
struct ldomMutableText {
    uint32_t parentRef = 0;
    string8 text;  // UTF-8

    void clear() {
        parentRef = 0;
        text.Clear();
    }
};
