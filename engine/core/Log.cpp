#include "engine/core/Log.h"

#include <cstdio>
#include <cstdlib>

namespace {

KsLogSink* g_sink = nullptr;

void DefaultFatalErrorHandler(int code, const char* message) {
    std::fprintf(stderr, "FATAL ERROR #%d: %s\n", code, message);
    std::exit(code);
}

KsFatalErrorHandler g_fatalHandler = DefaultFatalErrorHandler;

void Forward(int level, const char* name, const char* format, va_list args) {
    if (g_sink && g_sink->Level() >= level) g_sink->Write(name, format, args);
}

}  // namespace

void KsStderrLogSink::Write(const char* levelName, const char* format, va_list args) {
    std::fprintf(stderr, "%s ", levelName);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
}

KsLogSink* SetLogSink(KsLogSink* sink) {
    KsLogSink* old = g_sink;
    g_sink = sink;
    return old;
}

KsLogSink* GetLogSink() {
    return g_sink;
}

bool IsLogLevelEnabled(int level) {
    return g_sink && g_sink->Level() >= level;
}

#define KS_DEFINE_LOG(func, level, name)       \
    void func(const char* format, ...) {       \
        if (!IsLogLevelEnabled(level)) return; \
        va_list args;                          \
        va_start(args, format);                \
        Forward(level, name, format, args);    \
        va_end(args);                          \
    }

KS_DEFINE_LOG(LogError, KS_LOG_ERROR, "ERROR")
KS_DEFINE_LOG(LogWarn, KS_LOG_WARN, "WARN")
KS_DEFINE_LOG(LogInfo, KS_LOG_INFO, "INFO")
KS_DEFINE_LOG(LogDebug, KS_LOG_DEBUG, "DEBUG")
KS_DEFINE_LOG(LogTrace, KS_LOG_TRACE, "TRACE")

KsFatalErrorHandler SetFatalErrorHandler(KsFatalErrorHandler handler) {
    KsFatalErrorHandler old = g_fatalHandler;
    g_fatalHandler = handler ? handler : DefaultFatalErrorHandler;
    return old;
}

void FatalError(int code, const char* message) {
    g_fatalHandler(code, message);
    // A handler must not return; if one does, the engine cannot go on.
    std::abort();
}
