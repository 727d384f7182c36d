// Images and other embedded objects of a document: the names image elements give, the streams
// those names open (blobs, base64 sections of the text, files of the book's container) and the
// image sources the layout draws.

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/core/StringUtils.h"
#include "engine/dom/KsBase64NodeStream.h"
#include "engine/dom/NodeImageProxy.h"
#include "engine/dom/ldomDocument.h"
#include "engine/streams/PathUtils.h"

namespace {

// Prefix of names that refer to the document's blob cache.
constexpr const char* kBlobPrefix = "@blob#";
// MOBI books refer to their image records by number.
constexpr const char* kMobiImagePrefix = "mobi_image_";

}  // namespace

string16 ldomDocument::getObjectImageName(const ldomNode* element) const {
    if (!element || !element->isElement()) return string16();
    const ldomElementProps* props = getElementTypePtr(element->nameId());
    if (!props || !props->isObject) return string16();
    string16 name = element->attrValue("xlink", "href");
    if (name.Empty()) name = element->attrValue("l", "href");
    if (name.Empty()) name = element->attrValue(nullptr, "href");
    if (name.Empty()) name = element->attrValue(nullptr, "src");
    if (name.Empty()) {
        int32_t recordIndex = 0;
        const string16& recindex = element->attrValue(nullptr, "recindex");
        // MOBI counts its image records from 1.
        if (!recindex.Empty() && recindex.ParseInt(recordIndex) && recordIndex >= 1) {
            name = string16(kMobiImagePrefix);
            name.AppendDecimal(recordIndex - 1);
        }
    }
    if (name.Length() <= 1) return string16();
    return UrlDecode(name);
}

KsRef<KsStream> ldomDocument::getObjectImageStream(const string16& name) {
    if (name.Empty()) return nullptr;
    if (name.StartsWith(kBlobPrefix)) return blobs_.getBlob(name);
    if (name[0] == u'#') {
        ldomNode* element = getNodeById(name.Substr(1));
        if (element && element->isElement()) return MakeRef<KsBase64NodeStream>(element);
        return nullptr;
    }
    if (!getContainer()) return nullptr;
    const string16 codeBase = props_->readTextOr("doc.file.code.base", "");
    KsRef<KsStream> stream = getContainer()->OpenStream(codeBase + name, KS_MODE_READ);
    if (!stream) {
        // Books saved from the web keep their pictures in a folder named after the page.
        const string16 fileName = props_->readTextOr("doc.file.name", "");
        if (!fileName.Empty()) {
            const string16 folder = ExtractFilenameWithoutExtension(fileName) + string16("_img/");
            stream = getContainer()->OpenStream(codeBase + folder + name, KS_MODE_READ);
        }
    }
    if (!stream) LogError("Cannot open stream by name %s", String16ToUtf8(name).CStr());
    return stream;
}

KsImageSourceRef ldomDocument::getObjectImageSource(const string16& name, ldomNode* node) {
    KsRef<KsStream> stream = getObjectImageStream(name);
    if (!stream) return nullptr;
    return CreateStreamImageSource(node, std::move(stream));
}

KsImageSourceRef ldomDocument::getNodeImageSource(ldomNode* element) {
    const string16 name = getObjectImageName(element);
    if (name.Empty()) return nullptr;
    int width = 0, height = 0;
    auto cached = imageCache_.find(name);
    if (cached != imageCache_.end()) {
        if (cached->second->GetSourceNode() == element) return cached->second;
        // Another element showing the same image: its size is known already.
        width = cached->second->GetWidth();
        height = cached->second->GetHeight();
    } else {
        KsImageSourceRef source = getObjectImageSource(name, element);
        if (!source) {
            LogError("ObjectImageSource cannot be opened by name %s", String16ToUtf8(name).CStr());
            return nullptr;
        }
        width = source->GetWidth();
        height = source->GetHeight();
    }
    KsImageSourceRef proxy = MakeRef<NodeImageProxy>(element, name, width, height);
    imageCache_[name] = proxy;
    return proxy;
}
