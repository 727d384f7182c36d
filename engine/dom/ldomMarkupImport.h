#pragma once

#include "engine/core/KsRefCounter.h"
#include "engine/streams/KsStream.h"

class ldomDocument;
class ldomWriterStyles;

enum class MarkupFormat {
    None,    // no parser accepted the stream
    Detect,  // XML (FB2, XHTML) when it looks like XML, else HTML
    Xml,
    Fb2,
    Html,
};

// Parses a markup file into the document with the writer its format needs: XML and FB2 through
// the plain writer, HTML through the auto-closing one. Returns the format used, or None when the
// stream is not in the format asked for (or, with Detect, in none of them).
MarkupFormat ImportMarkupDocument(KsRef<KsStream> stream, ldomDocument& document,
                                  MarkupFormat format = MarkupFormat::Detect,
                                  ldomWriterStyles* styles = nullptr);
