#pragma once

#include <cstdint>

// Per-character flags written by a font's text measuring (one byte per UTF-16 unit). The text
// formatter and hyphenation add their own bits to the same bytes.
enum : uint8_t {
    CHAR_IS_SPACE = 0x01,              // space, no-break space, carriage return, line feed
    CHAR_WRAP_AFTER = 0x02,            // a line may end after it (space, CR, LF, soft hyphen)
    CHAR_WRAP_AFTER_IF_NEEDED = 0x04,  // '-', U+2010 and the no-break space
    CHAR_HYPH_WRAP_AFTER = 0x08,       // a hyphenation point (set by the hyphenation method)
    CHAR_IS_EOL = 0x10,                // carriage return, line feed
};

constexpr char16_t kSoftHyphen = 0x00AD;
constexpr char16_t kNoBreakSpace = 0x00A0;

// The flags measuring gives a UTF-16 unit.
constexpr uint8_t MeasureFlagsOf(char16_t ch) {
    switch (ch) {
        case u' ':
            return CHAR_IS_SPACE | CHAR_WRAP_AFTER;
        case u'\r':
        case u'\n':
            return CHAR_IS_SPACE | CHAR_WRAP_AFTER | CHAR_IS_EOL;
        case kNoBreakSpace:
            return CHAR_IS_SPACE | CHAR_WRAP_AFTER_IF_NEEDED;
        case kSoftHyphen:
            return CHAR_WRAP_AFTER;
        case u'-':
        case 0x2010:
            return CHAR_WRAP_AFTER_IF_NEEDED;
        default:
            return 0;
    }
}
