#pragma once

#include "engine/core/KsString.h"
#include "engine/dom/ldomNodeCallback.h"

// Collects the visible text of a range walk: hidden elements are skipped, and the delimiter goes
// between the texts of two blocks.
class ldomTextCollector : public ldomNodeCallback {
public:
    // maxLength 0: no limit.
    ldomTextCollector(unit16 blockDelimiter, int maxLength)
        : blockDelimiter_(blockDelimiter), maxLength_(maxLength) {}

    void onText(const ldomXRange& range) override;
    bool onElement(const ldomXRange& range) override;
    const string16& getText() const { return text_; }

private:
    bool lastText_ = false;
    bool newBlock_ = true;
    unit16 blockDelimiter_;
    int maxLength_;
    string16 text_;
};
