#pragma once

#include <memory>
#include <unordered_map>

#include "engine/core/TnPropContainer.h"
#include "engine/css/CssEnums.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/KsContentsEntry.h"
#include "engine/dom/ldomBlobCache.h"
#include "engine/dom/ldomXRangeList.h"
#include "engine/dom/lxmlDocBase.h"
#include "engine/graphics/KsEmbeddedFontList.h"
#include "engine/graphics/KsImageSource.h"
#include "engine/streams/KsContainer.h"

class DeadlineTimer;
class KsLoadingCallback;
class ldomDocumentStyles;

// How a step of writing the document to its cache file ended.
enum class CacheWriteResult : int { Done = 0, TimedOut = 1, Failed = 2 };

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

    // --- Cache file ---
    // This program configures no cache folder: a parsed book is never kept in a cache file, so
    // these end in their defined failures and the book is parsed and kept in memory.
    [[nodiscard]] bool openCacheFile();
    // Chunks can never be swapped out.
    bool createCacheFile() override;
    // Reopening the document from its cache file fails; it leaves the document as a fresh parse
    // needs it (not rendered, no cached images, no book fonts) and returns false.
    [[nodiscard]] bool openFromCache(KsLoadingCallback* progress);
    CacheWriteResult swapToCache(DeadlineTimer& timer);
    // Without a cache file there is nothing to bring up to date.
    CacheWriteResult updateCacheFile(DeadlineTimer& timer);
    CacheWriteResult saveChanges(DeadlineTimer& timer);
    bool isMapped() const { return mapped_; }
    bool swapFailed() const { return swapFailed_; }

    // --- Embedded objects and images ---
    ldomBlobCache& getBlobCache() { return blobs_; }
    [[nodiscard]] bool addBlob(const string16& name, const uint8_t* data, int size) {
        return blobs_.addBlob(name, data, size);
    }
    // The name of the image an object element (img, image) shows: its href (xlink, then "l",
    // then any namespace), else its src, else a MOBI "recindex" N as "mobi_image_<N-1>";
    // percent-decoded. Empty for other elements and for names of one character.
    string16 getObjectImageName(const ldomNode* element) const;
    // The bytes of an image: "@blob#..." from the blob cache, "#id" from the base64 text of the
    // element with that id, anything else from the book's container (under the code base, then
    // in the "<book name>_img" folder). Null when nothing is found.
    KsRef<KsStream> getObjectImageStream(const string16& name);
    // A fresh decoder for the image of the name, or null.
    KsImageSourceRef getObjectImageSource(const string16& name, ldomNode* node = nullptr);
    // The image of an object element as a NodeImageProxy, kept in the image cache by name; null
    // when the element names no image or its image cannot be read.
    KsImageSourceRef getNodeImageSource(ldomNode* element);
    int imageCacheCount() const { return static_cast<int>(imageCache_.size()); }
    void clearImageCache() { imageCache_.clear(); }

    // --- Fonts of the book ---
    KsEmbeddedFontList& getEmbeddedFontList() { return embeddedFonts_; }
    // Registers every entry of the list with the font manager for this document; an entry that
    // fails is logged and the next one is tried.
    void registerEmbeddedFonts();

protected:
    void onNodeDestroyed(ldomNode& node) override;

private:
    CssStyleSheet stylesheet_;
    KsRef<KsContainer> container_;
    KsRef<TnPropContainer> props_ = CreatePropContainer();
    KsContentsEntry toc_{this};
    ldomXRangeList selections_;
    std::unique_ptr<ldomDocumentStyles> styles_;
    ldomBlobCache blobs_;
    struct NameHash {
        size_t operator()(const string16& name) const { return static_cast<uint32_t>(name.Hash()); }
    };
    std::unordered_map<string16, KsImageSourceRef, NameHash> imageCache_;
    KsEmbeddedFontList embeddedFonts_;
    bool mapped_ = false;
    bool swapFailed_ = false;
};
