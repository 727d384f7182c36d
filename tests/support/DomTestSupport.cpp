#include "tests/support/DomTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomPathPosition.h"
#include "engine/dom/ldomTreeDump.h"
#include "engine/streams/KsMemoryStream.h"

std::unique_ptr<ldomDocument> MakeTestDocument() {
    auto document = std::make_unique<ldomDocument>();
    loadBuiltinNameTables(*document);
    return document;
}

namespace {

bool IsNameChar(char c) {
    return c && c != ' ' && c != '>' && c != '/' && c != '=' && c != '\t' && c != '\n';
}

void SplitPrefix(ldomDocument& doc, const std::string& qualified, uint16_t& ns,
                 std::string& local) {
    size_t colon = qualified.find(':');
    ns = 0;
    local = qualified;
    if (colon != std::string::npos && colon > 0) {
        ns = doc.getNsNameIndex(qualified.substr(0, colon).c_str());
        local = qualified.substr(colon + 1);
    }
}

}  // namespace

ldomNode* AppendMarkup(ldomNode* parent, const std::string& markup, PersistNodes persist) {
    ldomDocument* doc = parent->getDocument();
    std::vector<ldomNode*> open{parent};
    ldomNode* first = nullptr;
    size_t i = 0;
    auto fail = [&markup](const char* why) {
        ADD_FAILURE() << "bad test markup (" << why << "): " << markup;
        return nullptr;
    };
    while (i < markup.size()) {
        if (markup[i] != '<') {
            size_t end = markup.find('<', i);
            if (end == std::string::npos) end = markup.size();
            ldomNode* text = open.back()->insertText(string8(markup.substr(i, end - i).c_str()));
            if (!first) first = text;
            i = end;
            continue;
        }
        if (markup.compare(i, 2, "</") == 0) {
            size_t end = markup.find('>', i);
            if (end == std::string::npos || open.size() < 2) return fail("close");
            if (persist == PersistNodes::Yes) open.back()->persist();
            open.pop_back();
            i = end + 1;
            continue;
        }
        ++i;
        size_t start = i;
        while (i < markup.size() && IsNameChar(markup[i]))
            ++i;
        uint16_t ns;
        std::string local;
        SplitPrefix(*doc, markup.substr(start, i - start), ns, local);
        ldomNode* element =
            open.back()->insertElement(-1, ns, doc->getElementNameIndex(local.c_str()));
        if (!first) first = element;
        for (;;) {
            while (i < markup.size() && (markup[i] == ' ' || markup[i] == '\n'))
                ++i;
            if (i >= markup.size()) return fail("unterminated tag");
            if (markup[i] == '>') {
                ++i;
                open.push_back(element);
                break;
            }
            if (markup.compare(i, 2, "/>") == 0) {
                i += 2;
                if (persist == PersistNodes::Yes) element->persist();
                break;
            }
            size_t nameStart = i;
            while (i < markup.size() && IsNameChar(markup[i]))
                ++i;
            std::string attrName = markup.substr(nameStart, i - nameStart);
            if (attrName.empty() || i >= markup.size() || markup[i] != '=')
                return fail("attribute");
            ++i;
            char quote = markup[i];
            size_t valueEnd = markup.find(quote, i + 1);
            if ((quote != '"' && quote != '\'') || valueEnd == std::string::npos)
                return fail("attribute value");
            std::string value = markup.substr(i + 1, valueEnd - i - 1);
            i = valueEnd + 1;
            uint16_t attrNs;
            std::string attrLocal;
            SplitPrefix(*doc, attrName, attrNs, attrLocal);
            element->setAttributeValue(attrNs, doc->getAttrNameIndex(attrLocal.c_str()),
                                       Utf8ToString16(value.c_str()));
        }
    }
    if (open.size() != 1) return fail("unclosed element");
    return first;
}

std::string DumpNode(const ldomNode* node) {
    if (!node) return "(null)";
    if (node->isText()) {
        string8 text = node->text8();
        return std::string(text.CStr(), size_t(text.Length()));
    }
    ldomDocument* doc = node->getDocument();
    std::string out = "<";
    auto qualified = [doc](uint16_t ns, const string16& name) {
        std::string result;
        if (ns) result = String16ToUtf8(doc->getNsName(ns)).CStr() + std::string(":");
        return result + String16ToUtf8(name).CStr();
    };
    std::string name = qualified(node->nsId(), node->name());
    out += name;
    for (int i = 0; i < node->attrCount(); ++i) {
        ldomAttribute attr = node->attrAt(i);
        out += " " + qualified(attr.nsId, doc->getAttrName(attr.id)) + "=\"" +
               String16ToUtf8(doc->getAttrValue(attr.valueIndex)).CStr() + "\"";
    }
    if (node->childCount() == 0) return out + "/>";
    return out + ">" + DumpChildren(node) + "</" + name + ">";
}

std::string DumpChildren(const ldomNode* node) {
    std::string out;
    for (int i = 0; i < node->childCount(); ++i)
        out += DumpNode(node->childAt(i));
    return out;
}

std::unique_ptr<ldomDocument> ParseMarkupText(const std::string& text, MarkupFormat format) {
    auto document = MakeTestDocument();
    KsRef<KsStream> stream =
        CreateMemoryStream(text.data(), text.size(), MemoryCopy::Copy, KS_MODE_READ);
    const MarkupFormat used = ImportMarkupDocument(stream, *document, format);
    EXPECT_NE(used, MarkupFormat::None) << "not accepted as markup: " << text.substr(0, 200);
    return document;
}

std::string TreeText(const ldomNode* node) {
    string8 text = DumpTree(node);
    return std::string(text.CStr(), size_t(text.Length()));
}

std::string ChildrenTreeText(ldomDocument& document, const char* elementName) {
    ldomPathPosition cursor(ldomPosition(document.getRootNode(), -1));
    while (cursor.nextNode()) {
        ldomNode* node = cursor.getNode();
        if (!node->isNodeName(elementName)) continue;
        std::string out;
        for (int i = 0; i < node->childCount(); ++i)
            out += TreeText(node->childAt(i));
        return out;
    }
    ADD_FAILURE() << "no element " << elementName;
    return std::string();
}
