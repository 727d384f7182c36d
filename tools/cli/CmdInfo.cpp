// quillet-cli info: the format facts of a MOBI, PalmDOC or eReader book, then the document
// properties of any book the reader opens, in key order.
#include <cstdio>
#include <cstring>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"
#include "engine/core/StringConvert.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliStreams.h"
#include "tools/cli/CliView.h"

namespace {

int RunInfo(int argc, char** argv);
const CliCommand kInfo{"info", "info BOOK",
                       "print the format facts of a PDB book and the document properties the "
                       "reader gives a book",
                       RunInfo};
CliRegistration registration(kInfo);

void PrintLine(const char* key, const string16& value) {
    string8 text = TnPropAccessor::EscapeValue(String16ToUtf8(value));
    std::printf("%s=%s\n", key, text.CStr());
}

void PrintLine(const char* key, const char* value) {
    std::printf("%s=%s\n", key, value);
}

void PrintLine(const char* key, uint64_t value) {
    std::printf("%s=%llu\n", key, static_cast<unsigned long long>(value));
}

// The facts of the PDB container, all under "pdb.".
void PrintPdbFacts(PDBFile& file, KsPDBContainer& images) {
    const PdbDatabaseHeader& database = file.Database();
    const PdbBookHeader& header = file.BookHeader();
    PrintLine("pdb.format", PdbFormatName(file.Format()));
    PrintLine("pdb.name", BytesToString16(reinterpret_cast<const uint8_t*>(database.name),
                                          strnlen(database.name, 32), nullptr));
    PrintLine("pdb.type", database.type);
    PrintLine("pdb.creator", database.creator);
    PrintLine("pdb.compression", PdbCompressionName(file.Compression()));
    PrintLine("pdb.records", file.RecordCount());
    PrintLine("pdb.text.records", file.TextRecordCount());
    PrintLine("pdb.text.length", file.TextLength());
    uint32_t crc = 0;
    if (file.ComputeCrc32(&crc) == KS_OK) std::printf("pdb.text.crc32=%08x\n", crc);
    PrintLine("pdb.content", PdbContentKindName(file.ContentKind()));
    PrintLine("pdb.images", static_cast<uint64_t>(images.GetObjectCount()));
    if (file.Format() == PDB_FORMAT_MOBI) {
        PrintLine("pdb.mobi.header.length", header.mobiHeaderLength);
        PrintLine("pdb.mobi.type", header.mobiType);
        PrintLine("pdb.mobi.encoding", header.textEncoding);
        std::printf("pdb.mobi.extra.flags=0x%04x\n", header.extraDataFlags);
    }
}

int RunInfo(int argc, char** argv) {
    CliArgs args(argc, argv, {});
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions({}).empty())
        return CliUsage(kInfo);
    const std::string& path = args.positional()[0];
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    KsRef<PDBFile> file(new PDBFile());
    KsRef<KsPDBContainer> images(new KsPDBContainer());
    PdbContentKind kind = PDB_CONTENT_NONE;
    const bool pdb = file->Open(stream, images.Get(), PdbTextPass::Run, &kind);
    stream = nullptr;

    KsRef<KsDocView> view = MakeRef<KsDocView>();
    if (int status = CliLoadBook(path, *view)) return status;
    if (pdb) {
        images->SetPdbFile(file);
        PrintPdbFacts(*file, *images);
    }
    const TnPropContainer& properties = *view->getDocProps();
    for (int i = 0; i < properties.count(); ++i)
        PrintLine(properties.nameAt(i).CStr(), properties.valueAt(i));
    return 0;
}

}  // namespace
