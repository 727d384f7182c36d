#include "engine/core/CharProps.h"

namespace {
#include "engine/core/CharPropsTable.inc"
}  // namespace

uint16_t GetCharProps(unit16 unit) {
    uint32_t u = unit;
    if (u < 0x4A4) return kCharPropsLow[u];
    if (u >= 0x1F00 && u <= 0x1FFF) return kCharPropsGreekExtended[u - 0x1F00];
    if (u >= 0x2012 && u <= 0x2015) return CH_PROP_DASH | CH_PROP_SIGN;
    return 0;
}

void GetCharPropsRun(const unit16* units, int32_t count, uint16_t* props) {
    for (int32_t i = 0; i < count; ++i)
        props[i] = GetCharProps(units[i]);
}
