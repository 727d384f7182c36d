#include "engine/css/ldomDocumentStyles.h"

#include <algorithm>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/css/CssComputedStyle.h"
#include "engine/css/CssImportLoader.h"
#include "engine/css/CssImportSource.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsFontManager.h"

namespace {

constexpr const char* kScalingKeys[4] = {
    "tarnkit.image.scaling.zoomin.inline",
    "tarnkit.image.scaling.zoomin.block",
    "tarnkit.image.scaling.zoomout.inline",
    "tarnkit.image.scaling.zoomout.block",
};

}  // namespace

ldomDocumentStyles::ldomDocumentStyles(ldomDocument& document) : document_(document) {}

int ldomDocumentStyles::fontDocumentId() const {
    const uint32_t both = DOC_FLAG_ENABLE_INTERNAL_STYLES | DOC_FLAG_ENABLE_DOC_FONTS;
    return (docFlags_ & both) == both ? document_.docSlot() : -1;
}

bool ldomDocumentStyles::setRenderProps(int width, int height, KsRef<KsFont> defaultFont,
                                        int interlineSpace, TnPropAccessor* settings) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    bool changed = false;
    const int fontSize = defaultFont ? defaultFont->getSize() : 16;
    for (int kind = 0; kind < 4; ++kind) {
        const string8 modeKey = string8(kScalingKeys[kind]) + ".mode";
        const string8 scaleKey = string8(kScalingKeys[kind]) + ".scale";
        ldomImageScaling s;
        if (settings) {
            s.mode = settings->readIntOr(modeKey.CStr(), 0);
            s.scale = settings->readIntOr(scaleKey.CStr(), 1);
        }
        if (s.scale == 0) {  // automatic, from the font size
            s.scale = fontSize < 32 ? 1 : fontSize < 50 ? 2 : 3;
            if (s.scale == 1) s.mode = 0;
        }
        if (s.scale == 1) s.mode = 0;
        if (settings) {
            settings->writeInt(modeKey.CStr(), s.mode);
            settings->writeInt(scaleKey.CStr(), s.scale);
        }
        if (!(s == scaling_[kind])) changed = true;
        scaling_[kind] = s;
    }

    KsRef<CssStyleRecord> style = MakeRef<CssStyleRecord>();
    CssStyleRecord& s = *style;
    s.display = CssDisplay::Block;
    s.whiteSpace = CssWhiteSpace::Normal;
    s.textAlign = CssTextAlign::Left;
    s.textAlignLast = CssTextAlign::Left;
    s.textDecoration = CssTextDecoration::None;
    s.hyphenate = CssHyphenate::Auto;
    s.color = {CssValueType::Unspecified, 0};
    s.backgroundColor = {CssValueType::Unspecified, 0xFFFFFF};
    s.pageBreakBefore = s.pageBreakAfter = s.pageBreakInside = CssPageBreak::Auto;
    s.listStyleType = CssListStyleType::Disc;
    s.listStylePosition = CssListStylePosition::Outside;
    s.verticalAlign = CssVerticalAlign::Baseline;
    if (defaultFont) {
        s.fontFamily = static_cast<CssFontFamily>(std::clamp(defaultFont->getFontFamily(), 0, 5));
        s.fontName = string8("\"") + defaultFont->getTypeFace() + "\"";
    }
    s.fontSize = {CssValueType::Px, fontSize};
    s.fontWeight = CssFontWeight::W400;
    s.fontStyle = CssFontStyle::Normal;
    s.textIndent = {CssValueType::Px, 0};
    s.lineHeight = {CssValueType::Percent, interlineSpace};

    if (!renderPropsSet_ || docFlags_ != context_.docFlags) {
        LogDebug("ldomDocument::setRenderProps() - doc flags changed");
        changed = true;
    }
    if (!defaultStyle_ || defaultStyle_->hash() != style->hash() || !(*defaultStyle_ == *style)) {
        LogDebug("ldomDocument::setRenderProps() - style is changed");
        defaultStyle_ = style;
        changed = true;
    }
    if (defaultFont_.Get() != defaultFont.Get() ||
        (defaultFont && defaultFont_->getHash() != defaultFont->getHash())) {
        LogDebug("ldomDocument::setRenderProps() - font is changed");
        defaultFont_ = defaultFont;
        changed = true;
    }
    if (pageHeight_ != height) {
        LogDebug("ldomDocument::setRenderProps() - page height is changed");
        pageHeight_ = height;
        changed = true;
    }
    if (pageWidth_ != width) {
        LogDebug("ldomDocument::setRenderProps() - page width is changed");
        pageWidth_ = width;
        changed = true;
    }
    renderPropsSet_ = true;
    return changed;
}

