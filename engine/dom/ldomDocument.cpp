#include "engine/dom/ldomDocument.h"

#include "engine/core/Log.h"
#include "engine/css/ldomDocumentStyles.h"

ldomDocument::ldomDocument()
    : stylesheet_(this), styles_(std::make_unique<ldomDocumentStyles>(*this)) {}

ldomDocument::~ldomDocument() = default;

CssDisplay ldomDocument::nodeDisplay(const ldomNode* element) const {
    if (!element || !element->isElement()) return CssDisplay::Inherit;
    if (KsRef<CssStyleRecord> style = styles_->getStyle(element)) return style->display;
    const ldomElementProps* props = getElementTypePtr(element->nameId());
    return props ? props->display : CssDisplay::Inherit;
}

bool ldomDocument::createCacheFile() {
    LogError("Cannot swap: cache dir is not initialized");
    return false;
}

int ldomDocument::cachedStyleCount() const {
    return styles_->styleCount();
}

int ldomDocument::cachedFontCount() const {
    return styles_->fontCount();
}

void ldomDocument::onNodeDestroyed(ldomNode& node) {
    styles_->onNodeDestroyed(node);
}
