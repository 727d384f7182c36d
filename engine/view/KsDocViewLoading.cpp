// From a path or an opened stream to a document: the container and format detection, the parser
// chain, the document properties of the file, and the message documents of failed loads.
#include <memory>

#include "engine/books/BookFormatsPending.h"
#include "engine/books/PdbBook.h"
#include "engine/books/PdbBookImport.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/css/ldomDocumentStyles.h"
#include "engine/css/ldomDocumentWriterStyles.h"
#include "engine/dom/Fb2Metadata.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/streams/KsDirectoryContainer.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsTCRStream.h"
#include "engine/streams/PathUtils.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsRtfParser.h"
#include "engine/text/KsTextBookmarkParser.h"
#include "engine/text/KsTextParser.h"
#include "engine/text/KsXMLParser.h"
#include "engine/view/ArchiveEntryChoice.h"
#include "engine/view/DocFormat.h"
#include "engine/view/KsDocView.h"
#include "engine/view/ViewSettingsKeys.h"

namespace {

// Streams up to this size are always parsed; larger ones are first looked up in the cache.
constexpr int kMinCachedStreamBytes = 65536;
// A stream this small holds no book.
constexpr int kMaxTooSmallStreamBytes = 4;
constexpr int32_t kMaxHtmlTitleUnits = 1024;

const char* const kCannotOpen = "Cannot open document";

std::string Utf8(const string16& text) {
    return String16ToUtf8(text).CStr();
}

int StreamSize(KsStream& stream) {
    ks_pos_t size = 0;
    if (stream.GetSize(&size) != KS_OK) return 0;
    return size > INT32_MAX ? INT32_MAX : static_cast<int>(size);
}

string8 Crc32Text(KsStream& stream) {
    uint32_t crc = 0;
    if (stream.ComputeCrc32(&crc) != KS_OK) crc = 0;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", crc);
    (void)stream.SetPos(0);
    return string8(text);
}

// The words of an element's text joined by single blanks, at most kMaxHtmlTitleUnits units.
string16 CollapsedText(ldomNode* element) {
    if (!element) return string16();
    string16 text = element->text(u' ', kMaxHtmlTitleUnits);
    for (int32_t i = 0; i < text.Length(); ++i)
        if (text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n') text.Modify()[i] = u' ';
    text.CollapseSpaces(SpaceCollapse::None);
    return text.Length() > kMaxHtmlTitleUnits ? text.Left(kMaxHtmlTitleUnits) : text;
}

}  // namespace

bool KsDocView::LoadDocument(string16 path) {
    // `path` is our own copy: a reload passes the view's file name, which closeDocument empties.
    if (path.Empty()) return false;
    closeDocument();
    LogInfo("LoadDocument(%s) textMode=%s", Utf8(path).c_str(),
            settings_->readIntOr(PROP_TXT_OPTION_PREFORMATTED, 0) ? "pre" : "autoformat");

    string16 archivePath;
    string16 itemPath;
    bool loaded = false;
    if (SplitArchivePath(path, archivePath, itemPath)) {
        LogInfo("Loading document %s from archive %s", Utf8(itemPath).c_str(),
                Utf8(archivePath).c_str());
        KsRef<KsStream> archiveStream = OpenFileStream(archivePath, KS_MODE_READ);
        if (!archiveStream) {
            LogError("Cannot open archive file %s", Utf8(archivePath).c_str());
            return false;
        }
        KsRef<KsContainer> archive = OpenArchive(archiveStream);
        if (!archive) {
            LogError("Cannot read archive contents from %s", Utf8(archivePath).c_str());
            return false;
        }
        container_ = archive;
        KsRef<KsStream> item = archive->OpenStream(itemPath, KS_MODE_READ);
        if (!item) {
            LogError("Cannot open archive file item stream %s", Utf8(itemPath).c_str());
            return false;
        }
        docProps_->writeText("doc.archive.name", ExtractFilename(archivePath));
        docProps_->writeText("doc.archive.path", ExtractPath(archivePath));
        docProps_->writeInt("doc.archive.size", StreamSize(*archiveStream));
        docProps_->writeInt("doc.file.size", StreamSize(*item));
        docProps_->writeText("doc.file.name", itemPath);
        docProps_->writeText("doc.file.crc32", Crc32Text(*item));
        loaded = openStream(item);
    } else {
        const string16 fileName = ExtractFilename(path);
        // A bare file name is in the working folder.
        string16 directory = ExtractPath(path);
        if (directory.Empty()) directory = string16("./");
        LogInfo("Loading document %s : fn=%s, dir=%s", Utf8(path).c_str(), Utf8(fileName).c_str(),
                Utf8(directory).c_str());
        docProps_->writeText("doc.file.path", ExtractPath(path));
        container_ = OpenDirectory(directory, string16("*.*"));
        KsRef<KsStream> stream =
            container_ ? container_->OpenStream(fileName, KS_MODE_READ) : KsRef<KsStream>();
        if (!stream) {
            LogError("Cannot open file %s", Utf8(path).c_str());
        } else {
            docProps_->writeText("doc.file.name", fileName);
            docProps_->writeInt("doc.file.size", StreamSize(*stream));
            docProps_->writeText("doc.file.crc32", Crc32Text(*stream));
            loaded = openStream(stream);
        }
    }
    if (loaded) fileName_ = path;
    stream_ = nullptr;  // the document keeps what it needs
    if (!doc_) LogWarn("LoadDocument(%s): no document is loaded", Utf8(path).c_str());
    return loaded;
}

bool KsDocView::openStream(KsRef<KsStream> stream) {
    if (!stream) return false;
    clearPageImageCache();
    fileSize_ = StreamSize(*stream);
    stream_ = stream;

    PdbContentKind contentKind = PDB_CONTENT_NONE;
    PdbOpenError refusal = PdbOpenError::NotPdb;
    if (IsPdbBook(stream_, contentKind, &refusal)) {
        LogInfo("PDB format detected");
        return openPdbBook(contentKind);
    }
    // A book database we cannot read (encrypted, damaged) would show its raw records as text
    // or HTML further down the chain: it ends here.
    if (refusal != PdbOpenError::NotPdb) {
        LogError("PDB book refused: %s", PdbOpenErrorText(refusal));
        setFormatId(doc_format_none);
        makeMessageDocument(string16("ERROR: Error reading PDB format"), string16(kCannotOpen));
        return false;
    }
    (void)stream_->SetPos(0);
    if (IsEpubBook(stream_)) {
        LogInfo("EPUB format detected");
        return openBookContainer(doc_format_epub);
    }
    (void)stream_->SetPos(0);
    if (IsChmBook(stream_)) {
        LogInfo("CHM format detected");
        return openBookContainer(doc_format_chm);
    }
    (void)stream_->SetPos(0);
    if (KsRef<KsContainer> archive = OpenArchive(stream_)) return openArchiveOfBooks(archive);
    (void)stream_->SetPos(0);
    if (KsRef<KsStream> unpacked = OpenTcrStream(stream_)) {
        // The text import takes its title from the stream's name.
        if (const unit16* name = stream_->GetName()) unpacked->SetName(name);
        stream_ = unpacked;
    }
    return parseStream();
}

bool KsDocView::openPdbBook(int contentKind) {
    newDocument();
    doc_->setProps(docProps_);
    updateLayoutParams(0, 0);
    setFormatId(contentKind);
    applyStyleSheet();
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (!LoadPdbBook(stream_, *doc_, loadObserver_, &kind)) {
        setFormatId(doc_format_none);
        makeMessageDocument(string16("ERROR: Error reading PDB format"), string16(kCannotOpen));
        return false;
    }
    updateLayoutParams(0, 0);
    invalidateLayout();
    return true;
}

bool KsDocView::openBookContainer(int formatId) {
    newDocument();
    doc_->setProps(docProps_);
    updateLayoutParams(0, 0);
    setFormatId(formatId);
    applyStyleSheet();
    const bool epub = formatId == doc_format_epub;
    const bool loaded = epub ? LoadEpubBook(stream_, doc_.get(), loadObserver_, this)
                             : LoadChmBook(stream_, doc_.get(), loadObserver_);
    if (!loaded) {
        setFormatId(doc_format_none);
        makeMessageDocument(
            string16(epub ? "ERROR: Error reading EPUB format" : "ERROR: Error reading CHM format"),
            string16(kCannotOpen));
        return false;
    }
    // The book's own container (its archive) serves the images and stylesheets.
    if (KsContainer* own = doc_->getContainer()) {
        arcContainer_ = KsRef<KsContainer>(own);
        if (epub) {
            container_ = arcContainer_;
            if (TnPropContainer* props = doc_->getProps())
                docProps_ = KsRef<TnPropContainer>(props);
        }
    }
    updateLayoutParams(0, 0);
    invalidateLayout();
    return true;
}

bool KsDocView::openArchiveOfBooks(KsRef<KsContainer> archive) {
    container_ = archive;
    arcContainer_ = archive;
    for (auto [fileKey, archiveKey] : {std::pair{"doc.file.name", "doc.archive.name"},
                                       std::pair{"doc.file.path", "doc.archive.path"},
                                       std::pair{"doc.file.size", "doc.archive.size"}}) {
        const string16 value = docProps_->readTextOr(fileKey, string16());
        if (!value.Empty()) docProps_->writeText(archiveKey, value);
        docProps_->writeText(fileKey, string16());
    }
    docProps_->writeInt("doc.file.crc32", 0);
    docProps_->writeInt("doc.archive.file.count", archive->GetObjectCount());

    const int entry = ChooseArchiveEntry(*archive);
    const KsContainerItemInfo* info = entry >= 0 ? archive->GetObjectInfo(entry) : nullptr;
    KsRef<KsStream> stream =
        info ? archive->OpenStream(info->GetName(), KS_MODE_READ) : KsRef<KsStream>();
    if (!stream) {
        LogWarn("openStream: the archive holds no book that can be opened");
        closeDocument();
        return false;
    }
    const string16 name(info->GetName());
    LogInfo("Opened archive stream %s", Utf8(name).c_str());
    docProps_->writeText("doc.file.name", name);
    docProps_->writeText("doc.file.code.base", ExtractPath(name));
    docProps_->writeInt("doc.file.size", StreamSize(*stream));
    docProps_->writeText("doc.file.crc32", Crc32Text(*stream));
    stream_ = stream;
    return parseStream();
}

bool KsDocView::parseStream() {
    newDocument();
    if (!stream_) return false;
    const int size = StreamSize(*stream_);
    if (size > kMinCachedStreamBytes) {
        string16 name = ExtractFilename(docProps_->readTextOr("doc.file.name", "untitled"));
        uint32_t crc = 0;
        if (stream_->ComputeCrc32(&crc) != KS_OK) crc = 0;
        (void)stream_->SetPos(0);
        LogInfo("Check whether document %s crc %08x exists in cache", Utf8(name).c_str(), crc);
        applyStyleSheet();
        updateLayoutParams(0, 0);
        if (!doc_->openFromCache(loadObserver_))
            LogInfo("Cannot get document from cache, parsing...");
    }

    if (size <= kMaxTooSmallStreamBytes) {
        makeMessageDocument(string16("ERROR: Wrong document size"), string16(kCannotOpen));
        return false;
    }
    // The writers must be gone before a message document replaces the document they write.
    // With fonts the document has its default style, and elements get their styles as they
    // are written; without, the bare tree is built.
    ldomDocumentWriterStyles documentStyles(*doc_);
    ldomWriterStyles* styles =
        ldomDocumentWriterStyles::available(*doc_) ? &documentStyles : nullptr;
    auto writer = std::make_unique<ldomDocumentWriter>(doc_.get(), WriterHeaderOnly::No, styles);
    auto filter = std::make_unique<ldomDocumentWriterFilter>(doc_.get(), WriterHeaderOnly::No,
                                                             kHtmlAutoCloseRules, styles);

    // The candidates in order; the first whose format check accepts the stream parses it.
    const bool preformatted = (doc_->styles().getDocFlags() & DOC_FLAG_PREFORMATTED_TEXT) != 0;
    auto candidate = [&](int index) -> std::unique_ptr<KsFileFormatParser> {
        switch (index) {
            case 0:
                setFormatId(doc_format_fb2);
                return std::make_unique<KsXMLParser>(stream_, writer.get(), XmlRootCheck::AnyXml);
            case 1:
                setFormatId(doc_format_rtf);
                return std::make_unique<KsRtfParser>(stream_, writer.get());
            case 2:
                setFormatId(doc_format_html);
                return std::make_unique<KsHTMLParser>(stream_, filter.get());
            case 3:
                setFormatId(doc_format_txt_bookmark);
                return std::make_unique<KsTextBookmarkParser>(stream_, writer.get());
            case 4:
                setFormatId(doc_format_txt);
                return std::make_unique<KsTextParser>(
                    stream_, writer.get(),
                    preformatted ? TextLayout::Preformatted : TextLayout::Detect);
            default:
                return nullptr;
        }
    };
    std::unique_ptr<KsFileFormatParser> parser;
    for (int index = 0; !parser; ++index) {
        parser = candidate(index);
        if (!parser) break;
        (void)stream_->SetPos(0);
        if (!parser->CheckFormat()) parser.reset();
    }
    if (!parser) {
        filter.reset();
        writer.reset();
        setFormatId(doc_format_none);
        makeMessageDocument(string16("ERROR: Unknown document format"), string16(kCannotOpen));
        return false;
    }

    applyStyleSheet();
    updateLayoutParams(0, 0);
    parser->setProgressCallback(loadObserver_);
    const bool parsed = parser->Parse();
    parser.reset();
    filter.reset();
    writer.reset();
    if (!parsed) {
        makeMessageDocument(string16("ERROR: Bad document format"), string16(kCannotOpen));
        return false;
    }

    scrollPos_ = 0;
    page_ = 0;
    ldomDocument* doc = doc_.get();
    // XHTML reads as XML, but it is a web page, not a FictionBook: it is named and titled as one.
    if (formatId_ == doc_format_fb2 && !ldomPosition::fromString(doc, string16("/html")).isNull())
        setFormatId(doc_format_html);
    if (formatId_ == doc_format_html) {
        const string16 title =
            CollapsedText(ldomPosition::fromString(doc, string16("/html/head/title")).getNode());
        if (!title.Empty()) docProps_->writeText("doc.title", title);
    }
    if (docProps_->readTextOr("doc.title", string16()).Empty()) {
        docProps_->writeText("doc.authors", Fb2Authors(doc, string16(", "), MiddleName::Initial));
        docProps_->writeText("doc.title", Fb2Title(doc));
        docProps_->writeText("doc.language", Fb2Language(doc));
        int number = 0;
        docProps_->writeText("doc.series.name", Fb2Series(doc, &number));
        docProps_->writeText("doc.series.number",
                             number >= 1 ? string16::FormatInt(number) : string16());
    }
    showCover_ = documentHasCover();
    invalidateLayout();
    return true;
}
