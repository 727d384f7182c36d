#pragma once

#include <cstdarg>

// Levels of the engine log; a call at level n reaches the sink only when the sink's level is >= n.
enum KsLogLevel : int {
    KS_LOG_ERROR = 1,
    KS_LOG_WARN = 2,
    KS_LOG_INFO = 3,
    KS_LOG_DEBUG = 4,
    KS_LOG_TRACE = 5,
};

// The one process-wide receiver of log lines. The engine installs none: it is silent unless the
// application (or a test) installs a sink.
class KsLogSink {
public:
    explicit KsLogSink(int level) : level_(level) {}
    virtual ~KsLogSink() = default;
    int Level() const { return level_; }
    void SetLevel(int level) { level_ = level; }
    // levelName is "ERROR", "WARN", "INFO", "DEBUG" or "TRACE".
    virtual void Write(const char* levelName, const char* format, va_list args) = 0;

private:
    int level_;
};

// A sink that prints "LEVEL message" lines to standard error.
class KsStderrLogSink final : public KsLogSink {
public:
    using KsLogSink::KsLogSink;
    void Write(const char* levelName, const char* format, va_list args) override;
};

// Installs a sink (not owned; null removes it) and returns the previous one.
KsLogSink* SetLogSink(KsLogSink* sink);
KsLogSink* GetLogSink();
bool IsLogLevelEnabled(int level);

void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogWarn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogDebug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Fatal errors end the process through a replaceable handler. They are for broken internal
// invariants and failed allocations only; bad input never reaches them.
using KsFatalErrorHandler = void (*)(int code, const char* message);
KsFatalErrorHandler SetFatalErrorHandler(KsFatalErrorHandler handler);
[[noreturn]] void FatalError(int code, const char* message);
