// Whole aircraft loaded from the default data folder the build lays out: the
// trainer's report, sounds and panel, the airliner's own panel, every fleet
// aircraft with finite derived values, damaged copies, and the aircraft choice
// walking temporary trees.
#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <map>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/acf_choose.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_panel_setup.h"
#include "aircraft/acf_report.h"
#include "core/instrument_types.h"
#include "core/random.h"
#include "core/simvars/cockpit.h"
#include "core/simvars/graphics.h"
#include "core/screen.h"
#include "core/ui_text.h"
#include "graphics/ogl_tex.h"
#include "links/sound.h"
#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;
namespace fs = std::filesystem;

namespace {

const char* const TRAINER = "AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF";
const char* const FLEET[] = {
    "Aircraft/General Aviation/Orvell Trainer/Orvell Trainer.acf",
    "Aircraft/General Aviation/Orvell Twin/Orvell Twin.acf",
    "Aircraft/General Aviation/Orvell Floatplane/Orvell Floatplane.acf",
    "Aircraft/Heavy Metal/Orvell Airliner/Orvell Airliner.acf",
    "Aircraft/Helicopters/Orvell Helicopter/Orvell Helicopter.acf",
    "Aircraft/Gliders/Orvell Glider/Orvell Glider.acf",
    "Aircraft/Space Ships/Orvell Orbiter/Orvell Orbiter.acf",
};

std::vector<std::pair<int, std::string>> sounds_loaded;
std::vector<int> loops_switched;

void record_wav(int slot, const char* name) { sounds_loaded.emplace_back(slot, name); }
void record_loops(int on) { loops_switched.push_back(on); }

// The program folder is a folder of the test's own (the built data's
// aircraft, airfoils and cockpit bitmaps linked into it); the report goes to
// ORVELL.OUT there.
class AcfLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        link_default_aircraft(dir.path());
        FOLDERS_init_from((dir.prefix() + "orvell").c_str());
        CONST_fill_constants();
        OGL_init_image_blocks();
        std::memset(ui_text_table, 0, sizeof ui_text_table);
        UTIL_strcpy(TRAINER, default_aircraft_path);
        UTIL_strcpy("ORVELL TRAINER.ACF", default_aircraft_name);
        for (int s = 0; s < ACF_SLOTS; ++s) {
            std::memset(&pln[s], 0, sizeof pln[s]);
            flt[s] = flt_struct{};
        }
        sim_graphics_settings.draw_aircrafts = 1;
        acf_sounds = {record_wav, record_loops};
        sounds_loaded.clear();
        loops_switched.clear();
        report_log.close();
        report_log.clear();
        report_log.open(dir.path() / "ORVELL.OUT", std::ios::out | std::ios::trunc | std::ios::binary);
    }
    void TearDown() override
    {
        report_log.close();
        acf_sounds = {SOUND_load_wav, SOUND_start_stop_loops};
    }
    std::string report()
    {
        report_log.flush();
        return read_file_bytes(dir.path() / "ORVELL.OUT");
    }
    int load(int slot, const std::string& relative)
    {
        set_path(pln[slot], dir.prefix() + relative, "");
        return ACF_load_and_setup(slot);
    }
    temp_folder dir;
};

