#include "tests/support/FontTestSupport.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

std::string FontsDir() {
    return SourceDir() + "/fonts";
}

ScopedFontManager::ScopedFontManager(const std::vector<std::string>& files) {
    EXPECT_TRUE(CreateFontManager(FontsDir().c_str()));
    for (const std::string& file : files)
        EXPECT_TRUE(GetFontManager()->RegisterFont(file.c_str())) << file;
}

ScopedFontManager::~ScopedFontManager() {
    DestroyFontManager();
}

std::vector<std::string> AllShippedFonts() {
    return {
        "DejaVuSans.ttf",
        "DejaVuSans-Bold.ttf",
        "DejaVuSerif.ttf",
        "DejaVuSerif-Bold.ttf",
        "DejaVuSansMono.ttf",
        "DejaVuSansMono-Bold.ttf",
        "LiberationSans-Regular.ttf",
        "LiberationSans-Bold.ttf",
        "LiberationSans-Italic.ttf",
        "LiberationSans-BoldItalic.ttf",
        "LiberationSerif-Regular.ttf",
        "LiberationSerif-Bold.ttf",
        "LiberationSerif-Italic.ttf",
        "LiberationSerif-BoldItalic.ttf",
        "LiberationMono-Regular.ttf",
        "LiberationMono-Bold.ttf",
        "LiberationMono-Italic.ttf",
        "LiberationMono-BoldItalic.ttf",
    };
}
