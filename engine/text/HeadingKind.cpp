// Headings a plain text names by word or number: "Chapter 5", "Part II", "12", "1.2.3", "XIV".
#include "engine/core/CharProps.h"
#include "engine/text/KsTextLineWindow.h"

namespace {

constexpr int kMaxNumberHeadingLength = 80;
constexpr int kRomanKind = 4;
constexpr int kNumberKind = 5;

// Each list gives the heading kind of its position + 1: volume, part, chapter.
const char16_t* const kVolumeWords[] = {u"volume", u"vol", u"том", nullptr};
const char16_t* const kPartWords[] = {u"part", u"часть", nullptr};
const char16_t* const kChapterWords[] = {u"chapter", u"глава", nullptr};
const char16_t* const* const kHeadingWords[] = {kVolumeWords, kPartWords, kChapterWords};

bool IsLetter(unit16 c) {
    return (GetCharProps(c) & CH_PROP_ALPHA) != 0;
}

enum class ListMatch { Yes, No, Fails };

// Compares the words of a list in turn with the start of the text. A word only counts when no
// letter follows it ("Party" is no part, "Volcano" no volume). A text that ends inside a word
// fails the whole list, so "vol" alone is no heading while "vol. 2" is.
ListMatch MatchList(const string16& lower, const char16_t* const* words) {
    for (; *words; ++words) {
        const char16_t* word = *words;
        int32_t i = 0;
        for (; word[i]; ++i) {
            if (i >= lower.Length()) return ListMatch::Fails;
            if (lower[i] != word[i]) break;
        }
        if (word[i]) continue;
        if (i < lower.Length() && IsLetter(lower[i])) continue;
        return ListMatch::Yes;
    }
    return ListMatch::No;
}

bool IsRomanNumeralUpTo39(const string16& text) {
    static const char* const kOnes[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    for (int value = 1; value <= 39; ++value) {
        string16 numeral;
        for (int tens = value / 10; tens > 0; --tens)
            numeral.Append(unit16('X'));
        numeral.AppendLatin1(kOnes[value % 10]);
        if (text == numeral) return true;
    }
    return false;
}

}  // namespace

int DetectHeadingKind(const string16& text) {
    if (text.Empty()) return 0;
    string16 lower = text;
    lower.ToLower();
    for (int kind = 1; kind <= 3; ++kind)
        if (MatchList(lower, kHeadingWords[kind - 1]) == ListMatch::Yes) return kind;

    const unit16 first = text[0];
    if (first >= '0' && first <= '9') {
        if (text.Length() >= kMaxNumberHeadingLength) return 0;
        int dots = 0;
        for (int32_t i = 1; i < text.Length(); ++i) {
            if (text[i] == '.')
                ++dots;
            else if (text[i] < '0' || text[i] > '9')
                return 0;
        }
        return kNumberKind + dots;
    }
    if (first == 'I' || first == 'V' || first == 'X')
        return IsRomanNumeralUpTo39(text) ? kRomanKind : 0;
    return 0;
}
