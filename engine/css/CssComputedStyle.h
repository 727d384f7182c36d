#pragma once

#include "engine/core/KsRefCounter.h"
#include "engine/css/CssStyleRecord.h"
#include "engine/dom/ldomElementProps.h"
#include "engine/graphics/KsFont.h"

class CssStyleSheet;
class ldomNode;

// Whether an element's own "style" attribute takes part.
enum class StyleAttribute : bool { Ignore, Apply };

// The computed style of an element: its type's defaults, the stylesheet, the "style" attribute,
// then inheritance from the parent and the resolution of font size and weight. `baseFontSize`
// is the reader's default font size (12pt and 1em at the top level mean that size; CSS pixels
// are scaled by it, 16px being the default). Sizes saturate; a font size is at least 1 pixel.
KsRef<CssStyleRecord> ComputeStyle(const ldomNode* element, const ldomElementProps* props,
                                   const CssStyleSheet* stylesheet, StyleAttribute styleAttribute,
                                   const CssStyleRecord& parent, int baseFontSize);

// What the font manager is asked for to draw text of a style.
struct KsFontRequest {
    int size = 16;
    int weight = 400;
    bool italic = false;
    int family = 0;
    string8 typeface;
    int documentId = -1;
};
// Size 8 ... 72 pixels; weight from the style plus the global adjustment (at most 900).
KsFontRequest FontRequestForStyle(const CssStyleRecord& style, int documentId);
KsRef<KsFont> FontForStyle(const CssStyleRecord& style, int documentId);
