#include "engine/view/ViewSettingsDefaults.h"

#include <algorithm>
#include <iterator>

#include "engine/view/ViewSettingsKeys.h"

namespace {

template <size_t N>
void RestrictTo(TnPropAccessor& settings, const char* key, const int (&values)[N]) {
    settings.restrictToList(key, values, static_cast<int>(N));
}

void Clamp(TnPropAccessor& settings, const char* key, int defaultValue, int low, int high) {
    settings.writeInt(key, std::clamp(settings.readIntOr(key, defaultValue), low, high));
}

bool HasFace(const KsString16Collection& faces, const string16& face) {
    for (int32_t i = 0; i < faces.Length(); ++i)
        if (faces[i] == face) return true;
    return false;
}

struct StyleFragment {
    const char* key;
    const char* declaration;
};

// Declarations the stylesheet may pull in by name ("styles." + element + "." + property).
constexpr StyleFragment kStyleFragments[] = {
    {"styles.def.align", "text-align: justify"},
    {"styles.def.text-indent", "text-indent: 1.2em"},
    {"styles.def.margin-top", "margin-top: 0em"},
    {"styles.def.margin-bottom", "margin-bottom: 0em"},
    {"styles.def.margin-left", "margin-left: 0em"},
    {"styles.def.margin-right", "margin-right: 0em"},
    {"styles.title.align", "text-align: center"},
    {"styles.title.text-indent", "text-indent: 0em"},
    {"styles.title.margin-top", "margin-top: 0.3em"},
    {"styles.title.margin-bottom", "margin-bottom: 0.3em"},
    {"styles.title.margin-left", "margin-left: 0em"},
    {"styles.title.margin-right", "margin-right: 0em"},
    {"styles.title.font-size", "font-size: 110%"},
    {"styles.title.font-weight", "font-weight: bolder"},
    {"styles.subtitle.align", "text-align: center"},
    {"styles.subtitle.text-indent", "text-indent: 0em"},
    {"styles.subtitle.margin-top", "margin-top: 0.2em"},
    {"styles.subtitle.margin-bottom", "margin-bottom: 0.2em"},
    {"styles.subtitle.font-style", "font-style: italic"},
    {"styles.cite.align", "text-align: justify"},
    {"styles.cite.text-indent", "text-indent: 1.2em"},
    {"styles.cite.margin-top", "margin-top: 0.3em"},
    {"styles.cite.margin-bottom", "margin-bottom: 0.3em"},
    {"styles.cite.margin-left", "margin-left: 1em"},
    {"styles.cite.margin-right", "margin-right: 1em"},
    {"styles.cite.font-style", "font-style: italic"},
    {"styles.epigraph.align", "text-align: left"},
    {"styles.epigraph.text-indent", "text-indent: 1.2em"},
    {"styles.epigraph.margin-top", "margin-top: 0.3em"},
    {"styles.epigraph.margin-bottom", "margin-bottom: 0.3em"},
    {"styles.epigraph.margin-left", "margin-left: 15%"},
    {"styles.epigraph.margin-right", "margin-right: 1em"},
    {"styles.epigraph.font-style", "font-style: italic"},
    {"styles.pre.align", "text-align: left"},
    {"styles.pre.text-indent", "text-indent: 0em"},
    {"styles.pre.margin-top", "margin-top: 0em"},
    {"styles.pre.margin-bottom", "margin-bottom: 0em"},
    {"styles.pre.margin-left", "margin-left: 0em"},
    {"styles.pre.margin-right", "margin-right: 0em"},
    {"styles.pre.font-face", "font-family: \"Courier New\", \"Courier\", monospace"},
    {"styles.poem.align", "text-align: left"},
    {"styles.poem.text-indent", "text-indent: 0em"},
    {"styles.poem.margin-top", "margin-top: 0.3em"},
    {"styles.poem.margin-bottom", "margin-bottom: 0.3em"},
    {"styles.poem.margin-left", "margin-left: 15%"},
    {"styles.poem.margin-right", "margin-right: 1em"},
    {"styles.poem.font-style", "font-style: italic"},
    {"styles.text-author.font-style", "font-style: italic"},
    {"styles.text-author.font-weight", "font-weight: bolder"},
    {"styles.text-author.margin-left", "margin-left: 1em"},
    {"styles.link.text-decoration", "text-decoration: underline"},
    {"styles.footnote-link.font-size", "font-size: 70%"},
    {"styles.footnote-link.vertical-align", "vertical-align: super"},
    {"styles.footnote", "font-size: 70%"},
    {"styles.footnote-title", "font-size: 110%"},
    {"styles.annotation.font-size", "font-size: 90%"},
    {"styles.annotation.margin-left", "margin-left: 1em"},
    {"styles.annotation.margin-right", "margin-right: 1em"},
    {"styles.annotation.font-style", "font-style: italic"},
    {"styles.annotation.align", "text-align: justify"},
    {"styles.annotation.text-indent", "text-indent: 1.2em"},
};

constexpr int kOffOn[] = {0, 1};
constexpr int kOnOff[] = {1, 0};
constexpr int kMargins[] = {8,  0,  1,  2,  3,  4,  5,  8,   10,  12,  14,  15, 16,
                            20, 25, 30, 40, 50, 60, 80, 100, 130, 150, 200, 300};

}  // namespace

