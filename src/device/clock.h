#pragma once

#include <cstdint>

namespace velq {

// Every wait of the device link goes through a Clock, so the protocol can run against the
// steady clock of the machine or against virtual time in tests, where the exact sequence of
// waits is what the tests assert.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary, fixed origin.
    virtual int64_t NowMs() const = 0;
    virtual void SleepMs(int ms) = 0;
};

// The machine's monotonic clock; SleepMs blocks the calling thread.
class SteadyClock final : public Clock {
public:
    int64_t NowMs() const override;
    void SleepMs(int ms) override;
};

// Time that only moves when somebody sleeps on it. Records nothing by itself; tests that need
// the individual waits subclass it or read NowMs() between calls.
class VirtualClock : public Clock {
public:
    int64_t NowMs() const override { return now_ms_; }
    void SleepMs(int ms) override { now_ms_ += ms; }

private:
    int64_t now_ms_ = 0;
};

// The process-wide steady clock.
Clock& SystemClock();

}  // namespace velq
