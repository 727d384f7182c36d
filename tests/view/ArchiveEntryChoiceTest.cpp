#include "engine/view/ArchiveEntryChoice.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/streams/KsContainer.h"
#include "tests/support/TestSupport.h"

namespace {

// An archive listing: names only ("dir/" entries are directories).
class ListingContainer final : public KsNamedContainer {
public:
    explicit ListingContainer(std::initializer_list<const char*> names) {
        SetName(u"books.zip");
        for (const char* name : names) {
            auto item = std::make_unique<KsCommonContainerItemInfo>();
            item->name = U16(name);
            item->isContainer = item->name.EndsWith("/");
            AddItem(std::move(item));
        }
    }
    KsStatus GetSize(ks_pos_t* size) override { return KsNamedContainer::GetSize(size); }
    KsRef<KsStream> OpenStream(const unit16*, KsStreamMode) override { return nullptr; }
};

TEST(ArchiveEntryChoice, PrefersIndexPagesThenTheFirstSupportedEntry) {
    struct Case {
        std::initializer_list<const char*> names;
        int chosen;
    };
    const Case cases[] = {
        {{"a.txt", "index.html", "b.fb2"}, 1},
        {{"readme.doc", "b.fb2"}, 1},
        {{"readme.doc"}, -1},
        {{}, -1},
        {{"cover.jpg", "text/INDEX.HTM", "notes.txt"}, 1},  // compared in lower case
        {{"index.html", "default.htm"}, 1},                 // the last index page wins
        {{"index.htm/", "chapter.PML"}, 1},                 // directories are skipped
        {{"index.txt", "page.xhtml", "story.RTF"}, 0},      // only pages can be index pages
        {{"indexes.html", "book.fbd"}, 0},
    };
    for (const Case& c : cases) {
        ListingContainer archive(c.names);
        EXPECT_EQ(ChooseArchiveEntry(archive), c.chosen)
            << (c.names.size() ? *c.names.begin() : "(empty)");
    }
}

}  // namespace
