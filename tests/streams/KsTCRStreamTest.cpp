#include "engine/streams/KsTCRStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/core/Limits.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/TcrEncoder.h"

namespace {

KsRef<KsStream> MemoryOf(const std::string& bytes, KsStreamMode mode = KS_MODE_READ) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy,
                              mode);
}

std::string ReadAll(KsStream& stream, ks_pos_t blockSize) {
    std::string out;
    std::string block(blockSize, '\0');
    for (;;) {
        ks_pos_t got = 0;
        KsStatus status = stream.Read(block.data(), blockSize, &got);
        out.append(block, 0, got);
        if (status != KS_OK || got == 0) break;
    }
    return out;
}

std::string Words(size_t bytes, unsigned seed) {
    static const char* kWords[] = {"the ",  "rabbit ", "hole ",    "went ", "straight ", "on\n",
                                   "like ", "a ",      "tunnel, ", "and ",  "then ",     "dipped "};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < bytes)
        text += kWords[random() % 12];
    return text;
}

std::string AllBytes(size_t bytes) {
    std::string text;
    for (size_t i = 0; i < bytes; ++i)
        text.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    return text;
}

struct RoundTripCase {
    const char* name;
    std::string text;
    TcrDictionary dictionary;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class TcrRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(TcrRoundTrip, DecodesToTheTextAndSeeksAnywhere) {
    const RoundTripCase& c = GetParam();
    const std::string file = TcrEncode(c.text, c.dictionary);
    ASSERT_EQ(TcrDecodeSimple(file), c.text);  // the encoder itself is sound
    KsRef<KsStream> tcr = OpenTcrStream(MemoryOf(file));
    ASSERT_TRUE(tcr);
    EXPECT_EQ(tcr->GetSize(), c.text.size());
    EXPECT_EQ(tcr->GetMode(), KS_MODE_READ);
    EXPECT_EQ(ReadAll(*tcr, 1000), c.text);
    EXPECT_TRUE(tcr->Eof());

    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i) {
        const ks_pos_t at = static_cast<ks_pos_t>(random() % c.text.size());
        const ks_pos_t length = static_cast<ks_pos_t>(random() % 9000);
        ASSERT_EQ(tcr->SetPos(at), at);
        std::string got(length, '\0');
        ks_pos_t read = 0;
        ASSERT_EQ(tcr->Read(got.data(), length, &read), KS_OK);
        got.resize(read);
        EXPECT_EQ(got, c.text.substr(at, length)) << "at " << at;
    }
    uint32_t crc = 0;
    EXPECT_EQ(tcr->ComputeCrc32(&crc), KS_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TcrRoundTrip,
    testing::Values(RoundTripCase{"short", "Down the rabbit hole.", TcrDictionary::BytePairs},
                    RoundTripCase{"manyBlocks", Words(60000, 1), TcrDictionary::BytePairs},
                    RoundTripCase{"singleBytes", Words(20000, 2), TcrDictionary::SingleBytes},
                    RoundTripCase{"everyByteValue", AllBytes(9000), TcrDictionary::BytePairs}),
    [](const testing::TestParamInfo<RoundTripCase>& param) { return param.param.name; });

std::vector<std::string> SingleByteEntries() {
    std::vector<std::string> entries;
    for (int b = 0; b < 256; ++b)
        entries.push_back(std::string(1, static_cast<char>(b)));
    return entries;
}

struct NotTcrCase {
    const char* name;
    std::string file;
};

std::vector<NotTcrCase> NotTcrCases() {
    std::vector<std::string> entries = SingleByteEntries();
    const std::string good = TcrFile(entries, "0123456789abc");
    std::vector<std::string> emptyEntry = entries;
    emptyEntry[65] = "";
    return {
        {"wrongSignature", "!!8-Bit!?" + good.substr(9)},
        {"dictionaryCutShort", good.substr(0, 300)},
        {"onlySignature", "!!8-Bit!!"},
        {"emptyEntryBesideCodeZero", TcrFile(emptyEntry, "0123456789abc")},
        {"fewerThanTenCodes", TcrFile(entries, "012345678")},
        {"empty", ""},
    };
}

TEST(KsTCRStream, RefusesWhatIsNotTcr) {
    for (const NotTcrCase& c : NotTcrCases()) {
        EXPECT_FALSE(OpenTcrStream(MemoryOf(c.file))) << c.name;
    }
    EXPECT_FALSE(OpenTcrStream(nullptr));
    std::string file = TcrEncode("some text to be compressed", TcrDictionary::BytePairs);
    EXPECT_FALSE(OpenTcrStream(MemoryOf(file), KS_MODE_WRITE));
    EXPECT_TRUE(OpenTcrStream(MemoryOf(file)));
}

TEST(KsTCRStream, EmptyEntryForCodeZeroIsAcceptedAndEmptyBlocksAreSteppedOver) {
    std::vector<std::string> entries = SingleByteEntries();
    entries[0] = "";
    // A first packed block that decodes to nothing, then text.
    std::string codes(KsTCRStream::kPackedBlockBytes, '\0');
    codes += "after the empty block";
    KsRef<KsStream> tcr = OpenTcrStream(MemoryOf(TcrFile(entries, codes)));
    ASSERT_TRUE(tcr);
    EXPECT_EQ(tcr->GetSize(), 21u);
    EXPECT_EQ(ReadAll(*tcr, 5), "after the empty block");
    EXPECT_EQ(tcr->SetPos(6), 6u);
    EXPECT_EQ(ReadAll(*tcr, 100), "the empty block");
}

TEST(KsTCRStream, SeekAndReadAtTheEnd) {
    const std::string text = "0123456789ABCDEF";
    KsRef<KsStream> tcr = OpenTcrStream(MemoryOf(TcrFile(SingleByteEntries(), text)));
    ASSERT_TRUE(tcr);
    EXPECT_EQ(tcr->GetSize(), text.size());
    EXPECT_EQ(tcr->Seek(16, KS_SEEK_SET, nullptr), KS_FAIL);
    EXPECT_EQ(tcr->Seek(0, KS_SEEK_END, nullptr), KS_FAIL);
    EXPECT_EQ(tcr->Seek(-1, KS_SEEK_SET, nullptr), KS_FAIL);
    ks_pos_t at = 0;
    ASSERT_EQ(tcr->Seek(-1, KS_SEEK_END, &at), KS_OK);
    EXPECT_EQ(at, 15u);
    char buffer[8];
    ks_pos_t got = 0;
    EXPECT_EQ(tcr->Read(buffer, sizeof(buffer), &got), KS_OK);
    ASSERT_EQ(got, 1u);
    EXPECT_EQ(buffer[0], 'F');
    EXPECT_EQ(tcr->Read(buffer, sizeof(buffer), &got), KS_EOF);
    EXPECT_EQ(got, 0u);
    // The position can still be told at the end of the text.
    EXPECT_EQ(tcr->GetPos(), 16u);
    EXPECT_TRUE(tcr->Eof());
    EXPECT_EQ(tcr->Write("x", 1, nullptr), KS_FAIL);
    EXPECT_EQ(tcr->SetSize(3), KS_FAIL);
}

// 255-byte strings for every code: n code bytes decode to 255 n bytes.
std::string LongEntryFile(size_t codes) {
    std::vector<std::string> entries(256, std::string(255, 'w'));
    return TcrFile(entries, std::string(codes, '\x01'));
}

TEST(KsTCRStream, DecodedTextMustFitAStream) {
    const size_t largest = KS_MAX_STREAM_SIZE / 255;
    KsRef<KsStream> fits = OpenTcrStream(MemoryOf(LongEntryFile(largest)));
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->GetSize(), largest * 255);
    ASSERT_EQ(fits->SetPos(static_cast<ks_pos_t>(largest * 255 - 3)), largest * 255 - 3);
    EXPECT_EQ(ReadAll(*fits, 10), "www");
    fits = nullptr;
    // One code more and the text would pass 2^31 bytes, beyond what positions can address.
    EXPECT_FALSE(OpenTcrStream(MemoryOf(LongEntryFile(largest + 1))));
}

