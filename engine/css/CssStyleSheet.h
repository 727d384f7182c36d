#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/css/CssDeclaration.h"
#include "engine/css/CssSelector.h"
#include "engine/dom/ldomNode.h"

class lxmlDocBase;
struct CssParseReport;

// A document's stylesheet: selector lists indexed by element name id; list 0 holds the
// selectors without an element name. Each list keeps its selectors in source order. Copies are
// cheap (selectors are shared, never changed once stored) and are what the document saves and
// restores around the stylesheets of merged fragments.
class CssStyleSheet {
public:
    explicit CssStyleSheet(lxmlDocBase* document) : document_(document) {}

    // Adds every rule of the text; true when any selector was stored. At-rules other than
    // "@import" at the start (see CssImportLoader) are stepped over whole.
    bool parse(const char* text, size_t length, CssParseReport* report = nullptr);
    bool parse(const string8& text, CssParseReport* report = nullptr) {
        return parse(text.CStr(), size_t(text.Length()), report);
    }

    // Calls f(const CssDeclaration&) for each selector that matches the element: first those of
    // the element's own list, then those of list 0, each in source order. Later calls override
    // earlier ones field by field.
    template <typename F>
    void apply(const ldomNode* element, F&& f) const {
        if (!element || !element->isElement()) return;
        uint16_t id = element->nameId();
        if (id != 0 && id < lists_.size()) applyList(lists_[id], element, f);
        if (!lists_.empty()) applyList(lists_[0], element, f);
    }
    // The matching selectors in the order apply() would use them.
    std::vector<const CssSelector*> matchingSelectors(const ldomNode* element) const;

    // Over the lists in index order: h = i * 15324 + h * 31 + hash of list i, empty lists
    // skipped.
    uint32_t hash() const;

    void clear();
    bool empty() const { return selectorCount_ == 0; }
    int selectorCount() const { return selectorCount_; }
    // Every selector, in the order they appeared in the source.
    std::vector<const CssSelector*> selectorsInSourceOrder() const;
    // One line per selector: "selector { declarations }".
    string8 toText() const;
    lxmlDocBase* document() const { return document_; }

private:
    template <typename F>
    static void applyList(const std::vector<KsRef<CssSelector>>& list, const ldomNode* element,
                          F& f) {
        for (const KsRef<CssSelector>& selector : list)
            if (selector->declaration() && selector->check(element)) f(*selector->declaration());
    }
    void skipAtRule(class CssLexer& lexer, CssParseReport* report);
    void add(KsRef<CssSelector> selector);

    lxmlDocBase* document_;
    std::vector<std::vector<KsRef<CssSelector>>> lists_;
    int selectorCount_ = 0;
};
