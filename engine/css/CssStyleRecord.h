#pragma once

#include <cstdint>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/css/CssEnums.h"
#include "engine/css/CssValue.h"

// The computed style of an element, shared between all elements with equal styles through the
// document's style cache. Keyword fields use the CSS keyword tables (0 = inherit).
struct CssStyleRecord : public KsRefCounter {
    CssDisplay display = CssDisplay::Inherit;
    CssWhiteSpace whiteSpace = CssWhiteSpace::Inherit;
    CssTextAlign textAlign = CssTextAlign::Inherit;
    CssTextAlign textAlignLast = CssTextAlign::Inherit;
    CssTextDecoration textDecoration = CssTextDecoration::Inherit;
    CssVerticalAlign verticalAlign = CssVerticalAlign::Inherit;
    CssFontFamily fontFamily = CssFontFamily::Inherit;
    // Quoted, comma-separated specific face names.
    string8 fontName;
    CssValue fontSize{CssValueType::Inherit, 0};  // computed: (px, pixels)
    CssFontStyle fontStyle = CssFontStyle::Inherit;
    CssFontWeight fontWeight = CssFontWeight::Inherit;
    CssValue textIndent{CssValueType::Inherit, 0};
    CssValue lineHeight{CssValueType::Inherit, 0};
    CssValue width{CssValueType::Unspecified, 0};
    CssValue height{CssValueType::Unspecified, 0};
    CssValue marginLeft{CssValueType::Px, 0};
    CssValue marginRight{CssValueType::Px, 0};
    CssValue marginTop{CssValueType::Px, 0};
    CssValue marginBottom{CssValueType::Px, 0};
    CssValue paddingLeft{CssValueType::Px, 0};
    CssValue paddingRight{CssValueType::Px, 0};
    CssValue paddingTop{CssValueType::Px, 0};
    CssValue paddingBottom{CssValueType::Px, 0};
    CssValue color{CssValueType::Inherit, 0};
    CssValue backgroundColor{CssValueType::Unspecified, 0};
    CssValue letterSpacing{CssValueType::Unspecified, 0};
    CssPageBreak pageBreakBefore = CssPageBreak::Auto;
    CssPageBreak pageBreakAfter = CssPageBreak::Auto;
    CssPageBreak pageBreakInside = CssPageBreak::Auto;
    CssHyphenate hyphenate = CssHyphenate::Inherit;
    CssListStyleType listStyleType = CssListStyleType::Inherit;
    CssListStylePosition listStylePosition = CssListStylePosition::Inherit;

    CssStyleRecord() = default;
    // A copy starts unshared, with its own hash to compute.
    CssStyleRecord(const CssStyleRecord& other);
    CssStyleRecord& operator=(const CssStyleRecord&) = delete;

    // Every field but the reference count and the cached hash.
    bool operator==(const CssStyleRecord& other) const;
    // Computed once from every field and cached; changing a field afterwards needs
    // invalidateHash(). Equal records give equal hashes; never 0.
    uint32_t hash() const;
    void invalidateHash() { hash_ = 0; }

private:
    mutable uint32_t hash_ = 0;
};
