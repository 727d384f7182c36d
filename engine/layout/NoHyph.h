#pragma once

#include "engine/layout/HyphMethod.h"

// The method that finds no hyphenation points: lines break only at spaces, soft hyphens and the
// other wrap points that measuring marks.
class NoHyph final : public HyphMethod {
public:
    bool hyphenate(const unit16* word, int32_t length, const uint16_t* widths, uint8_t* flags,
                   uint16_t hyphenWidth, uint16_t maxWidth) override;
};
