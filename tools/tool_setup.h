// What the generators that run the program's own readers and writers share:
// an alert handler that prints each alert on the error output under the
// tool's name and counts it (a fatal one ends the tool), and the program
// folder taken from the command line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "shell/main.h"

inline const char* tool_name = "tool";
inline int tool_alerts_seen = 0;

inline void tool_alert_to_stderr(int, const char* const lines[4], int code)
{
    ++tool_alerts_seen;
    std::fprintf(stderr, "%s: alert %d:\n", tool_name, code);
    for (int i = 0; i < 4; ++i)
        if (lines[i] && lines[i][0]) std::fprintf(stderr, "  %s\n", lines[i]);
    if (code == ALERT_FATAL) std::exit(EXIT_FAILURE);
}

// From now on every alert is printed under `name` and counted, and every way
// up (the model prepared with the textures, an instrument type's picture)
// reaches its target as in the program.
inline void tool_report_alerts(const char* name)
{
    tool_name = name;
    MACIBM_set_alert_handler(tool_alert_to_stderr);
    APPLICATION_install_hooks();
}

// Makes `folder` (given a trailing '/') the program folder, as if the tool
// `name` lay there, and fills the constants. False, with a message, when the
// path leaves fewer than `room` characters for the names below it.
inline bool tool_program_folder(std::string& folder, const char* name, size_t room)
{
    if (folder.empty() || folder.back() != '/') folder += '/';
    if (folder.size() + room >= static_cast<size_t>(TEXT_SIZE)) {
        std::fprintf(stderr, "%s: program folder path too long\n", name);
        return false;
    }
    FOLDERS_init_from((folder + name).c_str());
    CONST_fill_constants();
    return true;
}
