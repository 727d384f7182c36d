#pragma once

#include "engine/core/KsString.h"
#include "engine/core/StringCollection.h"
#include "engine/graphics/KsFont.h"
#include "engine/graphics/KsFontBuffer.h"

class KsContainer;

// The process-wide source of fonts: registered font files and book fonts, the choice of the
// best face for a request, shared font instances and the rendering settings they follow.
class KsFontManager {
public:
    virtual ~KsFontManager() = default;

    // Drops the font instances nothing else uses.
    virtual void gc() = 0;
    // The font for a request (weight 100 ... 900, generic family, font-family list of face
    // names, -1 or the document whose book fonts may be chosen); null when nothing fits.
    virtual KsRef<KsFont> GetFont(int size, int weight, bool italic, int family,
                                  const string8& typeface, int documentId = -1) = 0;
    // The face that supplies characters other faces lack; false (and no fallback) when no
    // registered face has that name.
    virtual bool SetFallbackFace(const string8& face) = 0;
    virtual string8 GetFallbackFace() const = 0;
    virtual KsRef<KsFont> GetFallbackFont(int size) = 0;
    // A font file in the font directory (or an absolute path).
    virtual bool RegisterFont(const string8& fileName) = 0;
    // A whole font file held in memory, as a system font; `name` identifies it.
    virtual bool RegisterFontBuffer(const string8& name, KsRef<KsFontBuffer> buffer) = 0;
    // A font file of a book, read from the book's container. A non-empty face name (from an
    // @font-face rule) replaces the file's own name, and then bold and italic replace its style.
    virtual bool RegisterDocumentFont(int documentId, KsContainer* container, const string16& path,
                                      const string8& faceName, bool bold, bool italic) = 0;
    // The same with the font file's bytes already read.
    virtual bool RegisterDocumentFontBuffer(int documentId, const string8& path,
                                            KsRef<KsFontBuffer> buffer, const string8& faceName,
                                            bool bold, bool italic) = 0;
    virtual void ReleaseDocumentFonts(int documentId) = 0;
    virtual bool Init(const string8& fontDirectory) = 0;
    virtual int GetFontCount() const = 0;
    // Changes when the fonts visible to the document or the fallback face change.
    virtual int GetHash(int documentId) const = 0;
    virtual void clearGlyphCache() = 0;
    // 0 monochrome, 1 antialiased from 20 pixels up, 2 always antialiased.
    virtual int GetAntialiasMode() const = 0;
    virtual void SetAntialiasMode(int mode) = 0;
    virtual bool GetKerning() const = 0;
    virtual void SetKerning(bool on) = 0;
    // Sorted, unique face names of the system fonts.
    virtual void getFaceList(KsString16Collection& list) const = 0;
    // 0 no hinting, 1 the font's own hinting, 2 the auto-hinter.
    virtual void SetHintingMode(int mode) = 0;
    virtual int GetHintingMode() const = 0;
};

// The single manager, or null.
KsFontManager* GetFontManager();
// Replaces the manager by a new one over `fontDirectory`; false when FreeType cannot start (no
// manager then).
bool CreateFontManager(const string8& fontDirectory);
void DestroyFontManager();

// Extra weight added to every font chosen for a style (0 ... 300; the reader's "embolden").
int GetGlobalFontWeightAdjustment();
void SetGlobalFontWeightAdjustment(int extraWeight);
