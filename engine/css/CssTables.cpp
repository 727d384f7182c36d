#include "engine/css/CssTables.h"

namespace {

#define CSS_TABLE(name, ...)                         \
    const char* const name##Words[] = {__VA_ARGS__}; \
    const CssKeywordTable name = {name##Words, int(sizeof(name##Words) / sizeof(name##Words[0]))}

CSS_TABLE(kDisplay, "inherit", "inline", "block", "list-item", "run-in", "compact", "marker",
          "table", "inline-table", "table-row-group", "table-header-group", "table-footer-group",
          "table-row", "table-column-group", "table-column", "table-cell", "table-caption", "none");
CSS_TABLE(kWhiteSpace, "inherit", "normal", "pre", "nowrap");
CSS_TABLE(kTextAlign, "inherit", "left", "right", "center", "justify");
CSS_TABLE(kTextDecoration, "inherit", "none", "underline", "overline", "line-through", "blink");
CSS_TABLE(kHyphenate, "inherit", "none", "auto");
CSS_TABLE(kHyphenateQuality, "inherit", "optimizeSpeed", "optimizeQuality");
CSS_TABLE(kHyphenateExplicit, "inherit", "none", "explicit");
CSS_TABLE(kVerticalAlign, "inherit", "baseline", "sub", "super", "top", "text-top", "middle",
          "bottom", "text-bottom");
CSS_TABLE(kFontFamily, "inherit", "serif", "sans-serif", "cursive", "fantasy", "monospace");
CSS_TABLE(kFontStyle, "inherit", "normal", "italic", "oblique");
CSS_TABLE(kFontWeight, "inherit", "normal", "bold", "bolder", "lighter", "100", "200", "300", "400",
          "500", "600", "700", "800", "900");
CSS_TABLE(kPageBreak, "inherit", "auto", "always", "avoid", "left", "right");
CSS_TABLE(kListStyleType, "inherit", "disc", "circle", "square", "decimal", "lower-roman",
          "upper-roman", "lower-alpha", "upper-alpha", "none");
CSS_TABLE(kListStylePosition, "inherit", "inside", "outside");

#undef CSS_TABLE

constexpr CssKeywordTable kNone = {nullptr, 0};
using K = CssValueKind;

// Indexed by property code - 1.
const CssPropertyInfo kProperties[kCssPropertyCount] = {
    {"display", K::Keyword, kDisplay},
    {"white-space", K::Keyword, kWhiteSpace},
    {"text-align", K::Keyword, kTextAlign},
    {"text-align-last", K::Keyword, kTextAlign},
    {"text-decoration", K::Keyword, kTextDecoration},
    {"hyphenate", K::Hyphenate, kNone},
    {"-webkit-hyphens", K::Hyphenate, kNone},
    {"adobe-hyphenate", K::Hyphenate, kNone},
    {"adobe-text-layout", K::Hyphenate, kNone},
    {"color", K::Color, kNone},
    {"background-color", K::Color, kNone},
    {"vertical-align", K::Keyword, kVerticalAlign},
    {"font-family", K::FontFamily, kFontFamily},
    {"$dummy-for-font-names$", K::FontNames, kNone},
    {"font-size", K::Length, kNone},
    {"font-style", K::Keyword, kFontStyle},
    {"font-weight", K::Keyword, kFontWeight},
    {"text-indent", K::TextIndent, kNone},
    {"line-height", K::Length, kNone},
    {"letter-spacing", K::Length, kNone},
    {"width", K::Length, kNone},
    {"height", K::Length, kNone},
    {"margin-left", K::Length, kNone},
    {"margin-right", K::Length, kNone},
    {"margin-top", K::Length, kNone},
    {"margin-bottom", K::Length, kNone},
    {"margin", K::Box, kNone},
    {"padding-left", K::Length, kNone},
    {"padding-right", K::Length, kNone},
    {"padding-top", K::Length, kNone},
    {"padding-bottom", K::Length, kNone},
    {"padding", K::Box, kNone},
    {"page-break-before", K::Keyword, kPageBreak},
    {"page-break-after", K::Keyword, kPageBreak},
    {"page-break-inside", K::Keyword, kPageBreak},
    {"list-style", K::Ignored, kNone},
    {"list-style-type", K::Keyword, kListStyleType},
    {"list-style-position", K::Keyword, kListStylePosition},
    {"list-style-image", K::Ignored, kNone},
};

}  // namespace

const CssPropertyInfo* CssPropertyInfoFor(CssPropertyCode code) {
    int index = static_cast<int>(code) - 1;
    return index >= 0 && index < kCssPropertyCount ? &kProperties[index] : nullptr;
}

const CssKeywordTable kCssHyphenateTables[3] = {kHyphenate, kHyphenateQuality, kHyphenateExplicit};
const CssKeywordTable kCssGenericFamilies = kFontFamily;

const CssNamedColor kCssNamedColors[] = {
    {"black", 0x000000},  {"green", 0x008000}, {"silver", 0xC0C0C0},  {"lime", 0x00FF00},
    {"gray", 0x808080},   {"olive", 0x808000}, {"white", 0xFFFFFF},   {"yellow", 0xFFFF00},
    {"maroon", 0x800000}, {"navy", 0x000080},  {"red", 0xFF0000},     {"blue", 0x0000FF},
    {"purple", 0x800080}, {"teal", 0x008080},  {"fuchsia", 0xFF00FF}, {"aqua", 0x00FFFF},
};
const int kCssNamedColorCount = int(sizeof(kCssNamedColors) / sizeof(kCssNamedColors[0]));

const CssUnit kCssUnits[] = {
    {"em", CssValueType::Em}, {"pt", CssValueType::Pt}, {"ex", CssValueType::Ex},
    {"px", CssValueType::Px}, {"in", CssValueType::In}, {"cm", CssValueType::Cm},
    {"mm", CssValueType::Mm}, {"pc", CssValueType::Pc}, {"%", CssValueType::Percent},
};
const int kCssUnitCount = int(sizeof(kCssUnits) / sizeof(kCssUnits[0]));
