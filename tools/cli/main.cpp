// quillet-cli: the engine's command-line face. Each subcommand lives in its own file.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "tools/cli/Cli.h"

namespace {

int RunHelp(int, char**) {
    std::printf("usage: quillet-cli <command> [arguments]\n\ncommands:\n");
    for (const CliCommand& command : CliCommands())
        std::printf("  %-44s %s\n", command.usage, command.summary);
    return 0;
}

CliRegistration helpCommand({"help", "help", "list the commands", RunHelp});

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (argc < 2) {
        RunHelp(0, nullptr);
        return 1;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) name = "help";
    for (const CliCommand& command : CliCommands())
        if (std::strcmp(command.name, name) == 0) return command.run(argc - 2, argv + 2);
    std::fprintf(stderr, "quillet-cli: unknown command '%s' (see 'quillet-cli help')\n", name);
    return 1;
}
