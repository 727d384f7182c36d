#pragma once

#include <vector>

#include "engine/core/KsString.h"

// A font that a book brings with it (from an @font-face rule).
struct KsEmbeddedFont {
    string16 url;  // path of the font file in the book's container
    string8 face;
    bool bold = false;
    bool italic = false;
};

// The fonts of one book, one entry per font file.
class KsEmbeddedFontList {
public:
    // A new URL is appended; for a known one face and style are updated. Returns whether the
    // list changed.
    bool add(const string16& url, const string8& face, bool bold, bool italic);
    int length() const { return static_cast<int>(fonts_.size()); }
    const KsEmbeddedFont& operator[](int index) const { return fonts_[size_t(index)]; }
    const KsEmbeddedFont* begin() const { return fonts_.data(); }
    const KsEmbeddedFont* end() const { return fonts_.data() + fonts_.size(); }
    void clear() { fonts_.clear(); }

private:
    std::vector<KsEmbeddedFont> fonts_;
};
