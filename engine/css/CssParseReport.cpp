#include "engine/css/CssParseReport.h"

void CssParseReport::add(int line, const char* what, const char* text, size_t length) {
    std::string collapsed;
    bool space = false;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            space = !collapsed.empty();
            continue;
        }
        if (space) collapsed += ' ';
        space = false;
        collapsed += c;
    }
    // Long rules are shortened; the start says which one it was.
    if (collapsed.size() > 200) collapsed = collapsed.substr(0, 197) + "...";
    dropped.push_back({line, what, collapsed});
}
