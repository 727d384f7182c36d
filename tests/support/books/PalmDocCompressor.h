#pragma once

#include <string>

// PalmDOC LZ77 compression of one text record (at most 4096 bytes in real books): back
// references of 3 ... 10 bytes up to 2047 bytes back, "space + letter" pairs, plain bytes and
// literal runs of bytes that would otherwise read as codes.
std::string CompressPalmDoc(const std::string& text);
