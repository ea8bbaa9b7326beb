// End to end: the program started on the generated data folder at KSBD;
// Return opens the ATC window, the overlay draws it, the arrow keys and
// Return choose "GET ATIS..." and then KSBD, and the ATIS is spoken; the COM
// radio tuned to KSBD's ATIS frequency hears it too.
#include <cstring>
#include <string>
#include <vector>

#include "core/app_mode.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/menu_table.h"
#include "core/screen.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "links/sound_seam.h"
#include "links/speech.h"
#include "shell/frame.h"
#include "shell/keys.h"
#include "shell/wndproc.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"
#include "world/atc.h"
#include "world/navdb.h"
#include "world/scenery_area.h"
#include "flightmodel/ground/surface_state.h"

namespace {

struct spoken_log : sound_recorder {
    std::vector<std::pair<std::string, int>> texts;
    void spoken(const char* text, int show) override { texts.emplace_back(text, show); }
};

void frame()
{
    test_clock_seconds += 0.04;
    MACIBM_do_frame();
}

void key(int code) { KEY_command_dispatch(DISPATCH_SPECIAL, code); }

}  // namespace

TEST(AtcEndToEnd, TheAtisOfTheStartAirportIsChosenFromTheWindowAndSpoken)
{
    // The scenery area the frames move is put back for the tests that follow.
    const scenery_area_record saved_area = scenery_area;
    const surface_state_record saved_surface = surface_state;
    const auto folder = copy_default_data_folder();
    start_program(*folder);
    clear_alerts();
    MACIBM_pump_messages();
    FRAME_reset();
    // The window is drawn with the overlay; the scene under it is not looked at.
    const unseen_frames unseen;
    app_mode = MODE_FLYING;
    mouse.mouse_x = mouse.mouse_y = 0.0f;
    mouse.mouse_down = 0;
    frame();
    ASSERT_EQ(std::string(airport_table.at(static_cast<size_t>(start_selection.airport_index)).id), "KSBD");
    const airport_record& ksbd = airport_table[static_cast<size_t>(start_selection.airport_index)];
    ASSERT_TRUE(ksbd.local && ksbd.tower_flag);

    spoken_log log;
    SOUND_install_recorder(&log);
    KEY_command_dispatch(DISPATCH_PLAIN, '\r');
    EXPECT_EQ(atc_state.atc_window_open, 1);
    frame();   // the overlay draws the main page
    key(KEY_CODE_DOWN);
    key(KEY_CODE_DOWN);
    KEY_command_dispatch(DISPATCH_PLAIN, '\r');
    EXPECT_EQ(atc_state.atc_page, 1);
    frame();

    // KSBD's place among the towered airports of the area.
    int place = 0;
    for (int k = 0; k < start_selection.airport_index; ++k)
        place += airport_table[static_cast<size_t>(k)].local && airport_table[static_cast<size_t>(k)].tower_flag;
    ASSERT_LT(place, 29);
    while (atc_state.atc_hover_row < place) key(KEY_CODE_DOWN);
    while (atc_state.atc_hover_row > place) key(KEY_CODE_UP);
    KEY_command_dispatch(DISPATCH_PLAIN, '\r');
    frame();
    SOUND_install_recorder(nullptr);

    EXPECT_EQ(atc_state.atc_window_open, 0);
    ASSERT_EQ(log.texts.size(), 1u);
    const std::string& atis = log.texts[0].first;
    EXPECT_EQ(log.texts[0].second, 1);
    EXPECT_EQ(atis.rfind(std::string(ksbd.name) + " INFORMATION ", 0), 0u) << atis;
    const std::string tail = "ADVISE ON INITIAL CONTACT YOU HAVE ";
    const size_t at = atis.rfind(tail);
    ASSERT_NE(at, std::string::npos) << atis;
    const std::string letter = atis.substr(at + tail.size());
    EXPECT_NE(atis.find(" INFORMATION " + letter.substr(0, letter.size() - 1) + ". "), std::string::npos) << atis;
    EXPECT_EQ(letter.back(), '.');
    // The screen shows what the voice said, the letters by their names: the
    // voice is given "ZOOLOO" for "ZULU" (and "LEEMA" for "LIMA").
    std::string shown = atis;
    for (const auto& [spoken, name] : {std::pair<std::string, std::string>{"ZOOLOO", "ZULU"}, {"LEEMA", "LIMA"}})
        for (size_t k = shown.find(spoken); k != std::string::npos; k = shown.find(spoken))
            shown.replace(k, spoken.size(), name);
    EXPECT_NE(atis.find(" HUNDRED ZOOLOO WEATHER. "), std::string::npos) << atis;
    EXPECT_EQ(std::string(speech_text), shown);

    // Tuned to KSBD's ATIS frequency, the COM radio hears the broadcast, shown as well, once the last text is through.
    log.texts.clear();
    SOUND_install_recorder(&log);
    sim_cockpit_radios.com1_freq_hz = ksbd.frequencies[0].frequency;
    speech_text_until = frame_clock;
    for (int k = 0; k < 30; ++k) frame();
    SOUND_install_recorder(nullptr);
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_EQ(log.texts[0].first.rfind(std::string(ksbd.name) + " INFORMATION ", 0), 0u) << log.texts[0].first;
    EXPECT_EQ(log.texts[0].second, 1);

    // The list's first row stays highlighted up to the menu bar's bottom line,
    // under the bar's first title: a click there picks the row, opens no menu.
    sim_cockpit_radios.com1_freq_hz = 0;
    KEY_command_dispatch(DISPATCH_PLAIN, '\r');
    atc_state.atc_page = 1;
    frame();
    log.texts.clear();
    SOUND_install_recorder(&log);
    click_over_frames(menu_table[0].left + 5.0f, MENU_BAR_BOTTOM, frame);
    SOUND_install_recorder(nullptr);
    EXPECT_EQ(screen.open_menu, -1);
    ASSERT_EQ(log.texts.size(), 1u);
    EXPECT_NE(log.texts[0].first.find(" INFORMATION "), std::string::npos) << log.texts[0].first;
    EXPECT_TRUE(recorded_alerts.empty());
    stop_program();
    scenery_area = saved_area;
    surface_state = saved_surface;
    const std::string errors = read_file_bytes(folder->path() / "ERROR.OUT");
    EXPECT_EQ(errors.find("ATC"), std::string::npos) << errors;
}
