#include "engine/dom/ldomDocumentWriterFilter.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomWriterStyles.h"
#include "engine/dom/ldomWriterText.h"
#include "engine/text/KsFileFormatParser.h"

const ldomAutoCloseRule kHtmlAutoCloseRules[] = {
    {"input", nullptr},
    {"option", "option", nullptr},
    {"pre", "pre", nullptr},
    {"p", "p", "hr", nullptr},
    {"li", "li", "p", nullptr},
    {"ul", "li", "p", nullptr},
    {"ol", "li", "p", nullptr},
    {"td", "td", "th", nullptr},
    {"th", "th", "td", nullptr},
    {"dd", "dd", "p", nullptr},
    {"dl", "dt", "p", nullptr},
    {"dt", "dt", "dd", "p", nullptr},
    {"tr", "tr", "thead", "tfoot", "tbody", nullptr},
    {"col", nullptr},
    {"br", nullptr},
    {"hr", nullptr},
    {"param", "param", nullptr},
    {"img", nullptr},
    {"div", "p", nullptr},
    {"thead", "tr", "thead", "tfoot", "tbody", nullptr},
    {"tfoot", "tr", "thead", "tfoot", "tbody", nullptr},
    {"tbody", "tr", "thead", "tfoot", "tbody", nullptr},
    {"table", "p", nullptr},
    // Further void elements of HTML: left open, they would swallow what follows (the title
    // after a meta in a head, the paragraphs after an area).
    {"meta", nullptr},
    {"link", nullptr},
    {"base", nullptr},
    {"area", nullptr},
    {"wbr", nullptr},
    {"embed", nullptr},
    {"source", nullptr},
    {"track", nullptr},
    {nullptr},
};

namespace {

constexpr unit16 kNbsp = 0x00A0;

// A line made of one character repeated, among those books use for a rule.
bool IsRuleLine(const unit16* text, int length) {
    const unit16 c = text[0];
    if (c != '#' && c != '*' && c != '-' && c != '=' && c != '_') return false;
    for (int i = 1; i < length; ++i)
        if (text[i] != c) return false;
    return true;
}

}  // namespace

ldomDocumentWriterFilter::ldomDocumentWriterFilter(ldomDocument* document,
                                                   WriterHeaderOnly headerOnly,
                                                   const ldomAutoCloseRule* rules,
                                                   ldomWriterStyles* styles)
    : ldomDocumentWriter(document, headerOnly, styles) {
    for (const ldomAutoCloseRule* row = rules; row && (*row)[0]; ++row) {
        std::vector<uint16_t> closes;
        for (int i = 1; i < kAutoCloseRuleWidth && (*row)[i]; ++i)
            closes.push_back(document->getElementNameIndex((*row)[i]));
        rules_[document->getElementNameIndex((*row)[0])] = std::move(closes);
    }
    styleAttrId_ = document->getAttrNameIndex("style");
    classAttrId_ = document->getAttrNameIndex("class");
}

bool ldomDocumentWriterFilter::internalStyles() const {
    // Without a style side the document's own styles count as wanted, as they are by default.
    return !styles() || styles()->internalStylesEnabled();
}

void ldomDocumentWriterFilter::updateFilterFlags() {
    updateFlags();
    ldomWriterFrame* frame = currentFrame();
    if (preParagraphMode_ && frame && frame->preformatted)
        setFlags(getFlags() | TXT_TRIM | TXT_SPLIT_INDENTED_LINES);
}

void ldomDocumentWriterFilter::AutoClose(uint16_t id, bool opening) {
    auto rule = rules_.find(id);
    if (rule == rules_.end()) return;
    if (!opening) {
        if (rule->second.empty() && currentFrame() && currentElementId() == id &&
            currentFrame()->element != getDocument()->getRootNode())
            closeInnermostFrame();
        return;
    }
    if (rule->second.empty()) return;
    // The innermost open element the rule names, below the root.
    for (ldomWriterFrame* frame = currentFrame(); frame && frame->parent; frame = frame->parent) {
        const uint16_t open = frame->element->nameId();
        for (uint16_t closes : rule->second) {
            if (open == closes) {
                closeFramesUpTo(open);
                return;
            }
        }
    }
}

ldomNode* ldomDocumentWriterFilter::OnTagOpen(const unit16* nsPrefix, const unit16* tagName) {
    if (!tagBodyReceived_) {
        LogError("OnTagOpen w/o parent's OnTagBody : %s",
                 String16ToUtf8(string16(tagName ? tagName : u"")).CStr());
        FatalError(-1, "Unknown fatal error");
    }
    tagBodyReceived_ = false;
    paragraphFromBreak_ = EqualsAscii(tagName, "br") || EqualsAscii(tagName, "dd");
    const uint16_t id = paragraphFromBreak_ ? elementId(u"p") : elementId(tagName);
    // A void element holds nothing, not even the element that follows it directly.
    AutoClose(currentElementId(), false);
    AutoClose(id, true);
    ldomNode* element = openElement(nsPrefix, id);
    if (element) updateFilterFlags();
    return element;
}

void ldomDocumentWriterFilter::OnTagBody() {
    tagBodyReceived_ = true;
    ldomDocumentWriter::OnTagBody();
}

