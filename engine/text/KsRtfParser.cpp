#include "engine/text/KsRtfParser.h"

#include <cstring>

KsRtfParser::KsRtfParser(KsRef<KsStream> stream, KsXMLParserCallback* callback)
    : KsFileParserBase(std::move(stream)), callback_(callback) {}

bool KsRtfParser::CheckFormat() {
    Reset();
    const bool rtf =
        FillBuffer(50) && bufferedBytes_ >= 5 && std::memcmp(buffer_, "{\\rtf", 5) == 0;
    Reset();
    return rtf;
}
