#pragma once

#include <cstdint>

// Value types of lengths and colours. Fixed-point units (em, ex, in, cm, mm, pt, pc) carry 8
// fraction bits; px and percent are plain integers; color is 0xRRGGBB.
enum class CssValueType : int32_t {
    Inherit = 0,
    Unspecified = 1,
    Px = 2,
    Em = 3,
    Ex = 4,
    In = 5,
    Cm = 6,
    Mm = 7,
    Pt = 8,
    Pc = 9,
    Percent = 10,
    Color = 11,
};

// Property codes: the 1-based position in the property name table. End closes a compiled
// declaration.
enum class CssPropertyCode : int32_t {
    Display = 1,
    WhiteSpace = 2,
    TextAlign = 3,
    TextAlignLast = 4,
    TextDecoration = 5,
    Hyphenate = 6,
    WebkitHyphens = 7,
    AdobeHyphenate = 8,
    AdobeTextLayout = 9,
    Color = 10,
    BackgroundColor = 11,
    VerticalAlign = 12,
    FontFamily = 13,
    FontNames = 14,
    FontSize = 15,
    FontStyle = 16,
    FontWeight = 17,
    TextIndent = 18,
    LineHeight = 19,
    LetterSpacing = 20,
    Width = 21,
    Height = 22,
    MarginLeft = 23,
    MarginRight = 24,
    MarginTop = 25,
    MarginBottom = 26,
    Margin = 27,
    PaddingLeft = 28,
    PaddingRight = 29,
    PaddingTop = 30,
    PaddingBottom = 31,
    Padding = 32,
    PageBreakBefore = 33,
    PageBreakAfter = 34,
    PageBreakInside = 35,
    ListStyle = 36,
    ListStyleType = 37,
    ListStylePosition = 38,
    ListStyleImage = 39,
    End = 40,
};

// Keyword values: the position in the property's keyword table, so 0 is always inherit.
enum class CssDisplay : uint8_t {
    Inherit,
    Inline,
    Block,
    ListItem,
    RunIn,
    Compact,
    Marker,
    Table,
    InlineTable,
    TableRowGroup,
    TableHeaderGroup,
    TableFooterGroup,
    TableRow,
    TableColumnGroup,
    TableColumn,
    TableCell,
    TableCaption,
    None,
};
enum class CssWhiteSpace : uint8_t { Inherit, Normal, Pre, Nowrap };
enum class CssTextAlign : uint8_t { Inherit, Left, Right, Center, Justify };
enum class CssTextDecoration : uint8_t { Inherit, None, Underline, Overline, LineThrough, Blink };
enum class CssHyphenate : uint8_t { Inherit, None, Auto };
enum class CssVerticalAlign : uint8_t {
    Inherit,
    Baseline,
    Sub,
    Super,
    Top,
    TextTop,
    Middle,
    Bottom,
    TextBottom,
};
enum class CssFontFamily : uint8_t { Inherit, Serif, SansSerif, Cursive, Fantasy, Monospace };
enum class CssFontStyle : uint8_t { Inherit, Normal, Italic, Oblique };
enum class CssFontWeight : uint8_t {
    Inherit,
    Normal,
    Bold,
    Bolder,
    Lighter,
    W100,
    W200,
    W300,
    W400,
    W500,
    W600,
    W700,
    W800,
    W900,
};
enum class CssPageBreak : uint8_t { Inherit, Auto, Always, Avoid, Left, Right };
enum class CssListStyleType : uint8_t {
    Inherit,
    Disc,
    Circle,
    Square,
    Decimal,
    LowerRoman,
    UpperRoman,
    LowerAlpha,
    UpperAlpha,
    None,
};
enum class CssListStylePosition : uint8_t { Inherit, Inside, Outside };
