#include "engine/core/TnPropContainer.h"

#include <gtest/gtest.h>

#include "engine/streams/KsFileStream.h"
#include "engine/streams/KsMemoryStream.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Saved(const TnPropAccessor& props) {
    KsRef<KsStream> out = CreateMemoryStream();
    EXPECT_TRUE(props.saveText(*out));
    auto* memory = static_cast<KsMemoryStream*>(out.Get());
    return std::string(reinterpret_cast<const char*>(memory->Data()), out->GetSize());
}

KsRef<TnPropContainer> Loaded(const std::string& text) {
    KsRef<TnPropContainer> props = CreatePropContainer();
    KsRef<KsStream> in = CreateMemoryStream(text.data(), static_cast<ks_pos_t>(text.size()),
                                            MemoryCopy::Copy, KS_MODE_READ);
    EXPECT_TRUE(props->loadText(*in));
    return props;
}

TEST(TnPropContainer, SortedKeysAndRevision) {
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeText("b", "2");
    props->writeText("a", "1");
    props->writeText("c.x", "3");
    ASSERT_EQ(props->count(), 3);
    EXPECT_STREQ(props->nameAt(0).CStr(), "a");
    EXPECT_STREQ(props->nameAt(2).CStr(), "c.x");
    uint64_t revision = props->revision();
    props->writeText("a", "changed");
    EXPECT_EQ(props->revision(), revision);  // changing a value keeps the revision
    props->writeText("d", "new");
    EXPECT_GT(props->revision(), revision);
    EXPECT_EQ(U8(props->readTextOr("missing", "dflt")), "dflt");
    EXPECT_FALSE(props->contains("missing"));  // readTextOr stores nothing
    props->writeTextIfAbsent("a", "ignored");
    EXPECT_EQ(U8(props->readTextOr("a", "")), "changed");
}

TEST(TnPropContainer, TypedValues) {
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeInt("i", -5);
    props->writeHex("h", 0xAB);
    props->writeBool("b", true);
    props->writeInt64("l", INT64_MIN);
    props->writeColor("c", 0xC0C0C0);
    props->writeRect("r", {1, -2, 3, 4});
    props->writePoint("p", {7, 8});
    EXPECT_EQ(U8(props->readTextOr("h", "")), "0x000000AB");
    EXPECT_EQ(U8(props->readTextOr("b", "")), "1");
    EXPECT_EQ(U8(props->readTextOr("c", "")), "#c0c0c0");
    EXPECT_EQ(U8(props->readTextOr("r", "")), "{1,-2,3,4}");
    EXPECT_EQ(props->readIntOr("i", 0), -5);
    EXPECT_EQ(props->readIntOr("h", 0), 0xAB);
    EXPECT_EQ(props->readInt64Or("l", 0), INT64_MIN);
    EXPECT_EQ(props->readRectOr("r", {}), (KsRect{1, -2, 3, 4}));
    EXPECT_EQ(props->readPointOr("p", {}), (KsPoint{7, 8}));
}

struct TextCase {
    const char* text;
    bool ok;
    uint32_t value;
};

