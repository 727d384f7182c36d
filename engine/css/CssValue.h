#pragma once

#include <cstdint>

#include "engine/css/CssEnums.h"

// A length or colour: (type, value). See CssValueType for the value's unit.
struct CssValue {
    CssValueType type = CssValueType::Inherit;
    int32_t value = 0;
    bool operator==(const CssValue&) const = default;
};
