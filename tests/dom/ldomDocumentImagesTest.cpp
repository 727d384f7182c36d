#include <gtest/gtest.h>

#include <string>

#include "engine/dom/NodeImageProxy.h"
#include "engine/dom/ldomDocument.h"
#include "tests/support/Base64.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/ImageFixtures.h"
#include "tests/support/InMemoryContainer.h"
#include "tests/support/TestSupport.h"

namespace {

// An RGB PNG of the size whose pixel (x, y) is 0x00XXYY00 + seed.
std::string TestPng(int width, int height, uint32_t seed = 0) {
    PngFixture f;
    f.width = width;
    f.height = height;
    f.colorType = 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = ((uint32_t(x) << 16) | (uint32_t(y) << 8)) + seed;
            f.samples.push_back(uint16_t((rgb >> 16) & 0xFF));
            f.samples.push_back(uint16_t((rgb >> 8) & 0xFF));
            f.samples.push_back(uint16_t(rgb & 0xFF));
        }
    return WritePng(f);
}

std::string ReadAll(KsStream* stream) {
    if (!stream) return "<none>";
    std::string out(stream->GetSize(), '\0');
    ks_pos_t got = 0;
    EXPECT_EQ(stream->Read(out.data(), static_cast<ks_pos_t>(out.size()), &got), KS_OK);
    out.resize(got);
    return out;
}

struct ImageNameCase {
    const char* name;
    const char* markup;
    const char* imageName;
};

class ImageName : public testing::TestWithParam<ImageNameCase> {};

TEST_P(ImageName, OfElement) {
    auto doc = MakeTestDocument();
    ldomNode* element = AppendMarkup(doc->getRootNode(), GetParam().markup);
    ASSERT_TRUE(element);
    EXPECT_EQ(U8(doc->getObjectImageName(element)), GetParam().imageName);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImageName,
    testing::Values(
        ImageNameCase{"src", "<img src='images/cover.jpg'/>", "images/cover.jpg"},
        ImageNameCase{"percentDecoded", "<img src='my%20picture%C3%A9.png'/>",
                      "my picture\xc3\xa9.png"},
        ImageNameCase{"fb2Link", "<image l:href='#cover'/>", "#cover"},
        ImageNameCase{"xlinkBeforeL", "<image l:href='#l' xlink:href='#xlink'/>", "#xlink"},
        ImageNameCase{"lBeforeAnyHref", "<image href='#plain' l:href='#l'/>", "#l"},
        ImageNameCase{"hrefBeforeSrc", "<img src='s.png' href='h.png'/>", "h.png"},
        ImageNameCase{"mobiRecindex", "<img recindex='3'/>", "mobi_image_2"},
        ImageNameCase{"mobiRecindexLeadingZeros", "<img recindex='00011'/>", "mobi_image_10"},
        ImageNameCase{"mobiRecindexZero", "<img recindex='0'/>", ""},
        ImageNameCase{"mobiRecindexNotANumber", "<img recindex='x1'/>", ""},
        ImageNameCase{"srcBeforeRecindex", "<img recindex='3' src='s.png'/>", "s.png"},
        ImageNameCase{"noAttributes", "<img/>", ""},
        ImageNameCase{"oneCharacter", "<img src='x'/>", ""},
        ImageNameCase{"notAnObject", "<p src='s.png'/>", ""},
        ImageNameCase{"textNode", "plain text", ""}),
    [](const testing::TestParamInfo<ImageNameCase>& param) { return param.param.name; });

TEST(DocumentImages, StreamsOfEveryKindOfName) {
    auto doc = MakeTestDocument();
    const std::string png = TestPng(3, 2);
    ASSERT_TRUE(doc->addBlob(U16("@blob#image0.png"), reinterpret_cast<const uint8_t*>(png.data()),
                             static_cast<int>(png.size())));
    AppendMarkup(doc->getRootNode(), "<binary id='pic'>" + EncodeBase64(png, 76) + "</binary>");
    AppendMarkup(doc->getRootNode(), "<p id='para'>not a picture</p>");

    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("@blob#image0.png")).Get()), png);
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("@blob#image9.png")).Get()), "<none>");
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("#pic")).Get()), png);
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("#missing")).Get()), "<none>");
    // Without a container nothing else opens.
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("pic")).Get()), "<none>");
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("")).Get()), "<none>");

    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"images/a.png", "A");
    book->AddFile(u"OEBPS/images/b.png", "B");
    book->AddFile(u"chapter1_img/c.png", "C");
    book->AddFile(u"OEBPS/chapter1_img/d.png", "D");
    doc->setContainer(book);
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("images/a.png")).Get()), "A");

    doc->getProps()->writeText("doc.file.code.base", U16("OEBPS/"));
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("images/b.png")).Get()), "B");
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("images/a.png")).Get()), "<none>");
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("d.png")).Get()), "<none>");

    // A page saved from the web keeps its pictures in the folder named after it.
    doc->getProps()->writeText("doc.file.name", U16("chapter1.html"));
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("d.png")).Get()), "D");
    doc->getProps()->writeText("doc.file.code.base", U16(""));
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("c.png")).Get()), "C");

    CapturedLog log;
    EXPECT_EQ(ReadAll(doc->getObjectImageStream(U16("nothing.png")).Get()), "<none>");
    EXPECT_EQ(log.count("Cannot open stream by name nothing.png"), 1);
}

