#pragma once

#include "engine/core/KsRefCounter.h"
#include "engine/streams/KsStream.h"
#include "engine/text/KsTextParser.h"

class ldomDocument;
class ldomWriterStyles;

// Parses a plain-text (or Palm Markup Language) file into the document through the plain writer.
// False when the stream does not look like text; the document is untouched then.
[[nodiscard]] bool ImportTextDocument(KsRef<KsStream> stream, ldomDocument& document,
                                      TextLayout layout = TextLayout::Detect,
                                      ldomWriterStyles* styles = nullptr);
