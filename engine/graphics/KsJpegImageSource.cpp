#include "engine/graphics/KsJpegImageSource.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <memory>
#include <type_traits>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"

namespace {

constexpr size_t kInputBlockBytes = 4096;
// Corrupt data can make libjpeg warn for every block; only the first few are logged.
constexpr int kLoggedWarnings = 8;

// libjpeg reports errors by calling back, and the callback leaves with longjmp. Everything a
// decode needs is therefore kept in plain structs without destructors, allocated before the
// setjmp, and libjpeg's own pools hold the row buffers, so nothing is left behind by a jump.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    int warnings;
};

struct JpegSourceManager {
    jpeg_source_mgr pub;
    KsStream* stream;
    bool startOfFile;
    JOCTET buffer[kInputBlockBytes];
};

struct JpegDecodeState {
    jpeg_decompress_struct cinfo;
    JpegErrorManager error;
    JpegSourceManager source;
    jpeg_progress_mgr progress;
    KsNodeImageSource* image;
    KsImageDecoderCallback* callback;
    bool started;  // OnStartDecode was called
};
static_assert(std::is_trivially_destructible_v<JpegDecodeState>);

[[noreturn]] void JumpBack(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

void OnJpegError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    LogError("tn_jpeg_error: %s", message);
    JumpBack(cinfo);
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
    auto* error = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    if (level >= 0) return;  // trace messages
    if (error->warnings++ >= kLoggedWarnings) return;
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    LogDebug("tn_jpeg_warning: %s", message);
}

void OnJpegOutputMessage(j_common_ptr) {}

void OnJpegProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans) {
        LogError("tn_jpeg_error: more than %d scans", kMaxJpegScans);
        JumpBack(cinfo);
    }
}

void InitSource(j_decompress_ptr cinfo) {
    reinterpret_cast<JpegSourceManager*>(cinfo->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<JpegSourceManager*>(cinfo->src);
    ks_pos_t got = 0;
    if (source->stream->Read(source->buffer, kInputBlockBytes, &got) == KS_FAIL) got = 0;
    if (got == 0) {
        if (source->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A cut file: let libjpeg finish the image from what it has.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
    source->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* source = reinterpret_cast<JpegSourceManager*>(cinfo->src);
    if (count <= 0) return;
    while (count > static_cast<long>(source->pub.bytes_in_buffer)) {
        count -= static_cast<long>(source->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    source->pub.next_input_byte += count;
    source->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void ConvertRgb(const JSAMPLE* in, uint32_t* out, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, in += 3)
        out[x] = (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
}

// Adobe applications write CMYK JPEGs with inverted values (255 = no ink).
void ConvertCmyk(const JSAMPLE* in, uint32_t* out, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4) {
        uint32_t c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x] = ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
    }
}

// Reads the header and, with a callback, the rows. libjpeg may leave this function (and its
// callers up to RunJpegDecode) with longjmp, so its locals are plain values only.
bool DecodeJpegBody(JpegDecodeState* s) {
    j_decompress_ptr cinfo = &s->cinfo;
    jpeg_create_decompress(cinfo);
    // Larger working sets (a huge progressive image) would need a backing store, which this
    // libjpeg build lacks, so the decode fails instead of taking the memory.
    cinfo->mem->max_memory_to_use = static_cast<long>(kMaxImageDecoderBytes);
    s->progress.progress_monitor = OnJpegProgress;
    cinfo->progress = &s->progress;
    s->source.pub.init_source = InitSource;
    s->source.pub.fill_input_buffer = FillInputBuffer;
    s->source.pub.skip_input_data = SkipInputData;
    s->source.pub.resync_to_restart = jpeg_resync_to_restart;
    s->source.pub.term_source = TermSource;
    cinfo->src = &s->source.pub;

    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK ||
        !ImageSizeWithinLimits(cinfo->image_width, cinfo->image_height)) {
        LogError("JPEG image size %ux%u not supported", cinfo->image_width, cinfo->image_height);
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    s->image->SetSize(static_cast<int>(cinfo->image_width), static_cast<int>(cinfo->image_height));
    if (!s->callback) {
        jpeg_destroy_decompress(cinfo);
        return true;
    }

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    if (width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
        cinfo->output_components != (cmyk ? 4 : 3)) {
        LogError("JPEG output does not match its header");
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    auto common = reinterpret_cast<j_common_ptr>(cinfo);
    JSAMPARRAY scanline = (*cinfo->mem->alloc_sarray)(
        common, JPOOL_IMAGE, width * static_cast<JDIMENSION>(cinfo->output_components), 1);
    auto* row = static_cast<uint32_t*>(
        (*cinfo->mem->alloc_large)(common, JPOOL_IMAGE, width * sizeof(uint32_t)));

    s->started = true;
    s->callback->OnStartDecode(s->image);
    bool complete = true;
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = static_cast<int>(cinfo->output_scanline);
        if (jpeg_read_scanlines(cinfo, scanline, 1) != 1) {
            complete = false;  // cannot happen with a source that never suspends
            break;
        }
        if (cmyk)
            ConvertCmyk(scanline[0], row, width, cinfo->saw_Adobe_marker);
        else
            ConvertRgb(scanline[0], row, width);
        if (!s->callback->OnLineDecoded(s->image, y, row)) break;
    }
    jpeg_destroy_decompress(cinfo);
    s->callback->OnEndDecode(s->image,
                             complete ? KsDecodeOutcome::Finished : KsDecodeOutcome::Failed);
    return complete;
}

bool RunJpegDecode(JpegDecodeState* s) {
    s->cinfo.err = jpeg_std_error(&s->error.pub);
    s->error.pub.error_exit = OnJpegError;
    s->error.pub.emit_message = OnJpegMessage;
    s->error.pub.output_message = OnJpegOutputMessage;
    if (setjmp(s->error.jump)) {
        LogError("JPEG setjmp error handling");
        jpeg_destroy_decompress(&s->cinfo);
        LogDebug("JPEG decoder cleanup");
        if (s->started) s->callback->OnEndDecode(s->image, KsDecodeOutcome::Failed);
        return false;
    }
    return DecodeJpegBody(s);
}

}  // namespace

bool KsJpegImageSource::Decode(KsImageDecoderCallback* callback) {
    if (Stream().SetPos(0) != 0) return false;
    auto state = std::make_unique<JpegDecodeState>();
    state->source.stream = &Stream();
    state->image = this;
    state->callback = callback;
    return RunJpegDecode(state.get());
}