TEST(KsTCRStream, ABaseThatChangesUnderneathCannotOverrunABlock) {
    std::vector<std::string> entries = SingleByteEntries();
    entries['L'] = std::string(200, 'L');
    const std::string codes(3 * KsTCRStream::kPackedBlockBytes, 'a');
    const std::string file = TcrFile(entries, codes);
    KsRef<KsStream> base = MemoryOf(file, KS_MODE_READWRITE);
    KsRef<KsStream> tcr = OpenTcrStream(base);
    ASSERT_TRUE(tcr);
    // Block 1's code bytes now stand for far longer strings than when it was indexed.
    const ks_pos_t block1 =
        static_cast<ks_pos_t>(file.size() - codes.size() + KsTCRStream::kPackedBlockBytes);
    ASSERT_EQ(base->SetPos(block1), block1);
    const std::string longer(KsTCRStream::kPackedBlockBytes, 'L');
    ASSERT_TRUE(base->WriteAll(longer.data(), static_cast<ks_pos_t>(longer.size())));
    EXPECT_EQ(tcr->Seek(KsTCRStream::kPackedBlockBytes + 5, KS_SEEK_SET, nullptr), KS_FAIL);
    char buffer[16];
    ks_pos_t got = 0;
    EXPECT_EQ(tcr->SetPos(2 * KsTCRStream::kPackedBlockBytes), 2 * KsTCRStream::kPackedBlockBytes);
    EXPECT_EQ(tcr->Read(buffer, sizeof(buffer), &got), KS_OK);
    EXPECT_EQ(std::string(buffer, got), std::string(16, 'a'));
}

}  // namespace
