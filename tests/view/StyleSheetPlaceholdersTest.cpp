#include "engine/view/StyleSheetPlaceholders.h"

#include <gtest/gtest.h>

#include "engine/core/TnPropContainer.h"
#include "engine/view/DefaultStyleSheet.h"

namespace {

TEST(StyleSheetPlaceholders, ExpandsFromTheStyleSettings) {
    KsRef<TnPropContainer> settings = CreatePropContainer();
    settings->writeText("styles.def.align", "text-align: justify");
    settings->writeText("styles.def.text-indent", "text-indent: 1.2em");
    settings->writeText("styles.def.night", "color: white");
    settings->writeText("styles.title.font-size", "font-size: 110%;");
    settings->writeText("styles.title.empty", "");
    settings->writeText("styles.cite.done", "font-style: italic; ");
    KsRef<TnPropAccessor> styles = settings->subset("styles.");
    struct Case {
        const char* css;
        const char* expanded;
    };
    const Case cases[] = {
        {"p { $def.all }", "p { text-align: justify; text-indent: 1.2em;  }"},
        {"h1 { $title.font-size}", "h1 { font-size: 110%; }"},
        {"h1 { $title.empty; }", "h1 { ; }"},
        {"h1 { $title.missing }", "h1 {  }"},
        {"q { $cite.done}", "q { font-style: italic; ; }"},  // a blank is not a ";"
        {"a { $Def.all }", "a { $Def.all }"},                // upper case: not a placeholder
        {"a { $d1 }", "a { $d1 }"},
        {"a { $ }", "a { $ }"},
        {"$def.align", "text-align: justify; "},
        {"a { color: red }", "a { color: red }"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(ExpandStyleSheetPlaceholders(string8(c.css), *styles).CStr(), c.expanded)
            << c.css;
}

TEST(StyleSheetPlaceholders, DefaultStyleSheetHasNone) {
    KsRef<TnPropContainer> settings = CreatePropContainer();
    settings->writeText("styles.def.align", "text-align: justify");
    const string8 css = DefaultStyleSheet();
    EXPECT_EQ(ExpandStyleSheetPlaceholders(css, *settings->subset("styles.")), css);
}

}  // namespace
