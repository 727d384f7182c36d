#include "engine/view/KsDocView.h"

#include "engine/core/Log.h"
#include "engine/core/StringCollection.h"
#include "engine/core/StringConvert.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/view/DefaultStyleSheet.h"
#include "engine/view/DocFormat.h"
#include "engine/view/ViewSettingsDefaults.h"
#include "engine/view/ViewSettingsKeys.h"

KsDocView::KsDocView(int bitsPerPixel)
    : bitsPerPixel_(bitsPerPixel),
      fontSizes_(DefaultFontSizes()),
      styleSheet_(DefaultStyleSheet()),
      defaultFontFace_("Arial, DejaVu Sans"),
      headerFontFace_("Arial Narrow, Arial, DejaVu Sans"),
      settings_(CreatePropContainer()),
      docProps_(CreatePropContainer()) {
    fillDefaultProperties();
    fetchFonts();
}

KsDocView::~KsDocView() {
    closeDocument();
}

void KsDocView::fillDefaultProperties() {
    KsString16Collection faces;
    if (KsFontManager* manager = GetFontManager()) manager->getFaceList(faces);
    ::fillDefaultProperties(*settings_, faces, fontSizes_);
}

void KsDocView::fetchFonts() {
    KsFontManager* manager = GetFontManager();
    if (!manager) {
        font_ = nullptr;
        headerFont_ = nullptr;
        return;
    }
    font_ = manager->GetFont(fontSize_, 400 + GetGlobalFontWeightAdjustment(), false,
                             KS_FONT_FAMILY_SANS_SERIF, String16ToUtf8(defaultFontFace_));
    headerFont_ = manager->GetFont(headerFontSize_, 400, false, KS_FONT_FAMILY_SANS_SERIF,
                                   String16ToUtf8(headerFontFace_));
}

void KsDocView::closeDocument() {
    doc_.reset();
    docProps_->removeAll();
    stream_ = nullptr;
    container_ = nullptr;
    arcContainer_ = nullptr;
    position_ = ldomPosition();
    layoutValid_ = false;
    swapped_ = false;
    scrollPos_ = 0;
    page_ = 0;
    posIsSet_ = false;
    fileName_ = string16();
    clearPageImageCache();
}

void KsDocView::newDocument() {
    posIsSet_ = false;
    swapped_ = false;
    position_ = ldomPosition();
    doc_.reset();
    auto document = std::make_unique<ldomDocument>();
    clearPageImageCache();
    document->setProps(docProps_);
    uint32_t flags = 0;
    const TnPropContainer& s = *settings_;
    if (s.readIntOr(PROP_TXT_OPTION_PREFORMATTED, 0)) flags |= DOC_FLAG_PREFORMATTED_TEXT;
    if (s.readIntOr(PROP_FOOTNOTES, 1)) flags |= DOC_FLAG_ENABLE_FOOTNOTES;
    if (s.readIntOr(PROP_EMBEDDED_STYLES, 1)) flags |= DOC_FLAG_ENABLE_INTERNAL_STYLES;
    if (s.readIntOr(PROP_EMBEDDED_FONTS, 1)) flags |= DOC_FLAG_ENABLE_DOC_FONTS;
    document->styles().setDocFlags(flags);
    document->styles().setSpaceCondensingPercent(
        s.readIntOr(PROP_FORMAT_SPACE_CONDENSING_PERCENT, 50));
    document->setContainer(container_);
    loadBuiltinNameTables(*document);
    doc_ = std::move(document);
}

void KsDocView::setFormatId(int formatId) {
    formatId_ = formatId;
    docProps_->writeInt("doc.file.format.id", formatId);
    docProps_->writeText("doc.file.format", DocFormatName(formatId));
}

void KsDocView::makeMessageDocument(const string16& title, const string16& message) {
    closeDocument();
    showCover_ = false;
    newDocument();
    scrollPos_ = 0;
    page_ = 0;
    {
        ldomDocumentWriter writer(doc_.get());
        writer.OnStart(nullptr);
        auto open = [&](const char16_t* name) { writer.OnTagOpen(u"", name); };
        auto body = [&]() { writer.OnTagBody(); };
        auto close = [&](const char16_t* name) { writer.OnTagClose(u"", name); };
        auto text = [&](const string16& t) {
            if (!t.Empty()) writer.OnText(t.CStr(), t.Length(), 0);
        };
        open(u"?xml");
        writer.OnAttribute(u"", u"version", u"1.0");
        writer.OnAttribute(u"", u"encoding", u"utf-8");
        writer.OnTagBody();
        close(u"?xml");
        open(u"FictionBook");
        body();
        open(u"description");
        body();
        open(u"title-info");
        body();
        open(u"book-title");
        body();
        open(u"lang");
        body();
        text(title);
        close(u"lang");
        close(u"book-title");
        close(u"title-info");
        close(u"description");
        open(u"body");
        body();
        if (!title.Empty()) {
            open(u"title");
            body();
            open(u"p");
            body();
            text(title);
            close(u"p");
            close(u"title");
        }
        open(u"p");
        body();
        text(message);
        close(u"p");
        close(u"body");
        close(u"FictionBook");
        writer.OnStop();
    }
    applyStyleSheet();
    docProps_->removeAll();
    doc_->setProps(docProps_);
    docProps_->writeText("doc.title", title);
    invalidateLayout();
}
