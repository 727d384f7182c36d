#pragma once

#include <cstdint>

#include "engine/css/CssEnums.h"

// Default styling facts of an element type.
struct ldomElementProps {
    bool allowText = false;  // text directly inside is kept
    bool isObject = false;   // a replaced object (an image)
    CssDisplay display = CssDisplay::Inherit;
    CssWhiteSpace whiteSpace = CssWhiteSpace::Inherit;
};

// Rows of the tables a document's name tables are loaded from; a row with id 0 ends a table.
struct ldomElementTypeEntry {
    uint16_t id;
    const char* name;
    ldomElementProps props;
};
struct ldomNameTypeEntry {
    uint16_t id;
    const char* name;
};
