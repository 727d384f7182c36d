// Arbitrary bytes as a font file that a book brings with it: register it, choose fonts from it,
// measure and draw a string with them. Nothing may crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/graphics/KsFontManager.h"
#include "engine/graphics/KsGlyphBitmap.h"

namespace {

constexpr int kDocumentId = 1;

void Exercise(KsFont& font) {
    static const unit16 kText[] =
        u"Hi, w\u00F6rld\t\u2014 \u201Cq\u201D soft\u00ADhyph \U0001F600 -a\u00A0?";
    const int len = static_cast<int>(sizeof(kText) / sizeof(kText[0])) - 1;
    uint16_t widths[sizeof(kText) / sizeof(kText[0])];
    uint8_t flags[sizeof(kText) / sizeof(kText[0])];
    int32_t runWidths[sizeof(kText) / sizeof(kText[0])];
    (void)font.measureText(kText, len, widths, flags, 200, u'?', 2, KsHyphenate::Yes);
    font.measureRun(kText, len, runWidths, flags, 0, u'?', 0);
    (void)font.getTextWidth(kText, len);
    (void)font.getHyphenWidth();
    (void)font.getHangingPunctWidth();
    KsGlyphInfo info;
    (void)font.getGlyphInfo('W', &info, '?');
    KsGlyphBitmap bitmap(160, 48);
    font.DrawTextRun(&bitmap, -4, 2, kText, len, u'?', nullptr, KsAddHyphen::Yes,
                     KS_DECORATION_UNDERLINE | KS_DECORATION_OVERLINE | KS_DECORATION_LINE_THROUGH);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The unit tests replaying inputs may have closed the manager in between.
    if (!GetFontManager() && !CreateFontManager(string8())) return 0;
    KsFontManager& manager = *GetFontManager();
    KsRef<KsFontBuffer> buffer = MakeRef<KsFontBuffer>(std::vector<uint8_t>(data, data + size));
    const int variant = size % 3;
    manager.SetHintingMode(variant);
    manager.SetAntialiasMode(variant == 1 ? 0 : 2);
    bool registered = manager.RegisterDocumentFontBuffer(kDocumentId, "fonts/fuzz.ttf", buffer,
                                                         string8(), false, false);
    (void)manager.RegisterDocumentFontBuffer(kDocumentId, "fonts/named.ttf", buffer,
                                             string8("Fuzz Face"), true, true);
    if (registered) {
        const int sizes[] = {9, 24, 40};
        for (int fontSize : sizes) {
            KsRef<KsFont> regular =
                manager.GetFont(fontSize, 400, false, 0, string8(), kDocumentId);
            if (regular) Exercise(*regular);
            KsRef<KsFont> boldItalic =
                manager.GetFont(fontSize, 900, true, 0, string8("Fuzz Face"), kDocumentId);
            if (boldItalic) Exercise(*boldItalic);
        }
    }
    manager.ReleaseDocumentFonts(kDocumentId);
    manager.gc();
    manager.clearGlyphCache();
    return 0;
}
