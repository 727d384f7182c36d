#include "engine/dom/ldomDocument.h"

#include "engine/core/Log.h"

ldomDocument::ldomDocument() : stylesheet_(this) {}

ldomDocument::~ldomDocument() = default;

CssDisplay ldomDocument::nodeDisplay(const ldomNode* element) const {
    // FIXME: prefer the computed style's display once elements carry computed styles.
    if (!element || !element->isElement()) return CssDisplay::Inherit;
    const ldomElementProps* props = getElementTypePtr(element->nameId());
    return props ? props->display : CssDisplay::Inherit;
}

bool ldomDocument::createCacheFile() {
    LogError("Cannot swap: cache dir is not initialized");
    return false;
}
