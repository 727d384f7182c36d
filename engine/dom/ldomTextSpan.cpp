#include "engine/dom/ldomTextSpan.h"

#include "engine/dom/ldomNode.h"

string16 ldomTextSpan::getText() const {
    const ldomNode* node = getNode();
    if (!node || end_ <= start_) return string16();
    return node->text().Substr(start_, end_ - start_);
}
