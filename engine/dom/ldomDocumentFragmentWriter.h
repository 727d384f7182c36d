#pragma once

#include <map>
#include <vector>

#include "engine/core/KsString.h"
#include "engine/text/KsXMLParserCallback.h"

// Sits in front of another writer to merge the HTML files of a book (EPUB, CHM) into one
// document: of each file only the base element (its "body") is kept, wrapped in a fragment
// element, with ids and links given the file's prefix, and the file's "style" and stylesheet
// "link"s turned into a "stylesheet" element of the fragment.
class ldomDocumentFragmentWriter : public KsXMLParserCallback {
public:
    // An empty wrapper name forwards the base element's content without any element around it.
    ldomDocumentFragmentWriter(KsXMLParserCallback* parent, const string16& baseTagName,
                               const string16& wrapperTagName, const string16& codeBase);

    // The id prefix of a merged file (filled before parsing).
    void addPathPrefix(const string16& path, const string16& prefix) {
        pathPrefixes_[path] = prefix;
    }
    // The file about to be parsed.
    void setCodeBase(const string16& filePath);
    // An id of the current file as it is in the merged document.
    string16 convertId(const string16& id) const;
    // A link of the current file as it is in the merged document: "#prefix_anchor" for links
    // into merged files; others unchanged.
    string16 convertHref(const string16& href) const;
    // The style text collected from the current file's "style" elements (UTF-8).
    const string8& collectedStyleText() const { return styleText_; }

    int getFlags() override { return parent_->getFlags(); }
    void setFlags(int flags) override { parent_->setFlags(flags); }
    void OnStart(KsFileFormatParser* parser) override;
    void OnStop() override;
    ldomNode* OnTagOpen(const unit16* nsPrefix, const unit16* tagName) override;
    void OnTagBody() override;
    void OnTagClose(const unit16* nsPrefix, const unit16* tagName) override;
    void OnAttribute(const unit16* nsPrefix, const unit16* name, const unit16* value) override;
    void OnText(const unit16* text, int length, int flags) override;
    bool OnBinaryData(const string16& name, const uint8_t* data, int size) override;
    void OnMetaProperty(const char* name, const string8& value) override;

private:
    enum LinkState : int {
        kInLink = 1,
        kRelStyleSheet = 2,
        kTypeCss = 4,
        kHrefSeen = 8,
        kStyleSheetLink = 15,
    };

    // Joins a path of the current file to its folder.
    string16 inCodeBase(const string16& path) const;

    KsXMLParserCallback* parent_;
    string16 baseTag_;
    string16 wrapperTag_;
    string16 codeBaseDir_;
    string16 filePath_;
    string16 codeBasePrefix_;
    string16 styleSheetValue_;
    string16 pendingHref_;
    std::vector<string16> furtherHrefs_;
    bool insideBase_ = false;
    int linkState_ = 0;
    std::map<string16, string16> pathPrefixes_;
    ldomNode* wrapperNode_ = nullptr;
    string8 styleText_;
    bool insideStyle_ = false;
};
