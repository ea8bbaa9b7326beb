#include "core/reset_registry.h"
#include "core/time_probe.h"

#include <cstdio>
#include <cstring>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/text_util.h"
#include "platform/plat_time.h"

int32_t log_frame_timing = 0;
int64_t time_probe_previous = 0;

void TIME_probe_reset()
{
    log_frame_timing = 0;
    time_probe_previous = 0;
}
ORVELL_RESET(TIME_probe_reset, program);

void UTIL_time_probe(const char* label, int end_line)
{
    if (app_mode != MODE_FLYING) return;
    char field[TEXT_SIZE + 8];
    if (interval_ticks[INTERVAL_ONE_SECOND]) {
        std::snprintf(field, sizeof field, "%7.*s ", static_cast<int>(label ? strnlen(label, TEXT_MAX_LEN) : 0), label ? label : "");
    } else {
        const int64_t now = PLAT_perf_counter();
        const auto hundreds = static_cast<long long>(static_cast<double>(now - time_probe_previous) * 0.01);
        std::snprintf(field, sizeof field, "%7lld ", hundreds);
        time_probe_previous = now;
    }
    error_log << field;
    if (end_line) error_log << '\n';
}
