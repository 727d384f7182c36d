#pragma once

#include <string>
#include <vector>

// What a parse dropped, for tools that show a stylesheet back to a person. Parsing itself
// never fails on bad input; it skips what it does not understand.
struct CssParseReport {
    struct Item {
        int line;          // 1-based line in the parsed text
        std::string what;  // "declaration", "rule", "at-rule", "import"
        std::string text;  // the dropped text, spaces collapsed
    };
    std::vector<Item> dropped;

    void add(int line, const char* what, const char* text, size_t length);
};
