#pragma once

#include <vector>

#include "engine/graphics/KsImageSource.h"

// Another image drawn at a different size: cropped, stretched around a split point, scaled or
// tiled, chosen per axis. It decodes its source with itself as the callback and maps each row.
class KsStretchImgSource final : public KsImageSource, private KsImageDecoderCallback {
public:
    // The source must know its size; width and height are within the image limits.
    KsStretchImgSource(KsImageSourceRef source, int width, int height, KsStretchMode horizontal,
                       KsStretchMode vertical, int splitX, int splitY);

    ldomNode* GetSourceNode() override { return source_->GetSourceNode(); }
    KsStream* GetSourceStream() override { return source_->GetSourceStream(); }
    int GetWidth() const override { return targetWidth_; }
    int GetHeight() const override { return targetHeight_; }
    bool Decode(KsImageDecoderCallback* callback) override;

    // The source column shown at each target column (-1: none, transparent).
    const std::vector<int>& ColumnMap() const { return columnMap_; }

private:
    void OnStartDecode(KsImageSource* source) override;
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override;
    void OnEndDecode(KsImageSource* source, KsDecodeOutcome outcome) override;

    int SourceColumnAt(int x) const;
    // Hands the mapped row to the target as rows first, first + step, ... below last (rows
    // outside the target are left out); the result of the last call, or true when none.
    bool ReportRows(int first, int last, int step);

    KsImageSourceRef source_;
    int sourceWidth_;
    int sourceHeight_;
    int targetWidth_;
    int targetHeight_;
    KsStretchMode horizontal_;
    KsStretchMode vertical_;
    int splitX_;
    int splitY_;
    std::vector<int> columnMap_;
    std::vector<uint32_t> row_;
    KsImageDecoderCallback* target_ = nullptr;
};
