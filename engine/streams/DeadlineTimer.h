#pragma once

#include <cstdint>

// A time budget for long operations: started when made, expired once the time-out has passed.
// Times are milliseconds of a monotonic clock, so a change of the wall clock does not end or
// stretch a budget.
class DeadlineTimer {
public:
    static constexpr int64_t kNever = -1;

    explicit DeadlineTimer(int64_t timeoutMs = kNever);

    // True when the time-out is not kNever and at least that many milliseconds have passed.
    bool Expired() const;
    int64_t ElapsedMs() const;
    int64_t TimeoutMs() const { return timeoutMs_; }
    // Starts the budget again from now (a progress reporter spacing out its reports).
    void Restart();

    // Milliseconds of the monotonic clock.
    static int64_t NowMs();

private:
    int64_t startMs_;
    int64_t timeoutMs_;
};
