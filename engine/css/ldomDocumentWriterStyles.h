#pragma once

#include "engine/dom/ldomWriterStyles.h"

class ldomDocument;

// The document's own styles as its writers use them: computed styles at each element body,
// render methods as elements close, the stylesheets the book brings along.
class ldomDocumentWriterStyles final : public ldomWriterStyles {
public:
    explicit ldomDocumentWriterStyles(ldomDocument& document) : document_(document) {}

    // Whether the document is set up for styles (it has its default style, see setRenderProps);
    // writers given no styles build the bare tree.
    static bool available(const ldomDocument& document);

    bool internalStylesEnabled() const override;
    void initNodeStyle(ldomNode* element) override;
    CssDisplay computedDisplay(const ldomNode* element) const override;
    void initNodeRenderMethod(ldomNode* element) override;
    void initRenderMethods() override;
    void pushStyleSheet() override;
    void popStyleSheet() override;
    bool applyNodeStyleSheet(ldomNode* element) override;
    bool applyFragmentStyleSheet(ldomNode* stylesheetElement, bool pushed) override;
    void setLinkedStyleSheet(const string16& path) override;
    void applyDocumentStyleSheet() override;

private:
    ldomDocument& document_;
};
