#include "engine/streams/KsDirectoryContainer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

std::vector<std::string> ItemNames(KsContainer& container) {
    std::vector<std::string> names;
    for (int i = 0; i < container.GetObjectCount(); ++i) {
        const KsContainerItemInfo* info = container.GetObjectInfo(i);
        names.push_back(U8(string16(info->GetName())) + (info->IsContainer() ? "/" : ""));
    }
    return names;
}

class DirectoryFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteFileBytes(dir.file("b.txt"), "bee"));
        ASSERT_TRUE(WriteFileBytes(dir.file("a.bin"), std::string(70000, 'x')));
        ASSERT_TRUE(WriteFileBytes(dir.file("noext"), ""));
        std::filesystem::create_directory(dir.file("sub"));
        ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    }
    TempDir dir;
};

TEST_F(DirectoryFixture, ListsFilesAndSubdirectoriesButNotPipes) {
    KsRef<KsContainer> container = OpenDirectory(U16(dir.path().c_str()));
    ASSERT_TRUE(container);
    EXPECT_EQ(U8(string16(container->GetName())), dir.path() + "/");
    EXPECT_EQ(ItemNames(*container), (std::vector<std::string>{"a.bin", "b.txt", "noext", "sub/"}));
    EXPECT_EQ(container->GetObjectInfo(0)->GetSize(), 70000u);
    EXPECT_EQ(container->GetObjectInfo(4), nullptr);
    EXPECT_EQ(container->GetObjectInfo(-1), nullptr);
}

TEST_F(DirectoryFixture, OpensOnlyRegularFiles) {
    KsRef<KsContainer> container = OpenDirectory(U16((dir.path() + "/").c_str()));
    ASSERT_TRUE(container);
    EXPECT_EQ(U8(string16(container->GetName())), dir.path() + "/");
    KsRef<KsStream> b = container->OpenStream(U16("b.txt"), KS_MODE_READ);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetSize(), 3u);
    EXPECT_FALSE(container->OpenStream(U16("sub"), KS_MODE_READ));
    // A pipe would block the reader; it never opens.
    EXPECT_FALSE(container->OpenStream(U16("pipe"), KS_MODE_READ));
    EXPECT_FALSE(container->OpenStream(U16("missing"), KS_MODE_READ));
    EXPECT_FALSE(container->OpenStream(U16("B.TXT"), KS_MODE_READ));  // names are exact
}

TEST_F(DirectoryFixture, FilesCreatedLaterAreAdded) {
    KsRef<KsContainer> container = OpenDirectory(U16(dir.path().c_str()));
    ASSERT_TRUE(container);
    KsRef<KsStream> created = container->OpenStream(U16("new.txt"), KS_MODE_WRITE);
    ASSERT_TRUE(created);
    EXPECT_EQ(container->GetObjectCount(), 5);
    EXPECT_EQ(ItemNames(*container).back(), "new.txt");
    created = nullptr;
    // Opening it again does not add it twice.
    EXPECT_TRUE(container->OpenStream(U16("new.txt"), KS_MODE_READ));
    EXPECT_EQ(container->GetObjectCount(), 5);
}

TEST_F(DirectoryFixture, MaskSelectsNames) {
    KsRef<KsContainer> container = OpenDirectory(U16(dir.path().c_str()), U16("*.txt"));
    ASSERT_TRUE(container);
    EXPECT_EQ(ItemNames(*container), (std::vector<std::string>{"b.txt"}));
}

TEST(KsDirectoryContainer, NoContainerWithoutADirectory) {
    EXPECT_FALSE(OpenDirectory(string16()));
    EXPECT_FALSE(OpenDirectory(U16("/no/such/directory/here")));
    TempDir dir;
    ASSERT_TRUE(WriteFileBytes(dir.file("f"), "x"));
    EXPECT_FALSE(OpenDirectory(U16(dir.file("f").c_str())));
}

TEST(MatchFileMask, Wildcards) {
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"book.mobi", "*.*", true},
        {"noext", "*.*", true},
        {"x", "", true},
        {"book.mobi", "*.mobi", true},
        {"book.mobi.txt", "*.mobi", false},
        {"a.txt", "?.txt", true},
        {"ab.txt", "?.txt", false},
        {"abc", "a*c", true},
        {"abcbc", "a*bc", true},
        {"ab", "a*c", false},
        {"", "*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFileMask(U16(c.name), U16(c.mask)), c.matches) << c.name << " " << c.mask;
}

}  // namespace
