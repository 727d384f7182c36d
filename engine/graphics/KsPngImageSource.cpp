#include "engine/graphics/KsPngImageSource.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"

namespace {

// libpng leaves its errors with longjmp, so a decode keeps its state in this plain struct
// (allocated before the setjmp, without destructor) and its buffers come from libpng's
// allocator, freed by hand on both ways out.
struct PngDecodeState {
    KsNodeImageSource* image;
    KsImageDecoderCallback* callback;
    KsStream* stream;
    png_structp png;
    png_infop info;
    png_bytep rows;    // one row, or the whole image while interlace passes arrive
    uint32_t* pixels;  // the row handed to the callback
    size_t allocated;  // bytes libpng holds, kept within kMaxImageDecoderBytes
    bool started;      // OnStartDecode was called
};
static_assert(std::is_trivially_destructible_v<PngDecodeState>);

// Every block carries its size in front, so that frees can be counted.
constexpr size_t kBlockHeader = 16;

png_voidp PngAllocate(png_structp png, png_alloc_size_t size) {
    auto* s = static_cast<PngDecodeState*>(png_get_mem_ptr(png));
    if (size > kMaxImageDecoderBytes - s->allocated) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + kBlockHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof(size));
    s->allocated += size;
    return block + kBlockHeader;
}

void PngRelease(png_structp png, png_voidp memory) {
    if (!memory) return;
    auto* s = static_cast<PngDecodeState*>(png_get_mem_ptr(png));
    auto* block = static_cast<unsigned char*>(memory) - kBlockHeader;
    png_alloc_size_t size;
    std::memcpy(&size, block, sizeof(size));
    s->allocated -= size;
    std::free(block);
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
    LogError("PNG error: %s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp message) {
    LogDebug("PNG warning: %s", message);
}

void ReadPngData(png_structp png, png_bytep data, size_t length) {
    auto* s = static_cast<PngDecodeState*>(png_get_io_ptr(png));
    if (length > KS_MAX_STREAM_SIZE || !s->stream->ReadExact(data, static_cast<ks_pos_t>(length)))
        png_error(png, "read error");
}

// Rows come out of libpng as R, G, B, A bytes.
void ConvertRow(png_const_bytep in, uint32_t* out, png_uint_32 width) {
    for (png_uint_32 x = 0; x < width; ++x, in += 4)
        out[x] = (uint32_t{255u - in[3]} << 24) | (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) |
                 in[2];
}

void SetUpTransforms(png_structp png, png_infop info, int colorType, int bitDepth) {
    const bool hasTransparencyChunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparencyChunk) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !hasTransparencyChunk)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
}

// Reads the header and, with a callback, the rows. libpng may leave this function with
// longjmp, so its locals are plain values only.
bool DecodePngBody(PngDecodeState* s) {
    png_structp png = s->png;
    png_infop info = s->info;
    png_set_read_fn(png, s, ReadPngData);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_cache_max(png, kMaxPngCachedChunks);
    png_set_chunk_malloc_max(png, kMaxPngChunkBytes);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (!ImageSizeWithinLimits(width, height)) png_error(png, "image too large");
    s->image->SetSize(static_cast<int>(width), static_cast<int>(height));
    if (!s->callback) return true;

    SetUpTransforms(png, info, colorType, bitDepth);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = size_t{width} * 4;
    if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "unexpected row layout");

    s->pixels = static_cast<uint32_t*>(png_malloc(png, size_t{width} * sizeof(uint32_t)));
    // An interlaced image is only complete after its last pass, so it is kept whole (its size
    // is within the pixel limit) and its rows are reported once, in order, at the end.
    const size_t bufferRows = passes > 1 ? height : 1;
    s->rows = static_cast<png_bytep>(png_malloc(png, rowBytes * bufferRows));
    std::memset(s->rows, 0, rowBytes * bufferRows);

    s->started = true;
    s->callback->OnStartDecode(s->image);
    if (passes > 1) {
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(png, s->rows + rowBytes * y, nullptr);
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        png_bytep row = s->rows;
        if (passes > 1)
            row += rowBytes * y;
        else
            png_read_row(png, row, nullptr);
        ConvertRow(row, s->pixels, width);
        if (!s->callback->OnLineDecoded(s->image, static_cast<int>(y), s->pixels)) break;
    }
    return true;
}

void ReleasePng(PngDecodeState* s) {
    if (!s->png) return;
    png_free(s->png, s->rows);
    png_free(s->png, s->pixels);
    s->rows = nullptr;
    s->pixels = nullptr;
    png_destroy_read_struct(&s->png, &s->info, nullptr);
}

bool RunPngDecode(PngDecodeState* s) {
    s->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, s, OnPngError, OnPngWarning, s,
                                      PngAllocate, PngRelease);
    if (!s->png) return false;
    s->info = png_create_info_struct(s->png);
    if (!s->info) {
        LogError("cannot create png info struct");
        ReleasePng(s);
        return false;
    }
    if (setjmp(png_jmpbuf(s->png))) {
        ReleasePng(s);
        s->image->SetSize(0, 0);
        if (s->started) s->callback->OnEndDecode(s->image, KsDecodeOutcome::Failed);
        return false;
    }
    const bool ok = DecodePngBody(s);
    ReleasePng(s);
    if (s->started) s->callback->OnEndDecode(s->image, KsDecodeOutcome::Finished);
    return ok;
}

}  // namespace

bool KsPngImageSource::Decode(KsImageDecoderCallback* callback) {
    if (Stream().SetPos(0) != 0) return false;
    auto state = std::make_unique<PngDecodeState>();
    state->image = this;
    state->callback = callback;
    state->stream = &Stream();
    return RunPngDecode(state.get());
}
