#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/core/StringConvert.h"
#include "engine/streams/KsMemoryStream.h"

std::string CorpusDir() {
    const char* env = std::getenv("QUILLET_CORPUS");
    std::string dir = env && *env ? env : QUILLET_CORPUS_DIR;
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec)) return "";
    return dir;
}

std::string SourceDir() {
    return QUILLET_SOURCE_DIR;
}
std::string CliPath() {
    return QUILLET_CLI_PATH;
}
std::string MakeBookPath() {
    return QUILLET_MAKE_BOOK_PATH;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path_ = made ? made : "";
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int RunCommand(const std::string& commandLine, std::string* output) {
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) return -1;
    std::string text;
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof(block), pipe)) > 0)
        text.append(block, n);
    int status = pclose(pipe);
    if (output) *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

string16 U16(const char* utf8) {
    return Utf8ToString16(utf8);
}
std::string U8(const string16& text) {
    string8 bytes = String16ToUtf8(text);
    return std::string(bytes.CStr(), static_cast<size_t>(bytes.Length()));
}

std::string TestCaseName(const std::string& what) {
    std::string name = what;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

KsRef<KsStream> MemoryStreamOf(const std::string& bytes) {
    return CreateMemoryStream(bytes.data(), static_cast<ks_pos_t>(bytes.size()), MemoryCopy::Copy,
                              KS_MODE_READ);
}

std::vector<std::string> CorpusMarkupFiles() {
    std::vector<std::string> files;
    for (const char* folder : {"fb2", "html"}) {
        std::filesystem::path dir = std::filesystem::path(CorpusDir()) / folder;
        std::error_code ec;
        for (const auto& item : std::filesystem::directory_iterator(dir, ec)) {
            std::string ext = item.path().extension().string();
            if (ext == ".fb2" || ext == ".html" || ext == ".xhtml")
                files.push_back(std::string(folder) + "/" + item.path().filename().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}
