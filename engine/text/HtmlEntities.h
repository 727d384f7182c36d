#pragma once

#include "engine/core/Types.h"

// The character of a named entity (the HTML 4.01 set plus "apos"), compared case-sensitively;
// 0 for an unknown name. Names longer than 16 characters are never looked up.
unit16 LookupHtmlEntity(const unit16* name, int length);
