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
