// quillet-cli css: parses a stylesheet the way the engine does and prints back what it
// understood (selectors and decoded declarations, in source order) and, as comments, what it
// dropped.
#include <cstdio>

#include "engine/core/StringConvert.h"
#include "engine/css/CssImportLoader.h"
#include "engine/css/CssImportSource.h"
#include "engine/css/CssParseReport.h"
#include "engine/css/CssStyleSheet.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/streams/PathUtils.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunCss(int argc, char** argv);
const CliCommand kCss{"css", "css FILE.css [--no-imports]",
                      "parse a stylesheet and print the rules the engine understood", RunCss};
CliRegistration registration(kCss);

int RunCss(int argc, char** argv) {
    CliArgs args(argc, argv, {});
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions({"no-imports"}).empty())
        return CliUsage(kCss);
    const std::string& path = args.positional()[0];
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    string8 text;
    if (!ReadStyleSheetStream(stream, text)) {
        std::fprintf(stderr, "quillet-cli: cannot read %s as a stylesheet\n", path.c_str());
        return 2;
    }

    // Names resolve against a document with the built-in tables, as they do in a book.
    ldomDocument document;
    loadBuiltinNameTables(document);
    CssStyleSheet& sheet = document.getStyleSheet();
    CssParseReport report;
    CssFileImportSource files;
    CssImportLoader loader(sheet, args.has("no-imports") ? nullptr : &files, &report);
    string16 path16 = Utf8ToString16(path.c_str(), path.size());
    (void)loader.parseText(ExtractPath(path16), text);

    string8 listing = sheet.toText();
    std::fwrite(listing.CStr(), 1, size_t(listing.Length()), stdout);
    for (const CssParseReport::Item& item : report.dropped) {
        if (item.line > 0)
            std::printf("/* dropped %s (line %d): %s */\n", item.what.c_str(), item.line,
                        item.text.c_str());
        else
            std::printf("/* dropped %s: %s */\n", item.what.c_str(), item.text.c_str());
    }
    return 0;
}

}  // namespace
