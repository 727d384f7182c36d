#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The command line of one subcommand: positional words and "--name value" / "--flag" options.
class CliArgs {
public:
    // `valueOptions` lists the options that take a value; every other "--x" is a flag.
    CliArgs(int argc, char** argv, const std::vector<std::string>& valueOptions);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& option) const { return options_.count(option) != 0; }
    std::string get(const std::string& option, const std::string& fallback = "") const;
    // Parses an unsigned decimal option; false (and an error) when it is not a number.
    bool getUnsigned(const std::string& option, uint64_t& value);
    // Options given that are not in `known` (flags or value options).
    std::vector<std::string> unknownOptions(const std::vector<std::string>& known) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
    std::string error_;
};

// A subcommand of quillet-cli. Each lives in its own file and registers itself with a static
// CliRegistration; `run` returns the exit status (1 for bad arguments, after printing the usage).
struct CliCommand {
    const char* name;
    const char* usage;    // e.g. "cat FILE [--offset N] [--size N]"
    const char* summary;  // one line for "help"
    int (*run)(int argc, char** argv);
};

struct CliRegistration {
    explicit CliRegistration(const CliCommand& command);
};

const std::vector<CliCommand>& CliCommands();
// Prints "usage: quillet-cli <usage>" to stderr and returns 1.
int CliUsage(const CliCommand& command);
int CliUsage(const char* commandName);
