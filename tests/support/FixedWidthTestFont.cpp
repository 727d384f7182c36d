#include "tests/support/FixedWidthTestFont.h"

bool FixedWidthTestFont::getGlyphInfo(uint32_t, KsGlyphInfo* info, uint32_t) {
    *info = KsGlyphInfo{advance_, height_, 0, getBaseline(), advance_};
    return true;
}

int FixedWidthTestFont::measureText(const unit16* text, int len, uint16_t* widths, uint8_t* flags,
                                    int maxWidth, unit16, int letterSpacing, KsHyphenate) {
    int total = 0;
    int fitting = 0;
    for (int i = 0; i < len; ++i) {
        if (total + advance_ + letterSpacing <= maxWidth) {
            total += advance_ + letterSpacing;
            fitting = i + 1;
        }
        widths[i] = static_cast<uint16_t>(total > 0xFFFF ? 0xFFFF : total);
        flags[i] = MeasureFlagsOf(text[i]);
    }
    return fitting;
}

void FixedWidthTestFont::measureRun(const unit16* text, int len, int32_t* widths, uint8_t* flags,
                                    int32_t startTotal, unit16, int letterSpacing) {
    int32_t total = startTotal;
    for (int i = 0; i < len; ++i) {
        total += advance_ + letterSpacing;
        widths[i] = total;
        flags[i] = MeasureFlagsOf(text[i]);
    }
}
