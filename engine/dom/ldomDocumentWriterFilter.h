#pragma once

#include <unordered_map>
#include <vector>

#include "engine/dom/ldomDocumentWriter.h"

// Auto-close rules: each row names the opening element, then the elements whose nearest open
// one it closes (a row with no further names is a void element, closed before any content);
// rows end with null, the table with a null row.
constexpr int kAutoCloseRuleWidth = 6;
using ldomAutoCloseRule = const char* const[kAutoCloseRuleWidth];
// The rules every HTML import uses.
extern const ldomAutoCloseRule kHtmlAutoCloseRules[];

// The document writer for HTML: it closes what HTML leaves open, turns "br" and "dd" into
// paragraphs, maps "align" to CSS, takes the page title from the head, and has a mode for pages
// that hold a whole book as preformatted text.
class ldomDocumentWriterFilter : public ldomDocumentWriter {
public:
    ldomDocumentWriterFilter(ldomDocument* document, WriterHeaderOnly headerOnly,
                             const ldomAutoCloseRule* rules, ldomWriterStyles* styles = nullptr);

    ldomNode* OnTagOpen(const unit16* nsPrefix, const unit16* tagName) override;
    void OnTagBody() override;
    void OnTagClose(const unit16* nsPrefix, const unit16* tagName) override;
    void OnAttribute(const unit16* nsPrefix, const unit16* name, const unit16* value) override;
    void OnText(const unit16* text, int length, int flags) override;

    // Opening: closes the frames up to the nearest open element the rule of `id` names. Not
    // opening: closes the current element when its rule says it is void.
    void AutoClose(uint16_t id, bool opening);
    // Adds a declaration to the current element's "style" attribute (only with internal styles).
    void appendStyle(const string16& text);
    // Sets the current element's "class", keeping an existing one unless asked to overwrite.
    void setClass(const string16& text, bool overwrite);

    bool preParagraphMode() const { return preParagraphMode_; }

protected:
    bool onElementClose(ldomWriterFrame& frame) override;

private:
    void updateFilterFlags();
    // Preformatted-book mode: a line of the book becomes a paragraph, a heading or a rule.
    void addPreformattedLine(const unit16* text, int length);
    bool internalStyles() const;

    std::unordered_map<uint16_t, std::vector<uint16_t>> rules_;
    uint16_t styleAttrId_ = 0;
    uint16_t classAttrId_ = 0;
    bool tagBodyReceived_ = true;
    bool paragraphFromBreak_ = false;
    bool preParagraphMode_ = false;
};
