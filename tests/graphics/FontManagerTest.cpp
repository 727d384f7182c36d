#include "engine/graphics/KsFreeTypeFontManager.h"

#include <gtest/gtest.h>

#include "engine/core/StringConvert.h"
#include "engine/graphics/KsFontBoldTransform.h"
#include "engine/graphics/KsFreeTypeFace.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/FontTestSupport.h"
#include "tests/support/InMemoryContainer.h"
#include "tests/support/TestSupport.h"

namespace {

bool Logged(const CapturedLog& log, const std::string& text) {
    return log.count(text) > 0;
}

std::string Joined(const CapturedLog& log) {
    std::string all;
    for (const std::string& line : log.lines)
        all += line + "\n";
    return all;
}

KsFreeTypeFontManager& FreeTypeManager() {
    return *static_cast<KsFreeTypeFontManager*>(GetFontManager());
}

// The file a font was loaded from, looking through a bold transform.
std::string FileOf(const KsRef<KsFont>& font) {
    KsFont* f = font.Get();
    if (auto* bold = dynamic_cast<KsFontBoldTransform*>(f)) f = bold->base().Get();
    auto* face = dynamic_cast<KsFreeTypeFace*>(f);
    return face ? face->getFileName().CStr() : "";
}

struct ChoiceCase {
    int size;
    int weight;
    bool italic;
    int family;
    const char* faces;
    // Expected:
    const char* file;
    int fontWeight;
    int fontItalic;
    bool emboldened;
};

TEST(FontManager, FaceChoiceTable) {
    ScopedFontManager manager(AllShippedFonts());
    const ChoiceCase cases[] = {
        {16, 400, false, 0, "DejaVu Sans", "DejaVuSans.ttf", 400, 0, false},
        {16, 700, false, 0, "DejaVu Sans", "DejaVuSans-Bold.ttf", 700, 0, false},
        {16, 600, false, 0, "DejaVu Sans", "DejaVuSans-Bold.ttf", 700, 0, false},
        // No oblique DejaVu Sans is shipped: the upright face is slanted.
        {16, 400, true, 0, "DejaVu Sans", "DejaVuSans.ttf", 400, 1, false},
        {16, 400, true, 0, "Liberation Serif", "LiberationSerif-Italic.ttf", 400, 1, false},
        {16, 700, true, 0, "Liberation Sans", "LiberationSans-BoldItalic.ttf", 700, 1, false},
        // 900 is 200 above the bold face: the bold face is emboldened further.
        {16, 900, false, 0, "DejaVu Sans", "DejaVuSans-Bold.ttf", 900, 0, true},
        {20, 400, false, 0, "Nonexistent, 'Liberation Mono'", "LiberationMono-Regular.ttf", 400, 0,
         false},
        // No face named: the default face of the generic family.
        {16, 400, false, 5, "", "DejaVuSansMono.ttf", 400, 0, false},
        {16, 400, false, 1, "", "DejaVuSerif.ttf", 400, 0, false},
        {16, 400, false, 0, "", "DejaVuSans.ttf", 400, 0, false},
        // An unknown face goes by the generic family; serif faces count as serif.
        {16, 400, false, 1, "\"Times New Roman\"", "DejaVuSerif.ttf", 400, 0, false},
        {16, 400, false, 5, "\"Courier New\"", "DejaVuSansMono.ttf", 400, 0, false},
    };
    for (const auto& c : cases) {
        KsRef<KsFont> font = manager->GetFont(c.size, c.weight, c.italic, c.family, c.faces);
        ASSERT_TRUE(font) << c.faces;
        EXPECT_EQ(FileOf(font), c.file) << c.faces << " " << c.weight << " " << c.italic;
        EXPECT_EQ(font->getSize(), c.size) << c.faces;
        EXPECT_EQ(font->getWeight(), c.fontWeight) << c.faces << " " << c.weight;
        EXPECT_EQ(font->getItalic(), c.fontItalic) << c.faces << " " << c.italic;
        EXPECT_EQ(dynamic_cast<KsFontBoldTransform*>(font.Get()) != nullptr, c.emboldened)
            << c.faces << " " << c.weight;
    }
}

TEST(FontManager, RegistersUprightFacesTwice) {
    ScopedFontManager manager({"DejaVuSans.ttf", "LiberationSans-Italic.ttf"});
    // The upright face also stands for its slanted copy; the italic face only for itself.
    EXPECT_EQ(manager->GetFontCount(), 3);
    const auto& defs = FreeTypeManager().cache().Registered();
    EXPECT_EQ(defs[0]->def.italic, KS_ITALIC_NONE);
    EXPECT_EQ(defs[1]->def.italic, KS_ITALIC_SYNTHETIC);
    EXPECT_EQ(defs[2]->def.italic, KS_ITALIC_REAL);
    EXPECT_EQ(defs[0]->def.family, KS_FONT_FAMILY_SANS_SERIF);
}

TEST(FontManager, FamiliesOfShippedFaces) {
    ScopedFontManager manager(AllShippedFonts());
    for (const auto& item : FreeTypeManager().cache().Registered()) {
        const std::string face = item->def.typeface.CStr();
        int expected = face.find("Mono") != std::string::npos    ? KS_FONT_FAMILY_MONOSPACE
                       : face.find("Serif") != std::string::npos ? KS_FONT_FAMILY_SERIF
                                                                 : KS_FONT_FAMILY_SANS_SERIF;
        EXPECT_EQ(item->def.family, expected) << face;
    }
}

TEST(FontManager, DuplicateFileIsRefused) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    CapturedLog log;
    EXPECT_FALSE(manager->RegisterFont("DejaVuSans.ttf"));
    EXPECT_TRUE(Logged(log, "font definition is duplicate"));
    EXPECT_EQ(manager->GetFontCount(), 2);
}

