// quillet-cli find: searches the text of an HTML, XHTML or FB2 file and lists the matches as the
// path texts of their start positions, each with the text around it.
#include <cstdio>
#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/dom/BuiltinNameTables.h"
#include "engine/dom/ldomDocument.h"
#include "engine/dom/ldomXRange.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliMarkup.h"

namespace {

// Characters of context shown on each side of a match.
constexpr int kContextUnits = 24;

int RunFind(int argc, char** argv);
const CliCommand kFind{
    "find", "find FILE TEXT [--case] [--backward] [--max N] [--xml|--fb2|--html]",
    "list where a text occurs in a markup file, as position paths (ignoring case unless --case)",
    RunFind};
CliRegistration registration(kFind);

string8 Context(const ldomTextSpan& hit) {
    const string16 text = hit.getNode()->text();
    const int from = hit.getStart() > kContextUnits ? hit.getStart() - kContextUnits : 0;
    const int to = std::min(text.Length(), hit.getEnd() + kContextUnits);
    string16 shown = text.Substr(from, hit.getStart() - from);
    shown.Append('[');
    shown.Append(text.Substr(hit.getStart(), hit.getEnd() - hit.getStart()));
    shown.Append(']');
    shown.Append(text.Substr(hit.getEnd(), to - hit.getEnd()));
    unit16* units = shown.Modify();
    for (int32_t i = 0; i < shown.Length(); ++i)
        if (units[i] < 0x20) units[i] = ' ';
    return String16ToUtf8(shown);
}

int RunFind(int argc, char** argv) {
    CliArgs args(argc, argv, {"max"});
    MarkupFormat format = MarkupFormat::Detect;
    uint64_t maxCount = 0;
    if (!args.ok() || args.positional().size() != 2 ||
        !args.unknownOptions({"case", "backward", "max", "xml", "fb2", "html"}).empty() ||
        !CliMarkupFormat(args, format) || (args.has("max") && !args.getUnsigned("max", maxCount)))
        return CliUsage(kFind);
    const string16 pattern = Utf8ToString16(args.positional()[1].c_str());
    if (pattern.Empty()) return CliUsage(kFind);
    ldomDocument document;
    loadBuiltinNameTables(document);
    const int status = CliImportMarkup(args.positional()[0], document, format);
    if (status != 0) return status;
    std::vector<ldomTextSpan> hits;
    ldomXRange::ofNode(document.getRootNode())
        .findText(pattern, args.has("case") ? SearchCase::Sensitive : SearchCase::Insensitive,
                  args.has("backward") ? SearchDirection::Backward : SearchDirection::Forward, hits,
                  maxCount > 1000000 ? 1000000 : static_cast<int>(maxCount), 0,
                  HeightLimitFrom::FirstHit);
    for (const ldomTextSpan& hit : hits) {
        std::printf("%s\t%s\n", String16ToUtf8(hit.getStartPosition().toString()).CStr(),
                    Context(hit).CStr());
    }
    std::fprintf(stderr, "%zu match%s\n", hits.size(), hits.size() == 1 ? "" : "es");
    return 0;
}

}  // namespace
