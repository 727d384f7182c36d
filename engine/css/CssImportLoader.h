#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/KsString.h"

class CssImportSource;
class CssStyleSheet;
struct CssParseReport;

// Parses document stylesheets with their leading "@import" rules. Imports are followed at most
// kMaxCssImportDepth levels deep, never into a file that is being parsed further up the chain,
// and within kMaxCssImportFiles files and kMaxCssImportBytes bytes in all, so that a fan-out of
// imports cannot repeat work without bound.
class CssImportLoader {
public:
    // `source` may be null (imports are then not followed).
    CssImportLoader(CssStyleSheet& stylesheet, CssImportSource* source,
                    CssParseReport* report = nullptr)
        : stylesheet_(stylesheet), source_(source), report_(report) {}

    // Parses text whose relative addresses are relative to the folder `codeBase`; true when
    // anything was stored.
    bool parseText(const string16& codeBase, const string8& text);
    // Parses the file at `path` (an empty path gives false).
    bool parseFile(const string16& path);

    int filesRead() const { return filesRead_; }
    uint64_t bytesRead() const { return bytesRead_; }

private:
    bool parseAt(const string16& codeBase, const string8& text, int depth);
    bool importFile(const string16& path, int depth);

    CssStyleSheet& stylesheet_;
    CssImportSource* source_;
    CssParseReport* report_;
    std::vector<string16> inProgress_;
    int filesRead_ = 0;
    uint64_t bytesRead_ = 0;
};