TEST(FontManager, RefusesUnusableFiles) {
    TempDir dir;
    // A bitmap font in BDF form, which FreeType opens but cannot scale.
    const std::string bdf =
        "STARTFONT 2.1\nFONT -test-bitmap-medium-r-normal--8-80-75-75-c-80-iso10646-1\n"
        "SIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 2\nFONT_ASCENT 8\n"
        "FONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR a\nENCODING 97\nSWIDTH 500 0\n"
        "DWIDTH 8 0\nBBX 8 8 0 0\nBITMAP\nFF\n81\n81\n81\n81\n81\n81\nFF\nENDCHAR\nENDFONT\n";
    ASSERT_TRUE(WriteFileBytes(dir.file("bitmap.bdf"), bdf));
    ASSERT_TRUE(WriteFileBytes(dir.file("notafont.ttf"), "hello, I am text"));
    ASSERT_TRUE(CreateFontManager(string8(dir.path().c_str())));
    {
        CapturedLog log;
        EXPECT_FALSE(GetFontManager()->RegisterFont("bitmap.bdf"));
        EXPECT_TRUE(Logged(log, "won't register font bitmap.bdf: font is not scalable"))
            << Joined(log);
        log.lines.clear();
        EXPECT_FALSE(GetFontManager()->RegisterFont("notafont.ttf"));
        EXPECT_TRUE(Logged(log, "FT_New_Face returned error")) << Joined(log);
        log.lines.clear();
        const std::string lettersOnly = SourceDir() + "/tests/graphics/data/letters-only.ttf";
        EXPECT_FALSE(GetFontManager()->RegisterFont(lettersOnly.c_str()));
        EXPECT_TRUE(Logged(log, "Required char not found in font: 007a")) << Joined(log);
        EXPECT_TRUE(Logged(log, "no mandatory characters in charset")) << Joined(log);
        EXPECT_FALSE(GetFontManager()->RegisterFont("missing.ttf"));
    }
    EXPECT_EQ(GetFontManager()->GetFontCount(), 0);
    EXPECT_FALSE(GetFontManager()->GetFont(16, 400, false, 0, string8("Anything")));
    DestroyFontManager();
}

