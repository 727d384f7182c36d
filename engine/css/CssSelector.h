#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/css/CssDeclaration.h"

class CssLexer;
class ldomNode;
class lxmlDocBase;

// Kinds of selector condition, in the order they are numbered.
enum class CssSelectorRuleKind : int32_t {
    Parent = 1,       // "E >": the parent is an E
    Ancestor = 2,     // "E ": some ancestor is an E
    Predecessor = 3,  // "E +": the node right before is an E
    AttrSet = 4,      // [name]
    AttrEq = 5,       // [name=value]
    AttrHas = 6,      // [name~=value]: one of its white-space separated words is value
    AttrStarts = 7,   // [name|=value]: starts with value
    Id = 8,           // #value
    Class = 9,        // .value: one of the element's classes, compared in lower case
};

struct CssSelectorRule {
    CssSelectorRuleKind kind;
    uint16_t elementId = 0;  // kinds 1-3 (0: any element)
    uint16_t attrId = 0;     // kinds 4-9
    string16 value;
};

// One selector of a rule: the element name id of its rightmost part (0: any) and its conditions
// in the order they are tested, from the rightmost part leftwards; a combinator moves the
// current node before the conditions of the part to its left are tested.
class CssSelector : public KsRefCounter {
public:
    uint16_t elementId() const { return elementId_; }
    const std::vector<CssSelectorRule>& rules() const { return rules_; }
    const KsRef<CssDeclaration>& declaration() const { return declaration_; }
    void setDeclaration(KsRef<CssDeclaration> declaration) {
        declaration_ = std::move(declaration);
    }
    // Every selector weighs the same; the order of application alone decides.
    int weight() const { return 0; }
    // Position among the selectors of its stylesheet (for listing them in source order).
    int sourceIndex() const { return sourceIndex_; }
    void setSourceIndex(int index) { sourceIndex_ = index; }

    // Reads one selector at the position, stopping before "," or "{". Names are looked up in
    // (and added to) the document's name tables. False when the selector is not understood.
    bool parse(CssLexer& lexer, lxmlDocBase& document);
    // True when the element satisfies the selector.
    bool check(const ldomNode* element) const;

    // Hash of the conditions: c = (c + element id + attribute id + kind * 31) * 31 + value hash.
    uint32_t rulesHash() const;
    // The selector written back as CSS.
    string8 toText(const lxmlDocBase& document) const;

private:
    bool parseCondition(CssLexer& lexer, lxmlDocBase& document);
    bool matchFrom(const ldomNode* node, size_t first) const;
    // Applies rules first..last-1 (no Ancestor among them); the node reached, or null.
    const ldomNode* matchSegment(const ldomNode* node, size_t first, size_t last) const;
    static bool checkCondition(const CssSelectorRule& rule, const ldomNode* node);

    uint16_t elementId_ = 0;
    std::vector<CssSelectorRule> rules_;
    KsRef<CssDeclaration> declaration_;
    int sourceIndex_ = 0;
};
