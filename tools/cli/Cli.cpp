#include "tools/cli/Cli.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
std::vector<CliCommand>& Registry() {
    static std::vector<CliCommand> commands;
    return commands;
}
}  // namespace

CliArgs::CliArgs(int argc, char** argv, const std::vector<std::string>& valueOptions) {
    for (int i = 0; i < argc; ++i) {
        std::string word = argv[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::string value;
            size_t eq = name.find('=');
            if (eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
            } else if (std::find(valueOptions.begin(), valueOptions.end(), name) !=
                       valueOptions.end()) {
                if (i + 1 >= argc) {
                    error_ = "option --" + name + " needs a value";
                    return;
                }
                value = argv[++i];
            }
            options_[name] = value;
        } else {
            positional_.push_back(word);
        }
    }
}

std::string CliArgs::get(const std::string& option, const std::string& fallback) const {
    auto it = options_.find(option);
    return it == options_.end() ? fallback : it->second;
}

bool CliArgs::getUnsigned(const std::string& option, uint64_t& value) {
    std::string text = get(option);
    if (text.empty() || text.size() > 19 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        error_ = "option --" + option + " needs a number";
        return false;
    }
    value = std::stoull(text);
    return true;
}

std::vector<std::string> CliArgs::unknownOptions(const std::vector<std::string>& known) const {
    std::vector<std::string> unknown;
    for (const auto& [name, value] : options_)
        if (std::find(known.begin(), known.end(), name) == known.end()) unknown.push_back(name);
    return unknown;
}

CliRegistration::CliRegistration(const CliCommand& command) {
    Registry().push_back(command);
}

const std::vector<CliCommand>& CliCommands() {
    std::vector<CliCommand>& commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const CliCommand& a, const CliCommand& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
    return commands;
}

int CliUsage(const CliCommand& command) {
    std::fprintf(stderr, "usage: quillet-cli %s\n", command.usage);
    return 1;
}

int CliUsage(const char* commandName) {
    for (const CliCommand& command : CliCommands())
        if (std::strcmp(command.name, commandName) == 0) return CliUsage(command);
    std::fprintf(stderr, "usage: quillet-cli %s ...\n", commandName);
    return 1;
}
