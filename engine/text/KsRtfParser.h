#pragma once

#include "engine/text/KsFileParserBase.h"

class KsXMLParserCallback;

// The Rich Text Format reader. It is not written yet: its format check recognises RTF (so RTF
// files are never passed off as plain text), and Parse reads nothing and fails.
// FIXME: the RTF reader (destinations, groups, pictures) replaces this.
class KsRtfParser : public KsFileParserBase {
public:
    KsRtfParser(KsRef<KsStream> stream, KsXMLParserCallback* callback);

    // The stream starts with "{\rtf".
    bool CheckFormat() override;
    bool Parse() override { return false; }
    void SetCharset(const unit16* /*name*/) override {}
    void SetCharsetTable(const unit16* /*table*/) override {}
    const unit16* GetCharsetTable() override { return nullptr; }

private:
    KsXMLParserCallback* callback_;
};
