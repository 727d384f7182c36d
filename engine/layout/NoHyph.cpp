#include "engine/layout/NoHyph.h"

bool NoHyph::hyphenate(const unit16* /*word*/, int32_t /*length*/, const uint16_t* /*widths*/,
                       uint8_t* /*flags*/, uint16_t /*hyphenWidth*/, uint16_t /*maxWidth*/) {
    return false;
}
