#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsMemoryStream.h"
#include "engine/streams/KsStreamBuffer.h"
#include "engine/streams/KsStreamFragment.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadAll(KsStream& stream) {
    std::string out;
    char block[7];  // small blocks exercise the position bookkeeping
    for (;;) {
        ks_pos_t got = 0;
        if (stream.Read(block, sizeof(block), &got) != KS_OK || got == 0) break;
        out.append(block, got);
    }
    return out;
}

KsRef<KsStream> MemoryOf(const std::string& text, KsStreamMode mode = KS_MODE_READ) {
    return CreateMemoryStream(text.data(), static_cast<ks_pos_t>(text.size()), MemoryCopy::Copy,
                              mode);
}

TEST(KsFileStream, ReadWriteAppendAndSize) {
    TempDir dir;
    string16 path = U16(dir.file("f.bin").c_str());
    {
        KsRef<KsStream> w = OpenFileStream(path, KS_MODE_WRITE);
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->WriteAll("hello", 5));
        EXPECT_EQ(w->GetSize(), 5u);
        EXPECT_NE(w->Read(nullptr, 0, nullptr), KS_OK);  // write-only refuses reads
    }
    {
        KsRef<KsStream> a = OpenFileStream(path, KS_MODE_APPEND);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->GetSize(), 5u);
        EXPECT_EQ(a->GetPos(), 5u);
        EXPECT_TRUE(a->WriteAll(" world", 6));
    }
    KsRef<KsStream> r = OpenFileStream(path, KS_MODE_READ);
    ASSERT_TRUE(r);
    EXPECT_EQ(ReadAll(*r), "hello world");
    EXPECT_TRUE(r->Eof());
    EXPECT_FALSE(r->WriteAll("x", 1));
    EXPECT_EQ(r->SetSize(1), KS_FAIL);
    EXPECT_EQ(r->SetPos(6), 6u);
    EXPECT_EQ(r->ReadByte(), 'w');
    EXPECT_EQ(U8(static_cast<KsNamedStream*>(r.Get())->FileName()), "f.bin");

    KsRef<KsStream> rw = OpenFileStream(path, KS_MODE_READWRITE);
    ASSERT_TRUE(rw);
    EXPECT_EQ(rw->SetSize(4), KS_OK);
    EXPECT_EQ(rw->GetSize(), 4u);
    EXPECT_EQ(ReadAll(*rw), "hell");

    EXPECT_FALSE(OpenFileStream(U16(dir.file("missing").c_str()), KS_MODE_READ));
    EXPECT_FALSE(OpenFileStream(U16(dir.path().c_str()), KS_MODE_READ));  // a folder
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(U16(dir.file("missing").c_str())));
}

TEST(KsFileStream, RefusesFilesOf2GiB) {
    TempDir dir;
    std::string name = dir.file("big.bin");
    FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_TRUE(f);
    // A sparse file: no disk space is used.
    ASSERT_EQ(fseeko(f, static_cast<off_t>(0x80000000LL), SEEK_SET), 0);
    std::fputc(0, f);
    std::fclose(f);
    EXPECT_FALSE(OpenFileStream(U16(name.c_str()), KS_MODE_READ));
}

TEST(KsMemoryStream, WrappedBytesAreReadOnly) {
    char data[] = "caller";
    KsRef<KsStream> s = CreateMemoryStream(data, 6, MemoryCopy::Wrap);
    EXPECT_EQ(s->GetMode(), KS_MODE_READ);
    EXPECT_FALSE(s->WriteAll("x", 1));
    EXPECT_NE(s->SetMode(KS_MODE_WRITE), KS_OK);
    EXPECT_NE(s->SetSize(2), KS_OK);
    EXPECT_STREQ(data, "caller");
    EXPECT_EQ(ReadAll(*s), "caller");
}

TEST(KsMemoryStream, WriteOnlyThenRead) {
    KsRef<KsStream> s = MemoryOf("", KS_MODE_WRITE);
    EXPECT_TRUE(s->WriteAll("abc", 3));
    char c;
    EXPECT_NE(s->Read(&c, 1, nullptr), KS_OK);
    EXPECT_EQ(s->SetMode(KS_MODE_READ), KS_OK);
    EXPECT_EQ(s->GetPos(), 0u);
    EXPECT_EQ(ReadAll(*s), "abc");
    EXPECT_NE(s->SetMode(KS_MODE_WRITE), KS_OK);
}

TEST(KsMemoryStream, SeekBoundsAndGrowth) {
    KsRef<KsStream> s = CreateMemoryStream();
    std::string big(100000, 'z');
    EXPECT_TRUE(s->WriteAll(big.data(), static_cast<ks_pos_t>(big.size())));
    EXPECT_EQ(s->GetSize(), 100000u);
    EXPECT_EQ(s->SetPos(100000), 100000u);
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->SetPos(100001), KS_POS_UNKNOWN);
    EXPECT_NE(s->Seek(-1, KS_SEEK_SET, nullptr), KS_OK);
    ks_pos_t at = 0;
    EXPECT_EQ(s->Seek(-10, KS_SEEK_END, &at), KS_OK);
    EXPECT_EQ(at, 99990u);
    EXPECT_EQ(s->SetSize(10), KS_OK);
    EXPECT_EQ(s->GetPos(), 10u);  // pulled back to the new size

    KsRef<KsStream> appended = MemoryOf("ab", KS_MODE_APPEND);
    EXPECT_EQ(appended->GetPos(), 2u);
    char c;
    EXPECT_NE(appended->Read(&c, 1, nullptr), KS_OK);

    auto* memory = static_cast<KsMemoryStream*>(appended.Get());
    EXPECT_EQ(memory->Close(), KS_OK);
    EXPECT_NE(memory->Close(), KS_OK);
    EXPECT_EQ(appended->GetSize(), KS_POS_UNKNOWN);
}

