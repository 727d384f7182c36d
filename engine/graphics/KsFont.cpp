#include "engine/graphics/KsFont.h"

#include <algorithm>

namespace {

constexpr int kTextWidthLimit = 2048;

}  // namespace

int KsFont::getTextWidth(const unit16* text, int len) {
    len = std::min(len, kTextWidthLimit);
    if (len <= 0) return 0;
    uint16_t widths[kTextWidthLimit];
    uint8_t flags[kTextWidthLimit];
    int fit = measureText(text, len, widths, flags, kTextWidthLimit, u' ', 0, KsHyphenate::Yes);
    return fit > 0 ? widths[fit - 1] : 0;
}

uint32_t KsFont::getHash() const {
    uint32_t hash = static_cast<uint32_t>(getTypeFace().Hash());
    for (int part : {getSize(), getWeight(), getItalic(), getFontFamily(), getHintingMode(),
                     getBitmapMode() ? 1 : 0, getKerning() ? 1 : 0})
        hash = hash * 31u + static_cast<uint32_t>(part);
    return hash;
}