TEST(FontManager, EmboldensAndReusesTheTransform) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    CapturedLog log;
    KsRef<KsFont> bold = manager->GetFont(18, 700, false, 0, "DejaVu Sans");
    ASSERT_TRUE(bold);
    auto* transform = dynamic_cast<KsFontBoldTransform*>(bold.Get());
    ASSERT_NE(transform, nullptr);
    EXPECT_TRUE(Logged(log, "font: apply Embolding to increase weight from 400 to 600"));
    EXPECT_EQ(bold->getWeight(), 600);
    EXPECT_EQ(transform->extraWidth(), 1);
    EXPECT_EQ(bold->getHeight(), transform->base()->getHeight());
    log.lines.clear();
    KsRef<KsFont> again = manager->GetFont(18, 700, false, 0, "DejaVu Sans");
    EXPECT_EQ(again.Get(), bold.Get());
    EXPECT_FALSE(Logged(log, "Embolding"));
    // The regular face made for the transform serves regular requests of that size.
    KsRef<KsFont> regular = manager->GetFont(18, 400, false, 0, "DejaVu Sans");
    EXPECT_EQ(regular.Get(), transform->base().Get());
}

TEST(FontManager, InstancesOnlyServeTheirOwnSize) {
    ScopedFontManager manager({"LiberationSans-Regular.ttf"});
    // A 99 px transform (weight 600) is nearer in weight to a 700 request than the registered
    // 400 face, but it must not be handed out for 100 px.
    KsRef<KsFont> at99 = manager->GetFont(99, 700, false, 0, "Liberation Sans");
    ASSERT_TRUE(at99);
    KsRef<KsFont> at100 = manager->GetFont(100, 700, false, 0, "Liberation Sans");
    ASSERT_TRUE(at100);
    EXPECT_EQ(at99->getSize(), 99);
    EXPECT_EQ(at100->getSize(), 100);
    EXPECT_NE(at99.Get(), at100.Get());
}

TEST(FontManager, RefusesSizesOutOfRange) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    EXPECT_FALSE(manager->GetFont(0, 400, false, 0, "DejaVu Sans"));
    EXPECT_FALSE(manager->GetFont(-5, 400, false, 0, "DejaVu Sans"));
    EXPECT_FALSE(manager->GetFont(100000, 400, false, 0, "DejaVu Sans"));
    EXPECT_TRUE(manager->GetFont(1, 400, false, 0, "DejaVu Sans"));
}

TEST(FontManager, GcDropsUnusedInstances) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    KsRef<KsFont> kept = manager->GetFont(16, 700, false, 0, "DejaVu Sans");  // face + transform
    (void)manager->GetFont(30, 400, false, 0, "DejaVu Sans");
    EXPECT_EQ(FreeTypeManager().cache().InstanceCount(), 3);
    CapturedLog log;
    manager->gc();
    EXPECT_TRUE(Logged(log, "KsFontCache::gc() : 2 fonts still used, 1 fonts dropped"))
        << Joined(log);
    kept.Reset();
    manager->gc();
    EXPECT_EQ(FreeTypeManager().cache().InstanceCount(), 0);
}

TEST(FontManager, FallbackFace) {
    ScopedFontManager manager({"DejaVuSans.ttf", "LiberationSans-Regular.ttf"});
    KsRef<KsFont> liberation = manager->GetFont(17, 400, false, 0, "Liberation Sans");
    ASSERT_TRUE(liberation);
    const uint32_t snowman = 0x2603;  // in DejaVu Sans, not in Liberation Sans
    KsGlyphInfo info;
    EXPECT_FALSE(liberation->getGlyphInfo(snowman, &info, 0));
    EXPECT_EQ(liberation->getCharWidth(snowman, 0), 0);  // no glyph and no fallback: 0

    EXPECT_FALSE(manager->SetFallbackFace("No Such Face"));
    EXPECT_TRUE(manager->GetFallbackFace().Empty());
    // The very first registered definition is found.
    EXPECT_TRUE(manager->SetFallbackFace("DejaVu Sans"));
    EXPECT_EQ(manager->GetFallbackFace(), "DejaVu Sans");

    KsRef<KsFont> fallback = manager->GetFallbackFont(17);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback->getSize(), 16);
    EXPECT_EQ(fallback->getTypeFace(), "DejaVu Sans");
    ASSERT_TRUE(liberation->getGlyphInfo(snowman, &info, 0));
    EXPECT_GT(info.width, 0);
    EXPECT_EQ(liberation->getCharWidth(snowman, 0), fallback->getCharWidth(snowman, 0));
    const KsGlyphEntry* glyph = liberation->getGlyph(snowman, 0);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph, fallback->getGlyph(snowman, 0));  // the fallback font's own cached glyph

    // Clearing the fallback face makes the character missing again.
    EXPECT_FALSE(manager->SetFallbackFace(""));
    EXPECT_EQ(liberation->getCharWidth(snowman, 0), 0);
}

