#include "device/clock.h"

#include <chrono>
#include <thread>

namespace velq {

int64_t SteadyClock::NowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::SleepMs(int ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace velq
