// quillet-make-book: turns a plain UTF-8 text into a MOBI, PalmDOC or eReader book with the
// project's own PDB writer (the one the tests use). It made samples/alice-chapter1.mobi.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/books/PdbBookWriter.h"

namespace {

const char kUsage[] =
    "usage: quillet-make-book [--format mobi|palmdoc|ereader] "
    "[--compression none|palmdoc|zlib|huff] [--title TEXT] [--author TEXT] [--language CODE] "
    "[--html] [--cover] [--record-size N] [--trailing-entries] TEXT_FILE OUT_FILE\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 1;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

// Blocks separated by blank lines become paragraphs; the first block is the title, short
// one-line blocks (the author, chapter headings) are headings.
std::string TextToHtml(const std::string& text, const std::string& title) {
    std::vector<std::string> blocks;
    std::istringstream in(text);
    std::string line, block;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            if (!block.empty()) blocks.push_back(block);
            block.clear();
        } else {
            block += (block.empty() ? "" : " ") + line;
        }
    }
    if (!block.empty()) blocks.push_back(block);
    std::string html = "<html><head><title>" + Escape(title) + "</title></head><body>\n";
    for (size_t i = 0; i < blocks.size(); ++i) {
        const std::string& b = blocks[i];
        bool heading = b.size() < 60 && std::strchr(".!?\"", b.back()) == nullptr;
        const char* tag = i == 0 ? "h1" : heading ? "h2" : "p";
        html += std::string("<") + tag + ">" + Escape(b) + "</" + tag + ">\n";
    }
    return html + "</body></html>\n";
}

void WritePngBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

// A small plain cover: a cream page with a dark frame and two title bars.
std::string MakeCoverPng() {
    const int width = 96, height = 144;
    std::string out;
    // Declared before setjmp: a longjmp must not skip destructors.
    std::vector<png_byte> row(width * 3);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return "";
    }
    png_set_write_fn(png, &out, WritePngBytes, nullptr);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool frame = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
            bool bar = x >= 14 && x < width - 14 && ((y >= 30 && y < 40) || (y >= 50 && y < 56));
            png_byte r = 0xF4, g = 0xEB, b = 0xD0;
            if (frame) r = 0x40, g = 0x30, b = 0x60;
            if (bar) r = 0x80, g = 0x20, b = 0x30;
            row[x * 3] = r;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = b;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string BigEndian32(uint32_t v) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    PdbBookRecipe recipe;
    std::string format = "mobi", compression, title, author, language;
    bool html = false, cover = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc) return false;
            target = argv[++i];
            return true;
        };
        std::string number;
        if (arg == "--format") {
            if (!value(format)) return Usage();
        } else if (arg == "--compression") {
            if (!value(compression)) return Usage();
        } else if (arg == "--title") {
            if (!value(title)) return Usage();
        } else if (arg == "--author") {
            if (!value(author)) return Usage();
        } else if (arg == "--language") {
            if (!value(language)) return Usage();
        } else if (arg == "--record-size") {
            if (!value(number) || std::atoi(number.c_str()) <= 0) return Usage();
            recipe.recordSize = static_cast<uint32_t>(std::atoi(number.c_str()));
        } else if (arg == "--html") {
            html = true;
        } else if (arg == "--cover") {
            cover = true;
        } else if (arg == "--trailing-entries") {
            recipe.extraDataFlags = 0x3;
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) return Usage();

    if (format == "mobi")
        recipe.kind = PdbBookKind::Mobi;
    else if (format == "palmdoc")
        recipe.kind = PdbBookKind::PalmDoc;
    else if (format == "ereader")
        recipe.kind = PdbBookKind::EReader;
    else
        return Usage();
    if (compression.empty()) compression = format == "ereader" ? "zlib" : "palmdoc";
    if (compression == "none")
        recipe.compression = kWriteUncompressed;
    else if (compression == "palmdoc")
        recipe.compression = kWritePalmDoc;
    else if (compression == "zlib" && format == "ereader")
        recipe.compression = kWriteZlib;
    else if (compression == "huff" && format == "mobi")
        recipe.compression = kWriteHuffCdic;
    else
        return Usage();

    std::ifstream in(files[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quillet-make-book: cannot read %s\n", files[0].c_str());
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (title.empty()) title = "Untitled";
    recipe.text = html ? TextToHtml(text.str(), title) : text.str();
    recipe.fullName = title;
    recipe.databaseName = title.substr(0, 31);
    for (char& c : recipe.databaseName)
        if (c == ' ' || c == '\'') c = '_';
    if (!author.empty()) recipe.exth.push_back({100, author});
    if (!language.empty()) recipe.exth.push_back({524, language});
    recipe.exth.push_back({503, title});
    if (cover && recipe.kind != PdbBookKind::PalmDoc) {
        recipe.images.push_back(MakeCoverPng());
        recipe.imageNames.push_back("cover.png");
        recipe.exth.push_back({201, BigEndian32(0)});
    }

    std::string book = WritePdbBook(recipe);
    std::ofstream out(files[1], std::ios::binary);
    out.write(book.data(), static_cast<std::streamsize>(book.size()));
    if (!out) {
        std::fprintf(stderr, "quillet-make-book: cannot write %s\n", files[1].c_str());
        return 2;
    }
    return 0;
}
