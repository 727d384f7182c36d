#pragma once

#include "engine/core/KsString.h"

class TnPropAccessor;

// Replaces the "$name" placeholders of a stylesheet by declarations from the "styles." settings
// (`styles` is the sub-container under that prefix). "$name" is a run of a-z, '.' and '-' up to
// ';', '}', a blank, CR, LF, tab or the end; it becomes the value of key "name", and
// "$prefix.all" the values of every key starting with "prefix." (except ".day" / ".night" ones),
// each followed by "; ". A missing or empty value gives nothing; anything else is copied.
string8 ExpandStyleSheetPlaceholders(const string8& css, const TnPropAccessor& styles);
