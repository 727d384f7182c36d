#include "engine/books/PDBFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PdbBook.h"
#include "engine/core/Log.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

// Prose with multi-byte characters, so that record boundaries split UTF-8 sequences.
std::string BookText(size_t bytes) {
    const std::string piece =
        "<p>Alice was beginning to get very tired of sitting by her sister on the bank "
        "\xe2\x80\x94 "
        "caf\xc3\xa9, na\xc3\xafve, \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, "
        "\xf0\x9f\x90\x87.</p>\n";
    std::string text = "<html><head><title>Test</title></head><body>\n";
    while (text.size() < bytes)
        text += piece;
    text.resize(bytes);
    return text;
}

std::string ReadAll(KsStream& stream, ks_pos_t block = 777) {
    std::string out;
    std::string buffer(block, '\0');
    for (;;) {
        ks_pos_t got = 0;
        if (stream.Read(buffer.data(), block, &got) != KS_OK || got == 0) break;
        out.append(buffer, 0, got);
    }
    return out;
}

uint32_t Crc(const std::string& text) {
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
}

struct OpenedBook {
    KsRef<PDBFile> file{new PDBFile()};
    KsRef<KsPDBContainer> container{new KsPDBContainer()};
    PdbContentKind kind = PDB_CONTENT_NONE;
    bool ok = false;
};

OpenedBook Open(const std::string& bytes) {
    OpenedBook book;
    book.ok =
        book.file->Open(MemoryStreamOf(bytes), book.container.Get(), PdbTextPass::Run, &book.kind);
    return book;
}

struct FormatCase {
    const char* what;
    PdbBookKind kind;
    uint16_t compression;
    PdbFormat format;
    PdbCompression expected;
};

class PdbFormats : public testing::TestWithParam<FormatCase> {};

TEST_P(PdbFormats, DecodeTheWholeText) {
    const FormatCase& c = GetParam();
    PdbBookRecipe recipe;
    recipe.kind = c.kind;
    recipe.compression = c.compression;
    recipe.text = BookText(10000);
    recipe.extraDataFlags = c.kind == PdbBookKind::Mobi ? 0x3 : 0;
    std::string bytes = WritePdbBook(recipe);

    PdbContentKind detected = PDB_CONTENT_PML;
    EXPECT_TRUE(IsPdbBook(MemoryStreamOf(bytes), detected));
    EXPECT_EQ(detected, PDB_CONTENT_NONE);

    OpenedBook book = Open(bytes);
    ASSERT_TRUE(book.ok) << static_cast<int>(book.file->OpenError());
    EXPECT_EQ(book.file->Format(), c.format);
    EXPECT_EQ(book.file->Compression(), c.expected);
    EXPECT_EQ(book.file->TextRecordCount(), 3u);
    EXPECT_EQ(book.kind, PDB_CONTENT_HTML);
    EXPECT_EQ(book.file->GetSize(), recipe.text.size());
    EXPECT_EQ(ReadAll(*book.file), recipe.text);
    EXPECT_TRUE(book.file->Eof());
    uint32_t crc = 0;
    ASSERT_EQ(book.file->ComputeCrc32(&crc), KS_OK);
    EXPECT_EQ(crc, Crc(recipe.text));
    EXPECT_EQ(book.file->GetMode(), KS_MODE_READ);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdbFormats,
    testing::Values(FormatCase{"MOBI PalmDOC", PdbBookKind::Mobi, kWritePalmDoc, PDB_FORMAT_MOBI,
                               PDB_COMPRESSION_PALMDOC},
                    FormatCase{"MOBI uncompressed", PdbBookKind::Mobi, kWriteUncompressed,
                               PDB_FORMAT_MOBI, PDB_COMPRESSION_NONE},
                    FormatCase{"MOBI HUFF CDIC", PdbBookKind::Mobi, kWriteHuffCdic, PDB_FORMAT_MOBI,
                               PDB_COMPRESSION_HUFF_CDIC},
                    FormatCase{"PalmDOC compressed", PdbBookKind::PalmDoc, kWritePalmDoc,
                               PDB_FORMAT_PALMDOC, PDB_COMPRESSION_PALMDOC},
                    FormatCase{"PalmDOC uncompressed", PdbBookKind::PalmDoc, kWriteUncompressed,
                               PDB_FORMAT_PALMDOC, PDB_COMPRESSION_NONE},
                    FormatCase{"eReader zlib", PdbBookKind::EReader, kWriteZlib, PDB_FORMAT_EREADER,
                               PDB_COMPRESSION_ZLIB},
                    FormatCase{"eReader PalmDOC", PdbBookKind::EReader, kWritePalmDoc,
                               PDB_FORMAT_EREADER, PDB_COMPRESSION_PALMDOC}),
    [](const auto& p) { return TestCaseName(p.param.what); });