TEST(TnPropContainer, BoolColorRectParsing) {
    const TextCase bools[] = {{"yes", true, 1}, {"YES", true, 1}, {"Yes", false, 0},
                              {"0", true, 0},   {"no", true, 0},  {"maybe", false, 0}};
    for (const auto& c : bools) {
        bool v = false;
        EXPECT_EQ(ParseBoolText(string16(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value != 0) << c.text;
        }
    }
    const TextCase colors[] = {{"#C0C0C0", true, 0xC0C0C0},
                               {"0xff000000", true, 0xFF000000},
                               {"red", false, 0},
                               {"#", false, 0},
                               {"#12g", false, 0}};
    for (const auto& c : colors) {
        uint32_t v = 0;
        EXPECT_EQ(ParseColorText(string16(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    KsRect r;
    EXPECT_FALSE(ParseRectText(string16("{1,2,3}"), r));
    EXPECT_FALSE(ParseRectText(string16("{1,2,3,4,5}"), r));
    EXPECT_TRUE(ParseRectText(string16("{1, 2, 3, 4}"), r));
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeText("b", "Yes");
    EXPECT_TRUE(props->readBoolOr("b", true));
    EXPECT_FALSE(props->readBoolOr("b", false));
}

TEST(TnPropContainer, RestrictToList) {
    const int values[] = {1, 0};
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->restrictToList("missing", values, 2);
    EXPECT_EQ(U8(props->readTextOr("missing", "")), "1");
    props->writeText("zero", "0");
    props->restrictToList("zero", values, 2);
    EXPECT_EQ(U8(props->readTextOr("zero", "")), "0");
    props->writeText("f", "false");
    props->restrictToList("f", values, 2);  // text comparison, not boolean
    EXPECT_EQ(U8(props->readTextOr("f", "")), "1");
    const char* const names[] = {"left", "right", nullptr};
    props->writeText("align", "center");
    props->restrictToList("align", names);
    EXPECT_EQ(U8(props->readTextOr("align", "")), "left");
}

TEST(TnPropContainer, SaveAndLoadEscapes) {
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeText("a", "a\\b");
    props->writeText("lines", "one\ntwo\r\nthree");
    props->writeText("utf", "caf\xC3\xA9");
    string16 withZero("x");
    withZero.Append(u'\0');
    withZero.AppendLatin1("y");
    props->writeText("nul", withZero);
    props->writeText("z.after", "kept");
    std::string text = Saved(*props);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("a=a\\\\b\r\n"), std::string::npos);
    EXPECT_NE(text.find("nul=x\\0y\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);

    KsRef<TnPropContainer> back = Loaded(text);
    ASSERT_EQ(back->count(), props->count());
    for (int i = 0; i < props->count(); ++i) {
        EXPECT_EQ(back->nameAt(i), props->nameAt(i));
        EXPECT_EQ(back->valueAt(i), props->valueAt(i)) << props->nameAt(i).CStr();
    }
}

TEST(TnPropContainer, LoadIgnoresCommentsAndBadLines) {
    KsRef<TnPropContainer> props = Loaded("=x\n#x=1\nk==v\r\nplain\n\n\nlone=a\rb\nlast=1");
    ASSERT_EQ(props->count(), 3);
    EXPECT_EQ(U8(props->readTextOr("k", "")), "=v");
    EXPECT_EQ(U8(props->readTextOr("lone", "")), "a\rb");
    EXPECT_EQ(props->readIntOr("last", 0), 1);

    KsRef<TnPropContainer> empty = CreatePropContainer();
    KsRef<KsStream> none = CreateMemoryStream("", 0, MemoryCopy::Copy, KS_MODE_READ);
    EXPECT_FALSE(empty->loadText(*none));  // nothing before the end
    KsRef<KsStream> writeOnly = CreateMemoryStream("a=1", 3, MemoryCopy::Copy, KS_MODE_WRITE);
    EXPECT_FALSE(empty->loadText(*writeOnly));
    KsRef<KsStream> readOnly = CreateMemoryStream("a=1", 3, MemoryCopy::Wrap);
    EXPECT_FALSE(empty->saveText(*readOnly));
}

// A writable stream that takes 4 bytes and then fails, like a full disk.
class FullDiskStream : public KsNamedStream {
public:
    FullDiskStream() { mode_ = KS_MODE_WRITE; }
    KsStatus Seek(int64_t, KsSeekOrigin, ks_pos_t* p) override {
        if (p) *p = written_;
        return KS_OK;
    }
    KsStatus SetSize(ks_pos_t) override { return KS_FAIL; }
    KsStatus Read(void*, ks_pos_t, ks_pos_t*) override { return KS_FAIL; }
    KsStatus Write(const void*, ks_pos_t count, ks_pos_t* done) override {
        ks_pos_t n = written_ + count <= 4 ? count : 4 - written_;
        written_ += n;
        if (done) *done = n;
        return n == count ? KS_OK : KS_FAIL;
    }
    bool Eof() override { return true; }

private:
    ks_pos_t written_ = 0;
};

TEST(TnPropContainer, SaveReportsFailedWrite) {
    TempDir dir;
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeText("k", "v");
    KsRef<KsStream> target(new FullDiskStream());
    EXPECT_FALSE(props->saveText(*target));
    KsRef<KsStream> file = OpenFileStream(U16(dir.file("p.txt").c_str()), KS_MODE_WRITE);
    ASSERT_TRUE(file);
    EXPECT_TRUE(props->saveText(*file));
}

TEST(TnPropSubContainer, LiveView) {
    KsRef<TnPropContainer> props = CreatePropContainer();
    props->writeText("styles.def.align", "left");
    props->writeText("stylesX", "no");
    props->writeText("other", "x");
    KsRef<TnPropAccessor> styles = props->subset("styles.");
    ASSERT_EQ(styles->count(), 1);
    EXPECT_STREQ(styles->nameAt(0).CStr(), "def.align");
    props->writeText("styles.h1.size", "20");
    EXPECT_EQ(styles->count(), 2);
    EXPECT_EQ(styles->readIntOr("h1.size", 0), 20);
    styles->writeText("new", "1");
    EXPECT_TRUE(props->contains("styles.new"));
    EXPECT_EQ(Saved(*styles).find("styles.def.align=left"), 3u);
    KsRef<TnPropContainer> copied = styles->copy();
    EXPECT_TRUE(copied->contains("def.align"));
    styles->removeAll();
    EXPECT_EQ(styles->count(), 0);
    EXPECT_EQ(props->count(), 2);
    KsRef<TnPropContainer> target = CreatePropContainer();
    target->copyAllFrom(*props);
    EXPECT_EQ(target->count(), 2);
}

}  // namespace
