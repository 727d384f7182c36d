// quillet-cli crc: the CRC-32 of a file (or archive@/item) as the engine computes it.
#include <cstdio>

#include "tools/cli/Cli.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunCrc(int argc, char** argv);
const CliCommand kCrc{"crc", "crc FILE", "print the CRC-32 of a file (or archive@/item)", RunCrc};
CliRegistration registration(kCrc);

int RunCrc(int argc, char** argv) {
    CliArgs args(argc, argv, {});
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions({}).empty())
        return CliUsage(kCrc);
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(args.positional()[0], error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    uint32_t crc = 0;
    if (stream->ComputeCrc32(&crc) != KS_OK) {
        std::fprintf(stderr, "quillet-cli: cannot read %s\n", args.positional()[0].c_str());
        return 2;
    }
    std::printf("%08x\n", crc);
    return 0;
}

}  // namespace
