#include "engine/css/CssStyleApply.h"

#include <algorithm>

#include "engine/css/CssStyleSheet.h"

namespace {

// Keyword values come from the parser's tables; anything outside the enum reads as inherit.
template <typename E>
E Keyword(const CssDeclaration::Item& item, E last) {
    int32_t v = item.count >= 1 ? item.operands[0] : 0;
    if (v < 0 || v > static_cast<int32_t>(last)) return E{};
    return static_cast<E>(v);
}

CssValue Length(const CssDeclaration::Item& item, int index = 0) {
    if (item.count < 2 * (index + 1)) return {CssValueType::Inherit, 0};
    return item.value(index);
}

}  // namespace

void ApplyDeclaration(const CssDeclaration& declaration, CssStyleRecord& s) {
    using C = CssPropertyCode;
    declaration.forEach([&s](const CssDeclaration::Item& item) {
        switch (item.code) {
            case C::Display:
                s.display = Keyword(item, CssDisplay::None);
                break;
            case C::WhiteSpace:
                s.whiteSpace = Keyword(item, CssWhiteSpace::Nowrap);
                break;
            case C::TextAlign:
                s.textAlign = Keyword(item, CssTextAlign::Justify);
                break;
            case C::TextAlignLast:
                s.textAlignLast = Keyword(item, CssTextAlign::Justify);
                break;
            case C::TextDecoration:
                s.textDecoration = Keyword(item, CssTextDecoration::Blink);
                break;
            case C::Hyphenate:
            case C::WebkitHyphens:
            case C::AdobeHyphenate:
            case C::AdobeTextLayout:
                s.hyphenate = Keyword(item, CssHyphenate::Auto);
                break;
            case C::Color:
                s.color = Length(item);
                break;
            case C::BackgroundColor:
                s.backgroundColor = Length(item);
                break;
            case C::VerticalAlign:
                s.verticalAlign = Keyword(item, CssVerticalAlign::TextBottom);
                break;
            case C::FontFamily:
                s.fontFamily = Keyword(item, CssFontFamily::Monospace);
                break;
            case C::FontNames: {
                // A count, then one byte of UTF-8 per operand.
                int n = item.count >= 1 ? std::clamp(item.operands[0], 0, item.count - 1) : 0;
                string8 names;
                names.Reserve(n);
                for (int i = 0; i < n; ++i)
                    names.Append(static_cast<char>(item.operands[1 + i]));
                s.fontName = names;
                break;
            }
            case C::FontSize:
                s.fontSize = Length(item);
                break;
            case C::FontStyle:
                s.fontStyle = Keyword(item, CssFontStyle::Oblique);
                break;
            case C::FontWeight:
                s.fontWeight = Keyword(item, CssFontWeight::W900);
                break;
            case C::TextIndent:
                s.textIndent = Length(item);
                break;
            case C::LineHeight:
                s.lineHeight = Length(item);
                break;
            case C::LetterSpacing:
                s.letterSpacing = Length(item);
                break;
            case C::Width:
                s.width = Length(item);
                break;
            case C::Height:
                s.height = Length(item);
                break;
            case C::MarginLeft:
                s.marginLeft = Length(item);
                break;
            case C::MarginRight:
                s.marginRight = Length(item);
                break;
            case C::MarginTop:
                s.marginTop = Length(item);
                break;
            case C::MarginBottom:
                s.marginBottom = Length(item);
                break;
            case C::Margin:  // top, right, bottom, left
                s.marginTop = Length(item, 0);
                s.marginRight = Length(item, 1);
                s.marginBottom = Length(item, 2);
                s.marginLeft = Length(item, 3);
                break;
            case C::PaddingLeft:
                s.paddingLeft = Length(item);
                break;
            case C::PaddingRight:
                s.paddingRight = Length(item);
                break;
            case C::PaddingTop:
                s.paddingTop = Length(item);
                break;
            case C::PaddingBottom:
                s.paddingBottom = Length(item);
                break;
            case C::Padding:
                s.paddingTop = Length(item, 0);
                s.paddingRight = Length(item, 1);
                s.paddingBottom = Length(item, 2);
                s.paddingLeft = Length(item, 3);
                break;
            case C::PageBreakBefore:
                s.pageBreakBefore = Keyword(item, CssPageBreak::Right);
                break;
            case C::PageBreakAfter:
                s.pageBreakAfter = Keyword(item, CssPageBreak::Right);
                break;
            case C::PageBreakInside:
                s.pageBreakInside = Keyword(item, CssPageBreak::Right);
                break;
            case C::ListStyleType:
                s.listStyleType = Keyword(item, CssListStyleType::None);
                break;
            case C::ListStylePosition:
                s.listStylePosition = Keyword(item, CssListStylePosition::Outside);
                break;
            case C::ListStyle:
            case C::ListStyleImage:
            case C::End:
                break;
        }
    });
    s.invalidateHash();
}

void ApplyStyleSheet(const CssStyleSheet& stylesheet, const ldomNode* element,
                     CssStyleRecord& style) {
    stylesheet.apply(element, [&style](const CssDeclaration& declaration) {
        ApplyDeclaration(declaration, style);
    });
}
