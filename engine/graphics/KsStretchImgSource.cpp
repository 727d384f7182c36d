#include "engine/graphics/KsStretchImgSource.h"

namespace {

constexpr uint32_t kTransparent = 0xFFFFFFFF;

int FloorMod(int value, int size) {
    const int r = value % size;
    return r < 0 ? r + size : r;
}

// Tiling may start anywhere (the offset wraps); the other modes need a split inside the source
// and take its middle otherwise.
int NormalizeSplit(int split, int size, KsStretchMode mode) {
    if (mode == KsStretchMode::Tile) return FloorMod(split, size);
    return split < 0 || split >= size ? size / 2 : split;
}

}  // namespace

KsStretchImgSource::KsStretchImgSource(KsImageSourceRef source, int width, int height,
                                       KsStretchMode horizontal, KsStretchMode vertical, int splitX,
                                       int splitY)
    : source_(std::move(source)),
      sourceWidth_(source_->GetWidth()),
      sourceHeight_(source_->GetHeight()),
      targetWidth_(width),
      targetHeight_(height),
      horizontal_(horizontal),
      vertical_(vertical),
      splitX_(NormalizeSplit(splitX, sourceWidth_, horizontal)),
      splitY_(NormalizeSplit(splitY, sourceHeight_, vertical)) {
    columnMap_.resize(static_cast<size_t>(targetWidth_));
    for (int x = 0; x < targetWidth_; ++x)
        columnMap_[x] = SourceColumnAt(x);
}

int KsStretchImgSource::SourceColumnAt(int x) const {
    const int sw = sourceWidth_, tw = targetWidth_;
    int column = -1;
    switch (horizontal_) {
        case KsStretchMode::Crop:
            column = x < sw ? x : -1;
            break;
        case KsStretchMode::Split:
            // Left part as it is, the split column repeated, then the right part.
            if (x < splitX_)
                column = x;
            else if (x < tw - (sw - splitX_ - 1))
                column = splitX_;
            else
                column = x - tw + sw;
            break;
        case KsStretchMode::Scale:
            column = static_cast<int>(int64_t{x} * sw / tw);
            break;
        case KsStretchMode::Tile:
            column = (sw + x - splitX_) % sw;
            break;
    }
    return column >= 0 && column < sw ? column : -1;
}

bool KsStretchImgSource::Decode(KsImageDecoderCallback* callback) {
    if (!callback) return true;
    if (source_->GetWidth() != sourceWidth_ || source_->GetHeight() != sourceHeight_) return false;
    target_ = callback;
    row_.assign(static_cast<size_t>(targetWidth_), kTransparent);
    const bool ok = source_->Decode(this);
    target_ = nullptr;
    return ok;
}

void KsStretchImgSource::OnStartDecode(KsImageSource*) {
    target_->OnStartDecode(this);
}

void KsStretchImgSource::OnEndDecode(KsImageSource*, KsDecodeOutcome outcome) {
    target_->OnEndDecode(this, outcome);
}

bool KsStretchImgSource::ReportRows(int first, int last, int step) {
    bool result = true;
    for (int y = first; y < last; y += step) {
        if (y < 0 || y >= targetHeight_) continue;
        result = target_->OnLineDecoded(this, y, row_.data());
        if (!result) break;
    }
    return result;
}

bool KsStretchImgSource::OnLineDecoded(KsImageSource*, int y, const uint32_t* row) {
    if (y < 0 || y >= sourceHeight_) return true;
    for (int x = 0; x < targetWidth_; ++x) {
        const int column = columnMap_[x];
        row_[x] = column >= 0 ? row[column] : kTransparent;
    }
    const int sh = sourceHeight_, th = targetHeight_;
    switch (vertical_) {
        case KsStretchMode::Crop:
            if (y >= th) return false;  // nothing further is shown
            return ReportRows(y, y + 1, 1);
        case KsStretchMode::Split:
            if (y < splitY_) return ReportRows(y, y + 1, 1);
            if (y == splitY_) return ReportRows(y, y + th - sh + 1, 1);
            return ReportRows(y + th - sh, y + th - sh + 1, 1);
        case KsStretchMode::Scale:
            return ReportRows(static_cast<int>(int64_t{y} * th / sh),
                              static_cast<int>(int64_t{y + 1} * th / sh), 1);
        case KsStretchMode::Tile:
            // Rows shift the same way as columns: target row splitY shows source row 0.
            return ReportRows((y + splitY_) % sh, th, sh);
    }
    return true;
}
