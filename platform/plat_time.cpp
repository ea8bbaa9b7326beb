#include "platform/plat_time.h"

#include <cerrno>
#include <ctime>

namespace {

int64_t monotonic_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

const int64_t start_ns = monotonic_ns();

double system_seconds() { return static_cast<double>(monotonic_ns() - start_ns) * 1e-9; }
int64_t system_calendar() { return static_cast<int64_t>(std::time(nullptr)); }

PLAT_clock_fn clock_source = system_seconds;
PLAT_calendar_fn calendar_source = system_calendar;
PLAT_sleep_fn sleep_source = nullptr;

}  // namespace

double PLAT_seconds() { return clock_source(); }

// The counter ticks every 100 ns (10 MHz), a rate whose counts the frame
// profiler's 7-character columns hold.
int64_t PLAT_perf_counter() { return (monotonic_ns() - start_ns) / 100; }

int64_t PLAT_perf_frequency() { return 10000000; }

void PLAT_sleep_seconds(double seconds)
{
    if (!(seconds > 0.0)) return;   // also NaN
    if (seconds > 3600.0) seconds = 3600.0;
    if (sleep_source) return sleep_source(seconds);
    timespec wait{};
    wait.tv_sec = static_cast<time_t>(seconds);
    wait.tv_nsec = static_cast<long>((seconds - static_cast<double>(wait.tv_sec)) * 1e9);
    if (wait.tv_nsec >= 1000000000L) wait.tv_nsec = 999999999L;
    // A signal cuts the sleep short: carry on with what is left.
    while (clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, &wait) == EINTR) {
    }
}

int64_t PLAT_calendar_time() { return calendar_source(); }

void PLAT_set_clock_source(PLAT_clock_fn seconds_fn, PLAT_calendar_fn calendar_fn)
{
    clock_source = seconds_fn ? seconds_fn : system_seconds;
    calendar_source = calendar_fn ? calendar_fn : system_calendar;
}

void PLAT_set_sleep_source(PLAT_sleep_fn sleep_fn) { sleep_source = sleep_fn; }
