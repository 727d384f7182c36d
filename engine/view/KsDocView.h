#pragma once

#include <memory>
#include <vector>

#include "engine/core/KsRefCounter.h"
#include "engine/core/KsString.h"
#include "engine/core/TnPropContainer.h"
#include "engine/dom/CacheLoadingCallback.h"
#include "engine/dom/ldomPosition.h"
#include "engine/graphics/KsFont.h"
#include "engine/streams/KsContainer.h"
#include "engine/streams/KsStream.h"

class KsLoadingCallback;
class ldomDocument;

// The reader's view of one book: it finds the container and parser for a path, builds the
// document, keeps the document properties and the reader's settings, and shows a small message
// document in place of a book that cannot be read. The shell makes one view per opened book.
class KsDocView : public KsRefCounter, public CacheLoadingCallback {
public:
    // `bitsPerPixel` of the page images; -1 for the colour draw buffer.
    explicit KsDocView(int bitsPerPixel = -1);
    ~KsDocView() override;
    KsDocView(const KsDocView&) = delete;
    KsDocView& operator=(const KsDocView&) = delete;

    // --- Loading ---
    // Opens a file, or an item of an archive ("books.zip@/dir/book.fb2"), and builds its
    // document. False when the book could not be read: then the view shows a message document
    // (or, for path and archive failures, nothing).
    bool LoadDocument(string16 path);
    // Identifies the format of an opened stream and builds the document from it.
    bool openStream(KsRef<KsStream> stream);
    // Runs the parser chain on the current stream.
    bool parseStream();
    // Drops the document and everything bound to it; the view is empty afterwards.
    void closeDocument();
    // Replaces the document by a new empty one configured from the settings.
    void newDocument();
    // Stores the format in the view and in "doc.file.format" / "doc.file.format.id".
    void setFormatId(int formatId);
    int getFormatId() const { return formatId_; }
    // Replaces the document by a one-page FictionBook document showing the title and message.
    virtual void makeMessageDocument(const string16& title, const string16& message);

    // --- Stylesheet and layout parameters ---
    // Expands the "$styles" placeholders of the stylesheet text and gives it to the document.
    void applyStyleSheet();
    // Refreshes the fonts and hands the layout parameters to the document; zero sizes are
    // derived from the page rectangle.
    void updateLayoutParams(int width, int height);
    // Marks the layout stale.
    void invalidateLayout();
    bool isLayoutValid() const { return layoutValid_; }
    void setStyleSheet(const string8& css) { styleSheet_ = css; }
    const string8& getStyleSheet() const { return styleSheet_; }

    // --- State ---
    // Null when no document is loaded (after closeDocument, or an archive without a book).
    ldomDocument* getDocument() const { return doc_.get(); }
    TnPropContainer* getDocProps() const { return docProps_.Get(); }
    TnPropContainer* getSettings() const { return settings_.Get(); }
    const string16& getFileName() const { return fileName_; }
    int getFileSize() const { return fileSize_; }
    KsContainer* getContainer() const { return container_.Get(); }
    KsContainer* getArchiveContainer() const { return arcContainer_.Get(); }
    const KsRef<KsFont>& getMainFont() const { return font_; }
    const KsRef<KsFont>& getHeaderFont() const { return headerFont_; }
    bool getShowCover() const { return showCover_; }
    // Establishes the defaults of every setting the view knows (keeps allowed stored values).
    void fillDefaultProperties();

    // The document cache would report the format of a document it reopens; this program
    // configures no cache, so nothing calls it.
    void onFormatDetected(int formatId) override { setFormatId(formatId); }

private:
    // The stream as a book container (PDB, EPUB, CHM), an archive of books, or a file for the
    // parser chain; the first that accepts it decides.
    bool openPdbBook(int contentKind);
    bool openBookContainer(int formatId);
    bool openArchiveOfBooks(KsRef<KsContainer> archive);
    // Whether the FictionBook description names a cover image.
    bool documentHasCover() const;
    void clearPageImageCache() {}
    // Moves the document properties into a new document and the document into the view.
    void installDocument(std::unique_ptr<ldomDocument> document);
    void fetchFonts();
    int pageContentWidth() const;
    int pageContentHeight() const;

    int bitsPerPixel_;
    int dx_ = 400;
    int dy_ = 200;
    int scrollPos_ = 0;
    int page_ = 0;
    bool posIsSet_ = false;
    ldomPosition position_;
    int batteryState_ = -2;
    int fontSize_ = 24;
    int headerFontSize_ = 22;
    int interlineSpace_ = 100;
    std::vector<int> fontSizes_;
    int viewMode_ = 0;
    uint32_t backgroundColor_ = 0xFFFFFF;
    uint32_t textColor_ = 0x000060;
    uint32_t headerTextColor_ = 0xFF000000;  // use the text colour
    KsRef<KsFont> font_;
    KsRef<KsFont> headerFont_;
    KsRef<KsFont> infoFont_;
    KsRef<KsContainer> container_;
    KsRef<KsStream> stream_;
    KsRef<KsContainer> arcContainer_;
    std::unique_ptr<ldomDocument> doc_;
    string8 styleSheet_;
    string16 fileName_;
    string16 altFileName_;
    int fileSize_ = 0;
    KsRect margins_{12, 6, 12, 6};
    KsRect pageRect_;
    int pagesVisibleInLandscape_ = 2;
    int pageHeaderInfo_ = 63;
    bool showCover_ = true;
    bool layoutValid_ = false;
    string16 defaultFontFace_;
    string16 headerFontFace_;
    int formatId_ = 0;
    KsLoadingCallback* loadObserver_ = nullptr;  // never installed by this program
    KsRef<TnPropContainer> settings_;
    KsRef<TnPropContainer> docProps_;
    bool swapped_ = false;
};
