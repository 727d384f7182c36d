#include "tests/support/LogCapture.h"

#include <cstdio>

LogCapture::LogCapture(int level) : KsLogSink(level), previous_(SetLogSink(this)) {}

LogCapture::~LogCapture() {
    SetLogSink(previous_);
}

void LogCapture::Write(const char* levelName, const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof(text), format, args);
    lines_ += std::string(levelName) + ":" + text + "\n";
}
