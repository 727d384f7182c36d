#include "tools/cli/CliMarkup.h"

#include <cstdio>
#include <utility>

#include "tools/cli/CliStreams.h"

bool CliMarkupFormat(const CliArgs& args, MarkupFormat& format) {
    int given = 0;
    format = MarkupFormat::Detect;
    for (auto [option, value] :
         {std::pair{"xml", MarkupFormat::Xml}, std::pair{"fb2", MarkupFormat::Fb2},
          std::pair{"html", MarkupFormat::Html}}) {
        if (!args.has(option)) continue;
        format = value;
        ++given;
    }
    return given <= 1;
}

int CliImportMarkup(const std::string& path, ldomDocument& document, MarkupFormat format) {
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(path, error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    if (ImportMarkupDocument(stream, document, format) == MarkupFormat::None) {
        std::fprintf(stderr, "quillet-cli: %s is not %s\n", path.c_str(),
                     format == MarkupFormat::Fb2    ? "an FB2 file"
                     : format == MarkupFormat::Xml  ? "an XML file"
                     : format == MarkupFormat::Html ? "an HTML file"
                                                    : "an HTML, XHTML or FB2 file");
        return 1;
    }
    return 0;
}