// Every value the set-up derives, in the aircraft record and the flight-model record.
void expect_finite_set_up(int slot, const char* what)
{
    const acf_struct& a = pln[slot];
    const flt_struct& f = flt[slot];
    auto check = [&](const float* v, int n, const char* name) {
        for (int i = 0; i < n; ++i)
            if (!std::isfinite(v[i])) {
                ADD_FAILURE() << what << ": " << name << "[" << i << "] = " << v[i];
                return;
            }
    };
#define FINITE(field) check(&(field), 1, #field)
#define FINITE_ALL(field) check(field, static_cast<int>(sizeof(field) / sizeof(float)), #field)
    FINITE_ALL(a.acf_Xarm);
    FINITE_ALL(a.acf_Yarm);
    FINITE_ALL(a.acf_Zarm);
    FINITE_ALL(a.acf_element_len);
    FINITE_ALL(a.acf_semilen_JND);
    FINITE_ALL(a.acf_alpha_max);
    FINITE_ALL(a.acf_AR);
    FINITE_ALL(a.acf_taper);
    FINITE_ALL(a.acf_e);
    FINITE_ALL(a.acf_delta_fac);
    FINITE_ALL(a.acf_cl_D_cl0);
    FINITE_ALL(a.acf_al_D_al0);
    FINITE_ALL(a.acf_cm_D_cm0);
    FINITE_ALL(a.acf_slat_effect);
    FINITE_ALL(a.acf_spec_wash);
    FINITE_ALL(a.acf_s);
    FINITE_ALL(a.acf_mac);
    FINITE_ALL(a.acf_X_body_aero);
    FINITE_ALL(a.acf_Y_body_aero);
    FINITE_ALL(a.acf_Z_body_aero);
    FINITE_ALL(a.acf_ringarea);
    FINITE_ALL(a.acf_discarea);
    FINITE_ALL(a.acf_prop_mass);
    FINITE_ALL(a.acf_miprop_rpm);
    FINITE_ALL(a.acf_eng_mass);
    FINITE_ALL(a.acf_trq_per_speed);
    FINITE_ALL(a.acf_SFC);
    FINITE(a.acf_trq_max_prp);
    FINITE(a.acf_RSC_redline_prp);
    FINITE(a.acf_Jxx_unitmass);
    FINITE(a.acf_Jyy_unitmass);
    FINITE(a.acf_Jzz_unitmass);
    FINITE(a.acf_est_Vs);
    FINITE(a.acf_critalt_boost_pa);
    FINITE(a.acf_tire_contact_area);
    FINITE_ALL(f.foil_sin_dih);
    FINITE_ALL(f.foil_cos_dih);
    FINITE_ALL(f.foil_sin_swe);
    FINITE_ALL(f.foil_cos_swe);
    FINITE(f.m_fuel1);
    FINITE(f.m_fuel2);
    FINITE(f.m_fuel3);
    FINITE(f.m_fixed);
    FINITE(f.m_jettison);
    FINITE(visibility_scale);
    EXPECT_NEAR(visibility_scale,
                2.0 * std::hypot(a.acf_size_x, a.acf_size_z) / (9.7982788 * a.acf_m_max), 1e-6) << what;
    FINITE_ALL(sim_cockpit_misc.lever_gang_x);
#undef FINITE
#undef FINITE_ALL
    EXPECT_GT(a.acf_Jxx_unitmass, 0.0f) << what;
    EXPECT_GT(a.acf_est_Vs, 0.0f) << what;
}

// The colour of texel (x, y) of a 24-bit BMP file, rows from the bottom.
struct bmp_file {
    std::string bytes;
    int w = 0, h = 0;
    explicit bmp_file(const fs::path& p) : bytes(read_file_bytes(p))
    {
        std::memcpy(&w, bytes.data() + 18, 4);
        std::memcpy(&h, bytes.data() + 22, 4);
    }
    const uint8_t* at(int x, int y) const
    {
        const int row = (w * 3 + 3) / 4 * 4;
        return reinterpret_cast<const uint8_t*>(bytes.data()) + 54 + y * row + x * 3;   // B, G, R
    }
};

const uint8_t* view_texel(int view, int x, int y) { return view_image_buffers[view] + (size_t(y) * 1024 + x) * 4; }

}  // namespace