TEST(PDBFile, SeeksAndReadsAcrossRecords) {
    PdbBookRecipe recipe;
    recipe.text = BookText(9000);
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    PDBFile& file = *book.file;
    ks_pos_t position = 0;
    // A read that spans the boundary of records 1 and 2.
    ASSERT_EQ(file.Seek(4000, KS_SEEK_SET, &position), KS_OK);
    std::string buffer(200, '\0');
    ks_pos_t got = 0;
    ASSERT_EQ(file.Read(buffer.data(), 200, &got), KS_OK);
    EXPECT_EQ(buffer.substr(0, got), recipe.text.substr(4000, 200));
    EXPECT_EQ(file.GetPos(), 4200u);
    ASSERT_EQ(file.Seek(-100, KS_SEEK_CUR, &position), KS_OK);
    EXPECT_EQ(position, 4100u);
    ASSERT_EQ(file.Seek(-10, KS_SEEK_END, &position), KS_OK);
    EXPECT_EQ(ReadAll(file), recipe.text.substr(8990));
    // Exactly the text length is a valid position and the end; one further is not.
    EXPECT_EQ(file.SetPos(9000), 9000u);
    EXPECT_TRUE(file.Eof());
    ASSERT_EQ(file.Read(buffer.data(), 10, &got), KS_OK);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(file.Seek(1, KS_SEEK_END, nullptr), KS_FAIL);
    EXPECT_EQ(file.Seek(-1, KS_SEEK_SET, nullptr), KS_FAIL);
    // Backwards into a record that is no longer cached.
    EXPECT_EQ(file.SetPos(10), 10u);
    EXPECT_EQ(ReadAll(file, 4096), recipe.text.substr(10));
    // Read-only.
    EXPECT_EQ(file.Write("x", 1, &got), KS_NOTIMPL);
    EXPECT_EQ(file.SetSize(1), KS_NOTIMPL);
    EXPECT_EQ(file.SetMode(KS_MODE_WRITE), KS_NOTIMPL);
}

TEST(PDBFile, TakesTheNameOfTheBaseStream) {
    PdbBookRecipe recipe;
    recipe.text = BookText(100);
    KsRef<KsStream> base = MemoryStreamOf(WritePdbBook(recipe));
    base->SetName(u"/books/alice.mobi");
    KsRef<PDBFile> file(new PDBFile());
    ASSERT_TRUE(file->Open(base, nullptr, PdbTextPass::Run, nullptr));
    EXPECT_EQ(U8(file->FileName()), "alice.mobi");
}

TEST(PDBFile, WithoutTheTextPassIsNotReadable) {
    PdbBookRecipe recipe;
    recipe.text = BookText(100);
    KsRef<PDBFile> file(new PDBFile());
    ASSERT_TRUE(
        file->Open(MemoryStreamOf(WritePdbBook(recipe)), nullptr, PdbTextPass::Skip, nullptr));
    char c;
    EXPECT_EQ(file->Read(&c, 1, nullptr), KS_FAIL);
    EXPECT_EQ(file->GetSize(), KS_POS_UNKNOWN);
    EXPECT_EQ(file->ComputeCrc32(nullptr), KS_FAIL);
    // The metadata is there all the same.
    EXPECT_EQ(U8(file->Properties()->readTextOr("doc.title", "")), "Test Book");
}

