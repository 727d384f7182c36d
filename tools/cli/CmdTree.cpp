// quillet-cli tree: parses an HTML, XHTML or FB2 file through the writer its format needs and
// prints the document tree as indented XML, then the table of contents.
#include <cstdio>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomMarkupImport.h"
#include "engine/dom/ldomTreeDump.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliMarkup.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunTree(int argc, char** argv);
const CliCommand kTree{"tree", "tree FILE [--xml|--fb2|--html]",
                       "print the document tree a markup file builds, then its table of contents",
                       RunTree};
CliRegistration registration(kTree);

int RunTree(int argc, char** argv) {
    CliArgs args(argc, argv, {});
    MarkupFormat format = MarkupFormat::Detect;
    if (!args.ok() || args.positional().size() != 1 ||
        !args.unknownOptions({"xml", "fb2", "html"}).empty() || !CliMarkupFormat(args, format))
        return CliUsage(kTree);
    ldomDocument document;
    loadBuiltinNameTables(document);
    const int status = CliImportMarkup(args.positional()[0], document, format);
    if (status != 0) return status;
    const string8 text = DumpTreeAndContents(document);
    std::fwrite(text.CStr(), 1, size_t(text.Length()), stdout);
    return 0;
}

}  // namespace