TEST_F(AcfLoad, TrainerInTheUsersSlotWritesItsReportLoadsItsSoundsAndComposesItsPanel)
{
    const std::string path = dir.prefix() + TRAINER;
    set_path(pln[0], path, "");
    ASSERT_EQ(ACF_load_and_setup(0), 1);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_STREQ(pln[0].acf_file_name, "ORVELL TRAINER.ACF");
    EXPECT_EQ(pln[0].acf_is_general_aviation, 1);
    EXPECT_EQ(pln[0].acf_is_heavy_metal, 0);
    expect_finite_set_up(0, "trainer");
    // Weapon stations without a name are not read: their slots stay as the file left them.
    for (int w = 0; w < ACF_WPN_SLOTS; ++w)
        if (pln[0].wpn_name[w * ACF_WPN_NAME_SIZE] == 0) { EXPECT_EQ(pln[0].acf_wpn_slot[w].wpn_valid, 0) << w; }

    // The report: separator, title, then "Имитация " in Windows-1251 and the path.
    const std::string out = report();
    ASSERT_GT(out.size(), 300u);
    EXPECT_EQ(out.substr(0, 100), std::string(100, '\xA5'));
    const std::string imitation = "\xC8\xEC\xE8\xF2\xE0\xF6\xE8\xFF\x20";
    const std::size_t at = out.find(imitation);
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(at, 101u);   // after the title line
    EXPECT_EQ(out.substr(at + imitation.size(), path.size()), path);
    // Then the separator, an empty line and the axis conventions.
    const std::string axes = std::string(100, '\xA5') + "\n\n" +
                             ACF_cp1251("Х положит. см назад        Х положит. сила вправо   тангаж/УА пол. нос вверх\n"
                                        "Y положит. см. вправо     Y положит. сила вверх  положит. крен вправо\n"
                                        "Z полодит. см. вверх      Z положит. сила назад     курс/бета пол. нос вправо\n\n");
    EXPECT_EQ(out.substr(at + imitation.size() + path.size() + 1, axes.size()), axes);
    EXPECT_NE(out.find(" TOTAL DISC AREA=  "), std::string::npos);   // the propeller's disc
    EXPECT_EQ(out.find("\xD0\x98"), std::string::npos);   // no UTF-8 left in it

    // Another slot writes nothing, loads no sound and draws no panel.
    const std::size_t before = out.size();
    sounds_loaded.clear();
    set_path(pln[3], path, "");
    ASSERT_EQ(ACF_load_and_setup(3), 1);
    EXPECT_EQ(report().size(), before);
    EXPECT_TRUE(sounds_loaded.empty());

    // Sounds: the engine, the propeller, and the 43 fixed sounds in slot order.
    sounds_loaded.clear();
    loops_switched.clear();
    ACF_load_and_setup(0);
    ASSERT_EQ(sounds_loaded.size(), 45u);
    EXPECT_EQ(sounds_loaded[0], (std::pair<int, std::string>{0, "ENGINE_RECIP.WAV"}));
    EXPECT_EQ(sounds_loaded[1], (std::pair<int, std::string>{8, "PROP_PLANE.WAV"}));
    for (int k = 0; k < 43; ++k) EXPECT_EQ(sounds_loaded[2 + k].first, 16 + k);
    EXPECT_EQ(sounds_loaded[2].second, "REV_THRUST.WAV");
    EXPECT_EQ(sounds_loaded.back().second, "TCAS.WAV");
    EXPECT_EQ(loops_switched, (std::vector<int>{0, 1}));
    for (const auto& s : sounds_loaded)
        EXPECT_TRUE(fs::exists(fs::path(ORVELL_DATA_FOLDER) / "Resources/sounds" / s.second)) << s.second;

    // The panel: no bitmap of its own, the built-in panel with the airspeed
    // indicator (slot 0, its 140 x 140 design size about (200, 330)) composed at its place.
    EXPECT_EQ(has_view_bitmap[0], 0);
    EXPECT_EQ(battery_EQ, 1);
    EXPECT_EQ(avionics_EQ, 1);
    EXPECT_EQ(generator_EQ, 0);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.lever_gang_x[0], 620.0f);   // throttle
    EXPECT_FLOAT_EQ(sim_cockpit_misc.lever_gang_x[2], 680.0f);   // mixture
    const bmp_file face(fs::path(ORVELL_DATA_FOLDER) / "Resources/bitmaps/cockpit/standard/asi_preset_GA_200.bmp");
    ASSERT_EQ(face.w, 140);
    EXPECT_EQ(pln[0].acf_ins_delx[0], 140.0f);
    int compared = 0;
    for (int y = 0; y < face.h; y += 7)
        for (int x = 0; x < face.w; x += 7) {
            const uint8_t* f = face.at(x, y);
            if (f[2] == 255 && f[1] == 0 && f[0] == 255) continue;   // see-through
            const uint8_t* v = view_texel(0, 130 + x, 260 + y);
            ASSERT_EQ(v[0], f[2]) << x << "," << y;
            ASSERT_EQ(v[1], f[1]) << x << "," << y;
            ASSERT_EQ(v[2], f[0]) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 100);
    // The other views have no bitmaps: cleared images.
    EXPECT_EQ(has_view_bitmap[4], 0);
    EXPECT_EQ(view_texel(4, 500, 300)[0] | view_texel(4, 500, 300)[3], 0);
}

TEST_F(AcfLoad, AirlinerKeepsItsOwnPanelAndSetsTheThrottleColumnFromBothLevers)
{
    // Whatever the view images held before, the views without a bitmap of
    // their own (all but the first) come out wholly clear.
    for (uint8_t* view : view_image_buffers) std::memset(view, 0x5A, VIEW_IMAGE_BYTES);
    ASSERT_EQ(load(0, FLEET[3]), 1);
    for (int v = 1; v < ACF_VIEW_BITMAPS; ++v) {
        EXPECT_EQ(has_view_bitmap[v], 0) << v;
        const uint8_t* image = view_image_buffers[v];
        EXPECT_TRUE(std::all_of(image, image + VIEW_IMAGE_BYTES, [](uint8_t b) { return b == 0; })) << v;
    }
    EXPECT_EQ(has_view_bitmap[0], 1);
    EXPECT_FLOAT_EQ(sim_cockpit_misc.lever_gang_x[0], 0.5f * (440.0f + 480.0f));   // its two throttle levers
    EXPECT_EQ(battery_EQ, 1);
    EXPECT_EQ(fuel_pump_EQ, 1);
    // Nothing composed: the view image is the aircraft's own bitmap, texel for texel.
    const bmp_file own(fs::path(ORVELL_DATA_FOLDER) / "Aircraft/Heavy Metal/Orvell Airliner/Orvell Airliner_PANEL.bmp");
    for (int y = 40; y < 500; y += 37)
        for (int x = 30; x < 1000; x += 41) {
            const uint8_t* f = own.at(x, y);
            if (f[2] == 255 && f[1] == 0 && f[0] == 255) continue;
            ASSERT_EQ(view_texel(0, x, y)[0], f[2]) << x << "," << y;
        }
    EXPECT_EQ(pln[0].acf_is_heavy_metal, 0);   // the folder's name in its own letter case
    EXPECT_EQ(sounds_loaded[0].second, "ENGINE_HI_JET.WAV");
    EXPECT_EQ(sounds_loaded[1].second, "ENGINE_HI_JET.WAV");
    EXPECT_EQ(sounds_loaded[2].first, 16);     // jets turn no propeller
}

