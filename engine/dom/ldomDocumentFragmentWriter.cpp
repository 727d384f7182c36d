#include "engine/dom/ldomDocumentFragmentWriter.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/streams/PathUtils.h"

namespace {

bool Is(const unit16* text, const char* ascii) {
    if (!text) return false;
    for (; *ascii; ++ascii, ++text)
        if (*text != unit16(uint8_t(*ascii))) return false;
    return *text == 0;
}

bool Is(const unit16* text, const string16& name) {
    return text && name == string16(text);
}

}  // namespace

ldomDocumentFragmentWriter::ldomDocumentFragmentWriter(KsXMLParserCallback* parent,
                                                       const string16& baseTagName,
                                                       const string16& wrapperTagName,
                                                       const string16& codeBase)
    : parent_(parent), baseTag_(baseTagName), wrapperTag_(wrapperTagName), codeBaseDir_(codeBase) {}

void ldomDocumentFragmentWriter::setCodeBase(const string16& filePath) {
    filePath_ = filePath;
    auto found = pathPrefixes_.find(filePath);
    codeBasePrefix_ = found != pathPrefixes_.end() ? found->second : string16();
    if (codeBasePrefix_.Empty())
        LogDebug("codeBasePrefix is empty for path %s", String16ToUtf8(filePath).CStr());
    codeBaseDir_ = ExtractPath(filePath, EmptyPath::Dot);
    styleSheetValue_.Clear();
}

string16 ldomDocumentFragmentWriter::inCodeBase(const string16& path) const {
    // A file at the top of the book has the folder ".\", which is no folder for the path map.
    if (codeBaseDir_.Empty() || codeBaseDir_ == ".\\" || codeBaseDir_ == "./") return path;
    return CombinePaths(codeBaseDir_, path);
}

string16 ldomDocumentFragmentWriter::convertId(const string16& id) const {
    if (codeBasePrefix_.Empty()) return id;
    return codeBasePrefix_ + string16("_") + id;
}

string16 ldomDocumentFragmentWriter::convertHref(const string16& href) const {
    if (href.Find("://") >= 0) return href;
    // Split first: an anchor of this file ("#x") has no file part to join to the folder.
    const int32_t hash = href.FindUnit('#');
    const string16 file = hash >= 0 ? href.Substr(0, hash) : href;
    const string16 anchor = hash >= 0 ? href.Substr(hash + 1) : string16();
    string16 prefix;
    if (!file.Empty()) {
        auto found = pathPrefixes_.find(inCodeBase(file));
        if (found == pathPrefixes_.end()) return href;
        prefix = found->second;
    } else {
        prefix = codeBasePrefix_;
    }
    if (prefix.Empty()) return href;
    string16 result("#");
    result.Append(prefix);
    if (!anchor.Empty()) {
        result.Append('_');
        result.Append(anchor);
    }
    return result;
}

void ldomDocumentFragmentWriter::OnStart(KsFileFormatParser* parser) {
    parser_ = parser;
    insideBase_ = false;
    styleText_.Clear();
    insideStyle_ = false;
}

void ldomDocumentFragmentWriter::OnStop() {
    if (insideBase_ && !wrapperTag_.Empty()) parent_->OnTagClose(u"", wrapperTag_.CStr());
    insideBase_ = false;
}

