#include "engine/dom/KsBase64NodeStream.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/Base64.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadAll(KsStream& stream, ks_pos_t pieceSize) {
    std::string out;
    std::string piece(pieceSize, '\0');
    for (;;) {
        ks_pos_t got = 0;
        EXPECT_EQ(stream.Read(piece.data(), pieceSize, &got), KS_OK);
        if (got == 0) break;
        out.append(piece, 0, got);
    }
    return out;
}

struct Base64Case {
    const char* name;
    const char* markup;  // the binary element
    std::string bytes;
};

class Base64Decode : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Decode, GivesTheEncodedBytes) {
    auto doc = MakeTestDocument();
    ldomNode* binary = AppendMarkup(doc->getRootNode(), GetParam().markup);
    ASSERT_TRUE(binary);
    KsRef<KsStream> stream = MakeRef<KsBase64NodeStream>(binary);
    EXPECT_EQ(stream->GetSize(), GetParam().bytes.size());
    EXPECT_EQ(ReadAll(*stream, 7), GetParam().bytes);
    EXPECT_TRUE(stream->Eof());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Base64Decode,
    testing::Values(
        Base64Case{"groupOfFour", "<binary>TWFu</binary>", "Man"},
        Base64Case{"twoPendingThenPad", "<binary>TWE=</binary>", "Ma"},
        Base64Case{"onePendingThenPad", "<binary>TQ==</binary>", "M"},
        Base64Case{"unpaddedTailIsDropped", "<binary>TWFuTQ</binary>", "Man"},
        Base64Case{"spacesAndLineBreaks", "<binary>\n  TW Fu\r\n\tTW E=\n</binary>", "ManMa"},
        Base64Case{"symbolsOutsideTheAlphabet", "<binary>T*W-F.u!</binary>", "Man"},
        Base64Case{"charactersBeyondAscii",
                   "<binary>TW\xc3\xa9"
                   "Fu\xe2\x80\x94</binary>",
                   "Man"},
        Base64Case{"padEndsTheData", "<binary>TQ==TWFu</binary>", "M"},
        Base64Case{"allSymbols", "<binary>+/+/</binary>", "\xfb\xff\xbf"},
        Base64Case{"textOfChildElements", "<binary>TW<b>Fu<i>TW</i></b>E=</binary>", "ManMa"},
        Base64Case{"empty", "<binary></binary>", ""},
        Base64Case{"nothingButPad", "<binary>====</binary>", ""}),
    [](const testing::TestParamInfo<Base64Case>& param) { return param.param.name; });

// Random bytes, so that every value and every tail length occurs.
std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST(KsBase64NodeStream, LongDataOverSeveralTextNodes) {
    auto doc = MakeTestDocument();
    // Over 64 KiB of text: the document keeps it as several text nodes.
    const std::string bytes = RandomBytes(100001, 1);
    ldomNode* binary =
        AppendMarkup(doc->getRootNode(), "<binary>" + EncodeBase64(bytes, 76) + "</binary>");
    ASSERT_TRUE(binary);
    EXPECT_GT(binary->childCount(), 1);
    for (ks_pos_t piece : {1u, 3u, 128u, 125u, 4096u, 200000u}) {
        KsRef<KsStream> stream = MakeRef<KsBase64NodeStream>(binary);
        EXPECT_EQ(stream->GetSize(), bytes.size());
        EXPECT_EQ(ReadAll(*stream, piece), bytes) << piece;
    }
}

TEST(KsBase64NodeStream, SeeksForwardBackwardAndFromTheEnd) {
    auto doc = MakeTestDocument();
    const std::string bytes = RandomBytes(5000, 2);
    ldomNode* binary =
        AppendMarkup(doc->getRootNode(), "<binary>" + EncodeBase64(bytes, 60) + "</binary>");
    KsRef<KsStream> stream = MakeRef<KsBase64NodeStream>(binary);
    struct Step {
        int64_t offset;
        KsSeekOrigin origin;
        int64_t expected;  // -1: the seek fails and the position stays
    };
    // Each seek is followed by a read of up to 40 bytes.
    const Step steps[] = {
        {1000, KS_SEEK_SET, 1000}, {-41, KS_SEEK_CUR, 999},  {3960, KS_SEEK_CUR, 4999},
        {2, KS_SEEK_CUR, -1},      {-10, KS_SEEK_END, 4990}, {-5001, KS_SEEK_CUR, -1},
        {0, KS_SEEK_END, 5000},    {3, KS_SEEK_SET, 3},      {5001, KS_SEEK_SET, -1},
        {127, KS_SEEK_SET, 127},   {0, KS_SEEK_SET, 0},
    };
    ks_pos_t position = 0;
    for (const Step& step : steps) {
        ks_pos_t got = 12345;
        const KsStatus status = stream->Seek(step.offset, step.origin, &got);
        if (step.expected < 0) {
            EXPECT_EQ(status, KS_FAIL) << step.offset;
        } else {
            ASSERT_EQ(status, KS_OK) << step.offset;
            EXPECT_EQ(got, step.expected);
            position = got;
        }
        EXPECT_EQ(stream->GetPos(), position);
        char buffer[40];
        ks_pos_t read = 0;
        ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), KS_OK);
        const size_t expected = std::min<size_t>(sizeof buffer, bytes.size() - position);
        ASSERT_EQ(read, expected);
        EXPECT_EQ(std::string(buffer, read), bytes.substr(position, read));
        position += read;
        EXPECT_EQ(stream->Eof(), position == bytes.size());
    }
    ks_pos_t written = 1;
    EXPECT_EQ(stream->Write("x", 1, &written), KS_NOTIMPL);
    EXPECT_EQ(written, 0u);
}

TEST(KsBase64NodeStream, ReadsNothingOnceTheDocumentIsGone) {
    auto doc = MakeTestDocument();
    ldomNode* binary = AppendMarkup(doc->getRootNode(),
                                    "<binary>" + EncodeBase64(RandomBytes(3000, 3)) + "</binary>");
    KsRef<KsStream> stream = MakeRef<KsBase64NodeStream>(binary);
    char buffer[10];
    ks_pos_t read = 0;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), KS_OK);
    EXPECT_EQ(read, 10u);
    doc.reset();
    // The stream may finish the text it had taken already, but it never reaches into the
    // destroyed document.
    EXPECT_LE(ReadAll(*stream, 1000).size(), 2990u);
    EXPECT_EQ(stream->Seek(0, KS_SEEK_SET, nullptr), KS_OK);
    EXPECT_EQ(ReadAll(*stream, 1000), "");
}

TEST(KsBase64NodeStream, TextNodeOrElementWithoutTextGivesAnEmptyStream) {
    auto doc = MakeTestDocument();
    ldomNode* p = AppendMarkup(doc->getRootNode(), "<p>TWFu</p>");
    KsRef<KsStream> onText = MakeRef<KsBase64NodeStream>(p->firstChild());
    EXPECT_EQ(onText->GetSize(), 0u);
    KsRef<KsStream> onNull = MakeRef<KsBase64NodeStream>(nullptr);
    EXPECT_EQ(onNull->GetSize(), 0u);
    EXPECT_TRUE(onNull->Eof());
}

}  // namespace
