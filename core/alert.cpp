#include "core/alert.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "core/text_util.h"
#include "platform/plat_events.h"
#include "platform/plat_files.h"

namespace {

alert_handler_fn alert_handler = nullptr;
bool quitting = false;

constexpr const char* MESSAGE_BOX_TITLE = "Kestrum Message";

// The about box's three fixed lines.
constexpr const char* ABOUT_LINES[3] = {"Orvell", "A desktop flight simulator.",
                                        "Aircraft, world and interface made for this program."};

void log_lines(const char* const lines[4])
{
    if (!error_log.is_open()) return;
    for (int i = 0; i < 4; ++i) error_log << lines[i] << '\n';
    error_log.flush();
}

// The damaged files named so far: the path and a hash of the bytes it held.
std::set<std::pair<std::string, size_t>> damage_named;

}  // namespace

void ALERT_reset()
{
    damage_named.clear();
    quitting = false;
}
ORVELL_RESET(ALERT_reset, program);

bool ALERT_first_notice_of_damage(const char* path)
{
    const std::string on_disk = PLAT_resolve_path(path ? path : "");
    std::ifstream in(on_disk, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return damage_named.insert({on_disk, std::hash<std::string>{}(bytes)}).second;
}

void ALERT_set_quitting(bool on) { quitting = on; }
bool ALERT_quitting() { return quitting; }

void MACIBM_set_alert_handler(alert_handler_fn handler) { alert_handler = handler; }
alert_handler_fn MACIBM_get_alert_handler() { return alert_handler; }

void MACIBM_alert_message_box(const char* const lines[4])
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i) text += "\n\n";
        text += lines[i];
    }
    PLAT_message_box(MESSAGE_BOX_TITLE, text.c_str());
}

void MACIBM_nuke_alert(int return_mode, const char* line1, const char* line2, const char* line3,
                       const char* line4, int code)
{
    const char* passed[4] = {line1 ? line1 : "", line2 ? line2 : "", line3 ? line3 : "", line4 ? line4 : ""};

    // The program names its files with '\' separators and matches them on this
    // disk case-blind; a line naming one is shown and logged as the file's path
    // on this disk, where the program's own form would name no file here.
    char lines[4][TEXT_SIZE];
    for (int i = 0; i < 4; ++i) {
        if (FOLDERS_in_program_folder(passed[i]))
            UTIL_strcpy(FOLDERS_log_path(passed[i]).c_str(), lines[i]);
        else
            UTIL_strcpy(passed[i], lines[i]);
    }

    // What a peer's command, click or key would show in a box is refused
    // through the link instead, counted there under its first line (a box
    // stops the flight until someone at this machine dismisses it, and a
    // line each would let a peer fill the disk); the logged refusal carries
    // every line, so the file named and the reason are not lost. A fatal
    // alert still ends the program.
    if (code != ALERT_FATAL && core_hooks.CORE_refuse_notice_of_peer) {
        std::string whole;
        for (const char* l : lines) {
            if (!l[0]) continue;
            if (!whole.empty()) whole += ' ';
            whole += l;
        }
        while (!whole.empty() && whole.back() == '.') whole.pop_back();   // the log line ends it
        if (CORE_refuse_notice_of_peer(passed[0], whole.c_str())) return;
    }
    if (code == ALERT_ABOUT) {
        for (int i = 0; i < 3; ++i) UTIL_strcpy(ABOUT_LINES[i], lines[i]);
    }
    const char* shown[4] = {lines[0], lines[1], lines[2], lines[3]};
    if (code != ALERT_ABOUT) log_lines(shown);
    // An alert raised while the box is up is logged above and not shown: a
    // save failing at quit behind a notice still reaches ERROR.OUT. A fatal
    // one goes on to the box, which ends the program once the box on screen
    // is dismissed: dropped, it would return to a caller that does not expect
    // a fatal alert to return, and the program would run on past the fault.
    if (app_mode == MODE_ALERT && code != ALERT_FATAL) return;
    // Once the quit has begun the window is closing and nobody is left to
    // dismiss a box: a notice then (a save failing at quit) would hold the quit
    // up for good, so it is only logged above and the quit goes on.
    if (quitting && code == ALERT_NOTICE) return;

    if (alert_handler) {
        alert_handler(return_mode, passed, code);
        return;
    }
    if (core_hooks.CORE_show_alert_box) {
        CORE_show_alert_box(return_mode, passed, shown, code);
        return;
    }
    // Raised before the ways up are installed (the program's start-up installs
    // them first): the platform's message box, and a fatal alert ends the
    // process. Its status is a failure: status 0 would report a program ended
    // by a fatal fault as a success to whatever started it.
    MACIBM_alert_message_box(code == ALERT_ABOUT ? passed : shown);
    if (code == ALERT_FATAL) std::exit(EXIT_FAILURE);
}
