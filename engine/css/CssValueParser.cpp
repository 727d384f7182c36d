#include "engine/css/CssValueParser.h"

#include <cstring>

#include "engine/css/CssTables.h"

namespace CssValueParser {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Trims and, outside quotes, turns runs of white space into one space; quote characters are
// dropped.
std::string CleanFontName(const std::string& raw) {
    std::string name;
    char quote = 0;
    bool pendingSpace = false;
    for (char c : raw) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                name += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            if (pendingSpace && !name.empty()) name += ' ';
            pendingSpace = false;
            quote = c;
        } else if (CssLexer::isSpace(c)) {
            pendingSpace = true;
        } else {
            if (pendingSpace && !name.empty()) name += ' ';
            pendingSpace = false;
            name += c;
        }
    }
    return name;
}

int GenericFamilyIndex(const std::string& name) {
    for (int i = 0; i < kCssGenericFamilies.count; ++i)
        if (name == kCssGenericFamilies.words[i]) return i;
    return -1;
}

}  // namespace

bool parseLength(CssLexer& lexer, CssValue& value) {
    if (lexer.matchWord("inherit")) {
        value = {CssValueType::Inherit, 0};
        return true;
    }
    size_t start = lexer.offset();
    CssNumber number;
    if (!lexer.readNumber(number)) return false;
    for (int i = 0; i < kCssUnitCount; ++i) {
        if (!lexer.matchWord(kCssUnits[i].name)) continue;
        CssValueType type = kCssUnits[i].type;
        bool plain = type == CssValueType::Px || type == CssValueType::Percent;
        value = {type, plain ? static_cast<int32_t>(number.integer) : number.fixedPoint()};
        return true;
    }
    if (number.integer == 0 && number.fraction == 0) {
        value = {CssValueType::Px, 0};
        return true;
    }
    lexer.setOffset(start);
    return false;
}

bool parseColor(CssLexer& lexer, CssValue& value) {
    if (lexer.matchWord("inherit")) {
        value = {CssValueType::Inherit, 0};
        return true;
    }
    if (lexer.matchWord("none")) {
        value = {CssValueType::Unspecified, 0};
        return true;
    }
    if (lexer.peek() == '#') {
        int digits = 0;
        while (digits < 7 && HexValue(lexer.peek(size_t(1 + digits))) >= 0)
            ++digits;
        int32_t rgb = 0;
        if (digits == 3) {
            for (int i = 0; i < 3; ++i)
                rgb = (rgb << 8) | (HexValue(lexer.peek(size_t(1 + i))) * 17);
        } else if (digits == 6) {
            for (int i = 0; i < 6; ++i)
                rgb = (rgb << 4) | HexValue(lexer.peek(size_t(1 + i)));
        } else {
            return false;
        }
        lexer.advance(size_t(1 + digits));
        value = {CssValueType::Color, rgb};
        return true;
    }
    for (int i = 0; i < kCssNamedColorCount; ++i) {
        if (lexer.matchWord(kCssNamedColors[i].name, CssCase::Insensitive)) {
            value = {CssValueType::Color, static_cast<int32_t>(kCssNamedColors[i].rgb)};
            return true;
        }
    }
    return false;
}

FontFamily parseFontFamily(CssLexer& lexer) {
    // The value ends at the first ";" or "}" (quoted or not, so that an unclosed quote cannot
    // swallow the rest of the stylesheet); it is split at commas outside quotes.
    std::vector<std::string> raw(1);
    char quote = 0;
    while (!lexer.atEnd()) {
        char c = lexer.peek();
        if (c == ';' || c == '}') break;
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ',') {
            raw.emplace_back();
            lexer.advance();
            continue;
        }
        raw.back() += c;
        lexer.advance();
    }
    FontFamily result;
    std::vector<std::string> names;
    for (const std::string& piece : raw) {
        std::string name = CleanFontName(piece);
        if (!name.empty()) names.push_back(name);
    }
    // The last generic family named wins; no generic name stays in the list.
    for (size_t i = names.size(); i-- > 0;) {
        int generic = GenericFamilyIndex(names[i]);
        if (generic < 0) continue;
        if (result.generic < 0) result.generic = generic;
        names.erase(names.begin() + long(i));
    }
    result.names = std::move(names);
    return result;
}

}  // namespace CssValueParser
