#pragma once

#include "engine/core/KsString.h"
#include "engine/graphics/KsFontBuffer.h"

// Italic values of a definition.
enum : int {
    KS_ITALIC_NONE = 0,
    KS_ITALIC_REAL = 1,
    KS_ITALIC_SYNTHETIC = 2,  // an upright face to be slanted
};

// A font definition: a face of a registered file, or a request for one. -1 means "any" in a
// request and "not fixed" in a definition.
struct KsFaceDef {
    int size = -1;    // pixels
    int weight = -1;  // 100 ... 900
    int italic = -1;
    int family = 0;  // generic family (KS_FONT_FAMILY_*)
    string8 typeface;
    string8 name;   // file path (system fonts) or path inside the book (document fonts)
    int index = 0;  // face index inside the file
    int documentId = -1;
    KsRef<KsFontBuffer> buffer;  // document and in-memory fonts only
};

// How well a definition serves a request (higher is better); 0 for another document's font.
int CalcMatch(const KsFaceDef& definition, const KsFaceDef& request);
// How well a definition serves as the fallback face of that name; 0 for another face.
int CalcFallbackMatch(const KsFaceDef& definition, const string8& face);
// Whether registering `candidate` would repeat `existing`.
bool IsDuplicateDef(const KsFaceDef& existing, const KsFaceDef& candidate);
