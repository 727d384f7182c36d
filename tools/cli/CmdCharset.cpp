// quillet-cli charset: the charset and language the text import detects, and the decoded text.
#include <cstdio>

#include "engine/core/StringConvert.h"
#include "engine/text/KsTextParser.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliStreams.h"

namespace {

int RunCharset(int argc, char** argv);
const CliCommand kCharset{
    "charset", "charset FILE [--charset NAME] [--text]",
    "detect the charset and language of a text file; --text prints it decoded as UTF-8",
    RunCharset};
CliRegistration registration(kCharset);

int RunCharset(int argc, char** argv) {
    CliArgs args(argc, argv, {"charset"});
    if (!args.ok() || args.positional().size() != 1 ||
        !args.unknownOptions({"charset", "text"}).empty())
        return CliUsage(kCharset);
    std::string error;
    KsRef<KsStream> stream = CliOpenStream(args.positional()[0], error);
    if (!stream) {
        std::fprintf(stderr, "quillet-cli: %s\n", error.c_str());
        return 2;
    }
    KsTextParser parser(stream, nullptr);
    if (args.has("charset")) {
        parser.SetCharset(Utf8ToString16(args.get("charset").c_str()).CStr());
    } else if (!parser.AutodetectEncoding()) {
        std::printf("charset: (too short to detect; read as UTF-8)\n");
    }
    if (!args.has("text")) {
        std::printf("charset: %s\nlanguage: %s\n", String16ToUtf8(parser.GetEncodingName()).CStr(),
                    String16ToUtf8(parser.GetLangName()).CStr());
        return 0;
    }
    parser.Reset();
    string16 chunk;
    while (!parser.Eof()) {
        chunk.Append(parser.ReadChar());
        if (chunk.Length() >= 4096 || parser.Eof()) {
            std::fputs(String16ToUtf8(chunk).CStr(), stdout);
            chunk.Clear();
        }
    }
    return 0;
}

}  // namespace
