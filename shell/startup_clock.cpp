#include "shell/startup_clock.h"

#include <time.h>

#include <cstdio>
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

// When the program's own image began to run, on the boot clock: noted once
// the loader has mapped the libraries, before any library's or the program's
// static set-up runs. The kernel's start time of the process is no use here:
// it is when the process was forked, and a program started by exec from a
// script (run.sh builds the program first, then execs it) would count the
// script's minutes as its own.
double image_start = -1.0;

void note_image_start() { image_start = boot_seconds(); }

__attribute__((section(".preinit_array"), used)) void (*note_image_start_entry)() = note_image_start;

double process_start() { return image_start >= 0.0 ? image_start : boot_seconds(); }

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
