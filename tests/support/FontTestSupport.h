#pragma once

#include <string>
#include <vector>

#include "engine/graphics/KsFontManager.h"

// The fonts shipped with the repository.
std::string FontsDir();

// Creates the process-wide font manager over fonts/ with the given files registered (in that
// order) and destroys it again; fails the test when a file cannot be registered.
class ScopedFontManager {
public:
    explicit ScopedFontManager(const std::vector<std::string>& files);
    ~ScopedFontManager();
    ScopedFontManager(const ScopedFontManager&) = delete;
    ScopedFontManager& operator=(const ScopedFontManager&) = delete;
    KsFontManager& operator*() const { return *GetFontManager(); }
    KsFontManager* operator->() const { return GetFontManager(); }
};

// Every shipped font, DejaVu first.
std::vector<std::string> AllShippedFonts();
