#include "engine/css/CssSelector.h"

#include <algorithm>

#include "engine/core/Limits.h"
#include "engine/core/StringConvert.h"
#include "engine/css/CssLexer.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomNode.h"
#include "engine/dom/lxmlDocBase.h"

namespace {

using Kind = CssSelectorRuleKind;

bool IsWordSpace(unit16 c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// True when `word` is one of the white-space separated words of `text`.
bool HasWord(const string16& text, const string16& word) {
    if (word.Empty()) return false;
    const unit16* s = text.CStr();
    int32_t length = text.Length();
    int32_t i = 0;
    while (i < length) {
        while (i < length && IsWordSpace(s[i]))
            ++i;
        int32_t start = i;
        while (i < length && !IsWordSpace(s[i]))
            ++i;
        if (i - start == word.Length() && std::equal(s + start, s + i, word.CStr())) return true;
    }
    return false;
}

bool StartsCompound(char c) {
    return c == '*' || c == '.' || c == '#' || c == '[' || CssLexer::isIdentStart(c);
}

// Reads an attribute condition's value: quoted (double or single quotes) or bare up to "]" or
// white space. False when missing, unterminated or longer than the limit.
bool ReadConditionValue(CssLexer& lexer, string8& value) {
    char quote = lexer.peek();
    size_t start = lexer.offset();
    if (quote == '"' || quote == '\'') {
        lexer.advance();
        size_t from = lexer.offset();
        while (!lexer.atEnd() && lexer.peek() != quote)
            lexer.advance();
        if (lexer.atEnd()) return false;
        value.Assign(lexer.textAt(from), static_cast<int32_t>(lexer.offset() - from));
        lexer.advance();
    } else {
        while (!lexer.atEnd() && lexer.peek() != ']' && !CssLexer::isSpace(lexer.peek()))
            lexer.advance();
        if (lexer.offset() == start) return false;
        value.Assign(lexer.textAt(start), static_cast<int32_t>(lexer.offset() - start));
    }
    return Utf8ToString16(value).Length() <= kMaxCssAttrValueLength;
}

}  // namespace

bool CssSelector::parseCondition(CssLexer& lexer, lxmlDocBase& document) {
    char c = lexer.peek();
    lexer.advance();
    string8 name;
    if (c == '.' || c == '#') {
        // Ids may start with a digit; take the identifier characters that follow.
        if (!CssLexer::isIdentChar(lexer.peek())) return false;
        size_t start = lexer.offset();
        while (!lexer.atEnd() && CssLexer::isIdentChar(lexer.peek()))
            lexer.advance();
        name.Assign(lexer.textAt(start), static_cast<int32_t>(lexer.offset() - start));
        string16 value = Utf8ToString16(name);
        if (c == '.') {
            value.ToLower();
            rules_.push_back({Kind::Class, 0, attr_class, value});
        } else {
            rules_.push_back({Kind::Id, 0, attr_id, value});
        }
        return true;
    }
    // "[" name [op value] "]"
    lexer.skipSpaces();
    if (!lexer.readIdentifier(name)) return false;
    uint16_t attrId = document.getAttrNameIndex(Utf8ToString16(name));
    lexer.skipSpaces();
    if (lexer.skipChar(']')) {
        rules_.push_back({Kind::AttrSet, 0, attrId, string16()});
        return true;
    }
    Kind kind;
    if (lexer.skipChar('=')) {
        kind = Kind::AttrEq;
    } else if (lexer.peek() == '~' && lexer.peek(1) == '=') {
        kind = Kind::AttrHas;
        lexer.advance(2);
    } else if (lexer.peek() == '|' && lexer.peek(1) == '=') {
        kind = Kind::AttrStarts;
        lexer.advance(2);
    } else {
        return false;
    }
    lexer.skipSpaces();
    string8 value;
    if (!ReadConditionValue(lexer, value)) return false;
    lexer.skipSpaces();
    if (!lexer.skipChar(']')) return false;
    rules_.push_back({kind, 0, attrId, Utf8ToString16(value)});
    return true;
}

bool CssSelector::parse(CssLexer& lexer, lxmlDocBase& document) {
    rules_.clear();
    elementId_ = 0;
    lexer.skipSpaces();
    // Conditions are collected in source order and reversed at the end: newest first, so they
    // are tested from the rightmost part leftwards.
    for (;;) {
        uint16_t id = 0;
        bool any = false;
        string8 name;
        if (lexer.skipChar('*')) {
            any = true;
        } else if (lexer.readIdentifier(name)) {
            id = document.getElementNameIndex(Utf8ToString16(name));
            any = true;
        }
        while (lexer.peek() == '[' || lexer.peek() == '.' || lexer.peek() == '#') {
            if (!parseCondition(lexer, document)) return false;
            any = true;
        }
        if (!any) return false;
        bool spaced = lexer.skipSpaces();
        char c = lexer.peek();
        if (c == ',' || c == '{' || lexer.atEnd()) {
            elementId_ = id;
            std::reverse(rules_.begin(), rules_.end());
            return true;
        }
        Kind kind;
        if (c == '>') {
            kind = Kind::Parent;
            lexer.advance();
            lexer.skipSpaces();
        } else if (c == '+') {
            kind = Kind::Predecessor;
            lexer.advance();
            lexer.skipSpaces();
        } else if (spaced && StartsCompound(c)) {
            kind = Kind::Ancestor;
        } else {
            return false;
        }
        rules_.push_back({kind, id, 0, string16()});
    }
}

bool CssSelector::checkCondition(const CssSelectorRule& rule, const ldomNode* node) {
    uint32_t index = node->attrValueIndex(kAnyNamespace, rule.attrId);
    if (index == kNoAttrValue) return false;
    if (rule.kind == Kind::AttrSet) return true;
    const string16& value = node->attrValue(kAnyNamespace, rule.attrId);
    switch (rule.kind) {
        case Kind::AttrEq:
        case Kind::Id:
            return value == rule.value;
        case Kind::AttrHas:
            return HasWord(value, rule.value);
        case Kind::AttrStarts:
            return value.StartsWith(rule.value);
        case Kind::Class: {
            // Any of the element's classes: class="note wide" matches .note and .wide.
            string16 lowered(value);
            lowered.ToLower();
            return HasWord(lowered, rule.value);
        }
        default:
            return false;
    }
}

const ldomNode* CssSelector::matchSegment(const ldomNode* node, size_t first, size_t last) const {
    for (size_t i = first; i < last && node; ++i) {
        const CssSelectorRule& rule = rules_[i];
        switch (rule.kind) {
            case Kind::Parent: {
                const ldomNode* p = node->parent();
                if (!p || p->nameId() == 0 || (rule.elementId && p->nameId() != rule.elementId))
                    return nullptr;
                node = p;
                break;
            }
            case Kind::Predecessor: {
                const ldomNode* p = node->parent();
                int index = p ? p->childIndexOf(node->getNodeRef()) : -1;
                const ldomNode* before = index > 0 ? p->childAt(index - 1) : nullptr;
                // A text node in between breaks adjacency.
                if (!before || !before->isElement() ||
                    (rule.elementId && before->nameId() != rule.elementId))
                    return nullptr;
                node = before;
                break;
            }
            default:
                if (!checkCondition(rule, node)) return nullptr;
                break;
        }
    }
    return node;
}

bool CssSelector::matchFrom(const ldomNode* node, size_t first) const {
    size_t i = first;
    while (i < rules_.size()) {
        // The rules up to the next descendant step form a rigid segment.
        size_t next = i;
        while (next < rules_.size() && rules_[next].kind != Kind::Ancestor)
            ++next;
        node = matchSegment(node, i, next);
        if (!node) return false;
        if (next == rules_.size()) return true;
        // Descendant step: the nearest ancestor from which the following segment holds. Taking
        // the nearest is enough; any farther match leaves fewer ancestors for the rest.
        const CssSelectorRule& step = rules_[next];
        size_t segmentEnd = next + 1;
        while (segmentEnd < rules_.size() && rules_[segmentEnd].kind != Kind::Ancestor)
            ++segmentEnd;
        const ldomNode* reached = nullptr;
        for (const ldomNode* a = node->parent(); a && a->nameId() != 0; a = a->parent()) {
            if (step.elementId && a->nameId() != step.elementId) continue;
            reached = matchSegment(a, next + 1, segmentEnd);
            if (reached) break;
        }
        if (!reached) return false;
        node = reached;
        i = segmentEnd;
    }
    return true;
}

bool CssSelector::check(const ldomNode* element) const {
    if (!element || !element->isElement()) return false;
    if (elementId_ && element->nameId() != elementId_) return false;
    return matchFrom(element, 0);
}

uint32_t CssSelector::rulesHash() const {
    uint32_t c = 0;
    for (const CssSelectorRule& rule : rules_)
        c = (c + rule.elementId + rule.attrId + uint32_t(rule.kind) * 31) * 31 +
            static_cast<uint32_t>(rule.value.Hash());
    return c;
}

string8 CssSelector::toText(const lxmlDocBase& document) const {
    auto elementName = [&document](uint16_t id, bool hasConditions) {
        if (id) return String16ToUtf8(document.getElementName(id));
        return string8(hasConditions ? "" : "*");
    };
    string8 out;
    string8 conditions;
    // From the leftmost part (the end of the list) to the rightmost.
    for (size_t i = rules_.size(); i-- > 0;) {
        const CssSelectorRule& rule = rules_[i];
        string8 value = String16ToUtf8(rule.value);
        string8 attr = String16ToUtf8(document.getAttrName(rule.attrId));
        switch (rule.kind) {
            case Kind::Parent:
            case Kind::Ancestor:
            case Kind::Predecessor:
                out.Append(elementName(rule.elementId, !conditions.Empty()));
                out.Append(conditions);
                out.Append(rule.kind == Kind::Parent     ? " > "
                           : rule.kind == Kind::Ancestor ? " "
                                                         : " + ");
                conditions.Clear();
                break;
            case Kind::AttrSet:
                conditions.Append("[").Append(attr).Append("]");
                break;
            case Kind::AttrEq:
            case Kind::AttrHas:
            case Kind::AttrStarts:
                conditions.Append("[").Append(attr);
                conditions.Append(rule.kind == Kind::AttrEq    ? "=\""
                                  : rule.kind == Kind::AttrHas ? "~=\""
                                                               : "|=\"");
                conditions.Append(value).Append("\"]");
                break;
            case Kind::Id:
                conditions.Append("#").Append(value);
                break;
            case Kind::Class:
                conditions.Append(".").Append(value);
                break;
        }
    }
    out.Append(elementName(elementId_, !conditions.Empty()));
    out.Append(conditions);
    return out;
}
