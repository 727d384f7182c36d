#include "engine/view/ViewSettingsDefaults.h"

#include <gtest/gtest.h>

#include "engine/core/StringConvert.h"
#include "engine/core/TnPropContainer.h"
#include "engine/view/ViewSettingsKeys.h"

namespace {

KsString16Collection Faces(std::initializer_list<const char*> names) {
    KsString16Collection faces;
    for (const char* name : names)
        faces.Add(string16(name));
    return faces;
}

std::string Value(const TnPropContainer& settings, const char* key) {
    string16 value;
    if (!settings.readText(key, value)) return "<missing>";
    return String16ToUtf8(value).CStr();
}

KsRef<TnPropContainer> Filled(
    const KsString16Collection& faces,
    std::initializer_list<std::pair<const char*, const char*>> stored = {}) {
    KsRef<TnPropContainer> settings = CreatePropContainer();
    for (const auto& [key, value] : stored)
        settings->writeText(key, value);
    fillDefaultProperties(*settings, faces, DefaultFontSizes());
    return settings;
}

TEST(ViewSettingsDefaults, EmptyContainerGetsEveryDefault) {
    KsRef<TnPropContainer> s = Filled(Faces({"DejaVu Sans", "DejaVu Serif", "Liberation Sans"}));
    const std::pair<const char*, const char*> expected[] = {
        {"tarnkit.cache.filesize.min", "300000"},
        {"tarnkit.cache.forced.filesize.min", "65536"},
        {"font.antialiasing.mode", "2"},
        {"font.color.default", "0x00000000"},
        {"background.color.default", "0x00FFFFFF"},
        {"tarnkit.page.header.font.color", "0xFF000000"},
        {"font.face.default", "DejaVu Sans"},
        {"tarnkit.page.header.font.face", "Arial Narrow, Arial, DejaVu Sans"},
        {"tarnkit.font.fallback.face", "DejaVu Sans"},
        {"tarnkit.font.size", "33"},
        {"tarnkit.interline.space", "100"},
        {"tarnkit.page.view.mode", "1"},
        {"tarnkit.footnotes", "1"},
        {"window.status.clock", "0"},  // the list step stores 0 before the if-absent step
        {"tarnkit.highlight.bookmarks", "2"},
        {"tarnkit.highlight.selection.color", "#c0c0c0"},
        {"tarnkit.highlight.bookmarks.color.comment", "#a08020"},
        {"tarnkit.highlight.bookmarks.color.correction", "#a04040"},
        {"tarnkit.page.margin.left", "8"},
        {"tarnkit.page.header.font.size", "22"},
        {"window.status.line", "0"},
        {"window.status.title", "1"},
        {"tarnkit.file.txt.preformatted", "0"},
        {"font.gamma", "1.00"},
        {"tarnkit.image.scaling.zoomout.block.scale", "1"},
        {"tarnkit.image.scaling.zoomin.inline.mode", "0"},
        {"tarnkit.style.space.condensing.percent", "50"},
        {"tnv.file.props.font.size", "22"},
        {"styles.def.align", "text-align: justify"},
        {"styles.pre.font-face", "font-family: \"Courier New\", \"Courier\", monospace"},
        {"styles.footnote", "font-size: 70%"},
        {"styles.footnote-title", "font-size: 110%"},
        {"styles.text-author.margin-left", "margin-left: 1em"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(Value(*s, key), value) << key;
}

TEST(ViewSettingsDefaults, StoredValuesAreCheckedAgainstTheirLimits) {
    struct Case {
        const char* key;
        const char* stored;
        const char* result;
    };
    const Case cases[] = {
        {"tarnkit.font.size", "25", "18"},  // not an offered size: the first one
        {"tarnkit.font.size", "29", "29"},
        {"tarnkit.page.header.font.size", "40", "32"},
        {"tarnkit.page.header.font.size", "5", "8"},
        {"tarnkit.style.space.condensing.percent", "10", "25"},
        {"tarnkit.style.space.condensing.percent", "100", "100"},
        {"tarnkit.interline.space", "120", "120"},
        {"tarnkit.interline.space", "121", "100"},
        {"window.status.clock", "1", "1"},
        {"tarnkit.page.margin.top", "7", "8"},
        {"tarnkit.page.margin.top", "300", "300"},
        {"tarnkit.highlight.bookmarks", "3", "0"},
        {"tarnkit.file.txt.preformatted", "1", "1"},
        {"font.gamma", "1.50", "1.50"},
    };
    for (const Case& c : cases) {
        KsRef<TnPropContainer> s = Filled(Faces({"DejaVu Sans"}), {{c.key, c.stored}});
        EXPECT_EQ(Value(*s, c.key), c.result) << c.key << "=" << c.stored;
    }
}

TEST(ViewSettingsDefaults, DefaultFaceFollowsTheRegisteredFaces) {
    struct Case {
        std::initializer_list<const char*> faces;
        const char* storedFace;  // null: none stored
        const char* face;
    };
    const Case cases[] = {
        {{}, nullptr, ""},
        {{"Arial", "Verdana"}, nullptr, "Arial"},
        {{"Verdana", "Zapf"}, nullptr, "Verdana"},
        {{"Alpha", "Beta"}, nullptr, "Alpha"},
        {{"Alpha", "Beta"}, "Beta", "Beta"},
        {{"Alpha", "Beta"}, "Gone", "Alpha"},  // a stored face that is no longer installed
        {{}, "Gone", "Gone"},                  // nothing known: nothing to replace it with
    };
    for (const Case& c : cases) {
        KsRef<TnPropContainer> s =
            c.storedFace ? Filled(Faces(c.faces), {{"font.face.default", c.storedFace}})
                         : Filled(Faces(c.faces));
        EXPECT_EQ(Value(*s, "font.face.default"), c.face);
        EXPECT_EQ(Value(*s, "tarnkit.font.fallback.face"), c.face);
    }
}

TEST(ViewSettingsDefaults, FillingTwiceChangesNothing) {
    KsRef<TnPropContainer> once = Filled(Faces({"DejaVu Sans"}));
    KsRef<TnPropContainer> twice = once->copy();
    fillDefaultProperties(*twice, Faces({"DejaVu Sans"}), DefaultFontSizes());
    ASSERT_EQ(once->count(), twice->count());
    for (int i = 0; i < once->count(); ++i) {
        EXPECT_EQ(once->nameAt(i), twice->nameAt(i));
        EXPECT_EQ(once->valueAt(i), twice->valueAt(i)) << once->nameAt(i).CStr();
    }
}

}  // namespace
