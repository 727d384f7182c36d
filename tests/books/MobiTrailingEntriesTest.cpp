#include <gtest/gtest.h>

#include <string>

#include "engine/books/MobiTrailingEntries.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

TEST(MobiTrailingEntries, ReadsBackwardVarints) {
    struct Case {
        std::string bytes;
        uint32_t value;
        size_t length;
    };
    const Case cases[] = {
        {"\x81", 1, 1},
        {"xyz\x85", 5, 1},
        {"\x84\x22\x11", 0x11111, 3},  // the public example: 0x11111 backward is 84 22 11
        {std::string("\x81\x00", 2), 128, 2},
        {"\x8f\x7f\x7f\x7f", 0x1FFFFFF, 4},
    };
    for (const Case& c : cases) {
        uint32_t value = 0;
        size_t length = 0;
        ASSERT_TRUE(ReadBackwardVarint(Bytes(c.bytes), c.bytes.size(), value, length)) << c.value;
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(length, c.length);
    }
    uint32_t value = 0;
    size_t length = 0;
    EXPECT_FALSE(ReadBackwardVarint(Bytes("\x01\x02"), 2, value, length));  // no start byte
    EXPECT_FALSE(ReadBackwardVarint(Bytes("\x81\x01\x01\x01\x01"), 5, value, length));
    EXPECT_EQ(EncodeBackwardVarint(0x11111), "\x84\x22\x11");
}

struct StripCase {
    const char* what;
    std::string record;
    uint16_t flags;
    bool ok;
    std::string remaining;
};

class StripTrailing : public testing::TestWithParam<StripCase> {};

TEST_P(StripTrailing, LeavesTheText) {
    const StripCase& c = GetParam();
    size_t remaining = 12345;
    EXPECT_EQ(StripTrailingEntries(Bytes(c.record), c.record.size(), c.flags, remaining), c.ok);
    if (c.ok) {
        EXPECT_EQ(c.record.substr(0, remaining), c.remaining);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripTrailing,
    testing::Values(
        StripCase{"no flags", "text", 0, true, "text"},
        StripCase{"one entry", "text" + std::string("ab\x83"), 0x2, true, "text"},
        // The highest bit's entry is last; both use their own sizes.
        StripCase{"two entries", "text" + std::string("a\x82") + std::string("bcd\x84"), 0x6, true,
                  "text"},
        // A size of 200 takes two bytes: 81 48.
        StripCase{"two-byte size", "text" + std::string(198, 'z') + "\x81\x48", 0x2, true, "text"},
        StripCase{"multibyte, none", std::string("text\0", 5), 0x1, true, "text"},
        StripCase{"multibyte, two", "text\xa9\xa9\x42", 0x1, true, "text"},  // low bits 2
        // The multibyte entry comes before the other entries and is removed last.
        StripCase{"multibyte and entry", "text\xa9\x01" + std::string("x\x82"), 0x3, true, "text"},
        // ASCII in the overlap is removed too: the entry says how many bytes it has.
        StripCase{"multibyte plain bytes", "textab\x02", 0x1, true,
                  "te"
                  "xt"},
        StripCase{"entry larger than the record", "ab\x8a", 0x2, false, ""},
        StripCase{"entry smaller than its size", "ab\x80\x01", 0x2, false, ""},
        StripCase{"size without start byte", "\x01\x01\x01\x01\x01", 0x2, false, ""},
        StripCase{"multibyte larger than the record", "\x03", 0x1, false, ""},
        StripCase{"multibyte on empty record", "", 0x1, false, ""}),
    [](const auto& p) { return TestCaseName(p.param.what); });

}  // namespace
