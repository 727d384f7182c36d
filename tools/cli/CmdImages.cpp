// quillet-cli images: lists the image items of a MOBI or eReader book and can write them out.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliBooks.h"

namespace {

int RunImages(int argc, char** argv);
const CliCommand kImages{"images", "images BOOK [--extract DIR]",
                         "list (and write to DIR) the images of a MOBI or eReader book", RunImages};
CliRegistration registration(kImages);

std::string U8Name(const string16& name) {
    string8 bytes = String16ToUtf8(name);
    return std::string(bytes.CStr(), static_cast<size_t>(bytes.Length()));
}

// "jpeg", "png", "gif" or "unknown", by the first bytes of the item.
const char* ImageKind(KsStream& stream) {
    uint8_t head[4] = {};
    ks_pos_t got = 0;
    if (stream.SetPos(0) != 0 || stream.Read(head, sizeof(head), &got) != KS_OK) return "unknown";
    (void)stream.SetPos(0);
    if (got >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return "jpeg";
    if (got >= 4 && head[0] == 0x89 && std::memcmp(head + 1, "PNG", 3) == 0) return "png";
    if (got >= 3 && std::memcmp(head, "GIF", 3) == 0) return "gif";
    return "unknown";
}

// A file name for an item: names come from the book, so path separators and control
// characters are replaced and "." / ".." are refused; a name without an extension gets one
// from the image kind.
std::string SafeFileName(const std::string& name, const char* kind, int index) {
    std::string safe;
    for (char c : name)
        safe += (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    if (safe.empty() || safe == "." || safe == "..") safe = "image_" + std::to_string(index);
    if (safe.find('.') == std::string::npos && std::strcmp(kind, "unknown") != 0)
        safe += std::strcmp(kind, "jpeg") == 0 ? ".jpg" : std::string(".") + kind;
    return safe;
}

int RunImages(int argc, char** argv) {
    CliArgs args(argc, argv, {"extract"});
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions({"extract"}).empty())
        return CliUsage(kImages);
    std::string folder = args.get("extract");
    if (args.has("extract") && folder.empty()) return CliUsage(kImages);

    CliPdbBook book;
    if (int status = CliOpenPdbBook(args.positional()[0], book)) return status;
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!std::filesystem::is_directory(folder, ec)) {
            std::fprintf(stderr, "quillet-cli: cannot create %s\n", folder.c_str());
            return 2;
        }
    }
    string16 cover = book.file->Properties()->readTextOr("doc.cover.file", "");
    KsPDBContainer& images = *book.images;
    for (int i = 0; i < images.GetObjectCount(); ++i) {
        const KsContainerItemInfo* item = images.GetObjectInfo(i);
        string16 name(item->GetName());
        KsRef<KsStream> stream = images.OpenStream(name, KS_MODE_READ);
        if (!stream) {
            std::fprintf(stderr, "quillet-cli: cannot open image %s\n", U8Name(name).c_str());
            return 2;
        }
        const char* kind = ImageKind(*stream);
        std::string utf8 = U8Name(name);
        std::printf("%s\t%u\t%s%s\n", utf8.c_str(), item->GetSize(), kind,
                    name == cover ? "\tcover" : "");
        if (folder.empty()) continue;
        std::string path = folder + "/" + SafeFileName(utf8, kind, i);
        KsRef<KsStream> out = OpenFileStream(Utf8ToString16(path.c_str()), KS_MODE_WRITE);
        if (!out || PumpStream(*out, *stream) != item->GetSize()) {
            std::fprintf(stderr, "quillet-cli: cannot write %s\n", path.c_str());
            return 2;
        }
    }
    return 0;
}

}  // namespace
