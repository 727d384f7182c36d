#include "engine/streams/PathUtils.h"

namespace {

bool IsSeparator(unit16 u) {
    return u == '/' || u == '\\';
}

int32_t LastSeparator(const string16& path) {
    for (int32_t i = path.Length() - 1; i >= 0; --i)
        if (IsSeparator(path[i])) return i;
    return -1;
}

int32_t FirstSeparator(const string16& path) {
    for (int32_t i = 0; i < path.Length(); ++i)
        if (IsSeparator(path[i])) return i;
    return -1;
}

}  // namespace

bool SplitArchivePath(const string16& text, string16& archivePath, string16& itemPath) {
    int32_t at = text.Find("@/");
    if (at < 0) at = text.Find("@\\");
    if (at < 0) return false;
    string16 archive = text.Left(at);
    string16 item = text.Substr(at + 2);
    if (archive.Empty() || item.Empty()) return false;
    archivePath = archive;
    itemPath = item;
    return true;
}

string16 ExtractPath(const string16& path, EmptyPath ifNone) {
    int32_t cut = LastSeparator(path);
    if (cut < 0) return ifNone == EmptyPath::Dot ? string16(".\\") : string16();
    return path.Left(cut + 1);
}

string16 ExtractFilename(const string16& path) {
    int32_t cut = LastSeparator(path);
    return cut < 0 ? path : path.Substr(cut + 1);
}

string16 ExtractFilenameWithoutExtension(const string16& path) {
    string16 name = ExtractFilename(path);
    int32_t dot = name.FindLastUnit(u'.');
    if (dot > 0 && dot >= name.Length() - 7) name.Truncate(dot);
    return name;
}

string16 SplitLastPathElement(string16& path) {
    if (!path.Empty() && IsSeparator(path[path.Length() - 1])) path.Truncate(path.Length() - 1);
    int32_t cut = LastSeparator(path);
    if (cut < 0) {
        string16 whole = path;
        path.Clear();
        return whole;
    }
    string16 last = path.Substr(cut + 1);
    path.Truncate(cut);
    return last;
}

unit16 DetectPathDelimiter(const string16& path) {
    int32_t at = FirstSeparator(path);
    return at < 0 ? u'\\' : path[at];
}

void AppendPathDelimiter(string16& path) {
    if (path.Empty()) return;
    unit16 delimiter = DetectPathDelimiter(path);
    if (path[path.Length() - 1] != delimiter) path.Append(delimiter);
}

string16 CombinePaths(const string16& base, const string16& relative) {
    if (!relative.Empty() && IsSeparator(relative[0])) return relative;
    if (relative.Length() >= 3 && relative[1] == ':' && relative[2] == '\\') return relative;
    unit16 delimiter = u'/';
    int32_t at = FirstSeparator(base);
    if (at >= 0) {
        delimiter = base[at];
    } else if ((at = FirstSeparator(relative)) >= 0) {
        delimiter = relative[at];
    }
    string16 result = base;
    if (!result.Empty() && result[result.Length() - 1] != delimiter) result.Append(delimiter);
    result.Append(relative);
    unit16* units = result.Modify();
    for (int32_t i = 0; i < result.Length(); ++i)
        if (IsSeparator(units[i])) units[i] = delimiter;

    // Remove "element/../" (the element being neither empty nor ".."), from the start, until
    // none is left.
    string16 parent;
    parent.Append(delimiter).AppendLatin1("..").Append(delimiter);
    for (bool changed = true; changed;) {
        changed = false;
        for (int32_t from = 0;;) {
            int32_t hit = result.Find(parent, from);
            if (hit < 0) break;
            int32_t start = hit;
            while (start > 0 && result[start - 1] != delimiter)
                --start;
            int32_t elementLength = hit - start;
            bool isDotDot = elementLength == 2 && result[start] == '.' && result[start + 1] == '.';
            if (elementLength > 0 && !isDotDot) {
                result.Erase(start, elementLength + parent.Length());
                changed = true;
                break;
            }
            from = hit + 1;
        }
    }
    if (result.Length() > 2 && result[0] == '.' && result[1] == delimiter) result.Erase(0, 2);
    return result;
}