// The lever columns are the mean x of each kind of lever over the engines
// (two engines: throttles at 100 and 300 give 200; one propeller lever at 500
// gives 250, and so on), and each equipment flag follows its own switch. Set
// up again over the airliner, whose own panel means nothing is composed.
TEST_F(AcfLoad, LeverColumnsAndEquipmentFollowThePanelsInstruments)
{
    ASSERT_EQ(load(0, FLEET[3]), 1);
    acf_struct& a = pln[0];
    a.acf_num_engines = 2;
    const struct {
        int type;
        float x;
    } levers[] = {{INS_HAN_SLIDER_THRO_VERNIER, 100.0f}, {INS_HAN_SLIDER_THRO_LINEAR, 300.0f},
                  {INS_HAN_SLIDER_PROP_LIN, 500.0f},     {INS_HAN_SLIDER_MIX_VERNIER, 600.0f},
                  {INS_HAN_SLIDER_CHEAT_LIN, 700.0f},    {INS_HAN_SLIDER_COWL, 900.0f},
                  {INS_EFIS_EL_HORIZON, 1000.0f}};
    const int switch_sets[2][3] = {{INS_BUT_AUTOFEATHER, INS_BUT_INVERTER, INS_BUT_FUELPUMP},
                                   {INS_BUT_BATTERY, INS_BUT_AVIONICS, INS_BUT_GENERATOR}};
    for (const auto& switches : switch_sets) {
        std::fill(std::begin(a.acf_ins_type), std::end(a.acf_ins_type), ACF_INS_EMPTY);
        int k = 0;
        for (const auto& l : levers) a.acf_ins_type[k] = l.type, a.acf_ins_x[k++] = l.x;
        for (int t : switches) a.acf_ins_type[k++] = t;
        ACF_setup_panel(0);
        const float* columns = sim_cockpit_misc.lever_gang_x;
        EXPECT_EQ((std::vector<float>(columns, columns + 5)), (std::vector<float>{200.0f, 250.0f, 300.0f, 350.0f, 450.0f}));
        const bool first = switches[0] == INS_BUT_AUTOFEATHER;
        EXPECT_EQ((std::vector<int>{auto_fea_EQ, inverter_eq, fuel_pump_EQ, battery_EQ, avionics_EQ, generator_EQ}),
                  (first ? std::vector<int>{1, 1, 1, 0, 0, 0} : std::vector<int>{0, 0, 0, 1, 1, 1}));
    }
    // A window 40 units taller than 768 moves the head-up display's centre up by half of that.
    const float hud_y = a.acf_HUD_cntry, margin = screen.ui_top_margin;
    screen.ui_top_margin = 40.0f;
    ACF_setup_panel(0);
    screen.ui_top_margin = margin;
    EXPECT_FLOAT_EQ(a.acf_HUD_cntry, hud_y + 20.0f);
}

TEST_F(AcfLoad, EveryFleetAircraftLoadsIntoTheUsersSlotWithFiniteValues)
{
    for (const char* rel : FLEET) {
        clear_alerts();
        ASSERT_EQ(load(0, rel), 1) << rel;
        EXPECT_TRUE(recorded_alerts.empty()) << rel;
        EXPECT_EQ(pln[0].acf_cgY, 0.0f);
        EXPECT_EQ(pln[0].acf_cgZ, 0.0f);
        expect_finite_set_up(0, rel);
    }
    // The helicopter's main rotor carries the collective; its tail rotor is a type 5.
    load(0, FLEET[4]);
    EXPECT_EQ(pln[0].acf_has_collective_rotor, 1);
    EXPECT_EQ(pln[0].acf_collective_rotor_index, 0);
    EXPECT_EQ(pln[0].acf_has_prop_type5, 1);
    EXPECT_GT(pln[0].acf_miprop_rpm[0], pln[0].acf_miprop_rpm[1]);
    EXPECT_NEAR(pln[0].acf_est_Vs, 50.0f * 0.5144444f, 0.01f);
    // The float plane floats on its bodies and has no wheels.
    load(0, FLEET[2]);
    EXPECT_GT(pln[0].acf_s[ACF_el(45, 0)], 0.3f);   // frontal area of a float, m2
    EXPECT_EQ(pln[0].acf_tire_contact_area, 0.0f);
    // It is heavier than air (no displaced mass lifts it): its stalling speed
    // comes from its wing loading, near its published one.
    EXPECT_EQ(pln[0].acf_m_displaced, 0.0f);
    EXPECT_NEAR(pln[0].acf_est_Vs, pln[0].acf_Vso * 0.5144444f, 0.1f * pln[0].acf_Vso * 0.5144444f);
}

