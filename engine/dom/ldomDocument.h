#pragma once

#include <memory>

#include "engine/core/TnPropContainer.h"
#include "engine/css/CssEnums.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/KsContentsEntry.h"
#include "engine/dom/ldomXRangeList.h"
#include "engine/dom/lxmlDocBase.h"
#include "engine/streams/KsContainer.h"

class ldomDocumentStyles;

// A document: the node store and name tables, its stylesheet and the container it came from.
class ldomDocument : public lxmlDocBase {
public:
    ldomDocument();
    ~ldomDocument() override;

    CssStyleSheet& getStyleSheet() { return stylesheet_; }
    const CssStyleSheet& getStyleSheet() const { return stylesheet_; }

    // The container of the book's files (stylesheets, images), or null.
    KsContainer* getContainer() const { return container_.Get(); }
    void setContainer(KsRef<KsContainer> container) { container_ = std::move(container); }

    // The display of an element: its computed style's, else its type's default (inherit when
    // the type has none).
    CssDisplay nodeDisplay(const ldomNode* element) const;

    // The document properties ("doc.title", "doc.file.code.base", ...); shared with the view.
    TnPropContainer* getProps() const { return props_.Get(); }
    void setProps(KsRef<TnPropContainer> props) { props_ = std::move(props); }

    // The table of contents (its root entry) and the selected ranges.
    KsContentsEntry* getToc() { return &toc_; }
    ldomXRangeList& getSelections() { return selections_; }

    // Computed styles, fonts and render methods of the elements.
    ldomDocumentStyles& styles() { return *styles_; }
    const ldomDocumentStyles& styles() const { return *styles_; }
    int cachedStyleCount() const override;
    int cachedFontCount() const override;

    // This program configures no cache folder, so chunks can never be swapped out.
    bool createCacheFile() override;

protected:
    void onNodeDestroyed(ldomNode& node) override;

private:
    CssStyleSheet stylesheet_;
    KsRef<KsContainer> container_;
    KsRef<TnPropContainer> props_ = CreatePropContainer();
    KsContentsEntry toc_{this};
    ldomXRangeList selections_;
    std::unique_ptr<ldomDocumentStyles> styles_;
};
