#pragma once

#include <cstdint>

#include "engine/core/KsString.h"

// Alignment class of a line against the margins of the whole text.
enum KsLineAlign : int {
    LINE_UNCLASSIFIED = 0,
    LINE_EMPTY = 1,     // blank line
    LINE_LEFT = 2,      // starts at the left margin
    LINE_INDENTED = 3,  // starts right of the left margin
    LINE_CENTERED = 4,
    LINE_RIGHT = 5,  // ends at the right margin or leans to the right
    LINE_FULL = 6,   // runs from the left margin to the right margin
};

// One line of a plain text as the import holds it.
struct KsTextLine {
    int flags = 0;  // the line flags of ReadLine (KS_LINE_END, KS_LINE_HEADING)
    string16 text;  // without its line break; leading and trailing blanks kept
    // Column of the first character that is not a space or tab, and the column after the last
    // one; both 0 for a blank line. A tab moves to the next multiple of 8. (Columns are kept in
    // 32 bits: a line of tabs reaches beyond 16 bits.)
    int32_t firstCol = 0;
    int32_t endCol = 0;
    int align = LINE_UNCLASSIFIED;

    bool IsBlank() const { return firstCol >= endCol; }
    // Sets firstCol and endCol from the text.
    void Measure();
};
