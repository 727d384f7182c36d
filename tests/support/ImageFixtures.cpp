#include "tests/support/ImageFixtures.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include "engine/streams/KsMemoryStream.h"

void CollectingCallback::OnStartDecode(KsImageSource* source) {
    ++starts;
    image.width = source->GetWidth();
    image.height = source->GetHeight();
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0xDEADBEEF);
}

bool CollectingCallback::OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) {
    if (y < 0 || y >= image.height || source->GetWidth() != image.width) {
        rowsWithinImage = false;
        return false;
    }
    rowOrder.push_back(y);
    std::copy(row, row + image.width, image.pixels.begin() + static_cast<size_t>(y) * image.width);
    return stopAfterRows_ < 0 || static_cast<int>(rowOrder.size()) < stopAfterRows_;
}

void CollectingCallback::OnEndDecode(KsImageSource*, KsDecodeOutcome result) {
    ++ends;
    outcome = result;
}

bool DecodeImageBytes(const std::string& bytes, CollectingCallback& callback) {
    KsRef<KsStream> stream =
        CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy);
    KsImageSourceRef source = CreateStreamImageSource(nullptr, stream);
    return source && source->Decode(&callback);
}

// --- JPEG ----------------------------------------------------------------------------------

namespace {

// The fixtures are always valid, so an encoder error is a broken test.
[[noreturn]] void AbortOnJpegError(j_common_ptr cinfo) {
    char message[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, message);
    std::fprintf(stderr, "JPEG fixture: %s\n", message);
    std::abort();
}

}  // namespace

std::string WriteJpeg(const TestPixels& image, JpegColor color, JpegScans scans) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    error.error_exit = AbortOnJpegError;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = color == JpegColor::Gray ? 1 : color == JpegColor::Rgb ? 3 : 4;
    cinfo.in_color_space = color == JpegColor::Gray  ? JCS_GRAYSCALE
                           : color == JpegColor::Rgb ? JCS_RGB
                                                     : JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    if (scans == JpegScans::Progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(image.width) * cinfo.input_components);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint32_t p = image.At(x, y);
            int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            JSAMPLE* out = &row[static_cast<size_t>(x) * cinfo.input_components];
            if (color == JpegColor::Gray) {
                out[0] = static_cast<JSAMPLE>(g);
            } else if (color == JpegColor::Rgb) {
                out[0] = static_cast<JSAMPLE>(r);
                out[1] = static_cast<JSAMPLE>(g);
                out[2] = static_cast<JSAMPLE>(b);
            } else {
                // No black ink: K = 255 in the inverted convention; C = 255 - (255 - R).
                out[0] = static_cast<JSAMPLE>(r);
                out[1] = static_cast<JSAMPLE>(g);
                out[2] = static_cast<JSAMPLE>(b);
                out[3] = 255;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

// --- PNG -----------------------------------------------------------------------------------

namespace {

void AppendPngBytes(png_structp png, png_bytep data, size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void FlushPng(png_structp) {}

int PngChannels(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE:
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        default:
            return 4;
    }
}

}  // namespace

std::string WritePng(const PngFixture& f) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "";
    }
    png_set_write_fn(png, &out, AppendPngBytes, FlushPng);
    png_set_IHDR(png, info, static_cast<png_uint_32>(f.width), static_cast<png_uint_32>(f.height),
                 f.bitDepth, f.colorType, f.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (uint32_t c : f.palette)
        palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8),
                           static_cast<png_byte>(c)});
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 key{};
    key.gray = f.colorKey[0];
    key.red = f.colorKey[0];
    key.green = f.colorKey[1];
    key.blue = f.colorKey[2];
    if (!f.paletteAlpha.empty())
        png_set_tRNS(png, info, f.paletteAlpha.data(), static_cast<int>(f.paletteAlpha.size()),
                     nullptr);
    else if (f.hasColorKey)
        png_set_tRNS(png, info, nullptr, 0, &key);
    png_write_info(png, info);

    // Rows are packed by hand: samples below 8 bits most significant first, 16-bit big-endian.
    const int channels = PngChannels(f.colorType);
    const size_t rowBits = static_cast<size_t>(f.width) * channels * f.bitDepth;
    std::vector<std::vector<png_byte>> rows(static_cast<size_t>(f.height),
                                            std::vector<png_byte>((rowBits + 7) / 8, 0));
    for (int y = 0; y < f.height; ++y) {
        size_t bit = 0;
        for (int i = 0; i < f.width * channels; ++i, bit += f.bitDepth) {
            const uint16_t v = f.samples[static_cast<size_t>(y) * f.width * channels + i];
            std::vector<png_byte>& row = rows[y];
            if (f.bitDepth == 16) {
                row[bit / 8] = static_cast<png_byte>(v >> 8);
                row[bit / 8 + 1] = static_cast<png_byte>(v);
            } else if (f.bitDepth == 8) {
                row[bit / 8] = static_cast<png_byte>(v);
            } else {
                row[bit / 8] |= static_cast<png_byte>(v << (8 - f.bitDepth - bit % 8));
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto& row : rows)
        pointers.push_back(row.data());
    if (f.interlaced) png_set_interlace_handling(png);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// --- GIF -----------------------------------------------------------------------------------

namespace {

class BitWriter {
public:
    void Put(int code, int bits) {
        accumulator_ |= static_cast<uint32_t>(code) << count_;
        count_ += bits;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<char>(accumulator_ & 0xFF));
            accumulator_ >>= 8;
            count_ -= 8;
        }
    }
    std::string Finish() {
        if (count_ > 0) bytes_.push_back(static_cast<char>(accumulator_ & 0xFF));
        accumulator_ = 0;
        count_ = 0;
        return bytes_;
    }

private:
    std::string bytes_;
    uint32_t accumulator_ = 0;
    int count_ = 0;
};

void PutU16(std::string& out, int value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

int TableBits(size_t entries) {
    int bits = 1;
    while ((size_t{1} << bits) < entries)
        ++bits;
    return bits;
}

void PutTable(std::string& out, const std::vector<uint32_t>& table) {
    for (uint32_t c : table) {
        out.push_back(static_cast<char>(c >> 16));
        out.push_back(static_cast<char>(c >> 8));
        out.push_back(static_cast<char>(c));
    }
}

}  // namespace

std::string GifLzwEncode(const std::vector<uint8_t>& indices, int minCodeSize, GifClear clear) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter out;
    std::map<std::pair<int, int>, int> table;
    int codeSize = minCodeSize + 1;
    int next = clearCode + 2;
    auto reset = [&] {
        table.clear();
        codeSize = minCodeSize + 1;
        next = clearCode + 2;
    };
    out.Put(clearCode, codeSize);
    if (indices.empty()) {
        out.Put(endCode, codeSize);
        return out.Finish();
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const int symbol = indices[i];
        auto found = table.find({prefix, symbol});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.Put(prefix, codeSize);
        // The decoder learns each entry one code later, hence the size grows once the next
        // free code has reached the current limit.
        if (next >= (1 << codeSize) && codeSize < 12) ++codeSize;
        if (next < 4096) {
            table[{prefix, symbol}] = next++;
        } else if (clear == GifClear::WhenTableFull) {
            out.Put(clearCode, codeSize);
            reset();
        }
        prefix = symbol;
    }
    out.Put(prefix, codeSize);
    if (next >= (1 << codeSize) && codeSize < 12) ++codeSize;
    out.Put(endCode, codeSize);
    return out.Finish();
}

