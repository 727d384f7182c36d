#include "engine/graphics/KsEmbeddedFontList.h"

bool KsEmbeddedFontList::add(const string16& url, const string8& face, bool bold, bool italic) {
    for (KsEmbeddedFont& font : fonts_) {
        if (font.url != url) continue;
        bool changed = font.face != face || font.bold != bold || font.italic != italic;
        font.face = face;
        font.bold = bold;
        font.italic = italic;
        return changed;
    }
    fonts_.push_back({url, face, bold, italic});
    return true;
}
