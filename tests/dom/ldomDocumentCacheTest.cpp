#include <gtest/gtest.h>

#include <string>

#include "engine/css/ldomDocumentStyles.h"
#include "engine/dom/ldomDocument.h"
#include "engine/streams/DeadlineTimer.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/FontTestSupport.h"
#include "tests/support/InMemoryContainer.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(DocumentCache, EveryEntryPointEndsInItsDefinedFailure) {
    auto doc = MakeTestDocument();
    CapturedLog log;
    EXPECT_FALSE(doc->openCacheFile());
    EXPECT_EQ(log.count("ERROR Cannot open cached document: cache dir is not initialized"), 1);
    EXPECT_FALSE(doc->createCacheFile());
    EXPECT_EQ(log.count("ERROR Cannot swap: cache dir is not initialized"), 1);

    DeadlineTimer timer(1000);
    EXPECT_EQ(doc->updateCacheFile(timer), CacheWriteResult::Done);
    EXPECT_EQ(doc->saveChanges(timer), CacheWriteResult::Done);
    EXPECT_FALSE(doc->isMapped());

    EXPECT_FALSE(doc->swapFailed());
    EXPECT_EQ(doc->swapToCache(timer), CacheWriteResult::Failed);
    EXPECT_TRUE(doc->swapFailed());
    EXPECT_EQ(log.count("ldomDocument::swapToCache entered"), 1);
    EXPECT_EQ(log.count("ldomDocument::swapToCache creating cache file"), 1);
    EXPECT_EQ(log.count("ldomDocument::swapToCache: failed: cannot create cache file"), 1);
    // Once failed, a swap is not tried again.
    EXPECT_EQ(doc->swapToCache(timer), CacheWriteResult::Failed);
    EXPECT_EQ(log.count("ldomDocument::swapToCache entered"), 2);
    EXPECT_EQ(log.count("ldomDocument::swapToCache creating cache file"), 1);
    EXPECT_EQ(log.count("Cannot swap: cache dir is not initialized"), 2);
}

TEST(DocumentCache, OpeningFromTheCacheFailsAndLeavesAFreshDocument) {
    ScopedFontManager fonts({"DejaVuSans.ttf"});
    auto doc = MakeTestDocument();
    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"fonts/serif.ttf", ReadFileBytes(FontsDir() + "/DejaVuSerif.ttf"));
    // Data of no known image format shows as a placeholder.
    book->AddFile(u"pic.bin", std::string(300, 'x'));
    doc->setContainer(book);
    ASSERT_TRUE(doc->getEmbeddedFontList().add(U16("fonts/serif.ttf"), "Book Serif", false, false));
    const int withoutBookFont = fonts->GetFontCount();
    doc->registerEmbeddedFonts();
    ASSERT_GT(fonts->GetFontCount(), withoutBookFont);
    ldomNode* img = AppendMarkup(doc->getRootNode(), "<img src='pic.bin'/>");
    ASSERT_TRUE(doc->getNodeImageSource(img));
    ASSERT_EQ(doc->imageCacheCount(), 1);

    CapturedLog log;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(doc->openFromCache(nullptr));
        EXPECT_EQ(doc->imageCacheCount(), 0);
        EXPECT_EQ(doc->getEmbeddedFontList().length(), 0);
        EXPECT_FALSE(doc->styles().isRendered());
        EXPECT_EQ(fonts->GetFontCount(), withoutBookFont);
    }
    EXPECT_EQ(log.count("Cannot open document from cache. Need to read fully"), 2);
}

TEST(DocumentCache, RegistersTheBookFontsThatLoad) {
    ScopedFontManager fonts({"DejaVuSans.ttf"});
    auto doc = MakeTestDocument();
    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"fonts/serif.ttf", ReadFileBytes(FontsDir() + "/DejaVuSerif.ttf"));
    book->AddFile(u"fonts/broken.ttf", std::string(5000, 'x'));
    doc->setContainer(book);
    KsEmbeddedFontList& list = doc->getEmbeddedFontList();
    ASSERT_TRUE(list.add(U16("fonts/missing.ttf"), "Gone", false, false));
    ASSERT_TRUE(list.add(U16("fonts/broken.ttf"), "Broken", true, false));
    ASSERT_TRUE(list.add(U16("fonts/serif.ttf"), "Book Serif", false, true));
    const int before = fonts->GetFontCount();
    CapturedLog log;
    doc->registerEmbeddedFonts();
    EXPECT_EQ(log.count("Failed to register document font face: Gone file: fonts/missing.ttf"), 1);
    EXPECT_EQ(log.count("Failed to register document font face: Broken file: fonts/broken.ttf"), 1);
    EXPECT_EQ(fonts->GetFontCount(), before + 1);
    KsRef<KsFont> font = fonts->GetFont(20, 400, true, 0, "Book Serif", doc->docSlot());
    ASSERT_TRUE(font);
    EXPECT_EQ(font->getTypeFace(), "Book Serif");
}

}  // namespace
