#pragma once

#include "engine/text/KsTextParser.h"

// Reads the exported-bookmarks text file (UTF-8 with a byte-order mark and a fixed header) and
// reports it as a small FictionBook, so that exported bookmarks can be read like a book.
class KsTextBookmarkParser : public KsTextParser {
public:
    KsTextBookmarkParser(KsRef<KsStream> stream, KsXMLParserCallback* callback);

    bool CheckFormat() override;
    bool Parse() override;

    // The first two lines every exported-bookmarks file starts with (after its byte-order mark).
    static const char* Header();

private:
    void Paragraph(const string16& prefix, const string16& text);
};
