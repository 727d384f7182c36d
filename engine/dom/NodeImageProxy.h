#pragma once

#include "engine/core/KsString.h"
#include "engine/dom/ldomNode.h"
#include "engine/graphics/KsImageSource.h"

// The image of a document element as the layout sees it: its size is known from the start, and
// every decode asks the document for the image of the name again, so no pixels and no open
// stream are kept between decodes. Rows reach the callback with the proxy as their source.
class NodeImageProxy final : public KsImageSource, private KsImageDecoderCallback {
public:
    NodeImageProxy(const ldomNode* element, const string16& name, int width, int height);

    // The element, or null once its document is gone.
    ldomNode* GetSourceNode() override;
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // Fails when the document or its image is gone, or when the image found now is not of the
    // size the proxy promised (its rows would not fit the callback's buffers).
    [[nodiscard]] bool Decode(KsImageDecoderCallback* callback) override;

    const string16& GetImageName() const { return name_; }

private:
    void OnStartDecode(KsImageSource* source) override;
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override;
    void OnEndDecode(KsImageSource* source, KsDecodeOutcome outcome) override;

    ldomNode element_;  // a handle copy: it stays safe to use after the document is destroyed
    string16 name_;
    int width_;
    int height_;
    KsImageDecoderCallback* target_ = nullptr;
};
