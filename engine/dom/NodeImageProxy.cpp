#include "engine/dom/NodeImageProxy.h"

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/dom/ldomDocument.h"

NodeImageProxy::NodeImageProxy(const ldomNode* element, const string16& name, int width, int height)
    : element_(element ? *element : ldomNode()), name_(name), width_(width), height_(height) {}

ldomNode* NodeImageProxy::GetSourceNode() {
    ldomDocument* document = element_.getDocument();
    return document ? document->nodeForRef(element_.getNodeRef()) : nullptr;
}

bool NodeImageProxy::Decode(KsImageDecoderCallback* callback) {
    ldomDocument* document = element_.getDocument();
    if (!document) return false;
    KsImageSourceRef source = document->getObjectImageSource(name_, GetSourceNode());
    if (!source) return false;
    if (source->GetWidth() != width_ || source->GetHeight() != height_) {
        LogError("image %s changed its size from %dx%d to %dx%d", String16ToUtf8(name_).CStr(),
                 width_, height_, source->GetWidth(), source->GetHeight());
        return false;
    }
    if (!callback) return source->Decode(nullptr);
    target_ = callback;
    const bool ok = source->Decode(this);
    target_ = nullptr;
    return ok;
}

void NodeImageProxy::OnStartDecode(KsImageSource*) {
    target_->OnStartDecode(this);
}

bool NodeImageProxy::OnLineDecoded(KsImageSource*, int y, const uint32_t* row) {
    return target_->OnLineDecoded(this, y, row);
}

void NodeImageProxy::OnEndDecode(KsImageSource*, KsDecodeOutcome outcome) {
    target_->OnEndDecode(this, outcome);
}