std::string WriteGif(const GifFixture& f) {
    std::string out = f.transparentIndex >= 0 ? "GIF89a" : "GIF87a";
    PutU16(out, f.screenWidth);
    PutU16(out, f.screenHeight);
    const int globalBits = f.globalTable.empty() ? 1 : TableBits(f.globalTable.size());
    out.push_back(static_cast<char>((f.globalTable.empty() ? 0 : 0x80) | (globalBits - 1)));
    out.push_back(static_cast<char>(f.backgroundIndex));
    out.push_back(0);  // aspect ratio
    PutTable(out, f.globalTable);
    if (f.transparentIndex >= 0) {
        out += "\x21\xF9\x04\x01";
        PutU16(out, 0);  // delay
        out.push_back(static_cast<char>(f.transparentIndex));
        out.push_back(0);
    }
    out.push_back(',');
    PutU16(out, f.left);
    PutU16(out, f.top);
    PutU16(out, f.width);
    PutU16(out, f.height);
    const int localBits = f.localTable.empty() ? 0 : TableBits(f.localTable.size());
    out.push_back(static_cast<char>((f.localTable.empty() ? 0 : 0x80 | (localBits - 1)) |
                                    (f.interlaced ? 0x40 : 0)));
    PutTable(out, f.localTable);

    std::vector<uint8_t> data = f.indices;
    if (f.interlaced) {
        // Rows go into the file in the interlaced order.
        data.clear();
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < f.height; y += kStep[pass])
                data.insert(data.end(), f.indices.begin() + static_cast<long>(y) * f.width,
                            f.indices.begin() + static_cast<long>(y + 1) * f.width);
    }
    int minCodeSize = f.minCodeSize;
    if (minCodeSize == 0) minCodeSize = std::max(2, f.localTable.empty() ? globalBits : localBits);
    out.push_back(static_cast<char>(minCodeSize));
    std::string lzw = GifLzwEncode(data, minCodeSize, f.clear);
    for (size_t at = 0; at < lzw.size(); at += 255) {
        const size_t length = std::min<size_t>(255, lzw.size() - at);
        out.push_back(static_cast<char>(length));
        out.append(lzw, at, length);
    }
    out.push_back(0);
    out.push_back(';');
    return out;
}
