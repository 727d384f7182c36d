#include "engine/dom/ldomMarkupImport.h"

#include <memory>

#include "engine/dom/ldomDocumentWriter.h"
#include "engine/dom/ldomDocumentWriterFilter.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsXMLParser.h"

namespace {

// Receives nothing: the format checks run before a writer touches the document.
class NoEvents : public KsXMLParserCallback {
public:
    void OnStop() override {}
    ldomNode* OnTagOpen(const unit16*, const unit16*) override { return nullptr; }
    void OnTagBody() override {}
    void OnTagClose(const unit16*, const unit16*) override {}
    void OnAttribute(const unit16*, const unit16*, const unit16*) override {}
    void OnText(const unit16*, int, int) override {}
    bool OnBinaryData(const string16&, const uint8_t*, int) override { return false; }
};

bool ParseXml(KsRef<KsStream> stream, ldomDocument& document, XmlRootCheck check,
              ldomWriterStyles* styles) {
    NoEvents none;
    if (!KsXMLParser(stream, &none, check).CheckFormat()) return false;
    ldomDocumentWriter writer(&document, WriterHeaderOnly::No, styles);
    KsXMLParser parser(stream, &writer, check);
    (void)parser.CheckFormat();  // selects the charset again, for this parser
    parser.Parse();
    return true;
}

bool ParseHtml(KsRef<KsStream> stream, ldomDocument& document, ldomWriterStyles* styles) {
    NoEvents none;
    if (!KsHTMLParser(stream, &none).CheckFormat()) return false;
    ldomDocumentWriterFilter writer(&document, WriterHeaderOnly::No, kHtmlAutoCloseRules, styles);
    KsHTMLParser parser(stream, &writer);
    (void)parser.CheckFormat();
    parser.Parse();
    return true;
}

}  // namespace

MarkupFormat ImportMarkupDocument(KsRef<KsStream> stream, ldomDocument& document,
                                  MarkupFormat format, ldomWriterStyles* styles) {
    if (!stream) return MarkupFormat::None;
    switch (format) {
        case MarkupFormat::Xml:
            return ParseXml(stream, document, XmlRootCheck::AnyXml, styles) ? format
                                                                            : MarkupFormat::None;
        case MarkupFormat::Fb2:
            return ParseXml(stream, document, XmlRootCheck::Fb2Only, styles) ? format
                                                                             : MarkupFormat::None;
        case MarkupFormat::Html:
            return ParseHtml(stream, document, styles) ? format : MarkupFormat::None;
        case MarkupFormat::Detect:
            if (ParseXml(stream, document, XmlRootCheck::AnyXml, styles)) return MarkupFormat::Xml;
            if (ParseHtml(stream, document, styles)) return MarkupFormat::Html;
            return MarkupFormat::None;
        case MarkupFormat::None:
            break;
    }
    return MarkupFormat::None;
}
