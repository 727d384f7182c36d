// quillet-cli glyphs: measures a text with one font file as the engine's font manager does, and
// can draw its glyphs into a PNG.
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/graphics/KsGlyphBitmap.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliPng.h"

namespace {

int RunGlyphs(int argc, char** argv);
const CliCommand kGlyphs{"glyphs", "glyphs --font FILE --size N TEXT [--png OUT]",
                         "measure TEXT with a font file; --png draws its glyphs", RunGlyphs};
CliRegistration registration(kGlyphs);

constexpr int kPngMargin = 4;

// Closes the manager however the command ends.
struct FontManagerScope {
    ~FontManagerScope() { DestroyFontManager(); }
};

std::string Printable(const string16& text, int start, int units) {
    uint32_t first = text[start];
    if (first < 0x20 || first == 0x7F || first == 0xAD || (first >= 0x80 && first < 0xA0))
        return "";
    return String16ToUtf8(text.CStr() + start, units).CStr();
}

int RunGlyphs(int argc, char** argv) {
    const std::vector<std::string> valueOptions{"font", "size", "png"};
    CliArgs args(argc, argv, valueOptions);
    uint64_t size = 0;
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions(valueOptions).empty() ||
        !args.has("font") || !args.has("size") || !args.getUnsigned("size", size) || size == 0 ||
        size > uint64_t(kMaxFontPixelSize))
        return CliUsage(kGlyphs);

    KsStderrLogSink sink(KS_LOG_WARN);
    KsLogSink* previousSink = SetLogSink(&sink);
    FontManagerScope scope;
    const std::string fontPath = args.get("font");
    if (!CreateFontManager(string8()) || !GetFontManager()->RegisterFont(fontPath.c_str())) {
        SetLogSink(previousSink);
        std::fprintf(stderr, "quillet-cli: cannot use %s as a font\n", fontPath.c_str());
        return 2;
    }
    KsFontManager& manager = *GetFontManager();
    KsString16Collection faces;
    manager.getFaceList(faces);
    string8 face = faces.Empty() ? string8() : String16ToUtf8(faces[0]);
    KsRef<KsFont> font = manager.GetFont(int(size), 400, false, KS_FONT_FAMILY_NONE, face);
    SetLogSink(previousSink);
    if (!font) {
        std::fprintf(stderr, "quillet-cli: cannot load %s at %d px\n", fontPath.c_str(), int(size));
        return 2;
    }

    const std::string& utf8 = args.positional()[0];
    string16 text = Utf8ToString16(utf8.c_str(), utf8.size());
    const int len = text.Length();
    std::vector<int32_t> widths(size_t(len) + 1);
    std::vector<uint8_t> flags(size_t(len) + 1);
    font->measureRun(text.CStr(), len, widths.data(), flags.data(), 0, u'?');

    std::printf("font \"%s\" %d px: height %d, baseline %d, weight %d, italic %d\n",
                font->getTypeFace().CStr(), font->getSize(), font->getHeight(), font->getBaseline(),
                font->getWeight(), font->getItalic());
    int32_t total = 0;
    for (int i = 0; i < len;) {
        int units =
            (IsHighSurrogate(text[i]) && i + 1 < len && IsLowSurrogate(text[i + 1])) ? 2 : 1;
        uint32_t cp = units == 2 ? 0x10000 + ((uint32_t(text[i]) - 0xD800) << 10) +
                                       (uint32_t(text[i + 1]) - 0xDC00)
                                 : text[i];
        int advance = widths[size_t(i)] - total;
        // A soft hyphen takes room only where a line ends at it.
        if (cp != kSoftHyphen) total = widths[size_t(i)];
        std::printf("%4d  U+%04X  %-4s  advance %4d  flags 0x%02x\n", i, cp,
                    Printable(text, i, units).c_str(), advance, flags[size_t(i)]);
        i += units;
    }
    std::printf("total %d px, %d units\n", len ? widths[size_t(len - 1)] : 0, len);

    if (args.has("png")) {
        const int width = (len ? widths[size_t(len - 1)] : 0) + 2 * kPngMargin;
        KsGlyphBitmap bitmap(width, font->getHeight() + 2 * kPngMargin);
        font->DrawTextRun(&bitmap, kPngMargin, kPngMargin, text.CStr(), len, u'?', nullptr,
                          KsAddHyphen::No, 0);
        std::string error;
        if (!WriteGrayPng(args.get("png"), bitmap, error)) {
            std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
            return 2;
        }
    }
    return 0;
}

}  // namespace
