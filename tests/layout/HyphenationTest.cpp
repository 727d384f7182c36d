#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/CharFlags.h"
#include "engine/layout/HyphMethod.h"
#include "engine/layout/NoHyph.h"
#include "engine/layout/WordBounds.h"
#include "tests/support/TestSupport.h"

namespace {

struct BoundsCase {
    const char* text;  // UTF-8
    int position;
    int start;
    int end;
};

TEST(WordBounds, Table) {
    const BoundsCase cases[] = {
        {"hello world", 0, 0, 0},      // position 0: an empty word at 0
        {"hello world", 6, 0, 5},      // directly after a space: the word before it
        {"hello world", 3, 0, 5},      // inside the first word
        {"hello world", 9, 6, 11},     // inside the second word
        {"hello world", 11, 6, 11},    // at the end
        {"hello, world", 7, 0, 5},     // steps back over ", "
        {"\"Quoted\" text", 4, 0, 7},  // text[0] is never tested: the quote belongs to the word
        {"a \"quoted\" word", 5, 3, 9},
        {"soft\u00ADhyphen", 8, 5, 11},  // a soft hyphen ends the word before it
        {"soft\u00ADhyphen", 3, 0, 4},
        {"x", 1, 0, 1},
        {"...", 2, 0, 1},     // no letter at all: one unit at the start
        {"hello", 99, 0, 5},  // positions past the end count as the end
        {"\u0441\u043B\u043E\u0432\u043E \u0434\u0432\u0430", 7, 6, 9},  // Cyrillic letters
    };
    for (const auto& c : cases) {
        string16 text = U16(c.text);
        WordBounds bounds = GetWordBounds(text.CStr(), text.Length(), c.position);
        EXPECT_EQ(bounds, (WordBounds{c.start, c.end})) << c.text << " @" << c.position;
    }
}

TEST(WordBounds, EmptyText) {
    EXPECT_EQ(GetWordBounds(u"", 0, 0), (WordBounds{0, 0}));
    EXPECT_EQ(GetWordBounds(u"", 0, 5), (WordBounds{0, 0}));
}

TEST(HyphMethod, DefaultMethodFindsNoPlaces) {
    HyphMethod& method = CurrentHyphMethod();
    EXPECT_NE(dynamic_cast<NoHyph*>(&method), nullptr);
    EXPECT_EQ(&method, &CurrentHyphMethod());  // one instance for the process

    const string16 word(u"extraordinarily");
    std::vector<uint16_t> widths(size_t(word.Length()));
    for (size_t i = 0; i < widths.size(); ++i)
        widths[i] = uint16_t(10 * (i + 1));
    std::vector<uint8_t> flags(widths.size(), 0);
    flags[3] = CHAR_WRAP_AFTER;
    EXPECT_FALSE(method.hyphenate(word.CStr(), word.Length(), widths.data(), flags.data(), 5, 80));
    for (size_t i = 0; i < flags.size(); ++i)
        EXPECT_EQ(flags[i], i == 3 ? CHAR_WRAP_AFTER : 0) << i;
}

}  // namespace
