#include "engine/books/MobiMetadata.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/books/KsPDBContainer.h"
#include "engine/books/PDBFile.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string U32(uint32_t v) {
    std::string out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>(v >> shift);
    return out;
}

// The properties of a MOBI book made from the recipe, as "key=value" lines in key order.
std::string PropertiesOf(const PdbBookRecipe& recipe) {
    KsRef<PDBFile> file(new PDBFile());
    if (!file->Open(MemoryStreamOf(WritePdbBook(recipe)), nullptr, PdbTextPass::Skip, nullptr))
        return "open failed";
    std::string lines;
    const TnPropContainer& properties = *file->Properties();
    for (int i = 0; i < properties.count(); ++i)
        lines += std::string(properties.nameAt(i).CStr()) + "=" + U8(properties.valueAt(i)) + "\n";
    return lines;
}

PdbBookRecipe Book(std::vector<std::pair<uint32_t, std::string>> exth,
                   std::string fullName = "Full") {
    PdbBookRecipe recipe;
    recipe.text = "<html><body><p>text</p></body></html>";
    recipe.exth = std::move(exth);
    recipe.fullName = std::move(fullName);
    return recipe;
}

TEST(MobiMetadata, ReadsTheExthTexts) {
    EXPECT_EQ(PropertiesOf(Book({{100, "Lewis Carroll"},
                                 {101, "Macmillan"},
                                 {104, "978-0-00-000000-0"},
                                 {106, "1865"},
                                 {108, "John Tenniel"},
                                 {109, "Public domain"},
                                 {524, "en"},
                                 {113, "B000ASIN00"}})),
              "doc.authors=Lewis Carroll\n"
              "doc.contributor=John Tenniel\n"
              "doc.date=1865\n"
              "doc.ibsn=978-0-00-000000-0\n"
              "doc.language=en\n"
              "doc.publisher=Macmillan\n"
              "doc.rights=Public domain\n"
              "doc.title=Full\n");
}

TEST(MobiMetadata, JoinsAuthorsAndSubjects) {
    EXPECT_EQ(
        PropertiesOf(Book({{100, "First"}, {105, "Fantasy"}, {100, "Second"}, {105, "Classics"}})),
        "doc.authors=First & Second\n"
        "doc.subject=Fantasy, Classics\n"
        "doc.title=Full\n");
}

TEST(MobiMetadata, TitleIsTheUpdatedTitleElseTheFullName) {
    struct Case {
        std::vector<std::pair<uint32_t, std::string>> exth;
        std::string fullName;
        std::string title;
    };
    const Case cases[] = {
        {{{503, "Updated"}}, "Full name", "Updated"},
        {{}, "Full name", "Full name"},
        // The subject is no title.
        {{{105, "A subject"}}, "Full name", "Full name"},
        {{{503, ""}}, "Full name", "Full name"},
        {{{503, std::string("Cut\0here", 8)}}, "Full", "Cut"},
    };
    for (const Case& c : cases) {
        std::string lines = PropertiesOf(Book(c.exth, c.fullName));
        EXPECT_NE(lines.find("doc.title=" + c.title + "\n"), std::string::npos) << lines;
        EXPECT_EQ(lines.find("doc.title=A subject"), std::string::npos);
    }
    EXPECT_EQ(PropertiesOf(Book({}, "")), "");
}

TEST(MobiMetadata, DecodesTextsByTheHeaderEncoding) {
    // "Caf\xe9 \x93Quoted\x94" in windows-1252; the same text in UTF-8.
    PdbBookRecipe cp1252 = Book({{100, "Ren\xe9 \x93R\x94"}}, "Caf\xe9 \x80");
    cp1252.textEncoding = 1252;
    EXPECT_EQ(PropertiesOf(cp1252),
              "doc.authors=Ren\xc3\xa9 \xe2\x80\x9cR\xe2\x80\x9d\n"
              "doc.title=Caf\xc3\xa9 \xe2\x82\xac\n");
    PdbBookRecipe utf8 =
        Book({{100, "Ren\xc3\xa9"}}, "\xd0\x95\xd0\xb2\xd0\xb3\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb9");
    utf8.textEncoding = 65001;
    EXPECT_EQ(PropertiesOf(utf8),
              "doc.authors=Ren\xc3\xa9\n"
              "doc.title=\xd0\x95\xd0\xb2\xd0\xb3\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb9\n");
    // A Windows code page the engine has a table for.
    PdbBookRecipe cp1251 = Book({}, "\xcf\xf0\xe8\xe2\xe5\xf2");
    cp1251.textEncoding = 1251;
    EXPECT_EQ(PropertiesOf(cp1251), "doc.title=\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n");
}

