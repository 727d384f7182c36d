#pragma once

#include "engine/text/KsTextFileBase.h"

// Whether a plain-text import keeps every line as it is.
enum class TextLayout { Detect, Preformatted };

// The plain-text parser: lines of text, their paragraphs guessed from the layout.
class KsTextParser : public KsTextFileBase {
public:
    KsTextParser(KsRef<KsStream> stream, KsXMLParserCallback* callback,
                 TextLayout layout = TextLayout::Detect);

    // Text is what decodes (after charset detection) to more than 16 characters of its first
    // 16 KiB without control characters other than tab, line feed, carriage return, BEL, BS, FF,
    // U+0014, U+0015 and U+001E, and with enough spaces (a sixteenth of the characters) or a
    // line break.
    bool CheckFormat() override;
    bool Parse() override;

    bool IsPreformatted() const { return layout_ == TextLayout::Preformatted; }

private:
    TextLayout layout_;
};
