#include "shell/alert.h"

#include <cstdio>
#include <cstdlib>

#include "shell/folders.h"

namespace {
alert_handler_fn alert_handler = nullptr;
}

void MACIBM_set_alert_handler(alert_handler_fn handler) { alert_handler = handler; }

void MACIBM_nuke_alert(int return_mode, const char* line1, const char* line2, const char* line3,
                       const char* line4, int code)
{
    const char* lines[4] = {line1 ? line1 : "", line2 ? line2 : "", line3 ? line3 : "",
                            line4 ? line4 : ""};
    if (error_log.is_open()) {
        for (const char* l : lines) error_log << l << '\n';
        error_log.flush();
    }
    if (alert_handler) {
        alert_handler(return_mode, lines, code);
        return;
    }
    for (const char* l : lines) std::fprintf(stderr, "%s\n", l);
    if (code == 17) {
        FOLDERS_close_logs();
        std::exit(EXIT_FAILURE);
    }
}