TEST(MobiMetadata, EndsTheWalkAtMalformedRecords) {
    // The second record claims 4 bytes: shorter than its own header. The walk stops there instead
    // of reading the same record forever.
    PdbBookRecipe recipe = Book({{100, "Kept"}, {101, "x"}, {109, "Lost"}});
    std::string bytes = WritePdbBook(recipe);
    uint32_t exth = PdbRecordOffset(bytes, 0) + 16 + recipe.mobiHeaderLength;
    uint32_t second = exth + 12 + 8 + 4;
    PatchU32(bytes, second + 4, 4);
    PdbBookHeader header;
    PdbOpenError error;
    std::string r0 = bytes.substr(PdbRecordOffset(bytes, 0),
                                  PdbRecordOffset(bytes, 1) - PdbRecordOffset(bytes, 0));
    const uint8_t* data = reinterpret_cast<const uint8_t*>(r0.data());
    ASSERT_TRUE(ParsePdbBookHeader(PDB_FORMAT_MOBI, data, r0.size(), 10, header, error));
    KsRef<TnPropContainer> properties = CreatePropContainer();
    ReadMobiMetadata(data, r0.size(), header, *properties);
    EXPECT_EQ(U8(properties->readTextOr("doc.authors", "")), "Kept");
    EXPECT_FALSE(properties->contains("doc.rights"));

    // A record count far beyond the records there are, and a record running past record 0.
    PatchU32(r0, 16 + recipe.mobiHeaderLength + 8, 0xFFFFFFFFu);
    PatchU32(r0, second - PdbRecordOffset(bytes, 0) + 4, 0x7FFFFFFF);
    properties = CreatePropContainer();
    ReadMobiMetadata(data, r0.size(), header, *properties);
    EXPECT_EQ(U8(properties->readTextOr("doc.authors", "")), "Kept");
    // Zero-length records (length 8) are skipped.
    EXPECT_EQ(PropertiesOf(Book({{100, ""}, {101, "P"}})), "doc.publisher=P\ndoc.title=Full\n");
}

TEST(MobiMetadata, NeedsTheExthFlag) {
    PdbBookRecipe recipe = Book({{100, "Author"}});
    std::string bytes = WritePdbBook(recipe);
    PatchRecordU32(bytes, 0, 128, 0);
    KsRef<PDBFile> file(new PDBFile());
    ASSERT_TRUE(file->Open(MemoryStreamOf(bytes), nullptr, PdbTextPass::Skip, nullptr));
    EXPECT_FALSE(file->Properties()->contains("doc.authors"));
    EXPECT_TRUE(file->Properties()->contains("doc.title"));
}

TEST(MobiMetadata, IgnoresAFullNameOutsideRecordZero) {
    PdbBookRecipe recipe = Book({});
    std::string bytes = WritePdbBook(recipe);
    PatchRecordU32(bytes, 0, 84, 0xFFFFFFF0u);
    KsRef<PDBFile> file(new PDBFile());
    ASSERT_TRUE(file->Open(MemoryStreamOf(bytes), nullptr, PdbTextPass::Skip, nullptr));
    EXPECT_FALSE(file->Properties()->contains("doc.title"));
    PatchRecordU32(bytes, 0, 84, 200);
    PatchRecordU32(bytes, 0, 88, 0xFFFFFF00u);
    file = KsRef<PDBFile>(new PDBFile());
    ASSERT_TRUE(file->Open(MemoryStreamOf(bytes), nullptr, PdbTextPass::Skip, nullptr));
    EXPECT_FALSE(file->Properties()->contains("doc.title"));
}

TEST(MobiMetadata, CoverOffsetNamesTheCoverImage) {
    struct Case {
        uint32_t offset;
        const char* cover;  // null: none
    };
    const Case cases[] = {{0, "mobi_image_0"},
                          {3, "mobi_image_3"},
                          {2, nullptr},
                          {99, nullptr},
                          {0xFFFFFFFFu, nullptr}};
    for (const Case& c : cases) {
        PdbBookRecipe recipe = Book({{201, U32(c.offset)}});
        // Record 2 from the first image is no image, but keeps its number.
        recipe.images = {FakeJpeg(0xE0, 50), FakePng(60), "FLIS\0\0\0\x08", FakeGif(70)};
        KsRef<PDBFile> file(new PDBFile());
        KsRef<KsPDBContainer> container(new KsPDBContainer());
        ASSERT_TRUE(file->Open(MemoryStreamOf(WritePdbBook(recipe)), container.Get(),
                               PdbTextPass::Skip, nullptr));
        string16 cover;
        EXPECT_EQ(file->Properties()->readText("doc.cover.file", cover), c.cover != nullptr)
            << c.offset;
        if (c.cover) {
            EXPECT_EQ(U8(cover), c.cover);
        }
    }
}

}  // namespace
