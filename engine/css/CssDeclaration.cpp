#include "engine/css/CssDeclaration.h"

#include <cstdio>

#include "engine/css/CssLexer.h"
#include "engine/css/CssParseReport.h"
#include "engine/css/CssTables.h"
#include "engine/css/CssValueParser.h"

namespace {

using Code = CssPropertyCode;

void PushValue(std::vector<int32_t>& out, const CssValue& value) {
    out.push_back(static_cast<int32_t>(value.type));
    out.push_back(value.value);
}

// Margin and padding: one to four lengths, expanded to top, right, bottom, left.
bool ParseBox(CssLexer& lexer, CssValue sides[4]) {
    CssValue values[4];
    int count = 0;
    while (count < 4) {
        if (count > 0) lexer.skipSpaces();
        if (!CssValueParser::parseLength(lexer, values[count])) break;
        ++count;
    }
    switch (count) {
        case 1:
            sides[0] = sides[1] = sides[2] = sides[3] = values[0];
            return true;
        case 2:
            sides[0] = sides[2] = values[0];
            sides[1] = sides[3] = values[1];
            return true;
        case 3:
            sides[0] = values[0];
            sides[1] = sides[3] = values[1];
            sides[2] = values[2];
            return true;
        case 4:
            for (int i = 0; i < 4; ++i)
                sides[i] = values[i];
            return true;
        default:
            return false;
    }
}

// Finds the property name at the position; 0 when none matches.
int MatchPropertyName(CssLexer& lexer) {
    for (int code = 1; code <= kCssPropertyCount; ++code)
        if (lexer.matchWord(CssPropertyInfoFor(code)->name)) return code;
    return 0;
}

// One "name: value"; appends its codes and returns true when a value was stored.
bool ParseOneDeclaration(CssLexer& lexer, std::vector<int32_t>& out) {
    int code = MatchPropertyName(lexer);
    if (!code) return false;
    lexer.skipSpaces();
    if (!lexer.skipChar(':')) return false;
    lexer.skipSpaces();
    const CssPropertyInfo& info = *CssPropertyInfoFor(code);
    switch (info.kind) {
        case CssValueKind::Keyword: {
            int index = lexer.matchTable(info.keywords);
            if (index < 0) return false;
            out.push_back(code);
            out.push_back(index);
            return true;
        }
        case CssValueKind::Hyphenate:
            // The position in the first of the three tables that knows the word, under code 6.
            for (const CssKeywordTable& table : kCssHyphenateTables) {
                int index = lexer.matchTable(table);
                if (index < 0) continue;
                out.push_back(int32_t(Code::Hyphenate));
                out.push_back(index);
                return true;
            }
            return false;
        case CssValueKind::Color: {
            CssValue value;
            if (!CssValueParser::parseColor(lexer, value)) return false;
            out.push_back(code);
            PushValue(out, value);
            return true;
        }
        case CssValueKind::Length: {
            CssValue value;
            if (!CssValueParser::parseLength(lexer, value)) return false;
            out.push_back(code);
            PushValue(out, value);
            return true;
        }
        case CssValueKind::TextIndent: {
            // A leading "-" and a trailing "hanging" both mean negative (together: still once).
            bool negative = lexer.skipChar('-');
            lexer.skipSpaces();
            CssValue value;
            if (!CssValueParser::parseLength(lexer, value)) return false;
            size_t after = lexer.offset();
            lexer.skipSpaces();
            if (lexer.matchWord("hanging"))
                negative = true;
            else
                lexer.setOffset(after);
            if (negative) value.value = -value.value;
            out.push_back(code);
            PushValue(out, value);
            return true;
        }
        case CssValueKind::Box: {
            CssValue sides[4];
            if (!ParseBox(lexer, sides)) return false;
            out.push_back(code);
            for (const CssValue& side : sides)
                PushValue(out, side);
            return true;
        }
        case CssValueKind::FontFamily: {
            CssValueParser::FontFamily family = CssValueParser::parseFontFamily(lexer);
            bool stored = false;
            if (family.generic >= 0) {
                out.push_back(int32_t(Code::FontFamily));
                out.push_back(family.generic);
                stored = true;
            }
            if (!family.names.empty()) {
                std::string joined;
                for (const std::string& name : family.names) {
                    if (!joined.empty()) joined += ", ";
                    joined += '"' + name + '"';
                }
                out.push_back(int32_t(Code::FontNames));
                out.push_back(static_cast<int32_t>(joined.size()));
                for (char c : joined)
                    out.push_back(static_cast<unsigned char>(c));
                stored = true;
            }
            return stored;
        }
        case CssValueKind::FontNames:
        case CssValueKind::Ignored:
            return false;
    }
    return false;
}

void AppendFixed(string8& out, int32_t value, const char* unit) {
    char buffer[48];
    if (value % 256 == 0) {
        std::snprintf(buffer, sizeof(buffer), "%d%s", value / 256, unit);
    } else {
        std::snprintf(buffer, sizeof(buffer), "%.4f", value / 256.0);
        // Trailing zeros say nothing.
        size_t length = std::char_traits<char>::length(buffer);
        while (length > 0 && buffer[length - 1] == '0')
            buffer[--length] = '\0';
        std::snprintf(buffer + length, sizeof(buffer) - length, "%s", unit);
    }
    out.Append(buffer);
}

void AppendValue(string8& out, const CssValue& value) {
    char buffer[32];
    switch (value.type) {
        case CssValueType::Inherit:
            out.Append("inherit");
            return;
        case CssValueType::Unspecified:
            out.Append("none");
            return;
        case CssValueType::Px:
            std::snprintf(buffer, sizeof(buffer), "%dpx", value.value);
            break;
        case CssValueType::Percent:
            std::snprintf(buffer, sizeof(buffer), "%d%%", value.value);
            break;
        case CssValueType::Color:
            std::snprintf(buffer, sizeof(buffer), "#%06x", unsigned(value.value) & 0xFFFFFFu);
            break;
        default: {
            static const char* const kUnits[] = {"",   "",   "",   "em", "ex",
                                                 "in", "cm", "mm", "pt", "pc"};
            int type = static_cast<int>(value.type);
            AppendFixed(out, value.value, type >= 3 && type <= 9 ? kUnits[type] : "?");
            return;
        }
    }
    out.Append(buffer);
}

}  // namespace

