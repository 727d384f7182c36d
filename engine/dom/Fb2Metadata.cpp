#include "engine/dom/Fb2Metadata.h"

#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomPosition.h"

namespace {

constexpr int kMaxFb2Authors = 16;
const char* const kTitleInfo = "/FictionBook/description/title-info";

ldomNode* NodeAt(ldomDocument* document, const string16& path) {
    return ldomPosition::fromString(document, path).getNode();
}

string16 TextAt(ldomDocument* document, const string16& path) {
    ldomNode* node = NodeAt(document, path);
    return node ? node->text() : string16();
}

string16 TitleInfoPath(const char* rest) {
    string16 path(kTitleInfo);
    path.AppendLatin1(rest);
    return path;
}

}  // namespace

string16 Fb2Title(ldomDocument* document) {
    return TextAt(document, TitleInfoPath("/book-title")).Trim();
}

string16 Fb2Language(ldomDocument* document) {
    return TextAt(document, TitleInfoPath("/lang"));
}

string16 Fb2Series(ldomDocument* document, int* number) {
    if (number) *number = 0;
    ldomNode* sequence = NodeAt(document, TitleInfoPath("/sequence"));
    if (!sequence) return string16();
    string16 name = sequence->attrValue("name");
    if (number) {
        int64_t value = 0;
        string16 digits = sequence->attrValue("number");
        if (digits.Trim().ParseInt64(value) && value >= 0 && value <= INT32_MAX)
            *number = static_cast<int>(value);
    }
    return name.Trim();
}

string16 Fb2Authors(ldomDocument* document, const string16& delimiter, MiddleName middleName) {
    const string16 separator = delimiter.Empty() ? string16(", ") : delimiter;
    string16 authors;
    for (int i = 1; i <= kMaxFb2Authors; ++i) {
        string16 path = TitleInfoPath("/author[");
        path.AppendDecimal(i);
        path.Append(']');
        if (!NodeAt(document, path)) break;
        string16 author;
        for (const char* part : {"/first-name", "/middle-name", "/last-name"}) {
            string16 partPath = path;
            partPath.AppendLatin1(part);
            string16 name = TextAt(document, partPath).Trim();
            if (name.Empty()) continue;
            if (middleName == MiddleName::Initial && part[1] == 'm') {
                name = name.Left(1);
                name.Append('.');
            }
            if (!author.Empty()) author.Append(' ');
            author.Append(name);
        }
        if (author.Empty()) continue;
        if (!authors.Empty()) authors.Append(separator);
        authors.Append(author);
    }
    return authors;
}