TEST_F(AcfLoad, MissingFilesFallBackToTheDefaultAircraftAndPathsOutsideTheFolderSetNoCategory)
{
    EXPECT_EQ(load(2, "Aircraft/General Aviation/Nowhere/Nowhere.acf"), 0);
    EXPECT_EQ(std::string(pln[2].acf_file_path), dir.prefix() + TRAINER);
    EXPECT_STREQ(pln[2].acf_file_name, "ORVELL TRAINER.ACF");
    EXPECT_STREQ(pln[2].acf_tailnum, "OV-TRN");
    EXPECT_EQ(pln[2].acf_is_general_aviation, 1);
    EXPECT_EQ(pln[2].acf_is_heavy_metal, 0);
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 3);
    flt[2].failures[0] = flt[2].failures[173] = 6;   // every failure state is cleared
    EXPECT_EQ(load(2, "AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF"), 1);
    EXPECT_EQ(flt[2].failures[0] + flt[2].failures[173], 0);
    EXPECT_EQ(pln[2].acf_is_heavy_metal, 1);
    EXPECT_EQ(pln[2].acf_is_general_aviation, 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_EQ(load(1, "x"), 0);                       // a path shorter than the aircraft folder
    EXPECT_EQ(sim_graphics_settings.draw_aircrafts, 3);

    // Neither the requested nor the default aircraft: the first aircraft of
    // the fleet in name order, and a notice names the missing default and
    // what stands in for it.
    UTIL_strcpy("NONE.ACF", default_aircraft_path);
    clear_alerts();
    EXPECT_EQ(load(1, "y.acf"), 0);
    EXPECT_STREQ(pln[1].acf_tailnum, "OV-FLT");
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].lines[0], "The default aircraft file cannot be found:");
    EXPECT_EQ(recorded_alerts[0].lines[1], dir.prefix() + "NONE.ACF");
    EXPECT_EQ(recorded_alerts[0].lines[3], "Orvell Floatplane.acf was loaded in its place.");

    // With no fleet to stand in: fatal, in English, and "cannot find" only
    // when the default is missing, "damaged" when it is there but random bytes.
    fs::create_directories(dir.path() / "empty");
    UTIL_strcpy((dir.prefix() + "empty:").c_str(), folder_table[FOLDER_AIRCRAFT]);
    for (const bool there : {false, true}) {
        if (there) write_file_bytes(dir.path() / "NONE.ACF", std::string(3000, '\xd5'));
        const alert_record a = expect_fatal([&] { load(1, "y.acf"); });
        EXPECT_EQ(a.lines[0], there ? "The default aircraft file is damaged:"
                                    : "I cannot find the aircraft asked for, nor the default aircraft:");
        EXPECT_EQ(a.lines[1], dir.prefix() + "NONE.ACF");
    }
}

