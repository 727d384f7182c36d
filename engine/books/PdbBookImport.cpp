#include "engine/books/PdbBookImport.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/MobiMetadata.h"
#include "engine/books/PDBFile.h"
#include "engine/core/Log.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/text/EncodingDetector.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsTextParser.h"

namespace {

// Bytes of the text the UTF-8 probe looks at, and the fewest it decides on.
constexpr ks_pos_t kUtf8ProbeBytes = 16384;
constexpr size_t kUtf8ProbeMinBytes = 8;

// True when the first bytes of the text carry a UTF-8 byte-order mark or are valid UTF-8.
bool TextLooksLikeUtf8(KsStream& text) {
    const ks_pos_t size = std::min(text.GetSize(), kUtf8ProbeBytes);
    std::vector<char> sample(static_cast<size_t>(size));
    ks_pos_t got = 0;
    const bool read = text.SetPos(0) == KS_OK && text.Read(sample.data(), size, &got) == KS_OK;
    (void)text.SetPos(0);
    if (!read || got < kUtf8ProbeMinBytes) return false;
    string8 charset, language;
    return DetectUnicodeEncoding(sample.data(), static_cast<size_t>(got), charset, language) &&
           charset == string8("utf-8");
}

// The charset a MOBI book's text is in. The MOBI header names it, and that wins: a windows-1252
// book whose first pages happen to be plain ASCII would pass any UTF-8 probe. Only a header
// value the engine does not know leaves it to the probe; empty when even that says nothing, so
// the parser's own detection decides. Other PDB books carry no encoding.
const char* MobiTextCharset(PDBFile& book) {
    if (book.Format() != PDB_FORMAT_MOBI) return nullptr;
    switch (book.BookHeader().textEncoding) {
        case kMobiEncodingUtf8:
            return "utf-8";
        case kMobiEncodingWindows1252:
            return "windows-1252";
        default:
            return TextLooksLikeUtf8(book) ? "utf-8" : nullptr;
    }
}

// PalmDOC and eReader books have no title of their own: the database name stands in.
void AddTitleFromDatabaseName(PDBFile& book, TnPropContainer& properties) {
    string16 title;
    if (properties.readText("doc.title", title) && !title.Empty()) return;
    const char* name = book.Database().name;
    title = DecodeMobiText(reinterpret_cast<const uint8_t*>(name),
                           strnlen(name, sizeof book.Database().name), kMobiEncodingWindows1252);
    title.Trim();
    if (!title.Empty()) properties.writeText("doc.title", title);
}

bool ParseHtml(KsRef<KsStream> text, PDBFile& book, ldomDocument& document,
               KsLoadingCallback* progress) {
    ldomDocumentWriterFilter writer(&document, WriterHeaderOnly::No, kHtmlAutoCloseRules);
    KsHTMLParser parser(text, &writer);
    parser.setProgressCallback(progress);
    if (!parser.CheckFormat()) {
        LogError("PDB book: the text is not HTML");
        return false;
    }
    if (const char* charset = MobiTextCharset(book)) parser.SetCharset(string16(charset).CStr());
    return parser.Parse();
}

bool ParseText(KsRef<KsStream> text, PDBFile& book, PdbContentKind kind, ldomDocument& document,
               KsLoadingCallback* progress) {
    ldomDocumentWriter writer(&document, WriterHeaderOnly::No);
    // The content detection has seen PML escapes already; the parser would find them too.
    KsTextParser parser(text, &writer,
                        kind == PDB_CONTENT_PML ? TextLayout::Pml : TextLayout::Detect);
    parser.setProgressCallback(progress);
    if (!parser.CheckFormat()) {
        LogError("PDB book: the text is not plain text");
        return false;
    }
    if (const char* charset = MobiTextCharset(book)) parser.SetCharset(string16(charset).CStr());
    // The text parser leaves the start and the end of the document to its caller.
    writer.OnStart(&parser);
    const bool parsed = parser.Parse();
    writer.OnStop();
    return parsed;
}

}  // namespace

bool LoadPdbBook(KsRef<KsStream>& stream, ldomDocument& document, KsLoadingCallback* progress,
                 PdbContentKind* contentKind) {
    if (contentKind) *contentKind = PDB_CONTENT_NONE;
    if (!stream) return false;
    KsRef<PDBFile> book(new PDBFile());
    KsRef<KsPDBContainer> images(new KsPDBContainer());
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (!book->Open(stream, images.Get(), PdbTextPass::Run, &kind)) {
        LogError("PDB book cannot be opened: %s", PdbOpenErrorText(book->OpenError()));
        return false;
    }
    if (contentKind) *contentKind = kind;
    // From here on everything reads the decoded text.
    stream = book;
    images->SetPdbFile(book);
    document.setContainer(images);
    // There is no cache file to reopen; this leaves the document ready for a fresh parse.
    (void)document.openFromCache(progress);
    TnPropContainer& properties = *document.getProps();
    properties.copyAllFrom(*book->Properties());
    AddTitleFromDatabaseName(*book, properties);

    if (kind == PDB_CONTENT_HTML) return ParseHtml(stream, *book, document, progress);
    return ParseText(stream, *book, kind, document, progress);
}
