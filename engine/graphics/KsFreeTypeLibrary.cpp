#include "engine/graphics/KsFreeTypeLibrary.h"

#include "engine/core/Log.h"

KsRef<KsFreeTypeLibrary> KsFreeTypeLibrary::Create() {
    FT_Library library = nullptr;
    FT_Error error = FT_Init_FreeType(&library);
    if (error) {
        LogError("FT_Init_FreeType returned error %d", error);
        return nullptr;
    }
    return KsRef<KsFreeTypeLibrary>(new KsFreeTypeLibrary(library));
}

KsFreeTypeLibrary::~KsFreeTypeLibrary() {
    FT_Done_FreeType(library_);
}
