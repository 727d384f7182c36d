// quillet-cli text: the decoded text of a MOBI, PalmDOC or eReader book on stdout.
#include <cstdio>

#include "tools/cli/Cli.h"
#include "tools/cli/CliBooks.h"

namespace {

int RunText(int argc, char** argv);
const CliCommand kText{"text", "text BOOK [--offset N] [--size N]",
                       "write the decoded text of a MOBI, PalmDOC or eReader book to stdout",
                       RunText};
CliRegistration registration(kText);

int RunText(int argc, char** argv) {
    CliArgs args(argc, argv, {"offset", "size"});
    if (!args.ok() || args.positional().size() != 1 ||
        !args.unknownOptions({"offset", "size"}).empty())
        return CliUsage(kText);
    uint64_t offset = 0, size = UINT64_MAX;
    if (args.has("offset") && !args.getUnsigned("offset", offset)) return CliUsage(kText);
    if (args.has("size") && !args.getUnsigned("size", size)) return CliUsage(kText);

    CliPdbBook book;
    if (int status = CliOpenPdbBook(args.positional()[0], book)) return status;
    PDBFile& text = *book.file;
    uint64_t total = text.TextLength();
    if (offset > total) offset = total;
    if (size > total - offset) size = total - offset;
    if (text.SetPos(static_cast<ks_pos_t>(offset)) != offset) {
        std::fprintf(stderr, "quillet-cli: cannot seek in the text\n");
        return 2;
    }
    static unsigned char block[65536];
    while (size > 0) {
        ks_pos_t want = size < sizeof(block) ? static_cast<ks_pos_t>(size) : sizeof(block);
        ks_pos_t got = 0;
        if (text.Read(block, want, &got) != KS_OK || got == 0) {
            std::fprintf(stderr, "quillet-cli: %s: a text record cannot be decoded\n",
                         args.positional()[0].c_str());
            return 2;
        }
        if (std::fwrite(block, 1, got, stdout) != got) return 2;
        size -= got;
    }
    return 0;
}

}  // namespace
