#pragma once

#include <memory>
#include <vector>

#include "engine/core/StringCollection.h"
#include "engine/graphics/KsFaceDef.h"
#include "engine/graphics/KsFont.h"

// A definition, and for instances the font made for it.
struct KsFontCacheItem {
    KsFaceDef def;
    KsRef<KsFont> font;  // always null for registered definitions
};

// The font manager's two lists: the registered definitions and the font instances made so far.
class KsFontCache {
public:
    struct Found {
        const KsFontCacheItem* item = nullptr;
        bool isInstance = false;
    };

    void AddRegistered(const KsFaceDef& def);
    void AddInstance(const KsFaceDef& def, KsRef<KsFont> font);
    bool IsDuplicate(const KsFaceDef& def) const;
    bool HasDocumentFont(int documentId, const string8& path) const;

    // The best item for a request. The request's typeface is a font-family list (comma-separated,
    // names optionally quoted); each name is tried in turn, and an empty list stands for the
    // default face of the requested generic family. Null when nothing is registered (or only
    // other documents' fonts).
    Found Find(const KsFaceDef& request) const;
    // The best item of one face name for the fallback lookup.
    Found FindFallback(const string8& face) const;

    // Drops the instances that nothing outside the cache uses; returns how many are still used.
    int Gc(int* dropped = nullptr);
    void ReleaseDocumentFonts(int documentId);

    int RegisteredCount() const { return static_cast<int>(registered_.size()); }
    int InstanceCount() const { return static_cast<int>(instances_.size()); }
    const std::vector<std::unique_ptr<KsFontCacheItem>>& Registered() const { return registered_; }
    const std::vector<std::unique_ptr<KsFontCacheItem>>& Instances() const { return instances_; }
    // Sorted, unique face names of the system definitions.
    void FaceList(KsString16Collection& list) const;
    // Changes whenever the set of definitions visible to the document changes.
    uint32_t DefinitionsHash(int documentId) const;

    // Splits a font-family list into face names, quotes removed.
    static std::vector<string8> SplitFaceList(const string8& list);
    // The face used for a request that names none.
    static string8 DefaultFaceName(int family);

private:
    std::vector<std::unique_ptr<KsFontCacheItem>> registered_;
    std::vector<std::unique_ptr<KsFontCacheItem>> instances_;
};