TEST(FontManager, FallbackSizes) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    ASSERT_TRUE(manager->SetFallbackFace("DejaVu Sans"));
    const int cases[][2] = {{8, 8},   {16, 16}, {17, 16}, {19, 18}, {28, 28}, {30, 28},
                            {39, 36}, {40, 40}, {41, 40}, {47, 40}, {48, 48}};
    for (const auto& c : cases) {
        KsRef<KsFont> font = manager->GetFallbackFont(c[0]);
        ASSERT_TRUE(font) << c[0];
        EXPECT_EQ(font->getSize(), c[1]) << c[0];
    }
}

TEST(FontManager, DocumentFonts) {
    ScopedFontManager manager({"LiberationSans-Regular.ttf"});
    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"fonts/body.ttf", ReadFileBytes(FontsDir() + "/DejaVuSerif.ttf"));
    book->AddFile(u"fonts/tiny.ttf", std::string(50, 'x'));
    CapturedLog log;
    EXPECT_TRUE(
        manager->RegisterDocumentFont(7, book.Get(), u"fonts/body.ttf", "Book Face", true, false));
    EXPECT_TRUE(Logged(log, "RegisterDocumentFont(documentId=7, path=fonts/body.ttf)"));
    EXPECT_EQ(manager->GetFontCount(), 2 + 2);
    // The same path again does nothing.
    EXPECT_TRUE(
        manager->RegisterDocumentFont(7, book.Get(), u"fonts/body.ttf", "Book Face", true, false));
    EXPECT_EQ(manager->GetFontCount(), 4);
    EXPECT_FALSE(manager->RegisterDocumentFont(7, book.Get(), u"fonts/tiny.ttf", "", false, false));
    EXPECT_FALSE(manager->RegisterDocumentFont(7, book.Get(), u"fonts/none.ttf", "", false, false));
    // Another book may bring a font of the same name.
    EXPECT_TRUE(
        manager->RegisterDocumentFont(8, book.Get(), u"fonts/body.ttf", "Book Face", true, false));

    // The @font-face name and style replace the file's own.
    KsRef<KsFont> inBook = manager->GetFont(16, 700, false, 0, "Book Face", 7);
    ASSERT_TRUE(inBook);
    EXPECT_EQ(inBook->getTypeFace(), "Book Face");
    EXPECT_EQ(FileOf(inBook), "fonts/body.ttf");
    EXPECT_EQ(dynamic_cast<KsFontBoldTransform*>(inBook.Get()), nullptr);
    // Other documents and system requests never get it.
    KsRef<KsFont> outside = manager->GetFont(16, 700, false, 0, "Book Face", -1);
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->getTypeFace(), "Liberation Sans");

    int before = manager->GetHash(7);
    manager->ReleaseDocumentFonts(7);
    EXPECT_NE(manager->GetHash(7), before);
    EXPECT_EQ(manager->GetFontCount(), 4);  // document 8's fonts stay
    EXPECT_EQ(manager->GetFont(16, 700, false, 0, "Book Face", 7)->getTypeFace(),
              "Liberation Sans");
    // The released font still works for whoever holds it.
    EXPECT_GT(inBook->getCharWidth('W', '?'), 0);
    manager->ReleaseDocumentFonts(8);
    EXPECT_EQ(manager->GetFontCount(), 2);
}

