// quillet-cli events: runs the format checks of the markup parsers on a file and prints the event
// stream the chosen one reports, one event per line.
#include <cstdio>
#include <memory>

#include "engine/books/PdbBook.h"
#include "engine/text/KsEventDumpCallback.h"
#include "engine/text/KsHTMLParser.h"
#include "engine/text/KsTextBookmarkParser.h"
#include "engine/text/KsXMLParser.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliBooks.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunEvents(int argc, char** argv);
const CliCommand kEvents{
    "events", "events FILE [--xml|--fb2|--html|--bookmarks] [--flags N] [--merge-text]",
    "print the tag, attribute and text events a markup file (or a PDB book's text) tokenizes to",
    RunEvents};
CliRegistration registration(kEvents);

std::unique_ptr<KsTextFileBase> MakeParser(const std::string& kind, KsRef<KsStream> stream,
                                           KsXMLParserCallback* callback) {
    if (kind == "bookmarks") return std::make_unique<KsTextBookmarkParser>(stream, callback);
    if (kind == "xml") return std::make_unique<KsXMLParser>(stream, callback);
    if (kind == "fb2")
        return std::make_unique<KsXMLParser>(stream, callback, XmlRootCheck::Fb2Only);
    return std::make_unique<KsHTMLParser>(stream, callback);
}

int RunEvents(int argc, char** argv) {
    const std::vector<std::string> known = {"xml",       "fb2",   "html",
                                            "bookmarks", "flags", "merge-text"};
    CliArgs args(argc, argv, {"flags"});
    if (!args.ok() || args.positional().size() != 1 || !args.unknownOptions(known).empty())
        return CliUsage(kEvents);
    uint64_t flags = 0;
    if (args.has("flags") && !args.getUnsigned("flags", flags)) return CliUsage(kEvents);

    std::string error;
    KsRef<KsStream> stream = CliOpenStream(args.positional()[0], error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    // A PDB book: its decoded text is the markup.
    PdbContentKind content = PDB_CONTENT_NONE;
    if (IsPdbBook(stream, content)) {
        CliPdbBook book;
        if (int status = CliOpenPdbBook(args.positional()[0], book)) return status;
        stream = KsRef<KsStream>(book.file);
    }
    std::vector<std::string> kinds;
    for (const char* kind : {"xml", "fb2", "html", "bookmarks"})
        if (args.has(kind)) kinds.push_back(kind);
    const bool forced = !kinds.empty();
    if (!forced) kinds = {"bookmarks", "xml", "html"};

    KsEventDumpCallback events(static_cast<int>(flags));
    events.setMergeText(args.has("merge-text"));
    for (const std::string& kind : kinds) {
        std::unique_ptr<KsTextFileBase> parser = MakeParser(kind, stream, &events);
        if (!forced && !parser->CheckFormat()) continue;
        if (forced) (void)parser->CheckFormat();  // for its charset detection
        std::fprintf(stderr, "format: %s\n", kind.c_str());
        parser->Parse();
        std::fputs(events.text().c_str(), stdout);
        return 0;
    }
    std::fprintf(stderr, "quillet-cli: %s is not XML, HTML or an exported-bookmarks file\n",
                 args.positional()[0].c_str());
    return 1;
}

}  // namespace
