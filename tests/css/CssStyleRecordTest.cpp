#include "engine/css/CssStyleRecord.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/css/CssDeclaration.h"
#include "engine/css/CssStyleApply.h"

namespace {

CssStyleRecord Applied(const char* block) {
    CssStyleRecord style;
    KsRef<CssDeclaration> declaration = CssDeclaration::parse(block, std::strlen(block));
    EXPECT_TRUE(declaration) << block;
    if (declaration) ApplyDeclaration(*declaration, style);
    return style;
}

TEST(CssStyleRecord, ApplyDeclaration) {
    CssStyleRecord s = Applied(
        "{ margin: 1em 2em; padding: 1px 2px 3px 4px; font-family: \"Times New Roman\", serif;"
        " text-indent: -2em; color: Red; -webkit-hyphens: none; page-break-inside: avoid;"
        " list-style-type: upper-roman; display: run-in; white-space: pre;"
        " vertical-align: super; font-weight: 700; font-style: oblique }");
    EXPECT_EQ(s.marginTop, (CssValue{CssValueType::Em, 256}));
    EXPECT_EQ(s.marginBottom, (CssValue{CssValueType::Em, 256}));
    EXPECT_EQ(s.marginLeft, (CssValue{CssValueType::Em, 512}));
    EXPECT_EQ(s.marginRight, (CssValue{CssValueType::Em, 512}));
    EXPECT_EQ(s.paddingTop, (CssValue{CssValueType::Px, 1}));
    EXPECT_EQ(s.paddingRight, (CssValue{CssValueType::Px, 2}));
    EXPECT_EQ(s.paddingBottom, (CssValue{CssValueType::Px, 3}));
    EXPECT_EQ(s.paddingLeft, (CssValue{CssValueType::Px, 4}));
    EXPECT_EQ(s.fontFamily, CssFontFamily::Serif);
    EXPECT_EQ(s.fontName, "\"Times New Roman\"");
    EXPECT_EQ(s.textIndent, (CssValue{CssValueType::Em, -512}));
    EXPECT_EQ(s.color, (CssValue{CssValueType::Color, 0xFF0000}));
    EXPECT_EQ(s.hyphenate, CssHyphenate::None);
    EXPECT_EQ(s.pageBreakInside, CssPageBreak::Avoid);
    EXPECT_EQ(s.listStyleType, CssListStyleType::UpperRoman);
    EXPECT_EQ(s.display, CssDisplay::RunIn);
    EXPECT_EQ(s.whiteSpace, CssWhiteSpace::Pre);
    EXPECT_EQ(s.verticalAlign, CssVerticalAlign::Super);
    EXPECT_EQ(s.fontWeight, CssFontWeight::W700);
    EXPECT_EQ(s.fontStyle, CssFontStyle::Oblique);
}

TEST(CssStyleRecord, EqualityAndHash) {
    CssStyleRecord a = Applied("{ text-align: center }");
    CssStyleRecord b = Applied("{ text-align: center }");
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.hash(), b.hash());
    EXPECT_NE(a.hash(), 0u);
    // Every field counts, the font names as text.
    CssStyleRecord c = Applied("{ text-align: center; page-break-after: always }");
    EXPECT_FALSE(a == c);
    EXPECT_NE(a.hash(), c.hash());
    CssStyleRecord d = Applied("{ text-align: center; font-family: \"A\" }");
    CssStyleRecord e = Applied("{ text-align: center; font-family: \"B\" }");
    EXPECT_FALSE(d == e);
    EXPECT_NE(d.hash(), e.hash());
    // A copy is equal, with its own reference count.
    KsRef<CssStyleRecord> shared = MakeRef<CssStyleRecord>(a);
    EXPECT_TRUE(*shared == a);
    EXPECT_EQ(shared->RefCount(), 1);
    // A later declaration overrides an earlier one.
    EXPECT_EQ(Applied("{ color: red; color: blue }").color,
              (CssValue{CssValueType::Color, 0x0000FF}));
}

}  // namespace