KsRef<CssStyleRecord> ldomDocumentStyles::getStyle(const ldomNode* element) const {
    if (!element || !element->isElement()) return nullptr;
    return styles_.get(element->styleRef().styleIndex);
}

KsRef<KsFont> ldomDocumentStyles::getFont(const ldomNode* element) const {
    if (!element || !element->isElement()) return nullptr;
    return fonts_.get(element->styleRef().fontIndex);
}

void ldomDocumentStyles::releaseStyleIndex(uint16_t index) {
    if (index == 0) return;
    styles_.release(index);
    if (styles_.uses(index) != 0) return;
    // The slot may be reused for another style: its font no longer applies.
    auto it = styleFonts_.find(index);
    if (it != styleFonts_.end()) {
        fonts_.release(it->second);
        styleFonts_.erase(it);
    }
}

void ldomDocumentStyles::setStyle(ldomNode* element, KsRef<CssStyleRecord> style) {
    ldomElementStyleRef ref = element->styleRef();
    const uint16_t old = ref.styleIndex;
    ref.styleIndex = styles_.cache(style);
    element->setStyleRef(ref);
    releaseStyleIndex(old);
}

void ldomDocumentStyles::computeNodeStyle(ldomNode* element) {
    if (!defaultStyle_ || !element || !element->isElement()) return;
    KsRef<CssStyleRecord> parentStyle = defaultStyle_;
    ldomNode* parent = element->parent();
    if (!element->isRoot() && parent && !parent->isRoot()) {
        if (parent->childIndexOf(element->getNodeRef()) < 0)
            LogError("Invalid parent->child relation for nodes %d->%d",
                     int(NodeRefKey(parent->getNodeRef())), int(NodeRefKey(element->getNodeRef())));
        if (KsRef<CssStyleRecord> own = getStyle(parent)) parentStyle = own;
    }
    KsRef<CssStyleRecord> style = ComputeStyle(
        element, document_.getElementTypePtr(element->nameId()), &document_.getStyleSheet(),
        internalStylesEnabled() ? StyleAttribute::Apply : StyleAttribute::Ignore, *parentStyle,
        defaultFont_ ? defaultFont_->getSize() : 16);
    setStyle(element, style);
    if (!getStyle(element)) {
        LogError("NULL style set!!!");
        setStyle(element, style);
    }
    (void)assignNodeFont(element);
}

bool ldomDocumentStyles::assignNodeFont(ldomNode* element) {
    ldomElementStyleRef ref = element->styleRef();
    const uint16_t oldFont = ref.fontIndex;
    auto known = styleFonts_.find(ref.styleIndex);
    if (known != styleFonts_.end() && known->second != 0 && fonts_.get(known->second)) {
        if (known->second != oldFont) {
            fonts_.addRef(known->second);
            ref.fontIndex = known->second;
            element->setStyleRef(ref);
            fonts_.release(oldFont);
        }
        return true;
    }
    KsRef<CssStyleRecord> style = styles_.get(ref.styleIndex);
    if (!style) {
        LogError("style not found for index %d", ref.styleIndex);
        return false;
    }
    KsRef<KsFont> font = FontForStyle(*style, fontDocumentId());
    uint16_t index = font ? fonts_.cache(font) : 0;
    if (index == 0) {
        LogError("font not found for style!");
        return false;
    }
    // The map holds a use of its own, so the slot cannot be reused under it.
    fonts_.addRef(index);
    styleFonts_[ref.styleIndex] = index;
    ref.fontIndex = index;
    element->setStyleRef(ref);
    fonts_.release(oldFont);
    return true;
}

void ldomDocumentStyles::onNodeDestroyed(ldomNode& node) {
    if (!node.isElement()) return;
    const ldomElementStyleRef ref = node.styleRef();
    fonts_.release(ref.fontIndex);
    releaseStyleIndex(ref.styleIndex);
    node.setStyleRef(ldomElementStyleRef{});
}

void ldomDocumentStyles::dropStyles() {
    for (uint32_t n = 1; n <= document_.elementCounter(); ++n) {
        ldomNode* element = document_.nodeForRef((n << 4) | kNodeRefElementBit);
        if (element && !(element->styleRef() == ldomElementStyleRef{}))
            element->setStyleRef(ldomElementStyleRef{});
    }
    styles_.clear();
    fonts_.clear();
    styleFonts_.clear();
}

void ldomDocumentStyles::pushStyleSheet() {
    savedStyleSheets_.push_back(document_.getStyleSheet());
}

