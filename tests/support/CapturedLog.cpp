#include "tests/support/CapturedLog.h"

#include <cstdio>

CapturedLog::CapturedLog(int level) : KsLogSink(level) {
    previous_ = SetLogSink(this);
}

CapturedLog::~CapturedLog() {
    SetLogSink(previous_);
}

void CapturedLog::Write(const char* levelName, const char* format, va_list args) {
    char buffer[2048];
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    lines.push_back(std::string(levelName) + " " + buffer);
}

int CapturedLog::count(const std::string& needle) const {
    int n = 0;
    for (const std::string& line : lines)
        if (line.find(needle) != std::string::npos) ++n;
    return n;
}
