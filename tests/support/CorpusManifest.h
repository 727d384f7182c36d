#pragma once

#include <string>
#include <vector>

// One row of the corpus MANIFEST.tsv: the file (relative to the corpus folder), its size, its
// format as the corpus names it ("MOBI (KF7)", "plain text", ...) and the free-form note.
struct CorpusEntry {
    std::string file;
    long size = 0;
    std::string format;
    std::string note;
};

// The rows of the manifest of the corpus folder; empty when there is none.
std::vector<CorpusEntry> ReadCorpusManifest(const std::string& corpusDir);