// Header checks: each case changes one field of a good book.
struct RefusalCase {
    const char* what;
    PdbBookKind kind;
    void (*change)(std::string& file);
    PdbOpenError error;
};

class PdbRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(PdbRefusals, AreRefused) {
    const RefusalCase& c = GetParam();
    PdbBookRecipe recipe;
    recipe.kind = c.kind;
    recipe.compression = c.kind == PdbBookKind::EReader ? kWriteZlib : kWritePalmDoc;
    recipe.text = BookText(5000);
    recipe.images = {FakePng(100)};
    recipe.imageNames = {"a.png"};
    std::string bytes = WritePdbBook(recipe);
    c.change(bytes);
    PdbContentKind kind = PDB_CONTENT_NONE;
    EXPECT_FALSE(IsPdbBook(MemoryStreamOf(bytes), kind));
    OpenedBook book = Open(bytes);
    EXPECT_FALSE(book.ok);
    EXPECT_EQ(book.file->OpenError(), c.error);
    EXPECT_EQ(book.container->GetObjectCount(), 0);
}

void SetMobiType(std::string& f, uint32_t type) {
    PatchRecordU32(f, 0, 24, type);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdbRefusals,
    testing::Values(
        RefusalCase{"no records", PdbBookKind::Mobi, [](std::string& f) { PatchU16(f, 76, 0); },
                    PdbOpenError::Damaged},
        RefusalCase{"more records than the file holds", PdbBookKind::Mobi,
                    [](std::string& f) { PatchU16(f, 76, 0xFFFF); }, PdbOpenError::Damaged},
        RefusalCase{"decreasing offsets", PdbBookKind::Mobi,
                    [](std::string& f) { PatchU32(f, 78 + 8 * 2, PdbRecordOffset(f, 1) - 1); },
                    PdbOpenError::Damaged},
        RefusalCase{"last offset at the end", PdbBookKind::Mobi,
                    [](std::string& f) {
                        PatchU32(f, 78 + 8 * (PdbRecordCount(f) - 1),
                                 static_cast<uint32_t>(f.size()));
                    },
                    PdbOpenError::Damaged},
        RefusalCase{"offset beyond the end", PdbBookKind::Mobi,
                    [](std::string& f) { PatchU32(f, 78 + 8, 0xFFFFFFF0u); },
                    PdbOpenError::Damaged},
        RefusalCase{"unknown creator", PdbBookKind::Mobi, [](std::string& f) { f[64] = 'X'; },
                    PdbOpenError::NotPdb},
        RefusalCase{"Plucker", PdbBookKind::Mobi,
                    [](std::string& f) { f.replace(60, 8, "DataPlkr"); },
                    PdbOpenError::UnsupportedFormat},
        RefusalCase{"short file", PdbBookKind::Mobi, [](std::string& f) { f.resize(70); },
                    PdbOpenError::NotPdb},
        RefusalCase{"MOBI encryption 1", PdbBookKind::Mobi,
                    [](std::string& f) { PatchRecordU16(f, 0, 12, 1); }, PdbOpenError::Encrypted},
        RefusalCase{"MOBI encryption 2", PdbBookKind::Mobi,
                    [](std::string& f) { PatchRecordU16(f, 0, 12, 2); }, PdbOpenError::Encrypted},
        RefusalCase{"PalmDOC encryption", PdbBookKind::PalmDoc,
                    [](std::string& f) { PatchRecordU16(f, 0, 12, 1); }, PdbOpenError::Encrypted},
        RefusalCase{"MOBI compression 3", PdbBookKind::Mobi,
                    [](std::string& f) { PatchRecordU16(f, 0, 0, 3); },
                    PdbOpenError::UnsupportedCompression},
        RefusalCase{"PalmDOC HUFF compression", PdbBookKind::PalmDoc,
                    [](std::string& f) { PatchRecordU16(f, 0, 0, 17480); },
                    PdbOpenError::UnsupportedCompression},
        RefusalCase{"eReader compression 2 DRM", PdbBookKind::EReader,
                    [](std::string& f) { PatchRecordU16(f, 0, 0, 272); }, PdbOpenError::Encrypted},
        RefusalCase{"MOBI type 1", PdbBookKind::Mobi, [](std::string& f) { SetMobiType(f, 1); },
                    PdbOpenError::UnsupportedFormat},
        RefusalCase{"MOBI type 248", PdbBookKind::Mobi, [](std::string& f) { SetMobiType(f, 248); },
                    PdbOpenError::UnsupportedFormat},
        RefusalCase{"MOBI text records not below N", PdbBookKind::Mobi,
                    [](std::string& f) { PatchRecordU16(f, 0, 8, 4); }, PdbOpenError::Damaged},
        RefusalCase{"PalmDOC text records not below N", PdbBookKind::PalmDoc,
                    [](std::string& f) { PatchRecordU16(f, 0, 8, 99); }, PdbOpenError::Damaged},
        RefusalCase{"eReader M of 0", PdbBookKind::EReader,
                    [](std::string& f) { PatchRecordU16(f, 0, 12, 0); }, PdbOpenError::Damaged},
        RefusalCase{"eReader M beyond N", PdbBookKind::EReader,
                    [](std::string& f) { PatchRecordU16(f, 0, 12, 5); }, PdbOpenError::Damaged},
        RefusalCase{"MOBI record 0 below 180 bytes", PdbBookKind::Mobi,
                    [](std::string& f) { PatchU32(f, 78 + 8, PdbRecordOffset(f, 0) + 179); },
                    PdbOpenError::Damaged},
        RefusalCase{"PalmDOC record 0 below 12 bytes", PdbBookKind::PalmDoc,
                    [](std::string& f) { PatchU32(f, 78 + 8, PdbRecordOffset(f, 0) + 11); },
                    PdbOpenError::Damaged},
        RefusalCase{"eReader record 0 below 132 bytes", PdbBookKind::EReader,
                    [](std::string& f) { PatchU32(f, 78 + 8, PdbRecordOffset(f, 0) + 131); },
                    PdbOpenError::Damaged},
        RefusalCase{"HUFF without its records", PdbBookKind::Mobi,
                    [](std::string& f) {
                        PatchRecordU16(f, 0, 0, 17480);
                        PatchRecordU32(f, 0, 112, 1);
                        PatchRecordU32(f, 0, 116, 2);  // records 1 and 2 are no HUFF/CDIC
                    },
                    PdbOpenError::Damaged},
        RefusalCase{"HUFF records beyond N", PdbBookKind::Mobi,
                    [](std::string& f) {
                        PatchRecordU16(f, 0, 0, 17480);
                        PatchRecordU32(f, 0, 112, 3);
                        PatchRecordU32(f, 0, 116, 0xFFFFFFFFu);
                    },
                    PdbOpenError::Damaged}),
    [](const auto& p) { return TestCaseName(p.param.what); });

