#include "engine/graphics/KsFaceDef.h"

#include <algorithm>
#include <cstdlib>

#include "engine/graphics/KsFont.h"

int CalcMatch(const KsFaceDef& definition, const KsFaceDef& request) {
    const KsFaceDef& d = definition;
    const KsFaceDef& r = request;
    if (d.documentId != -1 && d.documentId != r.documentId) return 0;

    int size = 256;
    if (d.size != -1 && r.size != -1) {
        int smaller = std::min(d.size, r.size), larger = std::max(d.size, r.size);
        size = larger > 0 ? smaller * 256 / larger : 256;
    }
    int weight = 256;
    if (d.weight != -1 && r.weight != -1)
        weight = 256 - std::min(std::abs(r.weight - d.weight), 800) * 256 / 800;
    int italic = (d.italic == r.italic || d.italic == -1 || r.italic == -1) ? 256 : 0;
    if ((d.italic == KS_ITALIC_SYNTHETIC || r.italic == KS_ITALIC_SYNTHETIC) && d.italic > 0 &&
        r.italic > 0)
        italic = 128;
    int family = 64;
    if (d.family == 0 || r.family == 0 || d.family == r.family)
        family = 256;
    else if ((d.family == KS_FONT_FAMILY_MONOSPACE) != (r.family == KS_FONT_FAMILY_MONOSPACE))
        family = 0;
    int face = d.typeface == r.typeface ? 2560 : 0;
    return 5 * (italic + 20 * (family + face + size) + weight);
}

int CalcFallbackMatch(const KsFaceDef& definition, const string8& face) {
    if (definition.typeface != face) return 0;
    // The lookup asks for no size, so any size serves.
    int score = 256 * 100;
    if (definition.italic == KS_ITALIC_NONE) score += 1280;
    if (definition.weight == -1)
        score += 5 * 256;
    else
        score += 5 * (256 - std::clamp(definition.weight, 0, 800) * 256 / 800);
    return score;
}

bool IsDuplicateDef(const KsFaceDef& existing, const KsFaceDef& candidate) {
    auto sameOrAny = [](int a, int b) { return a == -1 || b == -1 || a == b; };
    // Faces of different documents never collide, nor does a book's font with a system font.
    return existing.documentId == candidate.documentId &&
           sameOrAny(existing.size, candidate.size) &&
           sameOrAny(existing.weight, candidate.weight) &&
           sameOrAny(existing.italic, candidate.italic) &&
           (existing.family == 0 || candidate.family == 0 || existing.family == candidate.family) &&
           existing.typeface == candidate.typeface;
}
