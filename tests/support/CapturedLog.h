#pragma once

#include <string>
#include <vector>

#include "engine/core/Log.h"

// Collects the engine's log lines ("LEVEL message") while it lives.
class CapturedLog final : public KsLogSink {
public:
    explicit CapturedLog(int level = KS_LOG_TRACE);
    ~CapturedLog() override;
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;
    void Write(const char* levelName, const char* format, va_list args) override;
    // Lines that contain the text.
    int count(const std::string& needle) const;

    std::vector<std::string> lines;

private:
    KsLogSink* previous_;
};