void ldomDocumentStyles::popStyleSheet() {
    if (savedStyleSheets_.empty()) return;
    document_.getStyleSheet() = savedStyleSheets_.back();
    savedStyleSheets_.pop_back();
}

bool ldomDocumentStyles::applyNodeStylesheet(ldomNode* element) {
    static const string16 kDocFragment(u"DocFragment");
    if (!element || !element->isElement() || element->name() != kDocFragment) return false;
    if (!internalStylesEnabled() || !document_.getContainer()) return false;
    LogDebug("ldomNode::applyNodeStylesheet()");
    CssContainerImportSource source(document_.getContainer());
    bool pushed = false;
    const string16& linked = element->attrValue("StyleSheet");
    if (!linked.Empty()) {
        pushStyleSheet();
        CssImportLoader loader(document_.getStyleSheet(), &source);
        if (loader.parseFile(linked))
            pushed = true;
        else
            popStyleSheet();
    }
    ldomNode* first = element->firstChild();
    if (first && first->isElement() && first->isNodeName("stylesheet")) {
        const bool pushedHere = !pushed;
        if (pushedHere) pushStyleSheet();
        CssImportLoader loader(document_.getStyleSheet(), &source);
        if (loader.parseText(first->attrValue("href"), String16ToUtf8(first->text()))) {
            pushed = true;
        } else if (pushedHere) {
            popStyleSheet();
        }
    }
    return pushed;
}

void ldomDocumentStyles::applyDocumentStyleSheet() {
    if (!internalStylesEnabled()) {
        LogDebug("applyDocumentStyleSheet() : DOC_FLAG_ENABLE_INTERNAL_STYLES is disabled");
        return;
    }
    if (!linkedStyleSheet_.Empty() && document_.getContainer()) {
        CssContainerImportSource source(document_.getContainer());
        CssImportLoader loader(document_.getStyleSheet(), &source);
        if (loader.parseFile(linkedStyleSheet_)) {
            LogDebug(
                "applyDocumentStyleSheet() : Using document stylesheet from "
                "link/stylesheet from %s",
                String16ToUtf8(linkedStyleSheet_).CStr());
            return;
        }
    }
    ldomNode* root = document_.getRootNode();
    const uint16_t fb2 = document_.findElementNameIndex(u"FictionBook");
    const uint16_t sheet = document_.findElementNameIndex(u"stylesheet");
    ldomNode* book = root && fb2 ? root->findChild(kAnyNamespace, fb2) : nullptr;
    ldomNode* node = book && sheet ? book->findChild(kAnyNamespace, sheet) : nullptr;
    if (!node) {
        LogDebug(
            "applyDocumentStyleSheet() : No internal FB2 stylesheet found under "
            "/FictionBook/stylesheet");
        return;
    }
    string8 text = String16ToUtf8(node->text(u'\n'));
    if (text.Empty()) {
        LogDebug("applyDocumentStyleSheet() : stylesheet under /FictionBook/stylesheet is empty");
        return;
    }
    LogDebug("applyDocumentStyleSheet() : Using internal FB2 document stylesheet:\n%s",
             text.CStr());
    (void)document_.getStyleSheet().parse(text);
}

bool ldomDocumentStyles::updateStyles() {
    ldomNode* root = document_.getRootNode();
    if (!root || !defaultStyle_) return false;
    if (rendered_ && checkRenderContext()) {
        LogInfo("rendering context is not changed - no render!");
        return false;
    }
    LogInfo("rendering context is changed - full render required...");
    LogInfo("init format data...");
    LogInfo("Dropping existing styles...");
    dropStyles();
    LogInfo("Save stylesheet...");
    pushStyleSheet();
    LogInfo("Init node styles...");
    applyDocumentStyleSheet();
    // Pre-order, without recursion: books nest deeply.
    struct Frame {
        ldomNode* node;
        int next;
        bool pushed;
    };
    std::vector<Frame> stack;
    std::vector<ldomNode*> postOrder;
    auto enter = [&](ldomNode* element) {
        bool pushed = applyNodeStylesheet(element);
        computeNodeStyle(element);
        stack.push_back({element, 0, pushed});
    };
    enter(root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.node->childCount()) {
            ldomNode* child = top.node->childAt(top.next++);
            if (child && child->isElement()) enter(child);
            continue;
        }
        if (top.pushed) popStyleSheet();
        postOrder.push_back(top.node);
        stack.pop_back();
    }
    LogInfo("Restoring stylesheet...");
    popStyleSheet();
    LogInfo("init render method...");
    for (ldomNode* element : postOrder)
        assignRenderMethod(element);
    updateRenderContext();
    rendered_ = true;
    return true;
}