// A damaged start aircraft, or a damaged airfoil of it, never keeps the
// program from flying: one notice names the file and the aircraft of the
// fleet that stands in for it, the default or, when that is the damaged one,
// the next after it in name order that loads.
TEST_F(AcfLoad, ADamagedAircraftOrAirfoilGivesWayToTheNextAircraftOfTheFleetThatLoads)
{
    // A copy of the fleet's aircraft files and airfoils of the test's own, to damage.
    const fs::path data(ORVELL_DATA_FOLDER);
    for (const char* part : {"Aircraft", "Airfoils"}) fs::remove(dir.path() / part);
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(data / "Aircraft"))
        if (e.path().extension() == ".acf") {
            const fs::path to = dir.path() / fs::relative(e.path(), data);
            fs::create_directories(to.parent_path());
            fs::copy_file(e.path(), to);
        }
    fs::copy(data / "Airfoils", dir.path() / "Airfoils");
    const fs::path trainer_file = dir.path() / FLEET[0];
    const std::string good = read_file_bytes(trainer_file);
    auto only_notice = [](const char* tailnum_flown) {
        EXPECT_STREQ(pln[0].acf_tailnum, tailnum_flown);
        EXPECT_EQ(recorded_alerts.size(), 1u);
        alert_record a = recorded_alerts.empty() ? alert_record{} : recorded_alerts[0];
        EXPECT_EQ(a.code, ALERT_NOTICE);
        clear_alerts();
        return a;
    };

    // The default aircraft cut short, or empty: the twin, the next after it.
    write_file_bytes(trainer_file, good.substr(0, good.size() / 2));
    EXPECT_EQ(load(0, TRAINER), 0);
    alert_record a = only_notice("OV-TWN");
    EXPECT_EQ(a.lines[0], "This aircraft file is damaged and was not loaded:");
    EXPECT_EQ(a.lines[1], dir.prefix() + TRAINER);
    EXPECT_EQ(a.lines[3], "Orvell Twin.acf was loaded in its place.");
    expect_finite_set_up(0, "the twin in the trainer's place");
    // The same file chosen again, for another slot, is not named again.
    EXPECT_EQ(load(3, TRAINER), 0);
    EXPECT_STREQ(pln[3].acf_tailnum, "OV-TWN");
    EXPECT_TRUE(recorded_alerts.empty());
    write_file_bytes(trainer_file, "");
    EXPECT_EQ(load(0, TRAINER), 0);
    EXPECT_EQ(only_notice("OV-TWN").lines[2], "It is too short to be an aircraft file.");

    // Another aircraft asked for and damaged gives way to the default.
    write_file_bytes(trainer_file, good);
    const fs::path airliner_file = dir.path() / FLEET[3];
    write_file_bytes(airliner_file, read_file_bytes(airliner_file).substr(0, 4000));
    EXPECT_EQ(load(0, FLEET[3]), 0);
    EXPECT_EQ(only_notice("OV-TRN").lines[3], "ORVELL TRAINER.ACF was loaded in its place.");

    // Random bytes in the airfoil of the trainer's (and the twin's) wing: the
    // glider, the next after them that loads. The notice names the airfoil
    // and whose it is.
    std::string noise(6000, 0);
    uint32_t state = 12345;
    for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    write_file_bytes(dir.path() / "Airfoils" / "wing_15pct.afl", noise);
    EXPECT_EQ(load(0, TRAINER), 0);
    a = only_notice("OV-GLD");
    EXPECT_EQ(a.lines[0], "An airfoil file of ORVELL TRAINER.ACF is damaged:");
    EXPECT_EQ(a.lines[1], std::string(folder_table[FOLDER_AIRFOILS]) + "wing_15pct.afl");
    EXPECT_EQ(a.lines[3], "Orvell Glider.acf was loaded in its place.");
    expect_finite_set_up(0, "the glider in the trainer's place");
}

TEST_F(AcfLoad, DamagedCopiesOfTheFleetGetFiniteValuesOrAnAlert)
{
    struct damage {
        const char* what;
        void (*apply)(acf_struct&);
    };
    const damage damages[] = {
        {"no elements", [](acf_struct& a) { a.acf_els[8] = a.acf_els[9] = 0; }},
        {"zero blade chords", [](acf_struct& a) { a.acf_Croot[0] = a.acf_Ctip[0] = 0.0f; }},
        {"no gearbox", [](acf_struct& a) { a.acf_prop_gear_rat[0] = 0.0f; }},
        {"no wing or body area", [](acf_struct& a) {
             for (int p = 8; p <= 43; ++p) a.acf_Croot[p] = a.acf_Ctip[p] = 0.01f;
         }},
        {"zero semispans", [](acf_struct& a) { for (int p = 8; p <= 27; ++p) a.acf_semilen_SEG[p] = 0.0f; }},
        {"no engines for the levers", [](acf_struct& a) { a.acf_num_engines = a.acf_num_thrustpoints = 0; }},
        {"far-off instruments", [](acf_struct& a) {
             a.acf_ins_x[0] = 3.0e9f;
             a.acf_ins_y[1] = -2.0e9f;
             a.acf_ins_x[2] = 1.0e30f;
             a.acf_ins_size[3] = 1.0e20f;
         }},
        {"a huge sweep", [](acf_struct& a) { a.acf_sweep1[16] = a.acf_sweep1[17] = 1.0e30f; }},
        {"no manifold pressure", [](acf_struct& a) { a.acf_en_type[0] = 3; a.acf_mpmax = 0.0f; }},
    };
    for (const char* rel : {FLEET[0], FLEET[1], FLEET[4]}) {
        for (const damage& d : damages) {
            clear_alerts();
            ASSERT_EQ(load(5, rel), 1);
            d.apply(pln[5]);
            const std::string copy = dir.prefix() + "damaged.acf";
            set_path(pln[5], copy, "damaged.acf");
            bool refused = false;
            try {
                // Converted values are written back as file values; the checks run on the write.
                if (!ACF_read_write(ACF_MODE_WRITE, 5, 0)) continue;
                set_path(pln[0], copy, "");
                ACF_load_and_setup(0);
            } catch (const fatal_alert&) {
                refused = true;
            }
            if (!refused) expect_finite_set_up(0, (std::string(rel) + ", " + d.what).c_str());
        }
    }
}

