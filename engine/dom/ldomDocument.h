#pragma once

#include "engine/css/CssEnums.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/lxmlDocBase.h"
#include "engine/streams/KsContainer.h"

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

    // The display of an element: its type's default (inherit when the type has none).
    CssDisplay nodeDisplay(const ldomNode* element) const;

    // This program configures no cache folder, so chunks can never be swapped out.
    bool createCacheFile() override;

private:
    CssStyleSheet stylesheet_;
    KsRef<KsContainer> container_;
};
