#pragma once

#include <cstdint>

#include "engine/core/KsString.h"

class KsFileFormatParser;
class ldomNode;

// Text flags: how the text of the element that is open must be pre-processed. getFlags tells the
// parser; the same value travels with every OnText.
enum KsTextFlags : int {
    // Keep line breaks (CR, LF and each CR LF / LF CR pair become one LF) and every space; tabs
    // expand to 8-column stops.
    TXT_PREFORMATTED = 0x0001,
    // Remove a space at the start and at the end of the text.
    TXT_TRIM = 0x0004,
    // With TXT_TRIM: keep the leading / the trailing space.
    TXT_TRIM_KEEP_START_SPACE = 0x0008,
    TXT_TRIM_KEEP_END_SPACE = 0x0010,
    // Passed through with the text; the writers drop hyphens at line ends.
    TXT_TRIM_DROP_EOL_HYPHENS = 0x0020,
    // A line that starts with a space, tab or no-break space starts a new OnText.
    TXT_SPLIT_INDENTED_LINES = 0x0080,
    // Named entities with codes 128-255 are mapped through the charset table; attribute values
    // get entity pre-processing.
    TXT_MAP_8BIT_ENTITIES = 0x10000,
};

// The receiver of the events of one parse (the document writers, and readers of their own such
// as the EPUB encryption list). Strings are UTF-16 and valid only during the call. The XML, HTML
// and RTF parsers send OnStart first and OnStop last; the plain-text parsers send neither.
class KsXMLParserCallback {
public:
    virtual ~KsXMLParserCallback() = default;

    virtual int getFlags() { return 0; }
    virtual void setFlags(int /*flags*/) {}
    // The charset the parser switched to, with its 128-entry table (null when it has none).
    virtual void OnCharset(const unit16* /*name*/, const unit16* /*table*/) {}
    virtual void OnStart(KsFileFormatParser* parser) { parser_ = parser; }
    virtual void OnStop() = 0;
    // Opens an element (the prefix may be empty); returns the new element node or null.
    virtual ldomNode* OnTagOpen(const unit16* nsPrefix, const unit16* tagName) = 0;
    // The attributes of the element opened last are complete.
    virtual void OnTagBody() = 0;
    virtual void OnBareTagOpen(const unit16* nsPrefix, const unit16* tagName) {
        OnTagOpen(nsPrefix, tagName);
        OnTagBody();
    }
    virtual void OnEmptyTag(const unit16* nsPrefix, const unit16* tagName) {
        OnTagOpen(nsPrefix, tagName);
        OnTagBody();
        OnTagClose(nsPrefix, tagName);
    }
    virtual void OnTagClose(const unit16* nsPrefix, const unit16* tagName) = 0;
    virtual void OnAttribute(const unit16* nsPrefix, const unit16* name, const unit16* value) = 0;
    virtual void OnText(const unit16* text, int length, int flags) = 0;
    // A binary object (an image of an FB2 book); returns whether it was stored.
    virtual bool OnBinaryData(const string16& name, const uint8_t* data, int size) = 0;
    // A document property found by the parser (8-bit name, UTF-8 value).
    virtual void OnMetaProperty(const char* /*name*/, const string8& /*value*/) {}

protected:
    KsFileFormatParser* parser_ = nullptr;
};
