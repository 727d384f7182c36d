#pragma once

#include "engine/text/KsTextFileBase.h"
#include "engine/text/KsTextLineWindow.h"

// How a plain-text import finds its paragraphs.
enum class TextLayout {
    Detect,        // guessed from the layout of the first 2000 lines (PML included)
    Preformatted,  // every line kept as it is
    Pml,           // Palm Markup Language, for containers that know their text is PML
};

// The plain-text parser: lines of text, their paragraphs guessed from the layout, sent as the
// events of an FB2 document (a description with the author and title guessed from the text, and a
// body of sections, titles, paragraphs and empty lines). Palm Markup Language is recognised by
// its escapes and converted escape by escape.
class KsTextParser : public KsTextFileBase {
public:
    KsTextParser(KsRef<KsStream> stream, KsXMLParserCallback* callback,
                 TextLayout layout = TextLayout::Detect);

    // Text is what decodes (after charset detection) to more than 16 characters of its first
    // 16 KiB without control characters other than tab, line feed, carriage return, BEL, BS, FF,
    // U+0014, U+0015 and U+001E, and with enough spaces (a sixteenth of the characters) or a
    // line break.
    bool CheckFormat() override;
    // Reads the whole stream through a sliding window of lines (memory stays bounded for any
    // file) and sends the document's events. Always true; sends neither OnStart nor OnStop.
    bool Parse() override;

    bool IsPreformatted() const { return layout_ == TextLayout::Preformatted; }
    // The name of the stream (its path), or empty.
    string16 GetStreamName() const;
    // The format flags the last Parse worked with.
    int GetFormatFlags() const { return formatFlags_; }
    // How full the window of lines was at most during the last Parse.
    const KsTextWindowPeak& GetWindowPeak() const { return windowPeak_; }

private:
    TextLayout layout_;
    int formatFlags_ = 0;
    KsTextWindowPeak windowPeak_;
};