TEST(PDBFile, OpensMobiTypesTwoAndThree) {
    for (uint32_t type : {2u, 3u, 257u, 517u}) {
        PdbBookRecipe recipe;
        recipe.mobiType = type;
        recipe.text = BookText(300);
        OpenedBook book = Open(WritePdbBook(recipe));
        EXPECT_TRUE(book.ok) << type;
    }
}

TEST(PDBFile, EncryptionFieldIsReadOnlyWhenPalmDocRecordZeroHoldsIt) {
    // A 12-byte PalmDOC header has no encryption field at all.
    PdbBookRecipe recipe;
    recipe.kind = PdbBookKind::PalmDoc;
    recipe.text = BookText(300);
    std::string bytes = WritePdbBook(recipe);
    PatchRecordU16(bytes, 0, 12, 1);  // becomes part of record 1 once record 0 shrinks
    PatchU32(bytes, 78 + 8, PdbRecordOffset(bytes, 0) + 12);
    OpenedBook book = Open(bytes);
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(book.file->OpenError(), PdbOpenError::None);
}

// Trailing entries: the extra data flags are read for every MOBI header of 228 bytes or more.
struct TrailingCase {
    const char* what;
    uint32_t headerLength;
    uint16_t flags;
    uint32_t entryBytes;
    uint16_t compression;
};

