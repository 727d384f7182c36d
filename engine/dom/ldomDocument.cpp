#include "engine/dom/ldomDocument.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/graphics/KsFontManager.h"

ldomDocument::ldomDocument()
    : stylesheet_(this), styles_(std::make_unique<ldomDocumentStyles>(*this)) {}

ldomDocument::~ldomDocument() = default;

CssDisplay ldomDocument::nodeDisplay(const ldomNode* element) const {
    if (!element || !element->isElement()) return CssDisplay::Inherit;
    if (KsRef<CssStyleRecord> style = styles_->getStyle(element)) return style->display;
    const ldomElementProps* props = getElementTypePtr(element->nameId());
    return props ? props->display : CssDisplay::Inherit;
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

void ldomDocument::registerEmbeddedFonts() {
    KsFontManager* fonts = GetFontManager();
    if (!fonts) return;
    for (const KsEmbeddedFont& font : embeddedFonts_) {
        if (!fonts->RegisterDocumentFont(docSlot(), getContainer(), font.url, font.face, font.bold,
                                         font.italic))
            LogError("Failed to register document font face: %s file: %s", font.face.CStr(),
                     String16ToUtf8(font.url).CStr());
    }
}
