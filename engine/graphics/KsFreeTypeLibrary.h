#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "engine/core/KsRefCounter.h"

// The FreeType library handle, shared by the manager and every face made with it, so a face that
// outlives the manager can still be released safely.
class KsFreeTypeLibrary : public KsRefCounter {
public:
    // Null when FreeType cannot start.
    static KsRef<KsFreeTypeLibrary> Create();
    ~KsFreeTypeLibrary() override;
    FT_Library Handle() const { return library_; }

private:
    explicit KsFreeTypeLibrary(FT_Library library) : library_(library) {}
    FT_Library library_;
};
