#include "engine/css/ldomDocumentWriterStyles.h"

#include "engine/core/StringConvert.h"
#include "engine/css/CssImportLoader.h"
#include "engine/css/CssImportSource.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"

bool ldomDocumentWriterStyles::available(const ldomDocument& document) {
    return static_cast<bool>(document.styles().defaultStyle());
}

bool ldomDocumentWriterStyles::internalStylesEnabled() const {
    return document_.styles().internalStylesEnabled();
}

void ldomDocumentWriterStyles::initNodeStyle(ldomNode* element) {
    document_.styles().computeNodeStyle(element);
}

CssDisplay ldomDocumentWriterStyles::computedDisplay(const ldomNode* element) const {
    return document_.nodeDisplay(element);
}

void ldomDocumentWriterStyles::initNodeRenderMethod(ldomNode* element) {
    document_.styles().assignRenderMethod(element);
}

void ldomDocumentWriterStyles::initRenderMethods() {
    ldomNode* root = document_.getRootNode();
    if (!root) return;
    ldomDocumentStyles& styles = document_.styles();
    root->visitElementsPostOrder(
        [&styles](ldomNode* element) { styles.assignRenderMethod(element); });
}

void ldomDocumentWriterStyles::pushStyleSheet() {
    document_.styles().pushStyleSheet();
}

void ldomDocumentWriterStyles::popStyleSheet() {
    document_.styles().popStyleSheet();
}

bool ldomDocumentWriterStyles::applyNodeStyleSheet(ldomNode* element) {
    return document_.styles().applyNodeStylesheet(element);
}

bool ldomDocumentWriterStyles::applyFragmentStyleSheet(ldomNode* stylesheetElement, bool pushed) {
    ldomDocumentStyles& styles = document_.styles();
    if (!stylesheetElement || !styles.internalStylesEnabled() || !document_.getContainer())
        return false;
    if (!pushed) styles.pushStyleSheet();
    CssContainerImportSource source(document_.getContainer());
    CssImportLoader loader(document_.getStyleSheet(), &source);
    if (loader.parseText(stylesheetElement->attrValue("href"),
                         String16ToUtf8(stylesheetElement->text())))
        return !pushed;
    if (!pushed) styles.popStyleSheet();
    return false;
}

void ldomDocumentWriterStyles::setLinkedStyleSheet(const string16& path) {
    document_.styles().setLinkedStyleSheet(path);
}

void ldomDocumentWriterStyles::applyDocumentStyleSheet() {
    document_.styles().applyDocumentStyleSheet();
}
