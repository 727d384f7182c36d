#include "engine/layout/WordBounds.h"

#include "engine/core/CharProps.h"
#include "engine/graphics/CharFlags.h"

namespace {

bool IsLetter(unit16 unit) {
    return (GetCharProps(unit) & CH_PROP_ALPHA) != 0;
}

}  // namespace

WordBounds GetWordBounds(const unit16* text, int32_t length, int32_t position) {
    if (length < 0) length = 0;
    if (position > length) position = length;
    int32_t i = position - 1;
    if (i < 0) return {position, position};

    while (i > 0 && !IsLetter(text[i]))
        --i;
    int32_t start = 0;
    while (i > 0) {
        if (!IsLetter(text[i])) {
            start = i + 1;
            break;
        }
        --i;
    }
    int32_t end = start + 1;
    while (end < length && IsLetter(text[end]) && text[end - 1] != u' ' &&
           text[end - 1] != kSoftHyphen)
        ++end;
    return {start, end};
}
