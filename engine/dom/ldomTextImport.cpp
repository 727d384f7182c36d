#include "engine/dom/ldomTextImport.h"

#include "engine/dom/ldomDocumentWriter.h"

bool ImportTextDocument(KsRef<KsStream> stream, ldomDocument& document, TextLayout layout,
                        ldomWriterStyles* styles) {
    if (!stream) return false;
    ldomDocumentWriter writer(&document, WriterHeaderOnly::No, styles);
    KsTextParser parser(stream, &writer, layout);
    // The check also selects the charset the text is decoded with.
    if (!parser.CheckFormat()) return false;
    writer.OnStart(&parser);
    const bool parsed = parser.Parse();
    writer.OnStop();
    return parsed;
}
