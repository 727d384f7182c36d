#include "engine/dom/ldomDocumentWriter.h"

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPosition.h"
#include "engine/dom/ldomWriterStyles.h"
#include "engine/dom/ldomWriterText.h"
#include "engine/dom/ldomXRange.h"
#include "engine/streams/PathUtils.h"
#include "engine/text/KsFileFormatParser.h"

namespace {

// Longest table-of-contents title taken from a section's title.
constexpr int kMaxTocTitleLength = 1024;

}  // namespace

bool IsBlockDisplayForText(CssDisplay display) {
    return display == CssDisplay::Block || display == CssDisplay::ListItem ||
           (display >= CssDisplay::Table && display <= CssDisplay::TableCaption);
}

ldomDocumentWriter::ldomDocumentWriter(ldomDocument* document, WriterHeaderOnly headerOnly,
                                       ldomWriterStyles* styles)
    : document_(document), styles_(styles), headerOnly_(headerOnly == WriterHeaderOnly::Yes) {
    sectionId_ = document_->getElementNameIndex("section");
    bodyId_ = document_->getElementNameIndex("body");
    titleId_ = document_->getElementNameIndex("title");
    styleSheetAttrId_ = document_->getAttrNameIndex("StyleSheet");
    ldomNode* root = document_->getRootNode();
    if (styles_ && root) {
        styles_->initNodeStyle(root);
        root->setRenderMethod(RenderMethod::Block);
    }
}

ldomDocumentWriter::~ldomDocumentWriter() {
    closeAllFrames();
    if (styles_) {
        if (fb2StyleSheetPushed_) styles_->popStyleSheet();
        if (ldomNode* root = document_->getRootNode()) styles_->initNodeStyle(root);
        styles_->initRenderMethods();
    }
    if (flattenedOpens_)
        LogWarn("%llu elements nested deeper than %d levels were not created",
                static_cast<unsigned long long>(flattenedOpens_), kMaxElementDepth);
    document_->logMemoryUsage();
}

ldomNode* ldomDocumentWriter::currentElement() const {
    ldomWriterFrame* frame = currentFrame();
    return frame ? frame->element : document_->getRootNode();
}

uint16_t ldomDocumentWriter::currentElementId() const {
    ldomNode* element = currentElement();
    return element ? element->nameId() : 0;
}

uint16_t ldomDocumentWriter::elementId(const unit16* tagName) {
    return document_->getElementNameIndex(string16(tagName ? tagName : u""));
}

void ldomDocumentWriter::updateFlags() {
    ldomWriterFrame* frame = currentFrame();
    flags_ = frame && frame->preformatted ? TXT_PREFORMATTED : 0;
}

void ldomDocumentWriter::OnStart(KsFileFormatParser* parser) {
    parser_ = parser;
    stopTagId_ = headerOnly_ ? document_->getElementNameIndex("description") : -2;
    ldomNode* root = document_->getRootNode();
    if (!root) return;
    auto frame = std::make_unique<ldomWriterFrame>();
    frame->parent = currentFrame();
    frame->element = root;
    frame->props = document_->getElementTypePtr(root->nameId());
    frame->allowText = frame->props && frame->props->allowText;
    frames_.push_back(std::move(frame));
}

void ldomDocumentWriter::OnStop() {
    closeAllFrames();
}

ldomNode* ldomDocumentWriter::openElement(const unit16* nsPrefix, uint16_t nameId) {
    openSkipped_ = false;
    ldomWriterFrame* parent = currentFrame();
    ldomNode* parentElement = parent ? parent->element : document_->getRootNode();
    ldomNode* element = nullptr;
    if (depth_ < kMaxElementDepth && parentElement) {
        const uint16_t nsId =
            nsPrefix && *nsPrefix ? document_->getNsNameIndex(string16(nsPrefix)) : 0;
        element = parentElement->insertElement(-1, nsId, nameId);
    }
    if (!element) {
        // Too deep (or no room left): the content stays in the current element and the
        // element's close must not close anything.
        if (!flattenedOpens_ && depth_ >= kMaxElementDepth)
            LogWarn("Elements nested deeper than %d levels: deeper elements are not created",
                    kMaxElementDepth);
        ++flattenedOpens_;
        ++flattenedCloses_[nameId];
        openSkipped_ = true;
        return nullptr;
    }
    auto frame = std::make_unique<ldomWriterFrame>();
    frame->parent = parent;
    frame->element = element;
    frame->props = document_->getElementTypePtr(nameId);
    frame->allowText = frame->props ? frame->props->allowText : parent != nullptr;
    frame->isSection = nameId == sectionId_;
    frame->preformatted = (frame->props && frame->props->whiteSpace == CssWhiteSpace::Pre) ||
                          (parent && parent->preformatted);
    if (nameId == bodyId_ && firstBody_) {
        frame->tocEntry = document_->getToc();
        firstBody_ = false;
    }
    frames_.push_back(std::move(frame));
    ++depth_;
    return element;
}

