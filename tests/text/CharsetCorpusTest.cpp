// The charset detector and the decoders against the text files of the corpus whose names say
// their charset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/text/CharsetKinds.h"
#include "engine/text/CodePages.h"
#include "engine/text/LangProfile.h"
#include "tests/support/TestSupport.h"
#include "tests/text/CorpusTextFiles.h"
#include "tests/text/TextTestSupport.h"

namespace {

// Two names are the same charset when they select the same decoding.
bool SameCharset(const std::string& a, const std::string& b) {
    const KsCharsetKind kind = CharsetKindByName(a.c_str());
    if (kind != CharsetKindByName(b.c_str())) return false;
    if (kind != KS_CHARSET_8BIT) return true;
    const unit16* table = GetCharsetTableByName(a.c_str());
    return table && table == GetCharsetTableByName(b.c_str());
}

bool HasProfile(const std::string& charset) {
    for (int i = 0; i < GetLangProfileCount(); ++i)
        if (SameCharset(GetLangProfiles()[i].codePage, charset)) return true;
    return false;
}

bool HasByteOrderMark(const std::string& bytes) {
    return bytes.rfind("\xEF\xBB\xBF", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0 ||
           bytes.rfind("\xFF\xFE", 0) == 0;
}

TEST(CharsetCorpus, DetectorNamesTheCharsetOfTheFileName) {
    QUILLET_REQUIRE_CORPUS();
    int counted = 0, right = 0;
    for (const std::string& path : TextFiles()) {
        const std::string name = std::filesystem::path(path).filename().string();
        const NamedCharset* named = CharsetOfFileName(name);
        if (!named) {
            std::printf("  %-34s no charset in the name\n", name.c_str());
            continue;
        }
        const std::string bytes = ReadFileBytes(path);
        KsTextParser parser(StreamOf(bytes), nullptr);
        const bool detected = parser.AutodetectEncoding();
        const std::string found = detected ? U8(parser.GetEncodingName()) : "-";
        const bool knowable = HasByteOrderMark(bytes) || std::string(named->charset) == "utf-8" ||
                              HasProfile(named->charset);
        const bool ok = detected && SameCharset(found, named->charset);
        std::printf("  %-34s %-14s detected %-12s %s\n", name.c_str(), named->charset,
                    found.c_str(), knowable ? (ok ? "ok" : "WRONG") : "(not counted)");
        if (knowable) {
            ++counted;
            right += ok;
        }
    }
    std::printf("  %d of %d detected\n", right, counted);
    ASSERT_GT(counted, 0);
    EXPECT_GE(right * 10, counted * 9);
}

TEST(CharsetCorpus, DecodingMatchesIconv) {
    QUILLET_REQUIRE_CORPUS();
    int compared = 0;
    for (const std::string& path : TextFiles()) {
        const std::string name = std::filesystem::path(path).filename().string();
        const NamedCharset* named = CharsetOfFileName(name);
        if (!named) continue;
        std::string reference;
        ASSERT_EQ(RunCommand("iconv -f " + std::string(named->iconvName) + " -t UTF-16LE " +
                                 ShellQuote(path),
                             &reference),
                  0)
            << name;
        std::u16string expected;
        for (size_t i = 0; i + 1 < reference.size(); i += 2)
            expected += static_cast<char16_t>(static_cast<unsigned char>(reference[i]) |
                                              static_cast<unsigned char>(reference[i + 1]) << 8);
        // The text file base skips a byte-order mark.
        if (!expected.empty() && expected[0] == 0xFEFF) expected.erase(0, 1);

        std::u16string charset;
        for (const char* c = named->charset; *c; ++c)
            charset += static_cast<char16_t>(*c);
        EXPECT_EQ(DecodeAs(charset.c_str(), ReadFileBytes(path)), expected) << name;
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