void ldomDocumentWriterFilter::OnAttribute(const unit16* nsPrefix, const unit16* name,
                                           const unit16* value) {
    if (!EqualsAscii(name, "align")) {
        ldomDocumentWriter::OnAttribute(nsPrefix, name, value);
        return;
    }
    ldomWriterFrame* frame = currentFrame();
    if (elementOpenSkipped() || !frame || !frame->parent) return;
    string16 align(value ? value : u"");
    align.ToLower();
    frame->align = align;
    if (align == "justify" || align == "left" || align == "right" || align == "center")
        appendStyle(string16("text-align: ") + align);
}

void ldomDocumentWriterFilter::appendStyle(const string16& text) {
    ldomWriterFrame* frame = currentFrame();
    if (!internalStyles() || !frame || !frame->parent) return;
    string16 style = frame->element->attrValue(kAnyNamespace, styleAttrId_);
    if (!style.Empty() && !style.EndsWith(";")) style.AppendLatin1("; ");
    style.Append(text);
    getDocument()->setAttribute(frame->element, 0, styleAttrId_, style);
}

void ldomDocumentWriterFilter::setClass(const string16& text, bool overwrite) {
    ldomWriterFrame* frame = currentFrame();
    if (!frame || !frame->parent) return;
    if (!overwrite && frame->element->hasAttr(kAnyNamespace, classAttrId_)) return;
    getDocument()->setAttribute(frame->element, 0, classAttrId_, text);
}

void ldomDocumentWriterFilter::OnText(const unit16* text, int length, int flags) {
    AutoClose(currentElementId(), false);
    if ((getFlags() & TXT_PREFORMATTED) && !(flags & TXT_PREFORMATTED) && IsBlankText(text, length))
        return;
    ldomWriterFrame* frame = currentFrame();
    if (!frame || !frame->allowText) return;
    if (paragraphFromBreak_ && length > 0 && text[0] == kNbsp) {
        // An indent made of no-break spaces after a line break: a class, not text.
        int skip = 0;
        while (skip < length && text[skip] == kNbsp) {
            ++skip;
            while (skip < length && text[skip] == ' ')
                ++skip;
        }
        text += skip;
        length -= skip;
        setClass(string16("justindent"), false);
    }
    paragraphFromBreak_ = false;
    if (preParagraphMode_ && (flags & TXT_PREFORMATTED)) {
        addPreformattedLine(text, length);
        return;
    }
    addText(text, length, flags);
}

void ldomDocumentWriterFilter::addPreformattedLine(const unit16* text, int length) {
    int indent = 0;
    int skip = 0;
    for (; skip < length; ++skip) {
        const unit16 c = text[skip];
        if (c == '\t')
            indent += 8;
        else if (c == ' ' || c == kNbsp)
            indent += 1;
        else
            break;
    }
    text += skip;
    length -= skip;
    if (length <= 0) return;
    const bool rule = IsRuleLine(text, length);
    const uint16_t id = elementId(rule ? u"hr" : indent > 8 ? u"h2" : u"p");
    if (!openElement(u"", id)) {
        if (!rule) addText(text, length, 0);
        return;
    }
    startBody();
    if (!rule) addText(text, length, 0);
    closeInnermostFrame();
    updateFilterFlags();
}

void ldomDocumentWriterFilter::OnTagClose(const unit16*, const unit16* tagName) {
    if (!tagBodyReceived_) {
        LogError("OnTagClose w/o parent's OnTagBody : %s",
                 String16ToUtf8(string16(tagName ? tagName : u"")).CStr());
        FatalError(-1, "Unknown fatal error");
    }
    if (!currentFrame()) {
        setMismatch();
        return;
    }
    const uint16_t id = getDocument()->findElementNameIndex(string16(tagName ? tagName : u""));
    if (takeFlattenedClose(id)) return;
    if (EqualsAscii(tagName, "title")) {
        ldomNode* element = currentElement();
        ldomNode* parent = element ? element->parent() : nullptr;
        if (element && element->isNodeName("title") && parent && parent->isNodeName("head")) {
            string16 title = element->text();
            title.Trim();
            // A title the book already has (MOBI metadata, or the first page of a book made of
            // several pages) is not replaced by the title of a later page.
            TnPropContainer* props = getDocument()->getProps();
            if (!title.Empty() && props->readTextOr("doc.title", string16()).Empty())
                props->writeText("doc.title", title);
        }
    }
    AutoClose(currentElementId(), false);
    if (id != currentElementId()) setMismatch();
    closeFramesUpTo(id);
    updateFilterFlags();
    if (id != 0 && id == stopTagId() && parser_) parser_->Stop();
}

bool ldomDocumentWriterFilter::onElementClose(ldomWriterFrame& frame) {
    ldomNode* element = frame.element;
    ldomNode* parent = element->parent();
    if (!parent || parent->lastChild() != element) return true;
    if (element->isNodeName("table")) {
        if (frame.align == "right" && element->attrValue("width") == "30%") {
            element->destroy();
            return false;
        }
    } else if (element->isNodeName("pre")) {
        if (preParagraphMode_) {
            if (element->childCount() == 0) {
                element->destroy();
                return false;
            }
            element->setNameId(elementId(u"div"));
        }
    } else if (element->isNodeName("div")) {
        ldomNode* last = element->lastChild();
        if (frame.align == "right" && last && last->isNodeName("form")) {
            element->destroy();
            preParagraphMode_ = true;
            return false;
        }
    }
    return true;
}
