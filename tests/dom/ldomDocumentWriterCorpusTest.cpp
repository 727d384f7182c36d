// The writers on the real markup files of the corpus: the tree's body text keeps the words of
// the reference text, in order, and FB2 books give the title and authors of their description
// (as libxml2 reads them).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/dom/Fb2Metadata.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomMarkupImport.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomXRange.h"
#include "engine/streams/KsFileStream.h"
#include "tests/support/DomTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/WordDiff.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

MarkupFormat FormatOf(const std::string& file) {
    if (EndsWith(file, ".fb2")) return MarkupFormat::Fb2;
    if (EndsWith(file, ".xhtml")) return MarkupFormat::Xml;
    return MarkupFormat::Html;
}

std::unique_ptr<ldomDocument> Build(const std::string& file) {
    auto doc = MakeTestDocument();
    KsRef<KsStream> stream = OpenFileStream(U16((CorpusDir() + "/" + file).c_str()), KS_MODE_READ);
    EXPECT_TRUE(stream) << file;
    if (!stream) return nullptr;
    const MarkupFormat format = FormatOf(file);
    EXPECT_EQ(ImportMarkupDocument(stream, *doc, format), format) << file;
    return doc;
}

enum class TextNodes { Joined, Spaced };

void AppendTextNodes(const ldomNode* node, std::string& text) {
    for (int i = 0; i < node->childCount(); ++i) {
        const ldomNode* child = node->childAt(i);
        if (child->isText())
            text += U8(child->text()) + " ";
        else
            AppendTextNodes(child, text);
    }
}

// The text of every body element of the tree: its range text (blocks on lines of their own),
// or its text nodes with a space between any two, as the reference texts of XML files have it.
std::string BodyText(ldomDocument& doc, TextNodes textNodes) {
    std::string text;
    ldomPathPosition cursor(ldomPosition(doc.getRootNode(), -1));
    while (cursor.nextNode()) {
        ldomNode* node = cursor.getNode();
        if (!node->isElement() || !node->isNodeName("body")) continue;
        if (textNodes == TextNodes::Joined) {
            text += U8(ldomXRange::ofNode(node).getRangeText('\n')) + "\n";
            continue;
        }
        AppendTextNodes(node, text);
    }
    return text;
}

std::string Trimmed(std::string text) {
    const char* space = " \t\r\n";
    text.erase(0, text.find_first_not_of(space));
    text.erase(text.find_last_not_of(space) + 1);
    return text;
}

// Words joined by single spaces.
std::string Collapsed(const std::string& text) {
    std::string out;
    for (const std::string& word : SplitWords(text))
        out += (out.empty() ? "" : " ") + word;
    return out;
}

std::string XPathString(const std::string& file, const std::string& expression) {
    std::string out;
    RunCommand("xmllint --xpath " + ShellQuote("string(" + expression + ")") + " " +
                   ShellQuote(CorpusDir() + "/" + file) + " 2>/dev/null",
               &out);
    return out;
}

const std::string kTitleInfo =
    "/*[local-name()='FictionBook']/*[local-name()='description']/*[local-name()='title-info']";

// Authors as libxml2 reads the description: first, middle and last names, joined.
std::string ReferenceAuthors(const std::string& file) {
    std::string authors;
    for (int i = 1; i <= 16; ++i) {
        const std::string author =
            kTitleInfo + "/*[local-name()='author'][" + std::to_string(i) + "]";
        if (Trimmed(XPathString(file, "count(" + author + ")")) != "1") break;
        std::string name;
        for (const char* part : {"first-name", "middle-name", "last-name"}) {
            std::string text = Collapsed(
                XPathString(file, author + "/*[local-name()='" + std::string(part) + "']"));
            if (!text.empty()) name += (name.empty() ? "" : " ") + text;
        }
        if (!name.empty()) authors += (authors.empty() ? "" : ", ") + name;
    }
    return authors;
}

TEST(DocumentWriterCorpus, TreesKeepTheBodyWords) {
    QUILLET_REQUIRE_CORPUS();
    std::vector<std::string> files = CorpusMarkupFiles();
    ASSERT_FALSE(files.empty());
    std::printf("%-50s %8s %8s %8s\n", "file", "expected", "ours", "in order");
    for (const std::string& file : files) {
        auto doc = Build(file);
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->checkInvariants(), "") << file;
        const std::string expectedPath = CorpusDir() + "/expected/bodytext/" +
                                         file.substr(0, file.find('/')) + "__" +
                                         file.substr(file.find('/') + 1) + ".txt";
        std::vector<std::string> expected = SplitWords(ReadFileBytes(expectedPath));
        const TextNodes textNodes =
            FormatOf(file) == MarkupFormat::Html ? TextNodes::Joined : TextNodes::Spaced;
        std::vector<std::string> ours = SplitWords(BodyText(*doc, textNodes));
        const double ratio = InOrderWordRatio(expected, ours);
        std::printf("%-50s %8zu %8zu %7.2f%%\n", file.c_str(), expected.size(), ours.size(),
                    100.0 * ratio);
        EXPECT_FALSE(expected.empty()) << expectedPath;
        EXPECT_GE(ratio, 0.99) << file;
    }
}

TEST(DocumentWriterCorpus, Fb2TitleAndAuthorsOfTheDescription) {
    QUILLET_REQUIRE_CORPUS();
    if (RunCommand("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
    int checked = 0;
    for (const std::string& file : CorpusMarkupFiles()) {
        if (FormatOf(file) != MarkupFormat::Fb2) continue;
        auto doc = Build(file);
        ASSERT_TRUE(doc);
        const std::string title =
            Collapsed(XPathString(file, kTitleInfo + "/*[local-name()='book-title']"));
        const std::string authors = ReferenceAuthors(file);
        std::printf("%-40s %s / %s\n", file.c_str(), title.c_str(), authors.c_str());
        EXPECT_EQ(Collapsed(U8(Fb2Title(doc.get()))), title) << file;
        EXPECT_EQ(U8(Fb2Authors(doc.get(), string16(), MiddleName::Full)), authors) << file;
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

}  // namespace
