#include "tools/cli/CliView.h"

#include <cstdio>

#include "engine/books/PdbBook.h"
#include "engine/core/StringConvert.h"
#include "tools/cli/CliStreams.h"

namespace {

// Why a PDB book is refused (encrypted, damaged ...), or nothing.
std::string PdbRefusal(const std::string& path) {
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    PdbContentKind kind = PDB_CONTENT_NONE;
    PdbOpenError refusal = PdbOpenError::NotPdb;
    if (!stream || IsPdbBook(stream, kind, &refusal) || refusal == PdbOpenError::NotPdb) return "";
    return PdbOpenErrorText(refusal);
}

}  // namespace

int CliLoadBook(const std::string& path, KsDocView& view) {
    if (view.LoadDocument(Utf8ToString16(path.c_str()))) return 0;
    std::string why;
    if (!view.getDocument()) {
        why = "cannot open it as a book";
    } else {
        why = String16ToUtf8(view.getDocProps()->readTextOr("doc.title", string16())).CStr();
        const std::string reason = PdbRefusal(path);
        if (!reason.empty()) why += " (" + reason + ")";
    }
    std::fprintf(stderr, "quillet-cli: %s: %s\n", path.c_str(), why.c_str());
    return 2;
}
