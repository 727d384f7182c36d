#pragma once

#include "engine/core/KsString.h"
#include "engine/css/CssEnums.h"

class ldomNode;

// What the document writers ask of a document's style side while they build its tree: computed
// styles and render methods of the elements as they are closed, and the stylesheets that the
// book brings along. A writer without one builds the bare tree (the command-line tools and most
// structure tests); the reader gives its writers the document's styles.
class ldomWriterStyles {
public:
    virtual ~ldomWriterStyles() = default;

    // The document's own styles (stylesheets, "style" and "align" attributes) are wanted.
    virtual bool internalStylesEnabled() const = 0;
    // Computes the element's style from its parent's (the root's from the document defaults).
    virtual void initNodeStyle(ldomNode* element) = 0;
    virtual CssDisplay computedDisplay(const ldomNode* element) const = 0;
    // The render method of an element whose children have theirs.
    virtual void initNodeRenderMethod(ldomNode* element) = 0;
    // Render methods of the whole tree, children first; then the render properties.
    virtual void initRenderMethods() = 0;

    virtual void pushStyleSheet() = 0;
    virtual void popStyleSheet() = 0;
    // The element got a "StyleSheet" attribute: applies the file it names. True when a
    // stylesheet level was pushed (popped again when the element closes).
    virtual bool applyNodeStyleSheet(ldomNode* element) = 0;
    // A "stylesheet" element of a merged file was closed: its text (base path: its "href")
    // becomes the stylesheet of the fragment around it. `pushed` tells whether the fragment
    // has pushed a level already; true when a level is pushed now.
    virtual bool applyFragmentStyleSheet(ldomNode* stylesheetElement, bool pushed) = 0;
    // A linked stylesheet of an HTML head: the file becomes the document stylesheet.
    virtual void setLinkedStyleSheet(const string16& path) = 0;
    // Applies the linked file, or the FB2 "stylesheet" element.
    virtual void applyDocumentStyleSheet() = 0;
};
