#pragma once

#include <string>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"

// A PDB book opened for a subcommand: the decoded text stream and its image container.
struct CliPdbBook {
    KsRef<PDBFile> file;
    KsRef<KsPDBContainer> images;
};

// Opens a MOBI, PalmDOC or eReader book with its text pass. Returns 0 on success, 1 when the
// file is not a book Quillet reads (or is refused, e.g. encrypted), 2 when it cannot be read;
// on failure prints "quillet-cli: PATH: reason" to stderr.
int CliOpenPdbBook(const std::string& path, CliPdbBook& book);
