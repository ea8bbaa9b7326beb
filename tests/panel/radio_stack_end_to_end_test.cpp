// End to end: the program started on the generated default data folder with
// the trainer. Clicks on its panel tune NAV 1 to a VOR of the default world
// and select it on the audio panel: the frequency window shows it and, once
// the receiver has the station, its identifier is keyed in Morse (dot and
// dash sounds). The GPS, spelled by clicks, finds KSBD and names it.
#include <cstring>
#include <string>
#include <vector>

#include "core/frame_clock.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/views.h"
#include "flightmodel/systems/radios.h"
#include "graphics/ogl_state.h"
#include "links/sound_seam.h"
#include "platform/plat_events.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "shell/wndproc.h"
#include "tests/panel/stack_fixture.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

struct morse_ear : sound_recorder {
    int dots = 0, dashes = 0;
    void played(int slot, int, float, float) override { dots += slot == 52, dashes += slot == 53; }
};

class RadioStackEndToEnd : public started_program {
protected:
    static void frame() { test_clock_seconds += 0.04, MACIBM_do_frame(); }
    // A brisk click at a panel position: its press and release come within one frame.
    static void press(float x, float y) { post_click(x, y), frame(), frame(); }
    static int slot_of(int type)
    {
        for (int s = 0; s < ACF_INS_SLOTS; ++s)
            if (pln[0].acf_ins_type[s] == type) return s;
        return -1;
    }
    // The texts of `font` the panel pass draws in a slot.
    static std::map<float, std::string> slot_texts(int slot, int font)
    {
        const float y0 = pln[0].acf_ins_y[slot];
        return drawn_texts(font, y0, [] {
            screen.screen_area_left = screen.screen_area_bottom = 0.0f;
            OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f);
            PANEL_update();
        });
    }
};

TEST_F(RadioStackEndToEnd, ClicksTuneAVorHearItsIdentAndSpellTheStartAirportIntoTheGps)
{
    ASSERT_NE(std::strstr(pln[0].acf_file_name, "TRAINER"), nullptr) << pln[0].acf_file_name << " is loaded in place of the trainer";
    const int audio = slot_of(211), navcom = slot_of(223), gps = slot_of(232);
    ASSERT_GE(audio, 0);
    ASSERT_GE(navcom, 0);
    ASSERT_GE(gps, 0);
    const acf_struct& a = pln[0];
    auto at = [&](int s, float dx, float dy) { press(a.acf_ins_x[s] + dx, a.acf_ins_y[s] + dy); };

    MACIBM_pump_messages();
    FRAME_reset();
    // The panel is looked at drawn alone; the frames' pictures are not.
    const unseen_frames unseen;
    sim_graphics_view.view_type = VIEW_FORWARD;
    APPLICATION_set_mode(MODE_FLYING, "from test");
    sim_cockpit_electrical.battery_on = sim_cockpit_electrical.avionics_on = 1;
    frame();

    // Paradise VORTAC, 112.20 MHz. The GA head tunes its active frequency:
    // the outer ring a megahertz, the inner knob the hundredths.
    const navaid_record* pdz = nullptr;
    for (const navaid_record& n : navaid_table)
        if (n.kind == NAV_VOR && std::strncmp(n.id, "PDZ", 4) == 0) pdz = &n;
    ASSERT_NE(pdz, nullptr);
    sim_cockpit_radios_block& r = sim_cockpit_radios;
    const float kx = 10.0f + 41.0f, ky = -15.0f;
    for (int guard = 0; guard < 40 && r.nav1_freq_hz / 100 != pdz->frequency / 100; ++guard) at(navcom, kx + 10.0f, ky);
    for (int guard = 0; guard < 60 && r.nav1_freq_hz != pdz->frequency; ++guard) at(navcom, kx + 3.0f, ky + 3.0f);
    ASSERT_EQ(r.nav1_freq_hz, pdz->frequency);
    const auto window = slot_texts(navcom, 112);
    ASSERT_TRUE(window.count(8));
    EXPECT_NE(window.at(8).find("112.20"), std::string::npos) << window.at(8);

    // NAV 1 on the audio panel: once the receiver has the station its identifier sounds.
    morse_ear ear;
    SOUND_install_recorder(&ear);
    at(audio, 10.0f, 6.0f);
    EXPECT_EQ(sim_cockpit_switches.audio_panel_out, 0);
    for (int f = 0; f < 100 && ear.dashes < 2; ++f) frame();
    SOUND_install_recorder(nullptr);
    EXPECT_EQ(std::string(radio_stations.nav_ident_text[0], 3), "PDZ");
    // P D Z: .--. -.. --.. : four dots, five dashes.
    EXPECT_GE(ear.dashes, 2);
    EXPECT_GE(ear.dots, 1);

    // The GPS: airports, paged off KSBD, then spell K S B D over its identifier.
    at(gps, 64.0f, 11.0f);
    EXPECT_EQ(sim_cockpit_gps.destination_type, 1);
    for (int guard = 0; guard < 3 && std::string(gps_unit.identifier) == "KSBD"; ++guard) at(gps, 63.0f, 40.0f);
    ASSERT_NE(std::string(gps_unit.identifier), "KSBD");
    const char target[] = "KSBD";
    for (int k = 0; k < 4; ++k) {
        at(gps, 73.0f, 30.0f);   // cursor right
        const int from = UTIL_char_to_glyph(gps_unit.identifier[k] ? gps_unit.identifier[k] : ' ');
        const int steps = ((UTIL_char_to_glyph(target[k]) - from) % 37 + 37) % 37;
        for (int i = 0; i < (steps <= 18 ? steps : 37 - steps); ++i) at(gps, 63.0f, steps <= 18 ? 40.0f : 20.0f);
    }
    EXPECT_EQ(std::string(gps_unit.identifier, 4), "KSBD");
    for (int f = 0; f < 30 && !interval_ticks[INTERVAL_ONE_SECOND]; ++f) frame();
    frame();
    const int32_t i = sim_cockpit_gps.destination_index;
    ASSERT_TRUE(i >= 0 && i < static_cast<int32_t>(airport_table.size()));
    EXPECT_STREQ(airport_table[static_cast<size_t>(i)].id, "KSBD");
    const std::string name = std::string(airport_table[static_cast<size_t>(i)].name).substr(0, 19);
    const auto lines = slot_texts(gps, 111);
    ASSERT_TRUE(lines.count(16));
    std::string shown = lines.at(16), expected = name;
    for (char& c : shown) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(shown, expected);
}

}  // namespace
