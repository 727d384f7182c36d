#pragma once

#include <string>
#include <vector>

#include "engine/core/KsString.h"

// The corpus folder of real books, or "" when it is not there (corpus checks then skip).
// QUILLET_CORPUS in the environment overrides the configured folder.
std::string CorpusDir();
// The FB2, HTML and XHTML files of the corpus ("fb2/...", "html/..."), sorted.
std::vector<std::string> CorpusMarkupFiles();
// Skips the current test when the corpus is missing; use as the first line of a corpus test.
#define QUILLET_REQUIRE_CORPUS()                                     \
    do {                                                             \
        if (CorpusDir().empty()) GTEST_SKIP() << "no corpus folder"; \
    } while (0)

std::string SourceDir();
std::string CliPath();
// The book maker of tools/make-book.
std::string MakeBookPath();

// A fresh empty folder under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Runs a command line through the shell and returns its exit status; stdout goes to `output`.
int RunCommand(const std::string& commandLine, std::string* output = nullptr);
std::string ShellQuote(const std::string& text);

string16 U16(const char* utf8);
std::string U8(const string16& text);

// A name for a parameterised test case made from its description: letters and digits kept,
// everything else '_'. Use as INSTANTIATE_TEST_SUITE_P(..., [](const auto& p) {
// return TestCaseName(p.param.what); }).
std::string TestCaseName(const std::string& what);

class KsStream;
template <typename T>
class KsRef;
// A read-only memory stream holding a copy of the bytes.
KsRef<KsStream> MemoryStreamOf(const std::string& bytes);