uint32_t ldomDocumentStyles::nodeStyleHash() const {
    uint32_t h = 0;
    for (uint32_t n = 1; n <= document_.elementCounter(); ++n) {
        ldomNode* element = document_.nodeForRef((n << 4) | kNodeRefElementBit);
        if (!element) continue;
        KsRef<CssStyleRecord> style = getStyle(element);
        KsRef<KsFont> font = getFont(element);
        uint32_t styleHash = style ? style->hash() : 0;
        uint32_t fontHash = style && font ? font->getHash() : 0;
        h = h * 961u + styleHash * 31u + fontHash;
    }
    return h;
}

uint32_t ldomDocumentStyles::globalHash() const {
    KsFontManager* manager = GetFontManager();
    uint32_t kerning = manager && manager->GetKerning() ? 127368u : 3u;
    uint32_t fonts = manager ? static_cast<uint32_t>(manager->GetHash(fontDocumentId())) : 0;
    uint32_t hinting = manager ? static_cast<uint32_t>(manager->GetHintingMode()) : 0;
    uint32_t c = kerning * 961u + fonts * 31u + hinting;
    uint32_t d = GetGlobalFontWeightAdjustment() != 0 ? c * 75u + 2384761u : c;
    uint32_t e = (d * 75u + 1761u) * 31u;
    // The engine's only hyphenation method finds no places: it counts as none.
    return e + 123u;
}

uint32_t ldomDocumentStyles::computeStyleHash() const {
    const uint32_t M = uint32_t(scaling_[0].mode), A = uint32_t(scaling_[0].scale);
    const uint32_t B = uint32_t(scaling_[1].mode), C = uint32_t(scaling_[1].scale);
    const uint32_t D = uint32_t(scaling_[2].mode), E = uint32_t(scaling_[2].scale);
    const uint32_t F = uint32_t(scaling_[3].mode), G = uint32_t(scaling_[3].scale);
    const uint32_t P = uint32_t(spaceCondensing_);
    const uint32_t nodes = nodeStyleHash();
    const uint32_t global = globalHash();
    LogDebug(
        "Calculating style hash...  elemCount=%d, globalHash=%08x, docFlags=%08x, "
        "nodeStyleHash=%08x",
        int(document_.elementCounter()), global, docFlags_, nodes);
    uint32_t h = ((A + B) * 33u + C + D) * 33u + E + F;
    h = h * 33u + G + nodes * 31u;
    h = (h * 31u + P) * 31u + global;
    return h * 31u + docFlags_ + M * 970034143u;
}

uint32_t ldomDocumentStyles::renderStylesheetHash() const {
    return document_.getStyleSheet().hash() * 961u +
           (defaultStyle_ ? defaultStyle_->hash() : 0u) * 31u +
           (defaultFont_ ? defaultFont_->getHash() : 0u);
}

void ldomDocumentStyles::updateRenderContext() {
    context_.styleHash = computeStyleHash();
    context_.stylesheetHash = renderStylesheetHash();
    context_.docFlags = docFlags_;
    context_.width = pageWidth_;
    context_.height = pageHeight_;
    LogDebug(
        "Updating render properties: styleHash=%x, stylesheetHash=%x, docflags=%x, "
        "width=%x, height=%x",
        context_.styleHash, context_.stylesheetHash, context_.docFlags, unsigned(context_.width),
        unsigned(context_.height));
}

bool ldomDocumentStyles::checkRenderContext() const {
    ldomNode* root = document_.getRootNode();
    if (!root || !getStyle(root)) {
        LogDebug("checkRenderContext: style is not set for root node");
        return false;
    }
    uint32_t styleHash = computeStyleHash();
    if (styleHash != context_.styleHash) {
        LogDebug("checkRenderContext: Style hash doesn't match %x!=%x", styleHash,
                 context_.styleHash);
        return false;
    }
    uint32_t sheetHash = renderStylesheetHash();
    if (sheetHash != context_.stylesheetHash) {
        LogDebug("checkRenderContext: Stylesheet hash doesn't match %x!=%x", sheetHash,
                 context_.stylesheetHash);
        return false;
    }
    if (docFlags_ != context_.docFlags) {
        LogDebug("checkRenderContext: Doc flags don't match %x!=%x", docFlags_, context_.docFlags);
        return false;
    }
    if (pageWidth_ != context_.width) {
        LogDebug("checkRenderContext: Width doesn't match %x!=%x", unsigned(pageWidth_),
                 unsigned(context_.width));
        return false;
    }
    if (pageHeight_ != context_.height) {
        LogDebug("checkRenderContext: Page height doesn't match %x!=%x", unsigned(pageHeight_),
                 unsigned(context_.height));
        return false;
    }
    return true;
}
