#pragma once

#include <vector>

#include "engine/core/KsString.h"

// The first decoded characters of a file, searched by the XML and HTML format checks.
class XmlSample {
public:
    explicit XmlSample(const std::vector<unit16>& units) : units_(units) {}

    // Position of an ASCII text, or -1.
    int Find(const char* ascii, int from = 0) const;
    bool Contains(const char* ascii) const { return Find(ascii) >= 0; }
    // The value of encoding="..." (or '...') of an XML declaration, or empty. Values longer than
    // 20 characters are not taken.
    string16 DeclaredXmlEncoding() const;
    // The charset an HTML meta tag declares (http-equiv Content-Type or the charset attribute),
    // in a sample already lower-cased; empty when there is none.
    string16 DeclaredHtmlCharset() const;
    // Lower-cases ASCII, Latin-1, Greek and Cyrillic capitals in place.
    void ToLower();

private:
    std::vector<unit16> units_;
};
