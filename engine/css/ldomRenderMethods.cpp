// Render methods of elements: how the block renderer lays each one out, with inline runs beside
// blocks wrapped in anonymous autoBoxing elements and the table model's parts checked for place.
#include "engine/core/Log.h"
#include "engine/css/CssComputedStyle.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"

namespace {

constexpr uint16_t kAutoBoxingId = 1;

// Where a table part stands.
enum TablePlace : int { InTable, InRowGroup, InRow, InColumnGroup };

bool IsWhitespaceText(const ldomNode* node) {
    if (!node || !node->isText()) return false;
    for (char c : node->text8())
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

}  // namespace

CssDisplay ldomDocumentStyles::displayOf(const ldomNode* element) const {
    KsRef<CssStyleRecord> style = getStyle(element);
    return style ? style->display : document_.nodeDisplay(element);
}

void ldomDocumentStyles::setRenderMethodDeep(ldomNode* element, RenderMethod method) {
    element->visitElements([method](ldomNode* e) { e->setRenderMethod(method); });
}

bool ldomDocumentStyles::isInlineContent(const ldomNode* child) const {
    if (child->isText()) return true;
    RenderMethod m = child->renderMethod();
    return m == RenderMethod::Inline || m == RenderMethod::RunIn;
}

void ldomDocumentStyles::assignRenderMethod(ldomNode* element) {
    if (!element || !element->isElement()) return;
    if (element->isRoot()) {
        element->setRenderMethod(RenderMethod::Block);
        return;
    }
    for (const ldomNode* n = element; n && !n->isRoot(); n = n->parent()) {
        if (displayOf(n) == CssDisplay::None) {
            setRenderMethodDeep(element, RenderMethod::Invisible);
            return;
        }
    }
    const CssDisplay display = displayOf(element);
    switch (display) {
        case CssDisplay::Inline:
            setRenderMethodDeep(element, RenderMethod::Inline);
            return;
        case CssDisplay::ListItem:
            element->setRenderMethod(RenderMethod::ListItem);
            return;
        case CssDisplay::RunIn:
            setRenderMethodDeep(element, RenderMethod::Inline);
            element->setRenderMethod(RenderMethod::RunIn);
            return;
        case CssDisplay::Table:
            element->setRenderMethod(RenderMethod::Table);
            assignTableParts(element, InTable);
            return;
        default:
            break;
    }
    const ldomElementProps* props = document_.getElementTypePtr(element->nameId());
    if (props && props->isObject) {
        if (display == CssDisplay::Block)
            element->setRenderMethod(RenderMethod::Final);
        else
            setRenderMethodDeep(element, RenderMethod::Invisible);
        return;
    }
    auto classify = [&](bool& hasInline, bool& hasBlock) {
        hasInline = hasBlock = false;
        for (int i = 0; i < element->childCount(); ++i) {
            const ldomNode* child = element->childAt(i);
            if (!child) continue;
            if (isInlineContent(child)) {
                hasInline = true;
            } else if (!(displayOf(child) == CssDisplay::None ||
                         child->renderMethod() == RenderMethod::Invisible)) {
                hasBlock = true;
            }
        }
    };
    bool hasInline, hasBlock;
    classify(hasInline, hasBlock);
    if (!hasBlock) {
        element->setRenderMethod(hasInline ? RenderMethod::Final : RenderMethod::Block);
        return;
    }
    if (!hasInline) {
        element->setRenderMethod(RenderMethod::Block);
        return;
    }
    if (element->nameId() == kAutoBoxingId) {
        element->setRenderMethod(RenderMethod::Final);
        return;
    }
    autoboxChildren(element);
    classify(hasInline, hasBlock);
    element->setRenderMethod(hasInline ? RenderMethod::Final : RenderMethod::Block);
}

void ldomDocumentStyles::autoboxChildren(ldomNode* element) {
    const int count = element->childCount();
    int i = count - 1;
    while (i >= 0) {
        ldomNode* child = element->childAt(i);
        if (child && isInlineContent(child)) {
            const int last = i;
            while (i >= 0 && element->childAt(i) && isInlineContent(element->childAt(i)))
                --i;
            const int first = i + 1;
            if (!(first == 0 && last == count - 1)) boxChildren(element, first, last);
            continue;
        }
        ldomNode* before = i > 0 ? element->childAt(i - 1) : nullptr;
        if (before && before->isElement() && before->renderMethod() == RenderMethod::RunIn &&
            count != 2) {
            LogDebug("Autoboxing run-in items");
            boxChildren(element, i - 1, i);
            i -= 2;
            continue;
        }
        --i;
    }
}

void ldomDocumentStyles::boxChildren(ldomNode* element, int first, int last) {
    int keptFirst = first, keptLast = last;
    KsRef<CssStyleRecord> style = getStyle(element);
    if (!(style && style->whiteSpace == CssWhiteSpace::Pre)) {
        while (keptFirst <= keptLast && IsWhitespaceText(element->childAt(keptFirst)))
            ++keptFirst;
        while (keptLast >= keptFirst && IsWhitespaceText(element->childAt(keptLast)))
            --keptLast;
    }
    if (keptFirst > keptLast) {
        for (int i = last; i >= first; --i)
            element->childAt(i)->destroy();
        return;
    }
    ldomNode* box = element->insertElement(keptFirst, 0, kAutoBoxingId);
    if (!box) return;  // the document is full: leave the children as they are
    computeNodeStyle(box);
    box->setRenderMethod(RenderMethod::Final);
    // The box now stands at keptFirst; the kept children follow it.
    (void)element->moveChildrenTo(box, keptFirst + 1, keptLast + 1);
    // Trailing white space follows the box, leading white space precedes it.
    for (int i = keptFirst + (last - keptLast); i > keptFirst; --i)
        element->childAt(i)->destroy();
    for (int i = keptFirst - 1; i >= first; --i)
        element->childAt(i)->destroy();
}

void ldomDocumentStyles::assignTableParts(ldomNode* parent, int place) {
    for (int i = 0; i < parent->childCount(); ++i) {
        ldomNode* child = parent->childAt(i);
        if (!child || !child->isElement()) continue;
        auto misplaced = [&] { setRenderMethodDeep(child, RenderMethod::Invisible); };
        switch (displayOf(child)) {
            case CssDisplay::TableRowGroup:
            case CssDisplay::TableHeaderGroup:
            case CssDisplay::TableFooterGroup:
                if (place != InTable) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(displayOf(child) == CssDisplay::TableRowGroup
                                           ? RenderMethod::TableRowGroup
                                       : displayOf(child) == CssDisplay::TableHeaderGroup
                                           ? RenderMethod::TableHeaderGroup
                                           : RenderMethod::TableFooterGroup);
                assignTableParts(child, InRowGroup);
                break;
            case CssDisplay::TableRow:
                if (place != InTable && place != InRowGroup) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(RenderMethod::TableRow);
                assignTableParts(child, InRow);
                break;
            case CssDisplay::TableColumnGroup:
                if (place != InTable) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(RenderMethod::TableColumnGroup);
                assignTableParts(child, InColumnGroup);
                break;
            case CssDisplay::TableColumn:
                if (place != InTable && place != InColumnGroup) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(RenderMethod::TableColumn);
                break;
            case CssDisplay::TableCell:
                // The cell's content got its methods when the walk passed it.
                if (place != InRow) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(RenderMethod::TableCell);
                break;
            case CssDisplay::TableCaption:
                if (place != InTable) {
                    misplaced();
                    break;
                }
                child->setRenderMethod(RenderMethod::TableCaption);
                break;
            default:
                break;
        }
    }
}
