#include "engine/dom/ldomBlobCache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/CapturedLog.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadAll(KsStream& stream) {
    std::string out(stream.GetSize(), '\0');
    ks_pos_t got = 0;
    EXPECT_EQ(stream.Read(out.data(), static_cast<ks_pos_t>(out.size()), &got), KS_OK);
    out.resize(got);
    return out;
}

bool Add(ldomBlobCache& cache, const char* name, const std::string& bytes) {
    return cache.addBlob(U16(name), reinterpret_cast<const uint8_t*>(bytes.data()),
                         static_cast<int>(bytes.size()));
}

TEST(ldomBlobCache, FindsBlobsByExactName) {
    ldomBlobCache cache;
    EXPECT_FALSE(cache.changed());
    EXPECT_FALSE(cache.getBlob(U16("@blob#image0.png")));
    ASSERT_TRUE(Add(cache, "@blob#image0.png", "\x89PNG first"));
    ASSERT_TRUE(Add(cache, "@blob#image1.jpg", "\xff\xd8\xff jpeg"));
    ASSERT_TRUE(Add(cache, "@blob#image0.png", "a later blob of the same name"));
    EXPECT_TRUE(cache.changed());
    EXPECT_EQ(cache.count(), 3);

    KsRef<KsStream> first = cache.getBlob(U16("@blob#image0.png"));
    ASSERT_TRUE(first);
    EXPECT_EQ(ReadAll(*first), "\x89PNG first");
    EXPECT_EQ(first->GetMode(), KS_MODE_READ);
    ks_pos_t written = 7;
    EXPECT_NE(first->Write("x", 1, &written), KS_OK);
    EXPECT_EQ(written, 0u);
    EXPECT_FALSE(cache.getBlob(U16("@blob#IMAGE0.png")));
    EXPECT_FALSE(cache.getBlob(U16("@blob#image0")));
    EXPECT_FALSE(cache.getBlob(U16("image0.png")));
}

TEST(ldomBlobCache, StreamsAreIndependentAndOutliveTheCache) {
    auto cache = std::make_unique<ldomBlobCache>();
    std::string bytes(10000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(Add(*cache, "pic", bytes));
    KsRef<KsStream> a = cache->getBlob(U16("pic"));
    KsRef<KsStream> b = cache->getBlob(U16("pic"));
    ASSERT_TRUE(a && b);
    ASSERT_EQ(a->SetPos(5000), 5000u);
    cache.reset();
    EXPECT_EQ(ReadAll(*b), bytes);
    char tail[5000];
    ks_pos_t got = 0;
    ASSERT_EQ(a->Read(tail, sizeof tail, &got), KS_OK);
    EXPECT_EQ(std::string(tail, got), bytes.substr(5000));
}

TEST(ldomBlobCache, LogsTheFirstBytesAndRefusesBadSizes) {
    ldomBlobCache cache;
    CapturedLog log;
    ASSERT_TRUE(Add(cache, "@blob#a", "\x01\x02\x03\x04\x05"));
    EXPECT_EQ(log.count("ldomBlobCache::addBlob( @blob#a, size=5, [01,02,03,04] )"), 1);
    // A blob shorter than four bytes is not read past its end.
    ASSERT_TRUE(Add(cache, "@blob#b", "\xab"));
    EXPECT_EQ(log.count("ldomBlobCache::addBlob( @blob#b, size=1, [ab,00,00,00] )"), 1);
    ASSERT_TRUE(Add(cache, "@blob#empty", ""));
    KsRef<KsStream> empty = cache.getBlob(U16("@blob#empty"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->GetSize(), 0u);
    EXPECT_TRUE(empty->Eof());

    const uint8_t byte = 1;
    EXPECT_FALSE(cache.addBlob(U16("negative"), &byte, -1));
    EXPECT_FALSE(cache.addBlob(U16("null"), nullptr, 10));
    EXPECT_EQ(cache.count(), 3);
    EXPECT_EQ(cache.totalBytes(), 6u);
}

}  // namespace
