#pragma once

#include "engine/graphics/KsImageSource.h"

// A placeholder: a white rectangle with a one-pixel black border.
class KsDummyImageSource final : public KsImageSource {
public:
    KsDummyImageSource(ldomNode* node, int width, int height)
        : node_(node), width_(width), height_(height) {}

    ldomNode* GetSourceNode() override { return node_; }
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    bool Decode(KsImageDecoderCallback* callback) override;

private:
    ldomNode* node_;
    int width_;
    int height_;
};
