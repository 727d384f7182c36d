// quillet-cli cat: copies a file, or an item of a container ("archive@/item"), to stdout through
// the engine's streams.
#include <cstdio>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsStreamFragment.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunCat(int argc, char** argv);
const CliCommand kCat{"cat", "cat FILE [--offset N] [--size N]",
                      "write a file (or archive@/item) through the stream layer to stdout", RunCat};
CliRegistration registration(kCat);

int RunCat(int argc, char** argv) {
    CliArgs args(argc, argv, {"offset", "size"});
    if (!args.ok() || args.positional().size() != 1 ||
        !args.unknownOptions({"offset", "size"}).empty())
        return CliUsage(kCat);
    uint64_t offset = 0, size = UINT64_MAX;
    if (args.has("offset") && !args.getUnsigned("offset", offset)) return CliUsage(kCat);
    if (args.has("size") && !args.getUnsigned("size", size)) return CliUsage(kCat);

    std::string error;
    KsRef<KsStream> stream = CliOpenStream(args.positional()[0], error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    ks_pos_t total = stream->GetSize();
    if (total == KS_POS_UNKNOWN) total = 0;
    if (offset > total) offset = total;
    if (size > total - offset) size = total - offset;
    KsRef<KsStream> part(
        new KsStreamFragment(stream, static_cast<ks_pos_t>(offset), static_cast<ks_pos_t>(size)));
    unsigned char block[65536];
    for (;;) {
        ks_pos_t got = 0;
        if (part->Read(block, sizeof(block), &got) != KS_OK) {
            std::fprintf(stderr, "quillet-cli: read error\n");
            return 2;
        }
        if (got == 0) break;
        if (std::fwrite(block, 1, got, stdout) != got) return 2;
    }
    return 0;
}

}  // namespace