TEST_F(AcfLoad, MissingPanelAndInstrumentPicturesAreFatalAMissingOwnPanelIsSilent)
{
    // The trainer's own view bitmaps do not exist: nothing is said about them.
    ASSERT_EQ(load(0, FLEET[0]), 1);
    EXPECT_TRUE(recorded_alerts.empty());

    // Without the built-in panels, then without the instrument pictures.
    temp_folder bare;
    fs::create_directory_symlink(fs::path(ORVELL_DATA_FOLDER) / "Aircraft", bare.path() / "Aircraft");
    fs::create_directory_symlink(fs::path(ORVELL_DATA_FOLDER) / "Airfoils", bare.path() / "Airfoils");
    FOLDERS_init_from((bare.prefix() + "orvell").c_str());
    set_path(pln[0], bare.prefix() + FLEET[0], "");
    EXPECT_EQ(expect_fatal([] { ACF_load_and_setup(0); }).lines[0], "Can't open panel!");
    fs::create_directories(bare.path() / "RESOURCES" / "BITMAPS");
    fs::create_directory_symlink(fs::path(ORVELL_DATA_FOLDER) / "Resources/bitmaps/PANELS",
                                 bare.path() / "RESOURCES" / "BITMAPS" / "PANELS");
    set_path(pln[0], bare.prefix() + FLEET[0], "");
    EXPECT_EQ(expect_fatal([] { ACF_load_and_setup(0); }).lines[0], "Can't open bitmap!");
}

// Each cockpit type takes its own built-in panel: with only the general IFR
// panel on disk, type 6 loads and type 7 (the twin autogyro's) does not.
TEST_F(AcfLoad, EachCockpitTypeTakesItsOwnBuiltInPanel)
{
    ASSERT_EQ(load(0, FLEET[0]), 1);
    temp_folder bare;
    const fs::path bitmaps = bare.path() / "RESOURCES" / "BITMAPS";
    fs::create_directories(bitmaps / "PANELS");
    fs::create_directory_symlink(fs::path(ORVELL_DATA_FOLDER) / "Resources/bitmaps/cockpit", bitmaps / "cockpit");
    fs::create_symlink(fs::path(ORVELL_DATA_FOLDER) / "Resources/bitmaps/PANELS/PANEL_GENERAL_IFR.BMP",
                       bitmaps / "PANELS" / "PANEL_GENERAL_IFR.BMP");
    FOLDERS_init_from((bare.prefix() + "orvell").c_str());
    pln[0].acf_cockpit_type = 6;
    ACF_setup_panel(0);
    EXPECT_TRUE(recorded_alerts.empty());
    pln[0].acf_cockpit_type = 7;
    EXPECT_EQ(expect_fatal([] { ACF_setup_panel(0); }).lines[0], "Can't open panel!");
}

namespace {

// An aircraft tree below a fresh program folder: each relative path gets a copy of the trainer.
class AcfChoose : public AcfLoad {
protected:
    void add(const std::string& relative)
    {
        const fs::path to = dir.path() / "Tree" / relative;
        fs::create_directories(to.parent_path());
        fs::copy_file(fs::path(ORVELL_DATA_FOLDER) / FLEET[0], to);
    }
    // The program folder's aircraft folder becomes the tree.
    void use_tree()
    {
        fs::create_directories(dir.path() / "Tree");
        FOLDERS_init_from((dir.prefix() + "orvell").c_str());
        UTIL_strcat3(program_folder, "TREE:", folder_table[FOLDER_AIRCRAFT]);
    }
};

}  // namespace

