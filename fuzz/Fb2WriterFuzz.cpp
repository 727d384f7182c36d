// Arbitrary bytes through the XML parser (FB2 only, or any XML, by the first byte) into the
// plain writer (whole book or header only), then the FB2 metadata and every check of a built
// document.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/Fb2Metadata.h"
#include "engine/dom/ldomDocumentWriter.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/text/KsXMLParser.h"
#include "fuzz/WriterFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    auto owner = std::make_unique<ldomDocument>();
    ldomDocument& document = *owner;
    loadBuiltinNameTables(document);
    const WriterHeaderOnly headerOnly = data[0] & 1 ? WriterHeaderOnly::Yes : WriterHeaderOnly::No;
    const XmlRootCheck check = data[0] & 2 ? XmlRootCheck::AnyXml : XmlRootCheck::Fb2Only;
    KsRef<KsStream> stream =
        CreateMemoryStream(data + 1, static_cast<ks_pos_t>(size - 1), MemoryCopy::Wrap);
    {
        ldomDocumentWriter writer(&document, headerOnly);
        KsXMLParser parser(stream, &writer, check);
        if (parser.CheckFormat()) parser.Parse();
    }
    (void)Fb2Title(&document);
    (void)Fb2Language(&document);
    int number = 0;
    (void)Fb2Series(&document, &number);
    (void)Fb2Authors(&document, string16(), MiddleName::Initial);
    writer_fuzz::CheckDocument(document, data, size);
    return 0;
}
