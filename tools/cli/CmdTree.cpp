// quillet-cli tree: loads a book as the reader does and prints the document tree as indented
// XML, then the table of contents; or, with --stats, only the size of the tree. An option
// (--xml, --fb2, --html, --text, --pre, --pml) parses the file with that importer alone instead.
#include <cstdio>

#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomMarkupImport.h"
#include "engine/dom/ldomTreeDump.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliMarkup.h"
#include "tools/cli/CliTextImport.h"
#include "tools/cli/CliView.h"

namespace {

int RunTree(int argc, char** argv);
const CliCommand kTree{"tree", "tree BOOK [--xml|--fb2|--html|--text|--pre|--pml] [--stats]",
                       "print the document tree of a book, then its table of contents (--stats: "
                       "its node count and memory instead); an option parses the file with that "
                       "importer alone",
                       RunTree};
CliRegistration registration(kTree);

int PrintTree(ldomDocument& document, bool stats) {
    if (stats) {
        std::printf("nodes %u\ntree bytes %zu\n", document.itemCount(),
                    document.memoryUsage().total());
        return 0;
    }
    const string8 text = DumpTreeAndContents(document);
    std::fwrite(text.CStr(), 1, size_t(text.Length()), stdout);
    return 0;
}

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
    const bool stats = args.has("stats");
    if (choice != CliTextChoice::Text && !markupOption) {
        KsRef<KsDocView> view = MakeRef<KsDocView>();
        if (int status = CliLoadBook(path, *view)) return status;
        return PrintTree(*view->getDocument(), stats);
    }
    ldomDocument document;
    loadBuiltinNameTables(document);
    const int status = choice == CliTextChoice::Text ? CliImportText(path, document, layout)
                                                     : CliImportMarkup(path, document, format);
    if (status != 0) return status;
    return PrintTree(document, stats);
}

}  // namespace
