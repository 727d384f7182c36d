#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "engine/css/CssEnums.h"
#include "engine/dom/ldomWriterFrame.h"
#include "engine/text/KsXMLParserCallback.h"

class ldomDocument;
class ldomWriterStyles;

// Whether a writer stops the parse after the FB2 description (for reading metadata only).
enum class WriterHeaderOnly : bool { No, Yes };

// Builds a document tree from a well-formed event stream (FB2, XHTML, the text and RTF imports):
// elements with their attributes and text, the table of contents of FB2 sections, and, with a
// style side, the styles and render methods of the elements as they close. Elements are made
// persistent as soon as they are closed. Nesting deeper than kMaxElementDepth is flattened.
class ldomDocumentWriter : public KsXMLParserCallback {
public:
    // `styles` may be null: the bare tree is built.
    explicit ldomDocumentWriter(ldomDocument* document,
                                WriterHeaderOnly headerOnly = WriterHeaderOnly::No,
                                ldomWriterStyles* styles = nullptr);
    ~ldomDocumentWriter() override;
    ldomDocumentWriter(const ldomDocumentWriter&) = delete;
    ldomDocumentWriter& operator=(const ldomDocumentWriter&) = delete;

    int getFlags() override { return flags_; }
    void setFlags(int flags) override { flags_ = flags; }
    void OnStart(KsFileFormatParser* parser) override;
    void OnStop() override;
    ldomNode* OnTagOpen(const unit16* nsPrefix, const unit16* tagName) override;
    void OnTagBody() override;
    void OnTagClose(const unit16* nsPrefix, const unit16* tagName) override;
    void OnAttribute(const unit16* nsPrefix, const unit16* name, const unit16* value) override;
    void OnText(const unit16* text, int length, int flags) override;
    bool OnBinaryData(const string16& name, const uint8_t* data, int size) override;
    void OnMetaProperty(const char* name, const string8& value) override;

    ldomDocument* getDocument() const { return document_; }
    // A closing tag did not match the innermost open element (or came with none open).
    bool hadMismatch() const { return mismatch_; }
    // Element opens that were not created because they were nested too deep.
    uint64_t flattenedOpens() const { return flattenedOpens_; }

protected:
    ldomWriterFrame* currentFrame() const {
        return frames_.empty() ? nullptr : frames_.back().get();
    }
    ldomNode* currentElement() const;
    uint16_t currentElementId() const;
    ldomWriterStyles* styles() const { return styles_; }
    bool elementOpenSkipped() const { return openSkipped_; }
    // The element id after which the parse stops (header-only mode), else -2.
    int stopTagId() const { return stopTagId_; }
    uint16_t elementId(const unit16* tagName);

    // Pushes a frame with a new element below the current one; null when the element is not
    // created (nested too deep, or the document is full: its close will be ignored).
    ldomNode* openElement(const unit16* nsPrefix, uint16_t nameId);
    // The body step of the innermost frame.
    void startBody();
    // Adds text to the innermost element as the base writer does.
    void addText(const unit16* text, int length, int flags);
    // A close whose element was not created: true (and forgotten) when it is one.
    bool takeFlattenedClose(uint16_t nameId);
    // Closes the frames up to and including the innermost one whose element has the id; false,
    // closing nothing, when there is none.
    bool closeFramesUpTo(uint16_t nameId);
    void closeInnermostFrame();
    void closeAllFrames();
    void setMismatch() { mismatch_ = true; }
    // Text flags for the innermost frame.
    void updateFlags();

    // Runs for every element as its frame closes, before it is made persistent; false when the
    // hook removed the element.
    virtual bool onElementClose(ldomWriterFrame& frame) {
        (void)frame;
        return true;
    }

private:
    void makeTocEntry(ldomWriterFrame* frame);
    // The "link rel=stylesheet" in the head of an HTML file, at its close (by its own tag, or
    // implicitly: HTML does not close a link).
    void applyLinkedStyleSheet(ldomNode* element);
    const string16& framePath(ldomWriterFrame* frame);

    ldomDocument* document_;
    ldomWriterStyles* styles_;
    std::vector<std::unique_ptr<ldomWriterFrame>> frames_;
    bool mismatch_ = false;
    bool headerOnly_;
    bool fb2StyleSheetPushed_ = false;
    int stopTagId_ = -2;
    int flags_ = 0;
    // The first body opened gets the table of contents' root.
    bool firstBody_ = true;
    // Elements open below the root element frame (the root's own frame not counted).
    int depth_ = 0;
    bool openSkipped_ = false;
    std::unordered_map<uint16_t, uint64_t> flattenedCloses_;
    uint64_t flattenedOpens_ = 0;
    uint16_t sectionId_ = 0;
    uint16_t bodyId_ = 0;
    uint16_t titleId_ = 0;
    uint16_t styleSheetAttrId_ = 0;
};

// Whether a display makes an element a block for the leading-space rule: block, list-item and
// the table displays.
bool IsBlockDisplayForText(CssDisplay display);
