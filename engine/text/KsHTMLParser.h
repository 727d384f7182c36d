#pragma once

#include "engine/text/KsXMLParser.h"

// The HTML variant: lower-cased names, its own format check and charset declaration.
class KsHTMLParser : public KsXMLParser {
public:
    KsHTMLParser(KsRef<KsStream> stream, KsXMLParserCallback* callback);

    bool CheckFormat() override;
};
