#include "tools/cli/CliPng.h"

#include <png.h>

#include <cstdio>

bool WriteGrayPng(const std::string& path, const KsGlyphBitmap& bitmap, std::string& error) {
    if (bitmap.GetWidth() <= 0 || bitmap.GetHeight() <= 0) {
        error = "nothing to write";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    // libpng reports errors by jumping back here.
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(bitmap.GetWidth()), png_uint_32(bitmap.GetHeight()), 8,
                     PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < bitmap.GetHeight(); ++y)
            png_write_row(png, const_cast<png_bytep>(bitmap.Row(y)));
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    if (std::fclose(file) != 0) ok = false;
    if (!ok) error = "cannot write " + path;
    return ok;
}

namespace {

// Writes RGBA rows to an open file. Only plain values live in this frame, since libpng reports
// errors by jumping back into it.
bool WriteRgbaRows(FILE* file, int width, int height, const png_byte* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, rows + static_cast<size_t>(y) * static_cast<size_t>(width) * 4);
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return ok;
}

}  // namespace

bool WriteRgbaPng(const std::string& path, int width, int height,
                  const std::vector<uint32_t>& pixels, std::string& error) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        error = "nothing to write";
        return false;
    }
    // Rows in PNG byte order; alpha is the opposite of the engine's transparency.
    std::vector<png_byte> bytes(pixels.size() * 4);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t pixel = pixels[i];
        bytes[i * 4] = png_byte(pixel >> 16);
        bytes[i * 4 + 1] = png_byte(pixel >> 8);
        bytes[i * 4 + 2] = png_byte(pixel);
        bytes[i * 4 + 3] = png_byte(0xFF - (pixel >> 24));
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    bool ok = WriteRgbaRows(file, width, height, bytes.data());
    if (std::fclose(file) != 0) ok = false;
    if (!ok) error = "cannot write " + path;
    return ok;
}
