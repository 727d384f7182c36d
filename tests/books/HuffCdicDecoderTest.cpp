#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/books/HuffCdicDecoder.h"
#include "engine/core/Limits.h"
#include "tests/support/books/HuffCdicEncoder.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

void PutU32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
}
void PutU16(std::string& out, uint32_t v) {
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

bool Load(HuffCdicDecoder& decoder, const std::vector<std::string>& records) {
    std::vector<std::vector<uint8_t>> cdics;
    for (size_t i = 1; i < records.size(); ++i)
        cdics.push_back(Bytes(records[i]));
    return decoder.Load(Bytes(records[0]), cdics);
}

bool Decode(HuffCdicDecoder& decoder, const std::string& packed, std::string& text,
            size_t limit = kMaxPdbRecordTextBytes) {
    std::vector<uint8_t> out;
    bool ok =
        decoder.Decode(reinterpret_cast<const uint8_t*>(packed.data()), packed.size(), out, limit);
    text.assign(out.begin(), out.end());
    return ok;
}

// A hand-made code: every byte b is an 8-bit code for phrase 255 - b. Each phrase is its text and
// whether it is stored compressed.
struct TestPhrase {
    std::string bytes;
    bool compressed = false;
};
std::vector<std::string> FixedCodeTables(const std::vector<TestPhrase>& phrases) {
    std::string huff = "HUFF";
    PutU32(huff, 24);
    PutU32(huff, 24);
    PutU32(huff, 24 + 1024);
    PutU32(huff, 0);
    PutU32(huff, 0);
    for (int b = 0; b < 256; ++b)
        PutU32(huff, (255u << 8) | 0x80u | 8u);
    for (int k = 0; k < 32; ++k) {
        PutU32(huff, 0);
        PutU32(huff, 0);
    }
    std::string offsets, bodies;
    for (const TestPhrase& p : phrases) {
        PutU16(offsets, static_cast<uint32_t>(2 * phrases.size() + bodies.size()));
        PutU16(bodies, static_cast<uint32_t>(p.bytes.size()) | (p.compressed ? 0 : 0x8000u));
        bodies += p.bytes;
    }
    std::string cdic = "CDIC";
    PutU32(cdic, 16);
    PutU32(cdic, static_cast<uint32_t>(phrases.size()));
    PutU32(cdic, 8);
    return {huff, cdic + offsets + bodies};
}

// The code byte of phrase i in the hand-made code.
char CodeOf(int phrase) {
    return static_cast<char>(255 - phrase);
}

const char kProse[] =
    "Alice was beginning to get very tired of sitting by her sister on the bank, and of having "
    "nothing to do: once or twice she had peeped into the book her sister was reading, but it "
    "had no pictures or conversations in it, \xe2\x80\x9c"
    "and what is the use of a book,\xe2\x80\x9d "
    "thought Alice \xe2\x80\x9cwithout pictures or conversations?\xe2\x80\x9d\n";

TEST(HuffCdicDecoder, DecodesWhatTheEncoderWrote) {
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += kProse;
    for (bool compressOneWord : {false, true}) {
        HuffCdicEncoder::Options options;
        options.compressOneWord = compressOneWord;
        options.cdicBits = 4;  // several CDIC records
        HuffCdicEncoder encoder(text, options);
        std::vector<std::string> tables = encoder.TableRecords();
        ASSERT_GT(tables.size(), 2u);
        HuffCdicDecoder decoder;
        ASSERT_TRUE(Load(decoder, tables));
        EXPECT_EQ(decoder.PhraseCount(), encoder.PhraseCount());
        for (size_t start = 0; start < text.size(); start += 700) {
            std::string part = text.substr(start, 700);
            std::string decoded;
            ASSERT_TRUE(Decode(decoder, encoder.EncodeRecord(part), decoded));
            EXPECT_EQ(decoded, part);
        }
    }
}

TEST(HuffCdicDecoder, DecodesCompressedPhrasesOnceAndReusesThem) {
    // Phrase 0 "ab" is stored compressed as the codes of phrases 1 and 2.
    std::vector<TestPhrase> phrases = {
        {std::string{CodeOf(1), CodeOf(2)}, true}, {"a"}, {"b"}, {"!"}};
    HuffCdicDecoder decoder;
    ASSERT_TRUE(Load(decoder, FixedCodeTables(phrases)));
    std::string text;
    ASSERT_TRUE(Decode(decoder, std::string{CodeOf(0), CodeOf(3), CodeOf(0)}, text));
    EXPECT_EQ(text, "ab!ab");
}

TEST(HuffCdicDecoder, RefusesHostileTables) {
    std::vector<TestPhrase> good = {{"a"}, {"b"}};
    struct Case {
        const char* what;
        std::vector<std::string> records;
    };
    std::vector<Case> cases;
    auto with = [&](const char* what, auto change) {
        std::vector<std::string> records = FixedCodeTables(good);
        change(records);
        cases.push_back({what, records});
    };
    with("bad HUFF magic", [](auto& r) { r[0][0] = 'X'; });
    with("short HUFF record", [](auto& r) { r[0].resize(100); });
    with("table 1 outside", [](auto& r) { r[0][10] = 0x7F; });
    with("table 2 outside", [](auto& r) { r[0][14] = 0x7F; });
    with("code length 0", [](auto& r) { r[0][24 + 3] = static_cast<char>(0x80); });
    with("bad CDIC magic", [](auto& r) { r[1][1] = 'X'; });
    with("CDIC header length", [](auto& r) { r[1][7] = 20; });
    with("phrase offset outside", [](auto& r) { r[1][16] = 0x7F; });
    with("phrase length outside", [](auto& r) { r[1][16 + 4 + 1] = 0x7F; });
    with("offsets outside", [](auto& r) { r[1][11] = 100; });
    with("no CDIC records", [](auto& r) { r.resize(1); });
    for (const Case& c : cases) {
        HuffCdicDecoder decoder;
        EXPECT_FALSE(Load(decoder, c.records)) << c.what;
    }
}

TEST(HuffCdicDecoder, RefusesHostileData) {
    // Phrase 0 refers to itself; phrases 1 ... 40 each refer to the next (too deep); phrase 41 is
    // long enough that three of them exceed a small limit.
    std::vector<TestPhrase> phrases;
    phrases.push_back({std::string(1, CodeOf(0)), true});
    for (int i = 1; i <= 40; ++i)
        phrases.push_back({std::string(1, CodeOf(i + 1)), true});
    phrases.push_back({std::string(30000, 'x')});
    HuffCdicDecoder decoder;
    ASSERT_TRUE(Load(decoder, FixedCodeTables(phrases)));
    std::string text;
    EXPECT_FALSE(Decode(decoder, std::string(1, CodeOf(0)), text)) << "self reference";
    EXPECT_FALSE(Decode(decoder, std::string(1, CodeOf(1)), text)) << "nesting too deep";
    EXPECT_TRUE(Decode(decoder, std::string(1, CodeOf(40)), text)) << "shallow nesting";
    EXPECT_EQ(text.size(), 30000u);
    EXPECT_FALSE(Decode(decoder, std::string(3, CodeOf(41)), text, 65536)) << "limit";
    EXPECT_FALSE(Decode(decoder, std::string(1, CodeOf(100)), text)) << "no such phrase";
    // A decoder that failed stays usable.
    EXPECT_TRUE(Decode(decoder, std::string(2, CodeOf(41)), text, 65536));
}

TEST(HuffCdicDecoder, NestedPhrasesCostLinearTime) {
    // Phrase i holds phrase i + 1 eight times. Too deep a chain, or one that grows past the
    // output limit, fails; each phrase is tried once, so this ends at once instead of after
    // 8^32 attempts.
    for (int chain : {40, 20}) {
        std::vector<TestPhrase> phrases;
        for (int i = 0; i < chain; ++i)
            phrases.push_back({std::string(8, CodeOf(i + 1)), true});
        phrases.push_back({"x"});
        HuffCdicDecoder decoder;
        ASSERT_TRUE(Load(decoder, FixedCodeTables(phrases)));
        std::string text;
        EXPECT_FALSE(Decode(decoder, std::string(4, CodeOf(0)), text)) << chain;
        EXPECT_FALSE(Decode(decoder, std::string(4, CodeOf(0)), text)) << chain;
        // Five levels from the end: 8^5 bytes, within the limit.
        EXPECT_TRUE(Decode(decoder, std::string(1, CodeOf(chain - 5)), text)) << chain;
        EXPECT_EQ(text, std::string(32768, 'x'));
    }
}

}  // namespace
