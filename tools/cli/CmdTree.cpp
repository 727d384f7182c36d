// quillet-cli tree: parses an HTML, XHTML, FB2, plain-text or PML file (or imports a PDB book)
// through the writer its format needs and prints the document tree as indented XML, then the
// table of contents; or, with --stats, only the size of the tree.
#include <cstdio>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomMarkupImport.h"
#include "engine/dom/ldomTreeDump.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliMarkup.h"
#include "tools/cli/CliStreams.h"
#include "tools/cli/CliTextImport.h"

namespace {

int RunTree(int argc, char** argv);
const CliCommand kTree{"tree", "tree FILE [--xml|--fb2|--html|--text|--pre|--pml] [--stats]",
                       "print the document tree a markup file builds, then its table of contents "
                       "(--stats: its node count and memory instead)",
                       RunTree};
CliRegistration registration(kTree);

int RunTree(int argc, char** argv) {
    CliArgs args(argc, argv, {});
    MarkupFormat format = MarkupFormat::Detect;
    TextLayout layout = TextLayout::Detect;
    if (!args.ok() || args.positional().size() != 1 ||
        !args.unknownOptions({"xml", "fb2", "html", "text", "pre", "pml", "stats"}).empty() ||
        !CliMarkupFormat(args, format))
        return CliUsage(kTree);
    const std::string& path = args.positional()[0];
    const CliTextChoice choice = CliTextLayout(args, layout);
    const bool markupOption = args.has("xml") || args.has("fb2") || args.has("html");
    if (choice == CliTextChoice::Conflict || (choice == CliTextChoice::Text && markupOption))
        return CliUsage(kTree);
    ldomDocument document;
    loadBuiltinNameTables(document);
    const int status = choice == CliTextChoice::Text ? CliImportText(path, document, layout)
                                                     : CliImportMarkup(path, document, format);
    if (status != 0) return status;
    if (args.has("stats")) {
        std::printf("nodes %u\ntree bytes %zu\n", document.itemCount(),
                    document.memoryUsage().total());
        return 0;
    }
    const string8 text = DumpTreeAndContents(document);
    std::fwrite(text.CStr(), 1, size_t(text.Length()), stdout);
    return 0;
}

}  // namespace
