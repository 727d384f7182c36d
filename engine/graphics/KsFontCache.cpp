#include "engine/graphics/KsFontCache.h"

#include <algorithm>
#include <cstdio>

#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"

void KsFontCache::AddRegistered(const KsFaceDef& def) {
    auto item = std::make_unique<KsFontCacheItem>();
    item->def = def;
    registered_.push_back(std::move(item));
}

void KsFontCache::AddInstance(const KsFaceDef& def, KsRef<KsFont> font) {
    // Not the engine log: this is a programming error worth seeing in any build.
    if (!font) std::puts("Adding null font instance!");
    auto item = std::make_unique<KsFontCacheItem>();
    item->def = def;
    item->font = std::move(font);
    instances_.push_back(std::move(item));
}

bool KsFontCache::IsDuplicate(const KsFaceDef& def) const {
    for (const auto& item : registered_)
        if (IsDuplicateDef(item->def, def)) return true;
    return false;
}

bool KsFontCache::HasDocumentFont(int documentId, const string8& path) const {
    for (const auto& item : registered_)
        if (item->def.documentId == documentId && item->def.name == path) return true;
    return false;
}

std::vector<string8> KsFontCache::SplitFaceList(const string8& list) {
    std::vector<string8> names;
    int32_t start = 0;
    const int32_t length = list.Length();
    while (start <= length) {
        int32_t comma = list.FindUnit(',', start);
        if (comma < 0) comma = length;
        string8 name = list.Substr(start, comma - start);
        name.Trim();
        if (name.Length() >= 2 && (name[0] == '"' || name[0] == '\'') &&
            name[name.Length() - 1] == name[0]) {
            name = name.Substr(1, name.Length() - 2);
            name.Trim();
        }
        if (!name.Empty()) names.push_back(name);
        start = comma + 1;
    }
    return names;
}

string8 KsFontCache::DefaultFaceName(int family) {
    switch (family) {
        case KS_FONT_FAMILY_SERIF:
            return string8("DejaVu Serif");
        case KS_FONT_FAMILY_MONOSPACE:
            return string8("DejaVu Sans Mono");
        default:
            return string8("DejaVu Sans");
    }
}

KsFontCache::Found KsFontCache::Find(const KsFaceDef& request) const {
    std::vector<string8> names = SplitFaceList(request.typeface);
    if (names.empty()) names.push_back(DefaultFaceName(request.family));
    const KsFontCacheItem* bestInstance = nullptr;
    const KsFontCacheItem* bestRegistered = nullptr;
    int instanceScore = 0, registeredScore = 0;
    KsFaceDef r = request;
    for (const string8& name : names) {
        r.typeface = name;
        for (const auto& item : instances_) {
            // An instance is a font of one size: it serves only requests of that size.
            if (r.size != -1 && item->def.size != r.size) continue;
            int score = CalcMatch(item->def, r);
            if (score > instanceScore) {
                instanceScore = score;
                bestInstance = item.get();
            }
        }
        for (const auto& item : registered_) {
            int score = CalcMatch(item->def, r);
            if (score > registeredScore) {
                registeredScore = score;
                bestRegistered = item.get();
            }
        }
    }
    // A score of 0 is another document's font: never a candidate.
    if (!bestRegistered) return {};
    if (registeredScore > instanceScore || !bestInstance) return {bestRegistered, false};
    return {bestInstance, true};
}

KsFontCache::Found KsFontCache::FindFallback(const string8& face) const {
    const KsFontCacheItem* bestInstance = nullptr;
    const KsFontCacheItem* bestRegistered = nullptr;
    int instanceScore = 0, registeredScore = 0;
    for (const auto& item : instances_) {
        int score = CalcFallbackMatch(item->def, face);
        if (score > instanceScore) {
            instanceScore = score;
            bestInstance = item.get();
        }
    }
    for (const auto& item : registered_) {
        int score = CalcFallbackMatch(item->def, face);
        if (score > registeredScore) {
            registeredScore = score;
            bestRegistered = item.get();
        }
    }
    if (bestInstance && instanceScore >= registeredScore) return {bestInstance, true};
    if (bestRegistered) return {bestRegistered, false};
    return {};
}

int KsFontCache::Gc(int* dropped) {
    int used = 0, droppedCount = 0;
    // From the end: a wrapper made later than the font it wraps goes first, so the wrapped font
    // is unused by the time the walk reaches it.
    for (size_t i = instances_.size(); i-- > 0;) {
        KsFontCacheItem& item = *instances_[i];
        if (!item.font || item.font->RefCount() == 1) {
            if (IsLogLevelEnabled(KS_LOG_TRACE))
                LogTrace("dropping font instance %s[%d] by gc()", item.def.name.CStr(),
                         item.def.size);
            instances_.erase(instances_.begin() + static_cast<std::ptrdiff_t>(i));
            ++droppedCount;
        } else {
            ++used;
        }
    }
    LogDebug("KsFontCache::gc() : %d fonts still used, %d fonts dropped", used, droppedCount);
    if (dropped) *dropped = droppedCount;
    return used;
}

void KsFontCache::ReleaseDocumentFonts(int documentId) {
    for (size_t i = instances_.size(); i-- > 0;)
        if (instances_[i]->def.documentId == documentId)
            instances_.erase(instances_.begin() + static_cast<std::ptrdiff_t>(i));
    for (size_t i = registered_.size(); i-- > 0;)
        if (registered_[i]->def.documentId == documentId)
            registered_.erase(registered_.begin() + static_cast<std::ptrdiff_t>(i));
}

void KsFontCache::FaceList(KsString16Collection& list) const {
    std::vector<string8> faces;
    for (const auto& item : registered_)
        if (item->def.documentId == -1) faces.push_back(item->def.typeface);
    std::sort(faces.begin(), faces.end());
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    list.Clear();
    for (const string8& face : faces)
        list.Add(Utf8ToString16(face));
}

uint32_t KsFontCache::DefinitionsHash(int documentId) const {
    uint32_t hash = 0;
    for (const auto& item : registered_) {
        const KsFaceDef& d = item->def;
        if (d.documentId != -1 && d.documentId != documentId) continue;
        hash = hash * 31u + static_cast<uint32_t>(d.name.Hash());
        hash = hash * 31u + static_cast<uint32_t>(d.index * 4 + d.italic + 1);
    }
    return hash;
}
