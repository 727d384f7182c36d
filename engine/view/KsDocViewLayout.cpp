// The view's side of layout: the stylesheet it gives the document and the parameters the
// document is laid out with.
#include "engine/core/Log.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/view/KsDocView.h"
#include "engine/view/StyleSheetPlaceholders.h"

void KsDocView::applyStyleSheet() {
    if (!doc_) return;
    KsRef<TnPropAccessor> styles = settings_->subset("styles.");
    const string8 css = ExpandStyleSheetPlaceholders(styleSheet_, *styles);
    CssStyleSheet& sheet = doc_->getStyleSheet();
    sheet.clear();
    if (!sheet.parse(css)) LogWarn("applyStyleSheet: the stylesheet has errors");
}

int KsDocView::pageContentWidth() const {
    const int width = pageRect_.right > pageRect_.left ? pageRect_.right - pageRect_.left : dx_;
    return width - margins_.left - margins_.right;
}

int KsDocView::pageContentHeight() const {
    const int height = pageRect_.bottom > pageRect_.top ? pageRect_.bottom - pageRect_.top : dy_;
    // FIXME: less the page header's height once the page header is drawn.
    return height - margins_.top - margins_.bottom;
}

bool KsDocView::documentHasCover() const {
    return doc_ && !ldomPosition::fromString(
                        doc_.get(), string16("/FictionBook/description/title-info/coverpage/image"))
                        .isNull();
}

void KsDocView::updateLayoutParams(int width, int height) {
    if (!doc_ || !doc_->getRootNode()) return;
    showCover_ = documentHasCover();
    if (width == 0) width = pageContentWidth();
    if (height == 0) height = pageContentHeight();
    fetchFonts();
    if (!font_ || !headerFont_) return;
    applyStyleSheet();
    // FIXME: the cover page height and the highlight colours go to the document with the page
    // layout.
    (void)doc_->styles().setRenderProps(width, height, font_, interlineSpace_, settings_.Get());
}

void KsDocView::invalidateLayout() {
    layoutValid_ = false;
    clearPageImageCache();
}
