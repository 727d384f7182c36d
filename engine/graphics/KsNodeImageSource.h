#pragma once

#include "engine/graphics/KsImageSource.h"

// Base of the decoders: an image read from a stream, possibly belonging to a document element.
class KsNodeImageSource : public KsImageSource {
public:
    KsNodeImageSource(ldomNode* node, KsRef<KsStream> stream)
        : node_(node), stream_(std::move(stream)) {}

    ldomNode* GetSourceNode() override { return node_; }
    KsStream* GetSourceStream() override { return stream_.Get(); }
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }

    // Set by the decoder once it has read the image header.
    void SetSize(int width, int height) {
        width_ = width;
        height_ = height;
    }

protected:
    KsStream& Stream() { return *stream_; }

private:
    ldomNode* node_;
    KsRef<KsStream> stream_;
    int width_ = 0;
    int height_ = 0;
};
