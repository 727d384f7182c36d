#pragma once

#include <string>
#include <vector>

#include "engine/css/CssLexer.h"
#include "engine/css/CssValue.h"

// The value syntax of declarations. Each function consumes what it understood and returns
// true, or returns false with the lexer where it was.
namespace CssValueParser {

// "inherit", or a number with a unit ("em", "pt", "ex", "px", "in", "cm", "mm", "pc", "%");
// without a unit only zero is accepted, as (px, 0).
bool parseLength(CssLexer& lexer, CssValue& value);
// "inherit", "none", "#" with 3 or 6 hex digits, or a colour name (any case).
bool parseColor(CssLexer& lexer, CssValue& value);

// A font-family value (the text up to ";" or "}"): the generic family found last (-1 when
// none) and the other names in order.
struct FontFamily {
    int generic = -1;
    std::vector<std::string> names;
};
FontFamily parseFontFamily(CssLexer& lexer);

}  // namespace CssValueParser
