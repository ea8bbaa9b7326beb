// Bad input in the started program, typed and clicked through the window's
// messages: an airport id no airport has leaves the plane where it was and
// the list says so; an address or port out of range is refused with a word
// and the field keeps its value; a file chosen in the aircraft browser that
// is no aircraft is named in a notice and the aircraft flown stays.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/datafile.h"
#include "core/folders.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/screen.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/widget_record.h"
#include "links/net_slots.h"
#include "platform/plat_events.h"
#include "platform/plat_time.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "shell/modes.h"
#include "tests/support/modes_harness.h"
#include "tests/support/startup_program.h"
#include "world/navdb.h"

namespace {

std::vector<std::string> texts_drawn;
void record_text(const widget_box& b)
{
    if (b.kind == WIDGET_BOX_TEXT) texts_drawn.emplace_back(b.text);
}

class BadInput : public started_program {
protected:
    // The screens' frames are drawn; the flying frames between them are not
    // looked at.
    const unseen_frames unseen;
    static void frame() { test_clock_seconds += 0.05, MACIBM_do_frame(); }

    static void click(float x, float y)
    {
        post_click(x, y);
        frame();
        frame();
    }
    static void type(const std::string& keys)
    {
        for (const char k : keys) {
            post_key(k == '\b' ? VK_BACK : k);
            frame();
        }
    }
    // Whether a frame drawn now shows the text.
    static bool shows(const char* text)
    {
        texts_drawn.clear();
        WIDGET_set_recorder(record_text);
        frame();
        WIDGET_set_recorder(nullptr);
        for (const std::string& t : texts_drawn)
            if (t == text) return true;
        return false;
    }
    static int airport_index(const char* id)
    {
        for (size_t i = 0; i < airport_table.size(); ++i)
            if (std::strncmp(airport_table[i].id, id, 4) == 0) return static_cast<int>(i);
        return -1;
    }
    void SetUp() override
    {
        frame();
        APPLICATION_set_mode(MODE_FLYING, "from test");
        frame();
        clear_alerts();
    }
};

// The airport list's id field, its "Fly from here" button (the list's window, in its units).
constexpr float ID_FIELD_X = 280.0f, ID_FIELD_Y = 50.0f;
constexpr float FLY_X = 247.0f, FLY_Y = 28.0f;

}  // namespace

TEST_F(BadInput, AnUnknownAirportIdLeavesThePlaneWhereItWas)
{
    const int kral = airport_index("KRAL");
    ASSERT_GT(kral, 0);   // not the list's first airport
    APPLICATION_handlemenu(408);
    frame();
    ASSERT_EQ(app_mode, MODE_AIRPORT_LIST);
    click(ID_FIELD_X, ID_FIELD_Y);
    type("KRAL");
    EXPECT_EQ(start_selection.airport_index, kral);
    click(FLY_X, FLY_Y);
    ASSERT_EQ(app_mode, MODE_FLYING);
    const double lat = flt[0].latitude, lon = flt[0].longitude;
    EXPECT_NEAR(lat, airport_table[static_cast<size_t>(kral)].runways[0].lat, 0.01);

    APPLICATION_handlemenu(408);
    frame();
    click(ID_FIELD_X, ID_FIELD_Y);
    type("ZZZZ");
    EXPECT_EQ(start_selection.airport_index, kral);
    click(FLY_X, FLY_Y);
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_NEAR(flt[0].latitude, lat, 1e-6);
    EXPECT_NEAR(flt[0].longitude, lon, 1e-6);

    // An id typed back to empty moves nothing either.
    APPLICATION_handlemenu(408);
    frame();
    click(ID_FIELD_X, ID_FIELD_Y);
    type("KSB\b\b\b");
    EXPECT_EQ(start_selection.airport_index, kral);
    type("KSBD");
    EXPECT_EQ(start_selection.airport_index, airport_index("KSBD"));
    APPLICATION_set_mode(MODE_FLYING, "from test");
    frame();
}

