#include "engine/css/CssStyleSheet.h"

#include <algorithm>

#include "engine/css/CssLexer.h"
#include "engine/css/CssParseReport.h"
#include "engine/dom/lxmlDocBase.h"

void CssStyleSheet::add(KsRef<CssSelector> selector) {
    uint16_t id = selector->elementId();
    if (id >= lists_.size()) lists_.resize(size_t(id) + 1);
    selector->setSourceIndex(selectorCount_++);
    lists_[id].push_back(std::move(selector));
}

void CssStyleSheet::skipAtRule(CssLexer& lexer, CssParseReport* report) {
    int line = report ? lexer.line() : 0;
    // "@charset ...;", "@import ...;" out of place, "@media ... { ... }", "@font-face { ... }":
    // the statement or the whole block, braces balanced, so no real rule is swallowed.
    size_t start = lexer.offset();
    lexer.advance();
    lexer.skipStatement();
    if (lexer.peek() == '{') lexer.skipBlock();
    if (report) report->add(line, "at-rule", lexer.textAt(start), lexer.offset() - start);
}

bool CssStyleSheet::parse(const char* text, size_t length, CssParseReport* report) {
    if (!document_ || !text) return false;
    CssLexer lexer(text, length);
    bool stored = false;
    for (;;) {
        lexer.skipSpaces();
        if (lexer.atEnd()) break;
        size_t start = lexer.offset();
        int line = report ? lexer.line() : 0;
        if (lexer.peek() == '@') {
            skipAtRule(lexer, report);
            continue;
        }
        std::vector<KsRef<CssSelector>> selectors;
        bool understood = true;
        for (;;) {
            KsRef<CssSelector> selector = MakeRef<CssSelector>();
            if (!selector->parse(lexer, *document_)) {
                understood = false;
                break;
            }
            selectors.push_back(selector);
            lexer.skipSpaces();
            if (!lexer.skipChar(',')) break;
        }
        if (!understood || lexer.peek() != '{') {
            // A broken selector drops its rule: on to just after the rule's block.
            lexer.skipBlock();
            if (report) report->add(line, "rule", lexer.textAt(start), lexer.offset() - start);
            continue;
        }
        bool blockOk = false;
        KsRef<CssDeclaration> declaration = CssDeclaration::parse(lexer, blockOk, report);
        if (!blockOk) {
            lexer.skipBlock();
            if (report) report->add(line, "rule", lexer.textAt(start), lexer.offset() - start);
            continue;
        }
        for (KsRef<CssSelector>& selector : selectors) {
            selector->setDeclaration(declaration);
            add(std::move(selector));
            stored = true;
        }
    }
    return stored;
}

std::vector<const CssSelector*> CssStyleSheet::matchingSelectors(const ldomNode* element) const {
    std::vector<const CssSelector*> found;
    if (!element || !element->isElement()) return found;
    auto collect = [&found, element](const std::vector<KsRef<CssSelector>>& list) {
        for (const KsRef<CssSelector>& selector : list)
            if (selector->declaration() && selector->check(element))
                found.push_back(selector.Get());
    };
    uint16_t id = element->nameId();
    if (id != 0 && id < lists_.size()) collect(lists_[id]);
    if (!lists_.empty()) collect(lists_[0]);
    return found;
}

uint32_t CssStyleSheet::hash() const {
    uint32_t h = 0;
    for (size_t i = 0; i < lists_.size(); ++i) {
        const std::vector<KsRef<CssSelector>>& list = lists_[i];
        if (list.empty()) continue;
        // A selector's hash takes in the hash of the rest of its list.
        uint32_t next = 0;
        for (size_t j = list.size(); j-- > 0;) {
            const CssSelector& selector = *list[j];
            uint32_t c = selector.rulesHash();
            next = selector.declaration() ? selector.declaration()->hash() + next * 31 + c * 961
                                          : next + c * 31;
        }
        h = uint32_t(i) * 15324 + h * 31 + next;
    }
    return h;
}

void CssStyleSheet::clear() {
    lists_.clear();
    selectorCount_ = 0;
}

std::vector<const CssSelector*> CssStyleSheet::selectorsInSourceOrder() const {
    std::vector<const CssSelector*> all;
    for (const auto& list : lists_)
        for (const KsRef<CssSelector>& selector : list)
            all.push_back(selector.Get());
    std::sort(all.begin(), all.end(), [](const CssSelector* a, const CssSelector* b) {
        return a->sourceIndex() < b->sourceIndex();
    });
    return all;
}

string8 CssStyleSheet::toText() const {
    string8 out;
    for (const CssSelector* selector : selectorsInSourceOrder()) {
        out.Append(selector->toText(*document_));
        out.Append(" { ");
        if (selector->declaration()) {
            out.Append(selector->declaration()->toText());
            out.Append(" ");
        }
        out.Append("}\n");
    }
    return out;
}