// Records the source each call names.
class SourceCheckingCallback final : public KsImageDecoderCallback {
public:
    explicit SourceCheckingCallback(KsImageSource* expected) : expected_(expected) {}
    void OnStartDecode(KsImageSource* source) override { check(source), ++starts; }
    bool OnLineDecoded(KsImageSource* source, int y, const uint32_t* row) override {
        check(source);
        rows.emplace_back(row, row + source->GetWidth());
        (void)y;
        return true;
    }
    void OnEndDecode(KsImageSource* source, KsDecodeOutcome outcome) override {
        check(source);
        ++ends;
        finished = outcome == KsDecodeOutcome::Finished;
    }
    int starts = 0, ends = 0;
    bool finished = false;
    bool sourcesMatch = true;
    std::vector<std::vector<uint32_t>> rows;

private:
    void check(KsImageSource* source) { sourcesMatch = sourcesMatch && source == expected_; }
    KsImageSource* expected_;
};

TEST(DocumentImages, NodeImagesAreProxiesCachedByName) {
    auto doc = MakeTestDocument();
    const std::string png = TestPng(4, 3);
    AppendMarkup(doc->getRootNode(), "<binary id='cover'>" + EncodeBase64(png) + "</binary>");
    ldomNode* first = AppendMarkup(doc->getRootNode(), "<image l:href='#cover'/>");
    ldomNode* second = AppendMarkup(doc->getRootNode(), "<image l:href='#cover'/>");

    KsImageSourceRef proxy = doc->getNodeImageSource(first);
    ASSERT_TRUE(proxy);
    ASSERT_TRUE(dynamic_cast<NodeImageProxy*>(proxy.Get()));
    EXPECT_EQ(proxy->GetWidth(), 4);
    EXPECT_EQ(proxy->GetHeight(), 3);
    EXPECT_EQ(proxy->GetSourceNode(), first);
    EXPECT_EQ(doc->getNodeImageSource(first), proxy);
    EXPECT_EQ(doc->imageCacheCount(), 1);

    KsImageSourceRef other = doc->getNodeImageSource(second);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->GetSourceNode(), second);
    EXPECT_EQ(other->GetWidth(), 4);
    EXPECT_EQ(doc->imageCacheCount(), 1);

    // Each decode reads the picture again and names the proxy as the source of the rows.
    for (int round = 0; round < 2; ++round) {
        SourceCheckingCallback callback(proxy.Get());
        ASSERT_TRUE(proxy->Decode(&callback));
        EXPECT_TRUE(callback.sourcesMatch);
        EXPECT_EQ(callback.starts, 1);
        EXPECT_EQ(callback.ends, 1);
        EXPECT_TRUE(callback.finished);
        ASSERT_EQ(callback.rows.size(), 3u);
        EXPECT_EQ(callback.rows[2][3], 0x00030200u);
    }
    EXPECT_TRUE(proxy->Decode(nullptr));
}

TEST(DocumentImages, ElementsWithoutAReadableImageGetNone) {
    auto doc = MakeTestDocument();
    ldomNode* bare = AppendMarkup(doc->getRootNode(), "<img/>");
    ldomNode* missing = AppendMarkup(doc->getRootNode(), "<img src='#nowhere'/>");
    // A PNG signature over garbage has no header to decode.
    AppendMarkup(doc->getRootNode(),
                 "<binary id='bad'>" +
                     EncodeBase64(std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, 'x')) +
                     "</binary>");
    ldomNode* broken = AppendMarkup(doc->getRootNode(), "<image l:href='#bad'/>");
    CapturedLog log;
    EXPECT_FALSE(doc->getNodeImageSource(bare));
    EXPECT_FALSE(doc->getNodeImageSource(missing));
    EXPECT_FALSE(doc->getNodeImageSource(broken));
    EXPECT_FALSE(doc->getNodeImageSource(nullptr));
    EXPECT_EQ(log.count("ObjectImageSource cannot be opened by name #nowhere"), 1);
    EXPECT_EQ(log.count("ObjectImageSource cannot be opened by name #bad"), 1);
    EXPECT_EQ(doc->imageCacheCount(), 0);
}

TEST(DocumentImages, MobiRecordIndexResolvesThroughTheContainer) {
    auto doc = MakeTestDocument();
    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"mobi_image_0", TestPng(1, 1));
    book->AddFile(u"mobi_image_2", TestPng(7, 5));
    doc->setContainer(book);
    ldomNode* img = AppendMarkup(doc->getRootNode(), "<img recindex='00003'/>");
    KsImageSourceRef source = doc->getNodeImageSource(img);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->GetWidth(), 7);
    EXPECT_EQ(source->GetHeight(), 5);
}

TEST(DocumentImages, ProxyFailsWhenItsImageIsGoneOrChangedSize) {
    auto doc = MakeTestDocument();
    KsRef<InMemoryContainer> book(new InMemoryContainer());
    book->AddFile(u"pic.png", TestPng(6, 6));
    doc->setContainer(book);
    ldomNode* img = AppendMarkup(doc->getRootNode(), "<img src='pic.png'/>");
    KsImageSourceRef proxy = doc->getNodeImageSource(img);
    ASSERT_TRUE(proxy);

    // Rows of another width would not fit what the layout made for this image.
    KsRef<InMemoryContainer> changed(new InMemoryContainer());
    changed->AddFile(u"pic.png", TestPng(9, 6));
    doc->setContainer(changed);
    CollectingCallback callback;
    EXPECT_FALSE(proxy->Decode(&callback));
    EXPECT_EQ(callback.starts, 0);

    doc->setContainer(book);
    EXPECT_TRUE(proxy->Decode(&callback));
    EXPECT_EQ(callback.image.width, 6);

    doc.reset();
    EXPECT_EQ(proxy->GetSourceNode(), nullptr);
    CollectingCallback after;
    EXPECT_FALSE(proxy->Decode(&after));
    EXPECT_EQ(after.starts, 0);
}

}  // namespace