class MobiTrailing : public testing::TestWithParam<TrailingCase> {};

TEST_P(MobiTrailing, AreRemovedFromEveryTextRecord) {
    const TrailingCase& c = GetParam();
    PdbBookRecipe recipe;
    recipe.mobiHeaderLength = c.headerLength;
    recipe.extraDataFlags = c.flags;
    recipe.trailingEntryBytes = c.entryBytes;
    recipe.compression = c.compression;
    recipe.recordSize = 1000;
    recipe.text = BookText(4500);  // the last record is short
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(book.file->TextRecordCount(), 5u);
    EXPECT_EQ(ReadAll(*book.file), recipe.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MobiTrailing,
    testing::Values(TrailingCase{"232 multibyte and one", 232, 0x3, 5, kWritePalmDoc},
                    TrailingCase{"228", 228, 0x2, 5, kWritePalmDoc},
                    TrailingCase{"248", 248, 0x3, 5, kWritePalmDoc},
                    TrailingCase{"264 three entries", 264, 0x7, 9, kWritePalmDoc},
                    TrailingCase{"two byte sizes", 264, 0x2, 300, kWritePalmDoc},
                    TrailingCase{"high bit only", 232, 0x8000, 3, kWritePalmDoc},
                    TrailingCase{"multibyte only", 232, 0x1, 0, kWritePalmDoc},
                    TrailingCase{"uncompressed", 264, 0x3, 5, kWriteUncompressed},
                    TrailingCase{"HUFF CDIC", 264, 0x3, 5, kWriteHuffCdic}),
    [](const auto& p) { return TestCaseName(p.param.what); });

TEST(PDBFile, ExtraFlagsFieldIsIgnoredForShortMobiHeaders) {
    PdbBookRecipe recipe;
    recipe.mobiHeaderLength = 224;
    recipe.writeExth = false;
    recipe.text = BookText(300);
    std::string bytes = WritePdbBook(recipe);
    PatchRecordU16(bytes, 0, 242, 0x3);  // not a flags field in a 224-byte header
    OpenedBook book = Open(bytes);
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(ReadAll(*book.file), recipe.text);
}

TEST(PDBFile, ShortTextIsAcceptedWithAWarning) {
    PdbBookRecipe recipe;
    recipe.text = BookText(5000);
    recipe.declaredTextLength = 6000;
    CapturedLog captured(KS_LOG_WARN);
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(book.file->GetSize(), 5000u);
    EXPECT_EQ(ReadAll(*book.file), recipe.text);
    EXPECT_EQ(captured.count("WARN PDB: Unpacked text size is 5000 but expected 6000"), 1);
}

TEST(PDBFile, LongTextIsCutToTheHeaderLengthAndSoIsItsCrc) {
    PdbBookRecipe recipe;
    recipe.text = BookText(9000);
    recipe.declaredTextLength = 4100;
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(book.file->GetSize(), 4100u);
    EXPECT_EQ(ReadAll(*book.file), recipe.text.substr(0, 4100));
    uint32_t crc = 0;
    ASSERT_EQ(book.file->ComputeCrc32(&crc), KS_OK);
    EXPECT_EQ(crc, Crc(recipe.text.substr(0, 4100)));
    EXPECT_EQ(book.file->SetPos(4101), KS_POS_UNKNOWN);
}

TEST(PDBFile, BrokenTextRecordLosesOnlyItself) {
    PdbBookRecipe recipe;
    recipe.recordSize = 1000;
    recipe.extraDataFlags = 0x2;
    recipe.text = BookText(3000);
    std::string bytes = WritePdbBook(recipe);
    // Record 2's trailing entry claims more bytes than the record has.
    uint32_t end2 = PdbRecordOffset(bytes, 3);
    bytes[end2 - 2] = static_cast<char>(0xFF);
    bytes[end2 - 1] = 0x7F;  // 16383 bytes
    CapturedLog captured(KS_LOG_WARN);
    OpenedBook book = Open(bytes);
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(ReadAll(*book.file), recipe.text.substr(0, 1000) + recipe.text.substr(2000));
    EXPECT_EQ(captured.count("text record 2 cannot be decoded"), 1);
}

TEST(PDBFile, RecordsDecodingBeyond64KiBAreRefused) {
    PdbBookRecipe recipe;
    recipe.compression = kWriteUncompressed;
    recipe.recordSize = 70000;
    recipe.text = BookText(70100);
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(ReadAll(*book.file), recipe.text.substr(70000));
    std::vector<uint8_t> out;
    EXPECT_FALSE(book.file->DecodeTextRecord(1, out));
    EXPECT_FALSE(book.file->DecodeTextRecord(0, out));
    EXPECT_FALSE(book.file->DecodeTextRecord(3, out));
}

TEST(PDBFile, BackReferenceBeforeTheRecordGivesQuestionMarks) {
    // Record 1: "ab" and a 3-byte copy from 5 back; record 2 starts a fresh output.
    std::vector<std::string> records = {std::string(16, '\0'), std::string("ab\x80\x28", 4),
                                        std::string("\x80\x08xyz", 5)};
    records[0][1] = 2;   // PalmDOC compression
    records[0][7] = 11;  // text length
    records[0][9] = 2;   // text records
    OpenedBook book = Open(WritePdbFile("T", "TEXt", "REAd", records));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(ReadAll(*book.file), "ab??????xyz");
}

TEST(PDBFile, EmptyBookOpens) {
    PdbBookRecipe recipe;
    recipe.text = "";
    OpenedBook book = Open(WritePdbBook(recipe));
    ASSERT_TRUE(book.ok);
    EXPECT_EQ(book.kind, PDB_CONTENT_NONE);
    EXPECT_EQ(book.file->GetSize(), 0u);
    EXPECT_TRUE(book.file->Eof());
    EXPECT_EQ(ReadAll(*book.file), "");
}

TEST(PDBFile, DetectsTheContentOfRecordOne) {
    struct Case {
        std::string text;
        PdbContentKind kind;
    };
    const Case cases[] = {
        {BookText(3000), PDB_CONTENT_HTML},
        {"\\p\\x Chapter \\b bold\\b \\i it\\i and so on, and on.", PDB_CONTENT_PML},
        {"Just some plain words, nothing more to see.", PDB_CONTENT_TEXT},
        // HTML, but record 1 holds only ten bytes: plain text.
        {"<html><b>x" + std::string(10, 'y'), PDB_CONTENT_TEXT},
    };
    for (const Case& c : cases) {
        PdbBookRecipe recipe;
        recipe.kind = PdbBookKind::PalmDoc;
        recipe.text = c.text;
        if (c.kind == PDB_CONTENT_TEXT && c.text[0] == '<') recipe.recordSize = 10;
        OpenedBook book = Open(WritePdbBook(recipe));
        ASSERT_TRUE(book.ok);
        EXPECT_EQ(book.kind, c.kind) << c.text;
        EXPECT_EQ(book.file->ContentKind(), c.kind);
    }
}

}  // namespace
