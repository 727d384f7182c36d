#include "engine/books/KsPDBContainer.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/books/PDBFile.h"
#include "tests/support/TestSupport.h"
#include "tests/support/books/PdbBookWriter.h"

namespace {

std::string ReadAll(KsStream& stream) {
    std::string out(stream.GetSize(), '\0');
    ks_pos_t got = 0;
    if (stream.Read(out.data(), static_cast<ks_pos_t>(out.size()), &got) != KS_OK) return "?";
    out.resize(got);
    return out;
}

std::string Names(KsContainer& container) {
    std::string names;
    for (int i = 0; i < container.GetObjectCount(); ++i)
        names += U8(string16(container.GetObjectInfo(i)->GetName())) + " ";
    return names;
}

KsRef<KsPDBContainer> OpenImages(const std::string& bytes, KsRef<PDBFile>* fileOut = nullptr) {
    KsRef<PDBFile> file(new PDBFile());
    KsRef<KsPDBContainer> container(new KsPDBContainer());
    if (!file->Open(MemoryStreamOf(bytes), container.Get(), PdbTextPass::Run, nullptr))
        return nullptr;
    container->SetPdbFile(file);
    if (fileOut) *fileOut = file;
    return container;
}

TEST(KsPDBContainer, ListsMobiImagesByRecordNumber) {
    PdbBookRecipe recipe;
    recipe.text = "<html><body>text</body></html>";
    recipe.images = {FakeJpeg(0xE0, 300),  // JFIF
                     FakeJpeg(0xE1, 200),  // Exif
                     std::string("FLIS\0\0\0\x08", 8),
                     FakePng(150),
                     FakeGif(120),
                     FakeJpeg(0xDB, 90),  // no APPn segment
                     "\xFF\xD8",          // too short for a JPEG
                     FakeJpeg(0xEE, 80)};
    KsRef<KsPDBContainer> images = OpenImages(WritePdbBook(recipe));
    ASSERT_TRUE(images);
    EXPECT_EQ(Names(*images),
              "mobi_image_0 mobi_image_1 mobi_image_3 mobi_image_4 mobi_image_5 mobi_image_7 ");
    EXPECT_EQ(images->GetSize(), 6u);
    EXPECT_FALSE(images->IsContainer());
    EXPECT_EQ(images->GetName(), nullptr);
    images->SetName(u"ignored");
    EXPECT_EQ(images->GetName(), nullptr);
    EXPECT_EQ(images->GetObjectInfo(6), nullptr);
    EXPECT_EQ(images->GetObjectInfo(-1), nullptr);

    const KsContainerItemInfo* item = images->GetObjectInfo(2);
    EXPECT_EQ(item->GetSize(), 150u);
    EXPECT_EQ(item->GetFlags(), 0u);
    EXPECT_FALSE(item->IsContainer());
    KsRef<KsStream> png = images->OpenStream(u"mobi_image_3", KS_MODE_READ);
    ASSERT_TRUE(png);
    EXPECT_EQ(ReadAll(*png), FakePng(150));
    EXPECT_FALSE(images->OpenStream(u"mobi_image_3", KS_MODE_WRITE));
    EXPECT_FALSE(images->OpenStream(u"mobi_image_2", KS_MODE_READ));
    EXPECT_FALSE(images->OpenStream(u"mobi_image_", KS_MODE_READ));
}

TEST(KsPDBContainer, ImageStreamsOutliveTheTextAndTheContainer) {
    PdbBookRecipe recipe;
    recipe.text = "<html><body>text</body></html>";
    recipe.images = {FakeGif(77)};
    KsRef<PDBFile> file;
    KsRef<KsPDBContainer> images = OpenImages(WritePdbBook(recipe), &file);
    ASSERT_TRUE(images);
    KsRef<KsStream> gif = images->OpenStream(u"mobi_image_0", KS_MODE_READ);
    EXPECT_EQ(file->RefCount(), 2);  // this test and the container
    file = nullptr;
    images = nullptr;
    ASSERT_TRUE(gif);
    EXPECT_EQ(ReadAll(*gif), FakeGif(77));
}

TEST(KsPDBContainer, MobiWithoutImages) {
    PdbBookRecipe recipe;
    recipe.text = "text";
    KsRef<KsPDBContainer> images = OpenImages(WritePdbBook(recipe));
    ASSERT_TRUE(images);
    EXPECT_EQ(images->GetObjectCount(), 0);
}

TEST(KsPDBContainer, ListsEReaderImagesByTheirNames) {
    PdbBookRecipe recipe;
    recipe.kind = PdbBookKind::EReader;
    recipe.compression = kWriteZlib;
    recipe.text = "\\pPML text";
    recipe.images = {FakePng(40), FakePng(30), "", FakePng(20)};
    recipe.imageNames = {"cover.png", "", "empty.png", "3.png"};
    std::string bytes = WritePdbBook(recipe);
    KsRef<KsPDBContainer> images = OpenImages(bytes);
    ASSERT_TRUE(images);
    // An image without a name is skipped; an empty image is an item of 0 bytes.
    EXPECT_EQ(Names(*images), "cover.png empty.png 3.png ");
    KsRef<KsStream> cover = images->OpenStream(u"cover.png", KS_MODE_READ);
    ASSERT_TRUE(cover);
    EXPECT_EQ(ReadAll(*cover), FakePng(40));
    EXPECT_EQ(images->GetObjectInfo(1)->GetSize(), 0u);

    // A record shorter than the 62-byte image header is no image (its size would wrap).
    std::string shortRecord = bytes.substr(0, PdbRecordOffset(bytes, 5) + 61);
    images = OpenImages(shortRecord);
    ASSERT_TRUE(images);
    EXPECT_EQ(Names(*images), "cover.png empty.png ");

    // More images announced than records exist, or a first image index beyond N.
    std::string tooMany = bytes;
    PatchRecordU16(tooMany, 0, 20, 0xFFFF);
    images = OpenImages(tooMany);
    ASSERT_TRUE(images);
    EXPECT_EQ(images->GetObjectCount(), 3);
    std::string beyond = bytes;
    PatchRecordU16(beyond, 0, 40, 0xFFF0);
    images = OpenImages(beyond);
    ASSERT_TRUE(images);
    EXPECT_EQ(images->GetObjectCount(), 0);
}

TEST(KsPDBContainer, NamesOfEReaderImagesAreUtf8) {
    PdbBookRecipe recipe;
    recipe.kind = PdbBookKind::EReader;
    recipe.compression = kWriteZlib;
    recipe.text = "\\pPML";
    recipe.images = {FakePng(10)};
    recipe.imageNames = {"caf\xc3\xa9-32-bytes-long-name-ok.png"};  // exactly 32 bytes
    KsRef<KsPDBContainer> images = OpenImages(WritePdbBook(recipe));
    ASSERT_TRUE(images);
    ASSERT_EQ(images->GetObjectCount(), 1);
    EXPECT_EQ(U8(string16(images->GetObjectInfo(0)->GetName())),
              "caf\xc3\xa9-32-bytes-long-name-ok.png");
}

}  // namespace
