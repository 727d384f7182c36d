#pragma once

// The text files of the corpus and the charsets their names give.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

struct NamedCharset {
    const char* token;      // as it appears in a file name
    const char* charset;    // the name given to SetCharset
    const char* iconvName;  // what iconv calls it
};

// Longer tokens first, so that "utf-16le" is not taken for "utf-16".
inline constexpr NamedCharset kNamedCharsets[] = {
    {"maccyrillic", "x-mac-cyrillic", "MAC-CYRILLIC"},
    {"iso-8859-5", "iso-8859-5", "ISO-8859-5"},
    {"windows-1251", "windows-1251", "CP1251"},
    {"windows-1252", "windows-1252", "CP1252"},
    {"cp1251", "cp1251", "CP1251"},
    {"cp1252", "cp1252", "CP1252"},
    {"ibm866", "ibm866", "CP866"},
    {"cp866", "cp866", "CP866"},
    {"koi8-r", "koi8-r", "KOI8-R"},
    {"koi8r", "koi8r", "KOI8-R"},
    {"shift_jis", "shift_jis", "SHIFT_JIS"},
    {"utf-16le", "utf-16le", "UTF-16LE"},
    {"utf16le", "utf-16le", "UTF-16LE"},
    {"utf-16.be", "utf-16be", "UTF-16BE"},
    {"utf16be", "utf-16be", "UTF-16BE"},
    {"utf-8", "utf-8", "UTF-8"},
    {"utf8", "utf-8", "UTF-8"},
};

inline const NamedCharset* CharsetOfFileName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const NamedCharset& named : kNamedCharsets)
        if (name.find(named.token) != std::string::npos) return &named;
    return nullptr;
}

// Every file of the corpus folder txt/, sorted.
inline std::vector<std::string> TextFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() + "/txt", ec))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}
