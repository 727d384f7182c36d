#pragma once

#include <string>
#include <vector>

// A TCR encoder for the tests: the 9-byte signature "!!8-Bit!!", 256 dictionary entries (a
// length byte and the string of code 0 ... 255), then one code byte per string of the text.

enum class TcrDictionary {
    SingleBytes,  // code b stands for byte b
    BytePairs,    // the bytes of the text, then byte-pair merges up to 255 bytes per entry
};

std::string TcrEncode(const std::string& text, TcrDictionary dictionary = TcrDictionary::BytePairs);

// A file of the given entries (fewer than 256 are written as they are, for broken files) and code
// bytes.
std::string TcrFile(const std::vector<std::string>& entries, const std::string& codes);

// Decodes a TCR file the simple way (the whole text at once); "" for a broken file.
std::string TcrDecodeSimple(const std::string& file, bool* ok = nullptr);
