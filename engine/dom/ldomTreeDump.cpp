#include "engine/dom/ldomTreeDump.h"

#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/dom/ldomDocument.h"

namespace {

enum class Quotes : bool { Plain, Escaped };

void AppendEscaped(string8& out, const string16& text, Quotes quotes) {
    const bool attribute = quotes == Quotes::Escaped;
    string16 escaped;
    escaped.Reserve(text.Length());
    for (int32_t i = 0; i < text.Length(); ++i) {
        const unit16 c = text[i];
        if (c == '&') {
            escaped.AppendLatin1("&amp;");
        } else if (c == '<') {
            escaped.AppendLatin1("&lt;");
        } else if (c == '>') {
            escaped.AppendLatin1("&gt;");
        } else if (c == '"' && attribute) {
            escaped.AppendLatin1("&quot;");
        } else if (c < 0x20 || c == 0x7F || c == 0xA0) {
            escaped.AppendLatin1("&#");
            escaped.AppendDecimal(c);
            escaped.Append(';');
        } else {
            escaped.Append(c);
        }
    }
    out.Append(String16ToUtf8(escaped));
}

void AppendIndent(string8& out, int level) {
    for (int i = 0; i < level; ++i)
        out.Append("  ");
}

string16 QualifiedName(ldomDocument& document, uint16_t nsId, const string16& name) {
    if (!nsId) return name;
    string16 result = document.getNsName(nsId);
    result.Append(':');
    result.Append(name);
    return result;
}

void AppendStartTag(string8& out, ldomDocument& document, const ldomNode* element, bool empty) {
    out.Append('<');
    out.Append(String16ToUtf8(QualifiedName(document, element->nsId(), element->name())));
    for (int i = 0; i < element->attrCount(); ++i) {
        const ldomAttribute attr = element->attrAt(i);
        out.Append(' ');
        out.Append(
            String16ToUtf8(QualifiedName(document, attr.nsId, document.getAttrName(attr.id))));
        out.Append("=\"");
        AppendEscaped(out, document.getAttrValue(attr.valueIndex), Quotes::Escaped);
        out.Append('"');
    }
    out.Append(empty ? "/>" : ">");
}

void AppendEndTag(string8& out, ldomDocument& document, const ldomNode* element) {
    out.Append("</");
    out.Append(String16ToUtf8(QualifiedName(document, element->nsId(), element->name())));
    out.Append('>');
}

}  // namespace

string8 DumpTree(const ldomNode* top) {
    string8 out;
    if (!top || top->isNull()) return out;
    ldomDocument& document = *top->getDocument();
    struct Frame {
        const ldomNode* node;
        int next;
    };
    // Without the root's own line when it is the document's root (it has no name).
    const bool skipTop = top->isElement() && top->name().Empty() && top->isRoot();
    std::vector<Frame> stack;
    auto visit = [&](const ldomNode* node, int level) {
        AppendIndent(out, level);
        if (node->isText()) {
            // Quoted, so that spaces at its ends show.
            out.Append('"');
            AppendEscaped(out, node->text(), Quotes::Escaped);
            out.Append("\"\n");
            return false;
        }
        const int count = node->childCount();
        const ldomNode* only = count == 1 ? node->childAt(0) : nullptr;
        AppendStartTag(out, document, node, count == 0);
        if (count == 0) {
            out.Append('\n');
            return false;
        }
        if (only && only->isText()) {
            AppendEscaped(out, only->text(), Quotes::Plain);
            AppendEndTag(out, document, node);
            out.Append('\n');
            return false;
        }
        out.Append('\n');
        return true;
    };
    if (skipTop || visit(top, 0)) stack.push_back({top, 0});
    while (!stack.empty()) {
        Frame& frame = stack.back();
        const int level = static_cast<int>(stack.size()) - (skipTop ? 1 : 0);
        if (frame.next >= frame.node->childCount()) {
            const ldomNode* done = frame.node;
            stack.pop_back();
            if (!(skipTop && stack.empty())) {
                AppendIndent(out, level - 1);
                AppendEndTag(out, document, done);
                out.Append('\n');
            }
            continue;
        }
        const ldomNode* child = frame.node->childAt(frame.next++);
        if (child && visit(child, level)) stack.push_back({child, 0});
    }
    return out;
}

string8 DumpDocumentTree(ldomDocument& document) {
    return DumpTree(document.getRootNode());
}

string8 DumpTableOfContents(ldomDocument& document) {
    string8 out;
    std::vector<KsContentsEntry*> entries;
    document.getToc()->flatten(entries);
    for (KsContentsEntry* entry : entries) {
        AppendIndent(out, entry->getLevel() - 1);
        AppendEscaped(out, entry->getName(), Quotes::Plain);
        out.Append(" -> ");
        const ldomPosition position = entry->getPosition();
        if (position.isNull()) {
            out.Append(String16ToUtf8(entry->getPath()));
            out.Append(" (no such place)");
        } else {
            out.Append(String16ToUtf8(position.toString()));
        }
        out.Append('\n');
    }
    return out;
}

string8 DumpTreeAndContents(ldomDocument& document) {
    string8 out = DumpDocumentTree(document);
    const string8 toc = DumpTableOfContents(document);
    out.Append(toc.Empty() ? "== table of contents: none\n" : "== table of contents\n");
    out.Append(toc);
    return out;
}
