#include "engine/dom/ldomVisibility.h"

#include "engine/dom/ldomDocument.h"

bool RenderMethodsAssigned(const ldomDocument& document) {
    const ldomNode* root = document.getRootNode();
    return root && root->renderMethod() != RenderMethod::Invisible;
}

bool IsHiddenElement(const ldomNode* node) {
    if (!node || !node->isElement()) return false;
    const ldomDocument* document = node->getDocument();
    if (!document || node->getDataIndex() == document->getRootNode()->getDataIndex()) return false;
    if (document->nodeDisplay(node) == CssDisplay::None) return true;
    return node->renderMethod() == RenderMethod::Invisible && RenderMethodsAssigned(*document);
}

bool IsInsideHiddenElement(const ldomNode* node) {
    for (const ldomNode* n = node; n; n = n->parent())
        if (IsHiddenElement(n)) return true;
    return false;
}
