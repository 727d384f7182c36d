#include "engine/css/CssImportLoader.h"

#include <algorithm>

#include "engine/core/Limits.h"
#include "engine/core/Log.h"
#include "engine/core/StringConvert.h"
#include "engine/css/CssImportSource.h"
#include "engine/css/CssLexer.h"
#include "engine/css/CssParseReport.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/streams/PathUtils.h"

namespace {

// Reads "@import" [url(] address [)] ... ";" after the "@import" word; the address may be
// quoted with single or double quotes or bare (ending at white space or ")").
string8 ReadImportAddress(CssLexer& lexer) {
    lexer.skipSpaces();
    bool url = lexer.matchWord("url(");
    lexer.skipSpaces();
    string8 address;
    char quote = lexer.peek();
    if (quote == '"' || quote == '\'') {
        lexer.advance();
        size_t start = lexer.offset();
        while (!lexer.atEnd() && lexer.peek() != quote && lexer.peek() != '\n')
            lexer.advance();
        address.Assign(lexer.textAt(start), static_cast<int32_t>(lexer.offset() - start));
        lexer.skipChar(quote);
    } else {
        size_t start = lexer.offset();
        while (!lexer.atEnd() && !CssLexer::isSpace(lexer.peek()) && lexer.peek() != ')' &&
               lexer.peek() != ';')
            lexer.advance();
        address.Assign(lexer.textAt(start), static_cast<int32_t>(lexer.offset() - start));
    }
    if (url) {
        lexer.skipSpaces();
        lexer.skipChar(')');
    }
    // A media list and the closing ";".
    lexer.skipStatement();
    return address;
}

}  // namespace

bool CssImportLoader::parseAt(const string16& codeBase, const string8& text, int depth) {
    CssLexer lexer(text.CStr(), size_t(text.Length()));
    bool stored = false;
    for (;;) {
        lexer.skipSpaces();
        size_t start = lexer.offset();
        // "@charset" may come first (it usually does), and must not hide the imports.
        if (lexer.matchWord("@charset")) {
            lexer.skipStatement();
            continue;
        }
        if (!lexer.matchWord("@import")) break;
        string8 address = ReadImportAddress(lexer);
        if (lexer.offset() == start) break;
        if (address.Empty()) continue;
        string16 path = CombinePaths(codeBase, Utf8ToString16(address));
        if (importFile(path, depth + 1)) stored = true;
    }
    size_t rest = lexer.offset();
    size_t reported = report_ ? report_->dropped.size() : 0;
    if (stylesheet_.parse(text.CStr() + rest, size_t(text.Length()) - rest, report_)) stored = true;
    if (report_) {
        // Lines of the rest count from the start of the whole text.
        int skippedLines = lexer.line() - 1;
        for (size_t i = reported; i < report_->dropped.size(); ++i)
            if (report_->dropped[i].line > 0) report_->dropped[i].line += skippedLines;
    }
    return stored;
}

bool CssImportLoader::importFile(const string16& path, int depth) {
    string8 path8 = String16ToUtf8(path);
    auto drop = [this, &path8](const char* why) {
        LogWarn("Stylesheet %s not imported: %s", path8.CStr(), why);
        if (report_) report_->add(0, "import", path8.CStr(), size_t(path8.Length()));
        return false;
    };
    if (depth > kMaxCssImportDepth) return drop("too deeply nested");
    if (std::find(inProgress_.begin(), inProgress_.end(), path) != inProgress_.end())
        return drop("it imports itself");
    if (filesRead_ >= kMaxCssImportFiles) return drop("too many imported files");
    string8 text;
    if (!source_ || !source_->readStyleSheet(path, text)) return drop("cannot be read");
    ++filesRead_;
    bytesRead_ += uint64_t(text.Length());
    if (bytesRead_ > kMaxCssImportBytes) return drop("imported stylesheets are too large");
    inProgress_.push_back(path);
    bool stored = parseAt(ExtractPath(path), text, depth);
    inProgress_.pop_back();
    return stored;
}

bool CssImportLoader::parseText(const string16& codeBase, const string8& text) {
    return parseAt(codeBase, text, 0);
}

bool CssImportLoader::parseFile(const string16& path) {
    if (path.Empty()) return false;
    return importFile(path, 0);
}