ldomNode* ldomDocumentFragmentWriter::OnTagOpen(const unit16* nsPrefix, const unit16* tagName) {
    if (insideBase_) return parent_->OnTagOpen(nsPrefix, tagName);
    if (Is(tagName, "link")) linkState_ |= kInLink;
    if (Is(tagName, "style")) insideStyle_ = true;
    if (!Is(tagName, baseTag_)) return nullptr;
    insideBase_ = true;
    if (wrapperTag_.Empty()) return nullptr;
    wrapperNode_ = parent_->OnTagOpen(u"", wrapperTag_.CStr());
    if (!styleSheetValue_.Empty()) {
        LogDebug("Setting StyleSheet attribute to %s for document fragment",
                 String16ToUtf8(styleSheetValue_).CStr());
        parent_->OnAttribute(u"", u"StyleSheet", styleSheetValue_.CStr());
    }
    if (!codeBasePrefix_.Empty()) parent_->OnAttribute(u"", u"id", codeBasePrefix_.CStr());
    parent_->OnTagBody();
    if (!styleText_.Empty() || !furtherHrefs_.empty()) {
        parent_->OnTagOpen(u"", u"stylesheet");
        parent_->OnAttribute(u"", u"href", codeBaseDir_.CStr());
        parent_->OnTagBody();
        string16 css;
        for (const string16& href : furtherHrefs_) {
            css.AppendLatin1("@import url(\"");
            css.Append(href);
            css.AppendLatin1("\");\n");
        }
        css.Append(Utf8ToString16(styleText_));
        furtherHrefs_.clear();
        parent_->OnText(css.CStr(), css.Length(), 0);
        parent_->OnTagClose(u"", u"stylesheet");
    }
    parent_->OnTagOpen(u"", baseTag_.CStr());
    parent_->OnTagBody();
    return wrapperNode_;
}

void ldomDocumentFragmentWriter::OnTagBody() {
    if (insideBase_) parent_->OnTagBody();
    linkState_ = 0;
}

void ldomDocumentFragmentWriter::OnAttribute(const unit16* nsPrefix, const unit16* name,
                                             const unit16* value) {
    const string16 text(value ? value : u"");
    if (insideBase_) {
        if (Is(name, "href") || Is(name, "src"))
            parent_->OnAttribute(nsPrefix, name, convertHref(text).CStr());
        else if (Is(name, "id") || Is(name, "name"))
            parent_->OnAttribute(nsPrefix, name, convertId(text).CStr());
        else
            parent_->OnAttribute(nsPrefix, name, value);
        return;
    }
    if (!(linkState_ & kInLink)) return;
    string16 lower = text;
    lower.ToLower();
    if (Is(name, "rel") && lower == "stylesheet") {
        linkState_ |= kRelStyleSheet;
    } else if (Is(name, "type") && lower == "text/css") {
        linkState_ |= kTypeCss;
    } else if (Is(name, "href") && !text.Empty()) {
        linkState_ |= kHrefSeen;
        pendingHref_ = styleSheetValue_.Empty() ? inCodeBase(text) : text;
    }
    if (linkState_ == kStyleSheetLink) {
        if (styleSheetValue_.Empty())
            styleSheetValue_ = pendingHref_;
        else
            furtherHrefs_.push_back(pendingHref_);
        LogDebug("CSS file href: %s", String16ToUtf8(pendingHref_).CStr());
        linkState_ = 0;
    }
}

void ldomDocumentFragmentWriter::OnText(const unit16* text, int length, int flags) {
    if (insideStyle_) {
        styleText_.Append(String16ToUtf8(text, length));
        return;
    }
    if (insideBase_) parent_->OnText(text, length, flags);
}

void ldomDocumentFragmentWriter::OnTagClose(const unit16* nsPrefix, const unit16* tagName) {
    insideStyle_ = false;
    linkState_ = 0;
    if (!insideBase_) return;
    if (Is(tagName, baseTag_)) {
        parent_->OnTagClose(nsPrefix, tagName);
        if (!wrapperTag_.Empty()) parent_->OnTagClose(u"", wrapperTag_.CStr());
        insideBase_ = false;
        return;
    }
    parent_->OnTagClose(nsPrefix, tagName);
}

bool ldomDocumentFragmentWriter::OnBinaryData(const string16& name, const uint8_t* data, int size) {
    return parent_->OnBinaryData(name, data, size);
}

void ldomDocumentFragmentWriter::OnMetaProperty(const char* name, const string8& value) {
    parent_->OnMetaProperty(name, value);
}
