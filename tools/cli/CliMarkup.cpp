#include "tools/cli/CliMarkup.h"

#include <cstdio>
#include <utility>

#include "engine/books/PDBFile.h"
#include "engine/books/PdbBook.h"
#include "engine/books/PdbBookImport.h"
#include "tools/cli/CliStreams.h"

namespace {

// A PDB book: 0 when its text became the document, else the exit status after a message.
int ImportPdbBook(const std::string& path, KsRef<KsStream> stream, ldomDocument& document) {
    PdbContentKind kind = PDB_CONTENT_NONE;
    if (LoadPdbBook(stream, document, nullptr, &kind)) return 0;
    std::fprintf(stderr, "quillet-cli: %s: the text of the book (%s) cannot be read\n",
                 path.c_str(), PdbContentKindName(kind));
    return 1;
}

// Why a file with a PDB header is refused (encrypted, damaged...), or null for other files.
const char* PdbRefusal(KsRef<KsStream> stream) {
    KsRef<PDBFile> probe(new PDBFile());
    const bool accepted = probe->CheckHeaders(stream);
    (void)stream->SetPos(0);
    if (accepted || probe->OpenError() == PdbOpenError::NotPdb) return nullptr;
    return PdbOpenErrorText(probe->OpenError());
}

}  // namespace

bool CliMarkupFormat(const CliArgs& args, MarkupFormat& format) {
    int given = 0;
    format = MarkupFormat::Detect;
    for (auto [option, value] :
         {std::pair{"xml", MarkupFormat::Xml}, std::pair{"fb2", MarkupFormat::Fb2},
          std::pair{"html", MarkupFormat::Html}}) {
        if (!args.has(option)) continue;
        format = value;
        ++given;
    }
    return given <= 1;
}

int CliImportMarkup(const std::string& path, ldomDocument& document, MarkupFormat format) {
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    if (format == MarkupFormat::Detect) {
        PdbContentKind kind = PDB_CONTENT_NONE;
        if (IsPdbBook(stream, kind)) return ImportPdbBook(path, stream, document);
        if (const char* refusal = PdbRefusal(stream)) {
            std::fprintf(stderr, "quillet-cli: %s: %s\n", path.c_str(), refusal);
            return 1;
        }
    }
    if (ImportMarkupDocument(stream, document, format) == MarkupFormat::None) {
        std::fprintf(stderr, "quillet-cli: %s is not %s\n", path.c_str(),
                     format == MarkupFormat::Fb2    ? "an FB2 file"
                     : format == MarkupFormat::Xml  ? "an XML file"
                     : format == MarkupFormat::Html ? "an HTML file"
                                                    : "an HTML, XHTML or FB2 file");
        return 1;
    }
    return 0;
}