ldomNode* ldomDocumentWriter::OnTagOpen(const unit16* nsPrefix, const unit16* tagName) {
    ldomNode* element = openElement(nsPrefix, elementId(tagName));
    if (element) updateFlags();
    return element;
}

void ldomDocumentWriter::startBody() {
    ldomWriterFrame* frame = currentFrame();
    if (!frame) return;
    frame->bodyStarted = true;
    CssDisplay display;
    if (styles_) {
        styles_->initNodeStyle(frame->element);
        display = styles_->computedDisplay(frame->element);
    } else {
        display = document_->nodeDisplay(frame->element);
    }
    frame->dropLeadingSpace = IsBlockDisplayForText(display);
    if (frame->isSection && frame->parent && frame->parent->isSection && !frame->parent->tocEntry)
        makeTocEntry(frame->parent);
}

void ldomDocumentWriter::OnTagBody() {
    if (!openSkipped_) startBody();
    openSkipped_ = false;
}

void ldomDocumentWriter::OnAttribute(const unit16* nsPrefix, const unit16* name,
                                     const unit16* value) {
    ldomWriterFrame* frame = currentFrame();
    if (openSkipped_ || !frame || frame->element == document_->getRootNode() || !name) return;
    const uint16_t nsId = nsPrefix && *nsPrefix ? document_->getNsNameIndex(string16(nsPrefix)) : 0;
    const uint16_t attrId = document_->getAttrNameIndex(string16(name));
    if (!document_->setAttribute(frame->element, nsId, attrId, string16(value ? value : u"")))
        return;
    if (attrId == styleSheetAttrId_ && styles_)
        frame->pushedStyleSheet |= styles_->applyNodeStyleSheet(frame->element);
}

void ldomDocumentWriter::addText(const unit16* text, int length, int) {
    ldomWriterFrame* frame = currentFrame();
    if (!frame || length <= 0) return;
    if (frame->dropLeadingSpace && frame->element->childCount() == 0 && !frame->preformatted &&
        IsBlankText(text, length))
        return;
    frame->element->insertText(String16ToUtf8(text, length));
}

void ldomDocumentWriter::OnText(const unit16* text, int length, int flags) {
    ldomWriterFrame* frame = currentFrame();
    if (!frame || !frame->allowText) return;
    if ((flags_ & TXT_PREFORMATTED) && !(flags & TXT_PREFORMATTED) && IsBlankText(text, length))
        return;
    addText(text, length, flags);
}

bool ldomDocumentWriter::takeFlattenedClose(uint16_t nameId) {
    auto found = flattenedCloses_.find(nameId);
    if (found == flattenedCloses_.end()) return false;
    if (--found->second == 0) flattenedCloses_.erase(found);
    return true;
}

void ldomDocumentWriter::applyLinkedStyleSheet(ldomNode* element) {
    if (!element->isNodeName("link")) return;
    ldomNode* parent = element->parent();
    if (!parent || !parent->isNodeName("head")) return;
    string16 rel = element->attrValue("rel");
    string16 type = element->attrValue("type");
    if (rel.ToLower() != "stylesheet" || type.ToLower() != "text/css") return;
    const string16& href = element->attrValue("href");
    if (href.Empty()) return;
    string16 codeBase = document_->getProps()->readTextOr("doc.file.code.base", "");
    string16 path = codeBase.Empty() ? href : CombinePaths(codeBase, href);
    LogDebug("Internal stylesheet file: %s", String16ToUtf8(path).CStr());
    if (styles_) {
        styles_->setLinkedStyleSheet(path);
        styles_->applyDocumentStyleSheet();
    }
}

