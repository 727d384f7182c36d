#include "engine/css/CssComputedStyle.h"

#include <algorithm>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/css/CssDeclaration.h"
#include "engine/css/CssStyleApply.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/ldomNode.h"
#include "engine/graphics/KsFontManager.h"

namespace {

int32_t SaturatePixels(int64_t pixels) {
    return static_cast<int32_t>(std::clamp<int64_t>(pixels, 0, kMaxComputedFontPixels));
}

CssValue Px(int64_t pixels) {
    return {CssValueType::Px, SaturatePixels(pixels)};
}

// Fixed-point (8 fraction bits) absolute units in points, times 256.
int64_t PointsOf(const CssValue& v) {
    const int64_t x = v.value;
    switch (v.type) {
        case CssValueType::Pt:
            return x;
        case CssValueType::Pc:
            return x * 12;
        case CssValueType::In:
            return x * 72;
        case CssValueType::Cm:
            return x * 7200 / 254;
        case CssValueType::Mm:
            return x * 720 / 254;
        default:
            return 0;
    }
}

// First pass: relative to the parent's computed size and the reader's base size.
CssValue ResolveFontSize(const CssValue& declared, const CssValue& parent, int base) {
    const int64_t v = declared.value;
    const int64_t p = parent.value;
    switch (declared.type) {
        case CssValueType::Inherit:
            return parent;
        case CssValueType::Em:
            return Px(p * v / 256);
        case CssValueType::Ex:
            return Px(p * v / 512);  // an x-height taken as half an em
        case CssValueType::Pt:
        case CssValueType::Pc:
        case CssValueType::In:
        case CssValueType::Cm:
        case CssValueType::Mm:
            // 12pt is the reader's base size.
            return Px(PointsOf(declared) * base / 3072);
        case CssValueType::Percent:
            return {parent.type, SaturatePixels(p * v / 100)};
        case CssValueType::Px:
            // CSS pixels follow the reader's size: 16px (the CSS default) is the base size.
            return Px(v * base / 16);
        default:
            return Px(0);
    }
}

// Second pass: whatever is still relative becomes pixels.
CssValue FinishFontSize(const CssValue& size, const CssValue& parent) {
    switch (size.type) {
        case CssValueType::Px:
            return size;
        case CssValueType::Em:
        case CssValueType::Ex:
            return Px(int64_t(parent.value) * size.value / 256);
        case CssValueType::Percent:
            return Px(int64_t(parent.value) * size.value / 100);
        default:
            return parent;
    }
}

CssFontWeight ResolveWeight(CssFontWeight declared, CssFontWeight parent) {
    const int p = static_cast<int>(parent);
    switch (declared) {
        case CssFontWeight::Inherit:
            return parent;
        case CssFontWeight::Normal:
            return CssFontWeight::W400;
        case CssFontWeight::Bold:
            return CssFontWeight::W600;
        case CssFontWeight::Bolder:
            return p < 12 ? static_cast<CssFontWeight>(p + 2) : parent;
        case CssFontWeight::Lighter:
            return p > 6 ? static_cast<CssFontWeight>(p - 2) : parent;
        default:
            return declared;
    }
}

template <typename E>
void InheritKeyword(E& field, E parent) {
    if (field == E{}) field = parent;
}

void InheritValue(CssValue& field, const CssValue& parent) {
    if (field.type == CssValueType::Inherit) field = parent;
}

}  // namespace

KsRef<CssStyleRecord> ComputeStyle(const ldomNode* element, const ldomElementProps* props,
                                   const CssStyleSheet* stylesheet, StyleAttribute styleAttribute,
                                   const CssStyleRecord& parent, int baseFontSize) {
    KsRef<CssStyleRecord> style = MakeRef<CssStyleRecord>();
    CssStyleRecord& s = *style;
    if (props) {
        s.display = props->display;
        s.whiteSpace = props->whiteSpace;
    }
    if (stylesheet) ApplyStyleSheet(*stylesheet, element, s);
    if (styleAttribute == StyleAttribute::Apply && element) {
        const string16& text = element->attrValue("style");
        if (!text.Empty()) {
            KsRef<CssDeclaration> declaration =
                CssDeclaration::parseStyleAttribute(String16ToUtf8(text));
            if (declaration) ApplyDeclaration(*declaration, s);
        }
    }

    InheritKeyword(s.display, parent.display);
    InheritKeyword(s.whiteSpace, parent.whiteSpace);
    InheritKeyword(s.textAlign, parent.textAlign);
    InheritKeyword(s.textDecoration, parent.textDecoration);
    InheritKeyword(s.hyphenate, parent.hyphenate);
    InheritKeyword(s.listStyleType, parent.listStyleType);
    InheritKeyword(s.listStylePosition, parent.listStylePosition);
    InheritKeyword(s.pageBreakBefore, parent.pageBreakBefore);
    InheritKeyword(s.pageBreakAfter, parent.pageBreakAfter);
    InheritKeyword(s.pageBreakInside, parent.pageBreakInside);
    InheritKeyword(s.verticalAlign, parent.verticalAlign);
    InheritKeyword(s.fontStyle, parent.fontStyle);
    // Names come from the parent only when the element names no family of its own at all.
    if (s.fontFamily == CssFontFamily::Inherit && s.fontName.Empty()) s.fontName = parent.fontName;
    InheritKeyword(s.fontFamily, parent.fontFamily);
    InheritValue(s.textIndent, parent.textIndent);
    InheritValue(s.lineHeight, parent.lineHeight);
    InheritValue(s.color, parent.color);
    InheritValue(s.backgroundColor, parent.backgroundColor);
    InheritValue(s.letterSpacing, parent.letterSpacing);

    s.fontSize = ResolveFontSize(s.fontSize, parent.fontSize, baseFontSize);
    s.fontWeight = ResolveWeight(s.fontWeight, parent.fontWeight);
    s.fontSize = FinishFontSize(s.fontSize, parent.fontSize);
    if (s.fontSize.type == CssValueType::Px && s.fontSize.value < 1) s.fontSize.value = 1;
    s.invalidateHash();
    return style;
}

KsFontRequest FontRequestForStyle(const CssStyleRecord& style, int documentId) {
    KsFontRequest r;
    int64_t size = style.fontSize.value;
    if (style.fontSize.type != CssValueType::Px && style.fontSize.type != CssValueType::Percent)
        size /= 256;
    r.size = static_cast<int>(std::clamp<int64_t>(size, 8, 72));
    const int w = static_cast<int>(style.fontWeight);
    r.weight = (w >= 5 && w <= 13) ? 100 * (w - 4) : 400;
    r.weight = std::min(r.weight + GetGlobalFontWeightAdjustment(), 900);
    r.italic = style.fontStyle == CssFontStyle::Italic;
    r.family = static_cast<int>(style.fontFamily);
    r.typeface = style.fontName;
    r.documentId = documentId;
    return r;
}

KsRef<KsFont> FontForStyle(const CssStyleRecord& style, int documentId) {
    KsFontManager* manager = GetFontManager();
    if (!manager) return nullptr;
    KsFontRequest r = FontRequestForStyle(style, documentId);
    return manager->GetFont(r.size, r.weight, r.italic, r.family, r.typeface, r.documentId);
}
