#pragma once

#include <string>

#include "engine/core/Log.h"

// Collects every engine log line ("LEVEL:text\n") while it lives; restores the previous sink.
class LogCapture final : public KsLogSink {
public:
    explicit LogCapture(int level = KS_LOG_TRACE);
    ~LogCapture() override;
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    void Write(const char* levelName, const char* format, va_list args) override;
    const std::string& lines() const { return lines_; }
    bool contains(const std::string& text) const { return lines_.find(text) != std::string::npos; }
    void clear() { lines_.clear(); }

private:
    std::string lines_;
    KsLogSink* previous_;
};
