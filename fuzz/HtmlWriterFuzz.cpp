// Arbitrary bytes through the HTML parser into the auto-closing writer (whole page or header
// only, by the first byte), then every check of a built document.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsHTMLParser.h"
#include "fuzz/WriterFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    auto owner = std::make_unique<ldomDocument>();
    ldomDocument& document = *owner;
    loadBuiltinNameTables(document);
    const WriterHeaderOnly headerOnly = data[0] & 1 ? WriterHeaderOnly::Yes : WriterHeaderOnly::No;
    KsRef<KsStream> stream =
        CreateMemoryStream(data + 1, static_cast<ks_pos_t>(size - 1), MemoryCopy::Wrap);
    {
        ldomDocumentWriterFilter writer(&document, headerOnly, kHtmlAutoCloseRules);
        KsHTMLParser parser(stream, &writer);
        if (parser.CheckFormat()) parser.Parse();
    }
    writer_fuzz::CheckDocument(document, data, size);
    return 0;
}
