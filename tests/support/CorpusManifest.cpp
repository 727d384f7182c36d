#include "tests/support/CorpusManifest.h"

#include <fstream>
#include <sstream>

std::vector<CorpusEntry> ReadCorpusManifest(const std::string& corpusDir) {
    std::vector<CorpusEntry> entries;
    std::ifstream in(corpusDir + "/MANIFEST.tsv");
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {  // file, size, format, source, licence, note
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream row(line);
        for (std::string field; std::getline(row, field, '\t');)
            fields.push_back(field);
        if (fields.size() < 3) continue;
        CorpusEntry entry;
        entry.file = fields[0];
        entry.size = std::atol(fields[1].c_str());
        entry.format = fields[2];
        if (fields.size() >= 6) entry.note = fields[5];
        entries.push_back(entry);
    }
    return entries;
}