std::vector<int> DefaultFontSizes() {
    return {18, 20, 22, 24, 29, 33, 39, 44};
}

string16 ChooseDefaultFace(const KsString16Collection& registeredFaces) {
    static const char* const kPreferred[] = {"DejaVu Sans", "FreeSans", "Liberation Sans", "Arial",
                                             "Verdana"};
    for (const char* face : kPreferred)
        if (HasFace(registeredFaces, string16(face))) return string16(face);
    if (registeredFaces.Length() > 0) return registeredFaces[0];
    return string16();
}

void fillDefaultProperties(TnPropAccessor& settings, const KsString16Collection& registeredFaces,
                           const std::vector<int>& fontSizes) {
    TnPropAccessor& s = settings;
    s.writeIntIfAbsent(PROP_MIN_FILE_SIZE_TO_CACHE, 300000);
    s.writeIntIfAbsent(PROP_FORCED_MIN_FILE_SIZE_TO_CACHE, 65536);
    s.writeIntIfAbsent(PROP_PROGRESS_SHOW_FIRST_PAGE, 1);
    RestrictTo(s, PROP_FONT_ANTIALIASING, {2, 1, 0});
    s.writeHexIfAbsent(PROP_FONT_COLOR, 0x00000000);
    s.writeHexIfAbsent(PROP_BACKGROUND_COLOR, 0x00FFFFFF);
    s.writeHexIfAbsent(PROP_STATUS_FONT_COLOR, 0xFF000000);
    s.writeIntIfAbsent(PROP_AUTOSAVE_BOOKMARKS, 1);
    s.writeIntIfAbsent(PROP_DISPLAY_FULL_UPDATE_INTERVAL, 1);
    s.writeIntIfAbsent(PROP_DISPLAY_TURBO_UPDATE_MODE, 0);

    s.writeTextIfAbsent(PROP_FONT_FACE, ChooseDefaultFace(registeredFaces));
    s.writeTextIfAbsent(PROP_STATUS_FONT_FACE, "Arial Narrow, Arial, DejaVu Sans");
    if (registeredFaces.Length() > 0 &&
        !HasFace(registeredFaces, s.readTextOr(PROP_FONT_FACE, string16())))
        s.writeText(PROP_FONT_FACE, registeredFaces[0]);
    s.writeTextIfAbsent(PROP_FALLBACK_FONT_FACE, s.readTextOr(PROP_FONT_FACE, string16()));

    if (!fontSizes.empty()) {
        s.writeIntIfAbsent(PROP_FONT_SIZE, fontSizes[fontSizes.size() * 2 / 3]);
        s.restrictToList(PROP_FONT_SIZE, fontSizes.data(), static_cast<int>(fontSizes.size()));
    }
    RestrictTo(s, PROP_INTERLINE_SPACE, {100, 70,  75,  80,  85,  90,  95,  100, 105, 110, 115,
                                         120, 125, 130, 135, 140, 145, 150, 160, 180, 200});
    RestrictTo(s, PROP_ROTATE_ANGLE, {0, 1, 2, 3});
    RestrictTo(s, PROP_FONT_WEIGHT_EMBOLDEN, kOffOn);
    RestrictTo(s, PROP_EMBEDDED_STYLES, kOnOff);
    RestrictTo(s, PROP_EMBEDDED_FONTS, kOnOff);
    RestrictTo(s, PROP_FONT_HINTING, {0, 1, 2});
    RestrictTo(s, PROP_LANDSCAPE_PAGES, {2, 1});
    RestrictTo(s, PROP_PAGE_VIEW_MODE, kOnOff);
    RestrictTo(s, PROP_FOOTNOTES, kOnOff);
    RestrictTo(s, PROP_SHOW_TIME, kOffOn);
    RestrictTo(s, PROP_DISPLAY_INVERSE, kOffOn);
    RestrictTo(s, PROP_BOOKMARK_ICONS, kOffOn);
    RestrictTo(s, PROP_FONT_KERNING_ENABLED, kOffOn);
    s.writeIntIfAbsent(PROP_HIGHLIGHT_COMMENT_BOOKMARKS, 2);
    RestrictTo(s, PROP_HIGHLIGHT_COMMENT_BOOKMARKS, {0, 1, 2});
    s.writeColorIfAbsent(PROP_HIGHLIGHT_SELECTION_COLOR, 0xC0C0C0);
    s.writeColorIfAbsent(PROP_HIGHLIGHT_BOOKMARK_COLOR_COMMENT, 0xA08020);
    s.writeColorIfAbsent(PROP_HIGHLIGHT_BOOKMARK_COLOR_CORRECTION, 0xA04040);
    RestrictTo(s, PROP_STATUS_LINE, {0, 1, 2});
    for (const char* key : {PROP_PAGE_MARGIN_TOP, PROP_PAGE_MARGIN_BOTTOM, PROP_PAGE_MARGIN_LEFT,
                            PROP_PAGE_MARGIN_RIGHT})
        RestrictTo(s, key, kMargins);
    RestrictTo(s, PROP_DISPLAY_FULL_UPDATE_INTERVAL, {1, 0, 2, 3, 4, 5, 6, 7, 8, 10, 14});
    Clamp(s, PROP_STATUS_FONT_SIZE, 22, 8, 32);

    s.writeIntIfAbsent(PROP_STATUS_LINE, 0);
    s.writeIntIfAbsent(PROP_SHOW_TITLE, 1);
    s.writeIntIfAbsent(PROP_SHOW_TIME, 1);
    s.writeIntIfAbsent(PROP_SHOW_BATTERY, 1);
    s.writeIntIfAbsent(PROP_SHOW_BATTERY_PERCENT, 0);
    s.writeIntIfAbsent(PROP_SHOW_PAGE_COUNT, 1);
    s.writeIntIfAbsent(PROP_SHOW_PAGE_NUMBER, 1);
    s.writeIntIfAbsent(PROP_SHOW_POS_PERCENT, 0);
    s.writeIntIfAbsent(PROP_STATUS_CHAPTER_MARKS, 1);
    s.writeIntIfAbsent(PROP_FLOATING_PUNCTUATION, 1);
    s.writeIntIfAbsent(PROP_EMBEDDED_STYLES, 1);
    s.writeIntIfAbsent(PROP_EMBEDDED_FONTS, 1);
    s.writeIntIfAbsent(PROP_TXT_OPTION_PREFORMATTED, 0);
    RestrictTo(s, PROP_TXT_OPTION_PREFORMATTED, kOffOn);
    s.writeTextIfAbsent(PROP_FONT_GAMMA, "1.00");
    s.writeIntIfAbsent(PROP_IMG_SCALING_ZOOMOUT_BLOCK_SCALE, 1);
    s.writeIntIfAbsent(PROP_IMG_SCALING_ZOOMOUT_INLINE_SCALE, 0);
    s.writeIntIfAbsent(PROP_IMG_SCALING_ZOOMIN_BLOCK_SCALE, 1);
    s.writeIntIfAbsent(PROP_IMG_SCALING_ZOOMIN_INLINE_SCALE, 0);
    for (const char* key :
         {PROP_IMG_SCALING_ZOOMOUT_BLOCK_MODE, PROP_IMG_SCALING_ZOOMOUT_INLINE_MODE,
          PROP_IMG_SCALING_ZOOMIN_BLOCK_MODE, PROP_IMG_SCALING_ZOOMIN_INLINE_MODE})
        s.writeIntIfAbsent(key, 0);
    Clamp(s, PROP_FORMAT_SPACE_CONDENSING_PERCENT, 50, 25, 100);
    s.writeIntIfAbsent(PROP_FILE_PROPS_FONT_SIZE, 22);

    for (const StyleFragment& fragment : kStyleFragments)
        s.writeTextIfAbsent(fragment.key, fragment.declaration);
}
