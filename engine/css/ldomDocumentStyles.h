#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "engine/core/TnPropAccessor.h"
#include "engine/css/CssStyleRecord.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/css/ldomIndexedRefCache.h"
#include "engine/graphics/KsFont.h"

class ldomDocument;
class ldomNode;

// Document flag bits.
enum : uint32_t {
    DOC_FLAG_ENABLE_INTERNAL_STYLES = 1,  // the book's stylesheets and style attributes
    DOC_FLAG_ENABLE_FOOTNOTES = 2,
    DOC_FLAG_PREFORMATTED_TEXT = 4,
    DOC_FLAG_ENABLE_DOC_FONTS = 8,  // fonts embedded in the book
};

// Image scaling of one kind (zoom in or out, inline or block): 0 none, 1 integer steps, 2 free.
struct ldomImageScaling {
    int mode = 0;
    int scale = 1;
    bool operator==(const ldomImageScaling&) const = default;
};

// What the current rendering was made for.
struct ldomRenderContext {
    uint32_t styleHash = 0;
    uint32_t stylesheetHash = 0;
    uint32_t docFlags = 0;
    int width = 0;
    int height = 0;
};

// The style side of a document: computed styles and fonts of the elements (shared through two
// indexed caches), render methods, the default style, the stylesheet stack and the hashes that
// tell whether the current rendering is still valid.
class ldomDocumentStyles {
public:
    explicit ldomDocumentStyles(ldomDocument& document);

    uint32_t getDocFlags() const { return docFlags_; }
    void setDocFlags(uint32_t flags) { docFlags_ = flags; }
    bool internalStylesEnabled() const { return docFlags_ & DOC_FLAG_ENABLE_INTERNAL_STYLES; }
    // The document whose book fonts styles may use, or -1.
    int fontDocumentId() const;

    // Builds the default style for the page and the default font; true when anything that the
    // rendering depends on changed. Sizes below 1 count as 1.
    bool setRenderProps(int width, int height, KsRef<KsFont> defaultFont, int interlineSpace,
                        TnPropAccessor* settings);
    const KsRef<CssStyleRecord>& defaultStyle() const { return defaultStyle_; }
    const KsRef<KsFont>& defaultFont() const { return defaultFont_; }

    // Computes and stores the element's style, then its font.
    void computeNodeStyle(ldomNode* element);
    bool assignNodeFont(ldomNode* element);
    // The render method from the element's display and its children's (run children first).
    void assignRenderMethod(ldomNode* element);
    KsRef<CssStyleRecord> getStyle(const ldomNode* element) const;
    KsRef<KsFont> getFont(const ldomNode* element) const;
    void setStyle(ldomNode* element, KsRef<CssStyleRecord> style);

    // Stylesheets.
    void setLinkedStyleSheet(const string16& path) { linkedStyleSheet_ = path; }
    void pushStyleSheet();
    void popStyleSheet();
    int styleSheetStackDepth() const { return static_cast<int>(savedStyleSheets_.size()); }
    // Fragment stylesheets of a DocFragment; true when a level was pushed (pop it after the
    // fragment's subtree).
    bool applyNodeStylesheet(ldomNode* element);
    void applyDocumentStyleSheet();

    // The style part of rendering: when the render context changed, drops every style and
    // computes them again with the render methods. True when it did.
    bool updateStyles();
    // Forgets every style and font of the elements.
    void dropStyles();
    // The document counts as not rendered: the next updateStyles computes everything again.
    void resetRendering() { rendered_ = false; }
    bool isRendered() const { return rendered_; }

    // Hashes.
    uint32_t nodeStyleHash() const;
    uint32_t globalHash() const;
    uint32_t computeStyleHash() const;
    uint32_t renderStylesheetHash() const;
    bool checkRenderContext() const;
    void updateRenderContext();
    const ldomRenderContext& renderContext() const { return context_; }

    const ldomImageScaling& imageScaling(int kind) const { return scaling_[kind & 3]; }
    int spaceCondensingPercent() const { return spaceCondensing_; }
    void setSpaceCondensingPercent(int percent) { spaceCondensing_ = percent; }

    int styleCount() const { return styles_.count(); }
    int fontCount() const { return fonts_.count(); }
    // Releases the cache entries of a node that is going away.
    void onNodeDestroyed(ldomNode& node);

private:
    struct StyleTraits {
        static uint32_t hash(const CssStyleRecord& s) { return s.hash(); }
        static bool equal(const CssStyleRecord& a, const CssStyleRecord& b) { return a == b; }
    };
    struct FontTraits {
        static uint32_t hash(const KsFont& f) { return f.getHash(); }
        // The manager hands out one instance per face and size.
        static bool equal(const KsFont& a, const KsFont& b) { return &a == &b; }
    };

    void releaseStyleIndex(uint16_t index);
    // Render methods.
    void setRenderMethodDeep(ldomNode* element, RenderMethod method);
    CssDisplay displayOf(const ldomNode* element) const;
    void assignTableParts(ldomNode* parent, int place);
    void autoboxChildren(ldomNode* element);
    void boxChildren(ldomNode* element, int first, int last);
    bool isInlineContent(const ldomNode* child) const;

    ldomDocument& document_;
    uint32_t docFlags_ =
        DOC_FLAG_ENABLE_INTERNAL_STYLES | DOC_FLAG_ENABLE_FOOTNOTES | DOC_FLAG_ENABLE_DOC_FONTS;
    KsRef<CssStyleRecord> defaultStyle_;
    KsRef<KsFont> defaultFont_;
    ldomIndexedRefCache<CssStyleRecord, StyleTraits> styles_{512};
    ldomIndexedRefCache<KsFont, FontTraits> fonts_{256};
    std::unordered_map<uint16_t, uint16_t> styleFonts_;
    std::vector<CssStyleSheet> savedStyleSheets_;
    string16 linkedStyleSheet_;
    ldomRenderContext context_;
    bool renderPropsSet_ = false;
    bool rendered_ = false;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    // zoom-in inline, zoom-in block, zoom-out inline, zoom-out block
    ldomImageScaling scaling_[4];
    int spaceCondensing_ = 50;
};
