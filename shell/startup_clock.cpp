#include "shell/startup_clock.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/folders.h"

namespace {

struct stage_record {
    const char* name;
    double began;   // seconds since the process started
};

struct startup_clock_record {
    double origin = -1.0;   // on the boot clock: the process's start, or the last reset
    std::vector<stage_record> stages;
    double first_frame = -1.0;
    std::string line;
};
startup_clock_record startup_clock;

double boot_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_BOOTTIME, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1.0e-9;
}

// When the process started, on the boot clock, to the kernel's tick (a
// hundredth of a second); the loader's and the static set-up's time is in it.
double process_start()
{
    static const double start = [] {
        std::ifstream stat("/proc/self/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // The fields after the command name, which sits in parentheses and may hold spaces.
        const size_t close = text.rfind(')');
        const double now = boot_seconds();
        if (close == std::string::npos) return now;
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        // Field 22 of the line is the start time; the state is field 3.
        for (int n = 3; n < 22 && fields >> field; ++n) {
        }
        unsigned long long ticks = 0;
        const long per_second = sysconf(_SC_CLK_TCK);
        if (!(fields >> ticks) || per_second <= 0) return now;
        const double start_time = double(ticks) / double(per_second);
        return start_time <= now ? start_time : now;
    }();
    return start;
}

double since_start()
{
    startup_clock_record& c = startup_clock;
    if (c.origin < 0.0) c.origin = process_start();
    return boot_seconds() - c.origin;
}

}  // namespace

void STARTUP_clock_stage(const char* name)
{
    startup_clock_record& c = startup_clock;
    if (c.first_frame >= 0.0) return;
    c.stages.push_back({name, since_start()});
}

void STARTUP_clock_flying_frame()
{
    startup_clock_record& c = startup_clock;
    if (c.first_frame >= 0.0) return;
    c.first_frame = since_start();
    char figure[64];
    std::snprintf(figure, sizeof figure, "%.2f s", c.first_frame);
    c.line = std::string("Start to the first flying frame: ") + figure + " (";
    double previous = 0.0;
    const char* previous_name = "process";
    for (const stage_record& s : c.stages) {
        std::snprintf(figure, sizeof figure, "%s %.3f, ", previous_name, s.began - previous);
        c.line += figure;
        previous = s.began, previous_name = s.name;
    }
    std::snprintf(figure, sizeof figure, "%s %.3f)", previous_name, c.first_frame - previous);
    c.line += figure;
    if (report_log.is_open()) {
        report_log << c.line << '\n';
        report_log.flush();
    }
}

double STARTUP_clock_first_frame_seconds() { return startup_clock.first_frame; }

const std::string& STARTUP_clock_line() { return startup_clock.line; }

void STARTUP_clock_begin()
{
    if (startup_clock.first_frame >= 0.0) STARTUP_clock_reset();
}

void STARTUP_clock_reset()
{
    startup_clock = {};
    startup_clock.origin = boot_seconds();
}
