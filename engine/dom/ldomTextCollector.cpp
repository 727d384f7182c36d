#include "engine/dom/ldomTextCollector.h"

#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomVisibility.h"
#include "engine/dom/ldomXRange.h"

bool ldomTextCollector::onElement(const ldomXRange& range) {
    const ldomNode* element = range.getStart().getNode();
    if (IsHiddenElement(element)) return false;
    const CssDisplay display = element->getDocument()->nodeDisplay(element);
    lastText_ = false;
    // An inline element keeps a block start still waiting for its first text: the text of
    // "<p><b>I</b></p>" begins a block as much as that of "<p>I</p>".
    if (display != CssDisplay::Inline && display != CssDisplay::RunIn) newBlock_ = true;
    // A line break separates what it breaks like a block does ("line<br/>next").
    if (element->isNodeName("br")) newBlock_ = true;
    return true;
}

void ldomTextCollector::onText(const ldomXRange& range) {
    if (maxLength_ > 0 && text_.Length() >= maxLength_) return;
    const string16 text = range.getStart().getNode()->text();
    const int start = range.getStart().getOffset();
    const int end = range.getEnd().getOffset();
    if (newBlock_ && blockDelimiter_ && !text_.Empty()) text_.Append(blockDelimiter_);
    // One delimiter per block start: further text nodes of the same block follow directly.
    newBlock_ = false;
    int count = end - start;
    if (maxLength_ > 0 && text_.Length() + count > maxLength_) count = maxLength_ - text_.Length();
    if (count > 0) text_.Append(text.CStr() + start, count);
    lastText_ = true;
}
