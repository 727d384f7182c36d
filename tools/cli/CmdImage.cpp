// quillet-cli image: decodes one image of a book through the engine (as the layout would find it
// by name) and writes it as a PNG file.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/graphics/KsImageSource.h"
#include "engine/streams/KsDirectoryContainer.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliMarkup.h"
#include "tools/cli/CliPng.h"

namespace {

int RunImage(int argc, char** argv);
const CliCommand kImage{"image", "image BOOK NAME --png OUT",
                        "decode the image NAME of a book (e.g. mobi_image_0) and write it as PNG",
                        RunImage};
CliRegistration registration(kImage);

// Keeps the rows of a decode.
class PixelCollector final : public KsImageDecoderCallback {
public:
    void OnStartDecode(KsImageSource* source) override {
        width = source->GetWidth();
        height = source->GetHeight();
        pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    }
    bool OnLineDecoded(KsImageSource*, int y, const uint32_t* row) override {
        if (y < 0 || y >= height) return true;
        std::copy(row, row + width, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
        return true;
    }
    void OnEndDecode(KsImageSource*, KsDecodeOutcome outcome) override {
        finished = outcome == KsDecodeOutcome::Finished;
    }

    int width = 0;
    int height = 0;
    bool finished = false;
    std::vector<uint32_t> pixels;
};

int RunImage(int argc, char** argv) {
    CliArgs args(argc, argv, {"png"});
    const std::string out = args.get("png");
    if (!args.ok() || args.positional().size() != 2 || !args.unknownOptions({"png"}).empty() ||
        out.empty())
        return CliUsage(kImage);
    const std::string& path = args.positional()[0];
    const string16 name = Utf8ToString16(args.positional()[1].c_str());

    ldomDocument document;
    loadBuiltinNameTables(document);
    // Pictures of a markup file lie beside it; a PDB book brings its own container.
    std::error_code ec;
    const std::filesystem::path file(path);
    if (std::filesystem::is_regular_file(file, ec)) {
        const std::string folder = file.parent_path().empty() ? "." : file.parent_path().string();
        document.setContainer(OpenDirectory(Utf8ToString16(folder.c_str())));
        document.getProps()->writeText("doc.file.name",
                                       Utf8ToString16(file.filename().string().c_str()));
    }
    if (int status = CliImportMarkup(path, document, MarkupFormat::Detect)) return status;

    KsImageSourceRef source = document.getObjectImageSource(name);
    if (!source) {
        std::fprintf(stderr, "quillet-cli: %s: no image %s\n", path.c_str(),
                     args.positional()[1].c_str());
        return 1;
    }
    PixelCollector pixels;
    if (!source->Decode(&pixels) || !pixels.finished) {
        std::fprintf(stderr, "quillet-cli: %s: the image %s cannot be decoded\n", path.c_str(),
                     args.positional()[1].c_str());
        return 1;
    }
    std::string error;
    if (!WriteRgbaPng(out, pixels.width, pixels.height, pixels.pixels, error)) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    std::printf("%s\t%dx%d\n", args.positional()[1].c_str(), pixels.width, pixels.height);
    return 0;
}

}  // namespace