TEST_F(AcfChoose, WalksTheFoldersAndLoadsEveryFileOfTheFirstWithAircraft)
{
    add("General Aviation/Small/A.acf");
    add("Heavy Metal/Big/B.acf");
    add("Heavy Metal/Big/C.acf");
    use_tree();
    // Slots 2 to 4 always take the light aircraft, 5 to 7 the heavy ones;
    // slots 1, 8 and 9 choose at random and over six draws meet both.
    for (int slot = 1; slot < ACF_SLOTS; ++slot) {
        int heavy = 0;
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            UTIL_srand(seed);
            pln[slot] = acf_struct{};
            flt[slot] = flt_struct{};
            ACF_choose_and_load(slot);
            const bool is_heavy = std::string(pln[slot].acf_file_path).find("Heavy Metal") != std::string::npos;
            heavy += is_heavy ? 1 : 0;
            EXPECT_EQ(flt[slot].local_x, 9.9e9f);
            EXPECT_EQ(flt[slot].local_z, 9.9e9f);
        }
        const int expected_heavy = slot >= 2 && slot <= 4 ? 0 : (slot >= 5 && slot <= 7 ? 6 : -1);
        if (expected_heavy >= 0)
            EXPECT_EQ(heavy, expected_heavy) << slot;
        else
            EXPECT_TRUE(heavy > 0 && heavy < 6) << slot << ": " << heavy;
    }
    pln[6] = acf_struct{};
    ACF_choose_and_load(6);
    EXPECT_STREQ(pln[6].acf_file_name, "C.acf");   // both files were loaded; the later one stays
    EXPECT_STREQ(pln[6].acf_tailnum, "OV-TRN");

    // A slot that names an aircraft already is left as it is.
    set_path(pln[7], "keep", "KEEP.ACF");
    flt[7].local_x = 12.0f;
    ACF_choose_and_load(7);
    EXPECT_STREQ(pln[7].acf_file_name, "KEEP.ACF");
    EXPECT_EQ(flt[7].local_x, 12.0f);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(AcfChoose, ATreeWithoutAircraftEndsTheProgramAfterTenRestarts)
{
    fs::create_directories(dir.path() / "Tree" / "Empty" / "Deeper");
    use_tree();
    fs::create_directories(dir.path() / "AIRCRAFT");   // where the walk starts again: empty too
    const alert_record a = expect_fatal([] { ACF_choose_and_load(1); });
    EXPECT_EQ(a.code, ALERT_FATAL);
    EXPECT_EQ(pln[1].acf_file_name[0], 0);
}

// Of several category folders the last in name order is taken. A walk that
// finds nothing starts again from the program's own aircraft folder; there
// two empty folders cost one draw each time, and the eleventh restart ends
// the program: ten draws in all.
TEST_F(AcfChoose, LastCategoryFolderWinsAndTheEleventhRestartEndsTheWalk)
{
    add("General Aviation A/X.acf");
    add("General Aviation B/Y.acf");
    add("Other/Z.acf");
    use_tree();
    for (uint32_t seed = 1; seed <= 4; ++seed) {
        UTIL_srand(seed);
        pln[3] = acf_struct{};
        ACF_choose_and_load(3);
        EXPECT_STREQ(pln[3].acf_file_name, "Y.acf") << seed;
    }

    fs::remove_all(dir.path() / "Tree");
    fs::create_directories(dir.path() / "Tree" / "Empty");
    for (const char* e : {"E1", "E2"}) fs::create_directories(dir.path() / "AIRCRAFT" / e);
    UTIL_srand(7);
    for (int k = 0; k < 10; ++k) UTIL_rand();
    const int eleventh = UTIL_rand();
    UTIL_srand(7);
    pln[1] = acf_struct{};
    expect_fatal([] { ACF_choose_and_load(1); });
    EXPECT_EQ(UTIL_rand(), eleventh);
}

// Each engine type's sound in the engine's slot, each propeller type's in
// slot 8 on for the engines that drive one, and the fixed sounds from slot 16.
TEST_F(AcfLoad, EachEngineAndPropellerTypeLoadsItsOwnSound)
{
    acf_struct& a = pln[0];
    a.acf_num_engines = a.acf_num_thrustpoints = 8;
    const int engines[8] = {0, 1, 2, 3, 8, 4, 6, 9};
    const int props[8] = {0, 3, 6, 7, 5, 1, 2, 4};
    for (int e = 0; e < 8; ++e) a.acf_en_type[e] = engines[e], a.acf_prop_type[e] = props[e];
    ACF_setup_sounds(0);
    std::map<int, std::string> by_slot;
    for (const auto& [slot, name] : sounds_loaded) by_slot[slot] = name;
    const std::map<int, std::string> want = {
        {0, "ENGINE_RECIP.WAV"}, {1, "ENGINE_RECIP.WAV"}, {2, "ENGINE_TURBO.WAV"}, {3, "ENGINE_ELEC.WAV"},
        {4, "ENGINE_TURBO.WAV"}, {5, "ENGINE_LO_JET.WAV"}, {6, "ENGINE_ROC.WAV"},
        {8, "PROP_PLANE.WAV"}, {9, "ROTOR_GYRO.WAV"}, {10, "ROTOR_LIFTFAN.WAV"}, {11, "ROTOR_HELO.WAV"},
        {12, "PROP_PLANE.WAV"}, {16, "REV_THRUST.WAV"}, {22, "STAL.WAV"}, {38, "MINI.WAV"},
        {41, "1000FT.WAV"}, {52, "MDOT.WAV"}, {53, "MDAS.WAV"}, {57, "DOT_INNER.WAV"}, {58, "TCAS.WAV"},
    };
    for (const auto& [slot, name] : want) EXPECT_EQ(by_slot[slot], name) << slot;
    for (int slot : {7, 13, 14, 15}) EXPECT_EQ(by_slot.count(slot), 0u) << slot;
    EXPECT_EQ(by_slot.size(), 12u + 43u);
    EXPECT_EQ(loops_switched, (std::vector<int>{0, 1}));
}
