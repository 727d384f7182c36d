#include "engine/streams/DeadlineTimer.h"

#include <chrono>

DeadlineTimer::DeadlineTimer(int64_t timeoutMs) : startMs_(NowMs()), timeoutMs_(timeoutMs) {}

int64_t DeadlineTimer::NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool DeadlineTimer::Expired() const {
    return timeoutMs_ != kNever && ElapsedMs() >= timeoutMs_;
}

int64_t DeadlineTimer::ElapsedMs() const {
    return NowMs() - startMs_;
}

void DeadlineTimer::Restart() {
    startMs_ = NowMs();
}
