#pragma once

#include "engine/core/KsString.h"

// Splits "archive@/item" (or "archive@\item") at its first marker; true only when both parts are
// non-empty.
bool SplitArchivePath(const string16& text, string16& archivePath, string16& itemPath);

enum class EmptyPath { Empty, Dot };
// The text up to and including the last '/' or '\'; without one, "" or (EmptyPath::Dot) ".\".
string16 ExtractPath(const string16& path, EmptyPath ifNone = EmptyPath::Empty);
// The text after the last '/' or '\' (the whole text when there is none).
string16 ExtractFilename(const string16& path);
// The file name without an extension of up to 6 units; a leading dot is not an extension.
string16 ExtractFilenameWithoutExtension(const string16& path);
// Drops one trailing separator, returns the last element and leaves the rest (without its
// separator) in `path`.
string16 SplitLastPathElement(string16& path);
// The first '/' or '\' of the path, else '\'.
unit16 DetectPathDelimiter(const string16& path);
void AppendPathDelimiter(string16& path);
// Joins a relative path to a base folder and removes "element/../" pairs. An absolute relative
// path ("/x", "\x", "c:\x") is returned as it is.
string16 CombinePaths(const string16& base, const string16& relative);
