#pragma once

#include "engine/graphics/KsFontCache.h"
#include "engine/graphics/KsFontManager.h"
#include "engine/graphics/KsFreeTypeLibrary.h"
#include "engine/graphics/KsGlyphCache.h"

// The font manager over FreeType.
class KsFreeTypeFontManager final : public KsFontManager {
public:
    KsFreeTypeFontManager();
    ~KsFreeTypeFontManager() override;
    KsFreeTypeFontManager(const KsFreeTypeFontManager&) = delete;
    KsFreeTypeFontManager& operator=(const KsFreeTypeFontManager&) = delete;

    void gc() override;
    KsRef<KsFont> GetFont(int size, int weight, bool italic, int family, const string8& typeface,
                          int documentId = -1) override;
    bool SetFallbackFace(const string8& face) override;
    string8 GetFallbackFace() const override { return fallbackFace_; }
    KsRef<KsFont> GetFallbackFont(int size) override;
    bool RegisterFont(const string8& fileName) override;
    bool RegisterFontBuffer(const string8& name, KsRef<KsFontBuffer> buffer) override;
    bool RegisterDocumentFont(int documentId, KsContainer* container, const string16& path,
                              const string8& faceName, bool bold, bool italic) override;
    bool RegisterDocumentFontBuffer(int documentId, const string8& path, KsRef<KsFontBuffer> buffer,
                                    const string8& faceName, bool bold, bool italic) override;
    void ReleaseDocumentFonts(int documentId) override;
    bool Init(const string8& fontDirectory) override;
    int GetFontCount() const override { return cache_.RegisteredCount(); }
    int GetHash(int documentId) const override;
    void clearGlyphCache() override;
    int GetAntialiasMode() const override { return antialiasMode_; }
    void SetAntialiasMode(int mode) override;
    bool GetKerning() const override { return kerning_; }
    void SetKerning(bool on) override;
    void getFaceList(KsString16Collection& list) const override { cache_.FaceList(list); }
    void SetHintingMode(int mode) override;
    int GetHintingMode() const override { return hintingMode_; }

    const KsFontCache& cache() const { return cache_; }
    const KsRef<KsGlyphCache>& glyphCache() const { return glyphCache_; }

private:
    // What a caller asks to be recorded for the faces of one file.
    struct FileRegistration {
        string8 name;                // as recorded in the definitions
        string8 openPath;            // file to open, when there is no buffer
        KsRef<KsFontBuffer> buffer;  // in-memory file, or null
        int documentId = -1;
        bool checkFace = true;  // scalability and the mandatory characters
        string8 faceName;       // replaces the face's own name when not empty
        bool bold = false;      // with faceName: replaces the face's style
        bool italic = false;
    };
    bool registerFaces(const FileRegistration& file);
    FT_Error openFace(const FileRegistration& file, int index, FT_Face* face) const;
    string8 pathOf(const string8& fileName) const;
    bool wantsBitmapMode(int size) const;
    KsRef<KsFont> embolden(const KsFaceDef& def, KsRef<KsFont> font);

    int antialiasMode_ = 2;
    bool kerning_ = false;
    int hintingMode_ = 2;
    string8 fontDirectory_;
    string8 fallbackFace_;
    KsFontCache cache_;
    KsRef<KsFreeTypeLibrary> library_;
    KsRef<KsGlyphCache> glyphCache_;
};
