#pragma once

#include <string>

// Standard base64 (with "=" padding) of the bytes, as FB2 books keep their pictures; with a line
// length, a line break follows every that many characters.
std::string EncodeBase64(const std::string& bytes, int lineLength = 0);