TEST_F(BadInput, AnAddressOrPortOutOfRangeIsRefusedWithAWordAndTheFieldKeepsItsValue)
{
    net_slot_enabled[0] = 1;
    std::snprintf(net_ip_text[0], NET_IP_TEXT_SIZE, "%s", "127.0.0.1");
    std::snprintf(net_port_text[0], NET_PORT_TEXT_SIZE, "%s", "49000");
    APPLICATION_handlemenu(600);
    frame();
    ASSERT_EQ(app_mode, MODE_NETWORK);
    click(88.0f + 62.0f, screen.screen_area_height - 38.0f);   // the network tab
    const char* port_word = LANG_ui_text(551);
    const char* address_word = LANG_ui_text(550);
    EXPECT_FALSE(shows(port_word));

    // The first role's port: emptied, then 99999 typed; the fifth 9 is refused.
    click(140.0f, 603.0f);
    type("\b\b\b\b\b9999");
    EXPECT_STREQ(net_port_text[0], "9999");
    type("9");
    EXPECT_STREQ(net_port_text[0], "49000");
    EXPECT_TRUE(shows(port_word));

    // A port taken is kept, and the word goes with the refusal before it; a
    // field left empty gets it back, with the word.
    type("\b\b\b\b\b8080");
    click(40.0f, 603.0f);   // on to the address field
    EXPECT_STREQ(net_port_text[0], "8080");
    EXPECT_FALSE(shows(port_word));
    click(140.0f, 603.0f);
    type("\b\b\b\b");
    click(40.0f, 603.0f);
    EXPECT_STREQ(net_port_text[0], "8080");
    EXPECT_TRUE(shows(port_word));

    // An address part above 255 is refused as it is typed.
    type("\b\b\b\b\b\b\b\b\b10.0.0.300");
    EXPECT_STREQ(net_ip_text[0], "127.0.0.1");
    EXPECT_TRUE(shows(address_word));

    click(62.0f, screen.screen_area_height - 38.0f);   // back to the data tab, as the screen opened
    post_key(VK_RETURN);                                 // Return finishes the address field,
    frame();
    EXPECT_EQ(app_mode, MODE_NETWORK);
    post_key(VK_RETURN);                                 // and then closes the screen
    frame();
    EXPECT_EQ(app_mode, MODE_FLYING);
    EXPECT_STREQ(net_ip_text[0], "127.0.0.1");
    net_slot_enabled[0] = 0;
    frame();
}

namespace {

// The aircraft browser's script: once it is up, a click on the row of the
// file named `wanted`, counted from the row it highlights (the middle one).
std::string wanted;
bool clicked_in_browser = false;
double browser_clock()
{
    test_clock_seconds += 0.02;
    if (app_mode == MODE_BROWSER_OPEN && !clicked_in_browser) {
        const int entries = FILE_list_directory(KIND_AIRCRAFT);
        for (int i = 0; i < entries; ++i) {
            if (wanted != file_list_names[i]) continue;
            clicked_in_browser = true;
            const int below = i - entries / 2;
            post_click(120.0f, 180.0f - 10.0f * static_cast<float>(below));
        }
    }
    return test_clock_seconds;
}

}  // namespace

TEST_F(BadInput, AFileThatIsNoAircraftIsNamedAndTheAircraftFlownStays)
{
    namespace fs = std::filesystem;
    const std::string kept_name = pln[0].acf_file_name;
    const float kept_empty_mass = pln[0].acf_m_empty;
    // A file with the aircraft ending, sorted below every folder of the aircraft folder.
    wanted = "Zz Garbage.acf";
    const fs::path garbage = fs::path(folder->path()) / "Aircraft" / wanted;
    ASSERT_TRUE(fs::is_directory(garbage.parent_path()));
    {
        std::ofstream out(garbage, std::ios::binary);
        out << "this is no aircraft at all, only some words in a file\n";
    }
    hold_user_plane(ksbd_start_pose);
    const double lat = flt[0].latitude, lon = flt[0].longitude;

    clicked_in_browser = false;
    PLAT_set_clock_source(browser_clock, nullptr);
    APPLICATION_handlemenu(200);   // File > Open aircraft
    use_test_clock();
    EXPECT_TRUE(clicked_in_browser);

    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
    EXPECT_NE(recorded_alerts[0].lines[1].find("Zz Garbage.acf"), std::string::npos) << recorded_alerts[0].lines[1];
    clear_alerts();
    EXPECT_EQ(kept_name, pln[0].acf_file_name);
    EXPECT_EQ(pln[0].acf_m_empty, kept_empty_mass);
    EXPECT_NEAR(flt[0].latitude, lat, 1e-9);
    EXPECT_NEAR(flt[0].longitude, lon, 1e-9);
    frame();
    EXPECT_EQ(app_mode, MODE_FLYING);
    fs::remove(garbage);
}
