#include "engine/css/CssStyleRecord.h"

#include <tuple>

namespace {

// All compared and hashed fields; `s` may be const or not.
auto Tie(auto& s) {
    return std::tie(s.display, s.whiteSpace, s.textAlign, s.textAlignLast, s.textDecoration,
                    s.verticalAlign, s.fontFamily, s.fontName, s.fontSize, s.fontStyle,
                    s.fontWeight, s.textIndent, s.lineHeight, s.width, s.height, s.marginLeft,
                    s.marginRight, s.marginTop, s.marginBottom, s.paddingLeft, s.paddingRight,
                    s.paddingTop, s.paddingBottom, s.color, s.backgroundColor, s.letterSpacing,
                    s.pageBreakBefore, s.pageBreakAfter, s.pageBreakInside, s.hyphenate,
                    s.listStyleType, s.listStylePosition);
}

struct HashMixer {
    uint32_t h = 2166136261u;
    void add(uint32_t v) { h = (h ^ v) * 16777619u; }
    template <typename E>
    void operator()(E value) {
        add(static_cast<uint32_t>(value));
    }
    void operator()(const CssValue& v) {
        add(static_cast<uint32_t>(v.type));
        add(static_cast<uint32_t>(v.value));
    }
    void operator()(const string8& text) { add(static_cast<uint32_t>(text.Hash())); }
};

}  // namespace

CssStyleRecord::CssStyleRecord(const CssStyleRecord& other) : KsRefCounter() {
    Tie(*this) = Tie(other);
}

bool CssStyleRecord::operator==(const CssStyleRecord& other) const {
    return Tie(*this) == Tie(other);
}

uint32_t CssStyleRecord::hash() const {
    if (hash_ == 0) {
        HashMixer mixer;
        std::apply([&](const auto&... field) { (mixer(field), ...); }, Tie(*this));
        hash_ = mixer.h ? mixer.h : 1;
    }
    return hash_;
}