TEST(KsStreamFragment, StaysInsideItsWindow) {
    KsRef<KsStream> base = MemoryOf("0123456789");
    KsRef<KsStream> part(new KsStreamFragment(base, 3, 4));  // "3456"
    EXPECT_EQ(part->GetSize(), 4u);
    char c[2];
    ASSERT_TRUE(part->ReadExact(c, 2));
    EXPECT_EQ(std::string(c, 2), "34");
    // Another reader moves the base stream; the fragment keeps its own place.
    base->SetPos(9);
    ASSERT_TRUE(part->ReadExact(c, 2));
    EXPECT_EQ(std::string(c, 2), "56");
    EXPECT_TRUE(part->Eof());
    EXPECT_FALSE(part->ReadExact(c, 1));
    ks_pos_t at = 0;
    ASSERT_EQ(part->Seek(-1, KS_SEEK_END, &at), KS_OK);  // from the end honours the offset
    EXPECT_EQ(at, 3u);
    ASSERT_EQ(part->Seek(-2, KS_SEEK_CUR, &at), KS_OK);  // relative to the fragment
    EXPECT_EQ(at, 1u);
    EXPECT_EQ(ReadAll(*part), "456");
    EXPECT_NE(part->Seek(5, KS_SEEK_SET, nullptr), KS_OK);
    EXPECT_NE(part->Seek(-2, KS_SEEK_SET, nullptr), KS_OK);
    EXPECT_EQ(part->Write("x", 1, nullptr), KS_NOTIMPL);
    EXPECT_EQ(part->SetSize(1), KS_NOTIMPL);

    KsRef<KsStream> tooLong(new KsStreamFragment(base, 8, 100));
    EXPECT_EQ(ReadAll(*tooLong), "89");
}

TEST(KsStream, Crc32) {
    std::string text(50000, 'q');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i * 7 % 26);
    uint32_t expected = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
    KsRef<KsStream> s = MemoryOf(text);
    s->SetPos(123);
    uint32_t crc = 0;
    ASSERT_EQ(s->ComputeCrc32(&crc), KS_OK);
    EXPECT_EQ(crc, expected);
    EXPECT_EQ(s->GetPos(), 123u);  // position restored
    EXPECT_EQ(s->ComputeCrc32(&crc), KS_OK);
    EXPECT_EQ(crc, expected);

    KsRef<KsStream> writeOnly = MemoryOf("x", KS_MODE_WRITE);
    EXPECT_EQ(writeOnly->ComputeCrc32(&crc), KS_NOTIMPL);
}

TEST(KsStream, PumpAndTypedReads) {
    KsRef<KsStream> source =
        MemoryOf(std::string("\x01\x02\x03\x04\x05\x06", 6) + std::string(12000, 'x'));
    uint32_t v32 = 0;
    uint16_t v16 = 0;
    ASSERT_TRUE(source->ReadU32(v32));
    EXPECT_EQ(v32, 0x04030201u);
    ASSERT_TRUE(source->ReadU16BE(v16));
    EXPECT_EQ(v16, 0x0506);
    KsRef<KsStream> copy = CreateMemoryStream();
    EXPECT_EQ(PumpStream(*copy, *source), 12006u);
    EXPECT_EQ(copy->GetSize(), 12006u);
}

TEST(KsStreamBuffer, ReadAndWriteBack) {
    KsRef<KsStream> ro = MemoryOf("abcdef");
    KsRef<KsStreamBuffer> view = ro->OpenReadBuffer(2, 3);
    ASSERT_TRUE(view);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view->GetReadOnly()), 3), "cde");
    EXPECT_EQ(view->GetReadWrite(), nullptr);
    EXPECT_FALSE(ro->OpenReadBuffer(4, 3));   // past the end
    EXPECT_FALSE(ro->OpenWriteBuffer(0, 1));  // read-only stream

    KsRef<KsStream> rw = MemoryOf("abcdef", KS_MODE_READWRITE);
    EXPECT_FALSE(rw->OpenReadBuffer(0, 1));  // read buffers need read mode
    {
        KsRef<KsStreamBuffer> edit = rw->OpenWriteBuffer(1, 2);
        ASSERT_TRUE(edit);
        edit->GetReadWrite()[0] = 'X';
        edit->GetReadWrite()[1] = 'Y';
        EXPECT_TRUE(edit->Close());
    }
    rw->SetPos(0);
    EXPECT_EQ(ReadAll(*rw), "aXYdef");
}

}  // namespace