TEST(FontManager, HashFollowsFontsAndFallback) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    int first = manager->GetHash(-1);
    EXPECT_EQ(manager->GetHash(-1), first);
    ASSERT_TRUE(manager->RegisterFont("DejaVuSerif.ttf"));
    int second = manager->GetHash(-1);
    EXPECT_NE(second, first);
    ASSERT_TRUE(manager->SetFallbackFace("DejaVu Sans"));
    EXPECT_NE(manager->GetHash(-1), second);
}

TEST(FontManager, FontHash) {
    ScopedFontManager manager({"DejaVuSans.ttf", "DejaVuSerif.ttf"});
    KsRef<KsFont> a = manager->GetFont(16, 400, false, 0, "DejaVu Sans");
    EXPECT_EQ(a->getHash(), manager->GetFont(16, 400, false, 0, "DejaVu Sans")->getHash());
    EXPECT_NE(a->getHash(), manager->GetFont(17, 400, false, 0, "DejaVu Sans")->getHash());
    EXPECT_NE(a->getHash(), manager->GetFont(16, 700, false, 0, "DejaVu Sans")->getHash());
    EXPECT_NE(a->getHash(), manager->GetFont(16, 400, true, 0, "DejaVu Sans")->getHash());
    EXPECT_NE(a->getHash(), manager->GetFont(16, 400, false, 0, "DejaVu Serif")->getHash());
    const uint32_t before = a->getHash();
    manager->SetAntialiasMode(0);
    EXPECT_NE(a->getHash(), before);
}

TEST(FontManager, FaceList) {
    ScopedFontManager manager({"LiberationSerif-Regular.ttf", "DejaVuSans.ttf",
                               "DejaVuSans-Bold.ttf", "LiberationMono-Regular.ttf"});
    KsString16Collection faces;
    manager->getFaceList(faces);
    ASSERT_EQ(faces.Length(), 3);
    EXPECT_EQ(U8(faces[0]), "DejaVu Sans");
    EXPECT_EQ(U8(faces[1]), "Liberation Mono");
    EXPECT_EQ(U8(faces[2]), "Liberation Serif");
}

TEST(FontManager, SettingsReachInstances) {
    ScopedFontManager manager({"DejaVuSans.ttf"});
    KsRef<KsFont> small = manager->GetFont(12, 400, false, 0, "DejaVu Sans");
    KsRef<KsFont> large = manager->GetFont(24, 400, false, 0, "DejaVu Sans");
    EXPECT_FALSE(small->getBitmapMode());
    manager->SetAntialiasMode(1);  // monochrome below 20 pixels
    EXPECT_TRUE(small->getBitmapMode());
    EXPECT_FALSE(large->getBitmapMode());
    const KsGlyphEntry* glyph = small->getGlyph('a', 0);
    ASSERT_NE(glyph, nullptr);
    for (int i = 0; i < glyph->width * glyph->height; ++i) {
        uint8_t c = glyph->Coverage()[i];
        EXPECT_TRUE(c == 0 || c == 255) << int(c);
    }
    KsRef<KsFont> newSmall = manager->GetFont(13, 400, false, 0, "DejaVu Sans");
    EXPECT_TRUE(newSmall->getBitmapMode());

    manager->SetKerning(true);
    EXPECT_TRUE(small->getKerning());
    EXPECT_TRUE(manager->GetKerning());

    (void)large->getGlyph('b', 0);
    EXPECT_GT(FreeTypeManager().glyphCache()->EntryCount(), 0);
    CapturedLog log;
    manager->SetHintingMode(0);
    EXPECT_TRUE(Logged(log, "Hinting mode is changed: 0"));
    EXPECT_EQ(large->getHintingMode(), 0);
    EXPECT_EQ(FreeTypeManager().glyphCache()->EntryCount(), 0);
}

}  // namespace