uint32_t CssDeclaration::hash() const {
    uint32_t d = 0;
    // Every int but the closing End.
    for (size_t i = 0; i + 1 < data_.size(); ++i)
        d = d * 31 + static_cast<uint32_t>(data_[i]);
    return d;
}

KsRef<CssDeclaration> CssDeclaration::parse(CssLexer& lexer, bool& ok, CssParseReport* report) {
    ok = false;
    lexer.skipSpaces();
    if (!lexer.skipChar('{')) return nullptr;
    std::vector<int32_t> out;
    for (;;) {
        lexer.skipSpaces();
        if (lexer.atEnd()) return nullptr;  // no closing brace
        if (lexer.skipChar('}')) break;
        if (lexer.skipChar(';')) continue;
        size_t start = lexer.offset();
        size_t before = out.size();
        if (!ParseOneDeclaration(lexer, out)) {
            out.resize(before);
            lexer.skipToDeclarationEnd();
            if (report)
                report->add(lexer.line(), "declaration", lexer.textAt(start),
                            lexer.offset() - start);
        } else {
            // Whatever follows the value ("!important" and the like) is ignored.
            lexer.skipToDeclarationEnd();
        }
        lexer.skipChar(';');
    }
    ok = true;
    if (out.empty()) return nullptr;
    out.push_back(int32_t(Code::End));
    return MakeRef<CssDeclaration>(std::move(out));
}

KsRef<CssDeclaration> CssDeclaration::parse(const char* text, size_t length,
                                            CssParseReport* report) {
    CssLexer lexer(text, length);
    bool ok = false;
    return parse(lexer, ok, report);
}

KsRef<CssDeclaration> CssDeclaration::parseStyleAttribute(const string8& text,
                                                          CssParseReport* report) {
    string8 block("{");
    block.Append(text);
    block.Append("}");
    return parse(block.CStr(), size_t(block.Length()), report);
}

int CssDeclaration::operandCount(size_t at) const {
    const CssPropertyInfo* info = CssPropertyInfoFor(data_[at]);
    if (!info) return -1;
    size_t left = data_.size() - at - 1;
    int count;
    switch (info->kind) {
        case CssValueKind::Keyword:
        case CssValueKind::Hyphenate:
        case CssValueKind::FontFamily:
            count = 1;
            break;
        case CssValueKind::Color:
        case CssValueKind::Length:
        case CssValueKind::TextIndent:
            count = 2;
            break;
        case CssValueKind::Box:
            count = 8;
            break;
        case CssValueKind::FontNames:
            if (left < 1 || data_[at + 1] < 0) return -1;
            count = 1 + data_[at + 1];
            break;
        default:
            return -1;
    }
    return size_t(count) <= left ? count : -1;
}

string8 CssDeclaration::toText() const {
    string8 out;
    forEach([&out](const Item& item) {
        const CssPropertyInfo& info = *CssPropertyInfoFor(item.code);
        if (!out.Empty()) out.Append("; ");
        out.Append(info.name);
        out.Append(": ");
        switch (info.kind) {
            case CssValueKind::Keyword:
            case CssValueKind::FontFamily: {
                const CssKeywordTable& table = info.keywords;
                int index = item.operands[0];
                out.Append(index >= 0 && index < table.count ? table.words[index] : "?");
                break;
            }
            case CssValueKind::Hyphenate: {
                const CssKeywordTable& table = kCssHyphenateTables[0];
                int index = item.operands[0];
                out.Append(index >= 0 && index < table.count ? table.words[index] : "?");
                break;
            }
            case CssValueKind::Box:
                for (int i = 0; i < 4; ++i) {
                    if (i) out.Append(" ");
                    AppendValue(out, item.value(i));
                }
                break;
            case CssValueKind::FontNames:
                for (int i = 1; i < item.count; ++i)
                    out.Append(static_cast<char>(item.operands[i]));
                break;
            default:
                AppendValue(out, item.value(0));
                break;
        }
    });
    return out;
}
