#pragma once

#include <vector>

#include "engine/core/KsString.h"
#include "engine/text/KsTextFileBase.h"
#include "engine/text/XmlTextProcessing.h"

// Which documents the XML format check accepts.
enum class XmlRootCheck {
    AnyXml,      // any XML document
    Fb2Only,     // a FictionBook document
    XmlOrXhtml,  // any XML document, or XHTML without an XML declaration
};

// The forgiving XML tokenizer, for FB2 and other XML. It never validates and keeps no stack of open
// elements: it reports exactly the tags it sees, in order, as callback events; closing what the
// source leaves open is the writer's business. Malformed markup has a fixed recovery and never
// fails the parse.
class KsXMLParser : public KsTextFileBase {
public:
    KsXMLParser(KsRef<KsStream> stream, KsXMLParserCallback* callback,
                XmlRootCheck rootCheck = XmlRootCheck::AnyXml);

    bool CheckFormat() override;
    bool Parse() override;
    void Reset() override;
    // Also reports the charset to the callback.
    void SetCharset(const unit16* name) override;
    void setAuxFlag(bool flag) override { auxFlag_ = flag; }
    bool getAuxFlag() override { return auxFlag_; }

protected:
    // HTML: names are lower-cased, and the text of script and style elements is read as it is up
    // to their closing tag.
    void SetHtmlMode() { htmlMode_ = true; }
    bool IsHtmlMode() const { return htmlMode_; }
    // Decodes up to `maxChars` characters of the first bytes of the stream for the format checks.
    int ReadSample(std::vector<unit16>& sample, int maxChars);

private:
    enum class State { BeforeFirstTag, TagStart, InTag, AfterTag };

    bool ReadName(string16& prefix, string16& name);
    void ReadTagStart();
    void ReadAttribute();
    void ReadAttributeValue(string16& value);
    void SkipComment();
    // Text up to the next '<' (which is consumed), in pieces.
    void ReadText();
    // The content of <![CDATA[ ... ]]> as text, entities untouched.
    void ReadCData();
    // The content of an HTML script or style element up to its closing tag.
    void ReadRawText(const string16& elementName);
    // Hands the first `count` collected units to the callback and drops them from the buffer.
    void HandOver(int count, PieceEnd end, EntityHandling entities);
    void Collect(unit16 c) { pending_.push_back(c); }

    XmlRootCheck rootCheck_;
    bool htmlMode_ = false;
    bool auxFlag_ = true;
    State state_ = State::BeforeFirstTag;
    bool bodyStarted_ = false;
    int textFlags_ = 0;
    int attributesInTag_ = 0;
    string16 tagPrefix_, tagName_;
    string16 attrPrefix_, attrName_, attrValue_;
    std::vector<unit16> pending_;   // text collected and not yet handed over
    std::vector<unit16> piece_;     // the piece being handed over
    std::vector<unit16> expanded_;  // scratch for tab expansion
};