void ldomDocumentWriter::OnTagClose(const unit16*, const unit16* tagName) {
    if (!currentFrame()) {
        mismatch_ = true;
        return;
    }
    const uint16_t id = document_->findElementNameIndex(string16(tagName ? tagName : u""));
    if (takeFlattenedClose(id)) return;
    const bool styleSheetName = EqualsAscii(tagName, "stylesheet");
    bool fragmentStyleSheet = false;
    if (styleSheetName) {
        ldomWriterFrame* frame = currentFrame();
        ldomNode* parent = frame->element->parent();
        if (frame->parent && parent && parent->isNodeName("DocFragment")) {
            fragmentStyleSheet = true;
            if (styles_ &&
                styles_->applyFragmentStyleSheet(frame->element, frame->parent->pushedStyleSheet))
                frame->parent->pushedStyleSheet = true;
        }
    }
    if (id != currentElementId()) mismatch_ = true;
    closeFramesUpTo(id);
    updateFlags();
    if (id == stopTagId_ && parser_) parser_->Stop();
    if (styleSheetName && !fragmentStyleSheet && !fb2StyleSheetPushed_ && styles_) {
        styles_->pushStyleSheet();
        fb2StyleSheetPushed_ = true;
        styles_->applyDocumentStyleSheet();
    }
}

bool ldomDocumentWriter::closeFramesUpTo(uint16_t nameId) {
    if (!nameId) return false;
    ldomNode* root = document_->getRootNode();
    size_t level = frames_.size();
    while (level > 0) {
        ldomWriterFrame* frame = frames_[level - 1].get();
        if (frame->element == root) return false;  // the root frame is never closed by a tag
        if (frame->element->nameId() == nameId) break;
        --level;
    }
    if (level == 0) return false;
    while (frames_.size() >= level)
        closeInnermostFrame();
    return true;
}

void ldomDocumentWriter::closeInnermostFrame() {
    if (frames_.empty()) return;
    ldomWriterFrame* frame = frames_.back().get();
    ldomNode* element = frame->element;
    const bool isRoot = element == document_->getRootNode();
    if (onElementClose(*frame)) {
        applyLinkedStyleSheet(element);
        if (frame->isSection && !frame->tocEntry) makeTocEntry(frame);
        if (styles_) {
            if (!frame->bodyStarted) startBody();
            styles_->initNodeRenderMethod(element);
        }
        element->persist();
    }
    if (styles_ && frame->pushedStyleSheet) styles_->popStyleSheet();
    frames_.pop_back();
    if (!isRoot) --depth_;
}

void ldomDocumentWriter::closeAllFrames() {
    while (!frames_.empty())
        closeInnermostFrame();
    updateFlags();
}

const string16& ldomDocumentWriter::framePath(ldomWriterFrame* frame) {
    // Frames whose path is still to make, outermost last.
    std::vector<ldomWriterFrame*> pending;
    for (ldomWriterFrame* f = frame; f && !f->pathMade; f = f->parent)
        pending.push_back(f);
    ldomNode* root = document_->getRootNode();
    for (size_t i = pending.size(); i-- > 0;) {
        ldomWriterFrame* f = pending[i];
        f->pathMade = true;
        if (f->element == root) continue;
        // The step counts the siblings written so far: the number appears from the second
        // same-named sibling on, and a step without one names the first.
        f->path = f->parent ? f->parent->path : string16();
        f->path.Append('/');
        f->path.Append(PathStepOf(f->element));
    }
    return frame->path;
}

void ldomDocumentWriter::makeTocEntry(ldomWriterFrame* frame) {
    if (!frame->isSection || frame->tocEntry) return;
    ldomWriterFrame* parent = frame->parent;
    if (!parent || !parent->tocEntry) return;
    string16 title;
    if (ldomNode* titleElement = frame->element->findChild(kAnyNamespace, titleId_, -1)) {
        title = ldomXRange::ofNode(titleElement).getRangeText(' ', kMaxTocTitleLength);
        title.CollapseSpaces(SpaceCollapse::None);
    }
    frame->tocEntry =
        parent->tocEntry->addChild(title, ldomPosition(frame->element, 0), framePath(frame));
}

bool ldomDocumentWriter::OnBinaryData(const string16& name, const uint8_t* data, int size) {
    return document_->addBlob(name, data, size);
}

void ldomDocumentWriter::OnMetaProperty(const char* name, const string8& value) {
    if (name && *name) document_->getProps()->writeText(name, Utf8ToString16(value));
}
