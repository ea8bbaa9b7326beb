// The data groups on a made aircraft: the captions against the table, which
// values apply, the outgoing records, received records, file rows and
// headers, graph samples and the boxes over the flying view.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/screen.h"
#include "core/ui_text.h"
#include "graphics/ogl_state.h"
#include "links/dataout_groups.h"
#include "links/dataout_session.h"
#include "tests/support/machine.h"
#include "tests/support/ui_capture.h"
#include "tests/links/net_fixture.h"

namespace {

// The language file's texts, read from the project's data.
void load_english_texts()
{
    const std::filesystem::path file =
        std::filesystem::path(ORVELL_FIXTURES).parent_path().parent_path() / "data/text/english/ORVELL.TXT";
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    while (std::getline(in, line)) {
        const size_t space = line.find(' ');
        const int n = std::stoi(line.substr(0, space));
        if (n < 0) break;
        std::snprintf(ui_text_table[n], TEXT_SIZE, "%s", line.substr(space + 1).c_str());
    }
}

class DataGroups : public NetState {
protected:
    void SetUp() override
    {
        NetState::SetUp();
        load_english_texts();
        // A twin with piston engines and one wing part fitted.
        acf_struct& a = pln[0];
        a.acf_num_engines = 2;
        a.acf_num_thrustpoints = 2;
        a.acf_en_type[0] = a.acf_en_type[1] = 0;
        a.acf_part_eq[8] = 1;
        flt[0].ENGN_thro[0] = 0.25f;
        flt[0].ENGN_thro[1] = 0.75f;
        flt[0].ENGN_thro[2] = 0.9f;   // no engine there
        flt[0].ENGN_propmode[0] = 2;
        flt[0].ENGN_propmode[1] = 1;
        flt[0].true_airspeed = 50.0f;
        flt[0].CL_grndeffect[8] = 0.4f;
    }
    static const data_record& record_of(int group)
    {
        DATAOUT_group(1, group, 0);
        return net_data_snd[0];
    }
};

TEST_F(DataGroups, EveryCaptionHasEightCellsAndShowsExactlyTheValuesItHolds)
{
    for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g) {
        const data_group& d = data_groups[g];
        const std::string caption = LANG_ui_text(d.caption);
        const size_t bar = caption.rfind('|');
        ASSERT_NE(bar, std::string::npos) << "group " << g;
        const std::string cells = caption.substr(bar + 1);
        ASSERT_EQ(cells.size(), 96u) << "group " << g << ": " << caption;
        for (int k = 0; k < 8; ++k) {
            const bool shown = cells[static_cast<size_t>(12 * k + 4)] != ' ';
            EXPECT_EQ(shown, d.values[k].type != VALUE_EMPTY) << "group " << g << " value " << k;
        }
    }
}

TEST_F(DataGroups, EngineValuesApplyByTheEnginesTheAircraftHas)
{
    const data_record& r = record_of(23);
    EXPECT_EQ(r.group, 23);
    EXPECT_EQ(r.values[0], 0.25f);
    EXPECT_EQ(r.values[1], 0.75f);
    for (int k = 2; k < 8; ++k) EXPECT_EQ(r.values[k], 0.0f) << k;
    EXPECT_EQ(record_of(24).values[0], 2.0f);   // an integer sent as its value, not its bits
    const data_record& speeds = record_of(2);
    EXPECT_FLOAT_EQ(speeds.values[2], speeds.values[0] * 1.1507795f);

    flt[0].failures[59] = 6;   // engine 1 failed
    EXPECT_EQ(record_of(23).values[1], 0.0f);
    flt[0].failures[59] = 0;
    pln[0].acf_hide_prop_at_90_vect = 1;
    pln[0].thrust_vector_angle[0] = 90.0f;   // vectored up: hidden
    EXPECT_EQ(record_of(23).values[0], 0.0f);
    EXPECT_EQ(record_of(23).values[1], 0.75f);
    pln[0].acf_hide_prop_at_90_vect = 0;

    EXPECT_EQ(record_of(72).values[0], 0.4f);   // wing part 8 fitted
    flt[0].failures[138] = 6;
    EXPECT_EQ(record_of(72).values[0], 0.0f);

    // Lift over drag at rest is no number: an empty value, never sent as such.
    EXPECT_EQ(record_of(57).values[0], 0.0f);
    sim_network_dataout.data_to_graph[57] = 1;
    DATAOUT_group(4, 57, 0);
    EXPECT_EQ(graph_history.value[0][graph_history.column], -999.0f);

    // The selected weapon: none, or a slot outside 0..23, gives zeros.
    pln[0].acf_wpn_slot[0].wpn_mass = 12.0f;
    sim_cockpit_weapons.selected_weapon_slot = 0;
    EXPECT_EQ(record_of(98).values[0], 12.0f);
    for (int s : {-1, 24}) {
        sim_cockpit_weapons.selected_weapon_slot = s;
        EXPECT_EQ(record_of(98).values[0], 0.0f);
    }

    // The DME group follows its source switch; a source outside 0..5 reads nothing.
    sim_cockpit_radios.nav1_dme_dist_m[1] = 17.5f;
    sim_cockpit_switches.DME_distance_or_time = 1;
    EXPECT_EQ(record_of(87).values[1], 17.5f);
    sim_cockpit_switches.DME_distance_or_time = 9;
    EXPECT_EQ(record_of(87).values[1], 0.0f);
}

TEST_F(DataGroups, IntegerSlotsSendTheirOwnVariableAsAWholeNumber)
{
    // Every value the table reads as an int, by group and slot; every other
    // slot of these groups is a float or empty.
    auto& R = sim_cockpit_radios;
    auto& SW = sim_cockpit_switches;
    auto& AP = sim_cockpit_autopilot;
    auto& EL = sim_cockpit_electrical;
    auto& EN = sim_cockpit_engine;
    auto& AN = sim_cockpit_warnings_annunciators;
    auto& W = sim_cockpit_warnings;
    auto& J = sim_joystick;
    flt_struct& U = flt[0];
    struct slot { int group, k; int32_t* var; };
    std::vector<slot> slots = {
        {13, 0, &SW.gear_handle_status},
        {82, 0, &R.com1_freq_hz}, {82, 1, &R.com1_stdby_freq_hz}, {82, 2, &R.com2_freq_hz},
        {82, 3, &R.com2_stdby_freq_hz},
        {83, 0, &R.nav1_freq_hz}, {83, 1, &R.nav1_stdby_freq_hz}, {83, 2, &R.nav2_freq_hz},
        {83, 3, &R.nav2_stdby_freq_hz}, {83, 4, &R.nav_type[0]}, {83, 5, &R.nav_type[1]},
        {84, 1, &R.nav1_fromto[0]}, {84, 3, &R.nav1_fromto[1]},
        {86, 0, &R.adf1_freq_hz}, {86, 4, &R.adf2_freq_hz},
        {87, 0, &SW.DME_radio_selector}, {87, 4, &R.nav1_has_dme[2]}, {87, 6, &R.dme_freq_hz},
        {87, 7, &R.nav1_has_dme[5]},
        {88, 0, &sim_cockpit_gps.destination_type}, {88, 1, &sim_cockpit_gps.destination_index},
        {88, 6, &R.nav1_fromto[4]},
        {89, 0, &R.transponder_code}, {89, 1, &R.transponder_id}, {89, 2, &R.transponder_light},
        {90, 0, &AP.airspeed_mode}, {90, 1, &AP.heading_mode}, {90, 2, &AP.altitude_mode}, {90, 3, &AP.hnav_mode},
        {90, 4, &AP.vnav_mode}, {90, 5, &AP.backcourse_on},
        {92, 0, &AP.autopilot_mode}, {92, 3, &SW.HSI_selector}, {92, 4, &SW.RMI_selector},
        {92, 5, &SW.audio_panel_out}, {92, 6, &SW.EFIS_map_range_selector},
        {93, 0, &sim_cockpit_misc.outer_marker_lit}, {93, 1, &sim_cockpit_misc.middle_marker_lit},
        {93, 2, &sim_cockpit_misc.inner_marker_lit}, {93, 3, &R.marker_audio_working},
        {93, 4, &R.gear_audio_working}, {93, 5, &U.lo_rotor_warning},
        {94, 0, &EL.battery_on}, {94, 1, &EL.avionics_on}, {94, 2, &U.nav_lights_on}, {94, 3, &U.beacon_lights_on},
        {94, 4, &U.strobe_lights_on}, {94, 5, &U.landing_lights_on}, {94, 6, &EL.HUD_on},
        {95, 0, &SW.pitot_heat_on}, {95, 1, &SW.anti_ice_on}, {95, 2, &SW.auto_brake_settings},
        {95, 3, &U.taxi_light_on}, {95, 4, &SW.yaw_damper_on}, {95, 5, &SW.art_stab_on}, {95, 6, &EN.fadec_on[0]},
        {95, 7, &EN.fadec_on[1]},
        {96, 0, &SW.prop_sync_on}, {96, 1, &SW.arresting_gear}, {96, 2, &SW.ECAM_mode}, {96, 4, &SW.pre_rotating},
        {96, 5, &SW.pre_rotate_level}, {96, 6, &EN.fuel_tank_selector}, {96, 7, &SW.auto_feather_mode},
        {97, 5, &sim_cockpit_pressure.bleed_air_on},
        {100, 1, &W.master_accept_on}, {100, 2, &W.master_caution_on}, {100, 3, &U.stallwarning},
        {100, 5, &sim_time.paused},
        {101, 0, &AN.master_caution}, {101, 1, &AN.master_accept}, {101, 2, &AN.autopilot_disconnect},
        {101, 3, &AN.low_vacuum}, {101, 4, &AN.low_voltage}, {101, 5, &AN.fuel_quantity},
        {101, 6, &AN.hydraulic_pressure},
        {104, 0, &J.eq_ped_nobrk}, {104, 1, &J.eq_ped_wibrk}, {104, 2, &J.eq_cirrusII_fun},
        {104, 3, &J.eq_cirrusII_app}, {104, 4, &J.eq_pfc_pedals}, {104, 5, &J.eq_pfc_cirrus2},
        {102, 0, &AN.fuel_pressure}, {102, 1, &AN.oil_pressure}, {102, 2, &AN.oil_temperature},
        {102, 3, &AN.inverter}, {102, 4, &AN.generator}, {102, 5, &AN.chip_detect}, {102, 6, &AN.engine_fire},
        {102, 7, &AN.auto_ignition},
    };
    for (int k = 0; k < 8; ++k) {
        slots.push_back({24, k, &U.ENGN_propmode[k]});
        slots.push_back({28, k, &U.ignition_on[k]});
        slots.push_back({48, k, &EN.fuel_pump_on[k]});
        slots.push_back({49, k, &EL.generator_on[k]});
        slots.push_back({50, k, &EN.inverter_on[k]});
        slots.push_back({51, k, &EN.idle_speed[k]});
        slots.push_back({105, k, &U.comp_fail_stat[k]});
    }
    pln[0].acf_num_engines = 8;
    for (int e = 0; e < 8; ++e) pln[0].acf_en_type[e] = 0;
    // A distinct whole number in each variable: a slot that reads a
    // neighbour, or a variable two slots share, shows.
    for (size_t i = 0; i < slots.size(); ++i) *slots[i].var = static_cast<int32_t>(3 + 7 * i);
    SW.DME_distance_or_time = 2;   // group 87 value 5: the source radio, here adf1
    slots.push_back({87, 5, &SW.DME_distance_or_time});

    int ints[DATAOUT_GROUP_COUNT] = {};
    for (const slot& s : slots) {
        ++ints[s.group];
        EXPECT_EQ(record_of(s.group).values[s.k], static_cast<float>(*s.var)) << "group " << s.group << " value " << s.k;
    }
    for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g) {
        int n = 0;
        for (const data_value& v : data_groups[g].values) n += v.type == VALUE_INT || v.factor == DATA_INTEGER;
        EXPECT_EQ(n, ints[g]) << "group " << g;
    }
}

TEST_F(DataGroups, EngineKindsAndPartFailureSlots)
{
    // A ninth engine type family: type 7 turns a propeller for the kinds that
    // take it by list, but is neither piston nor jet nor a plain prop engine.
    acf_struct& a = pln[0];
    a.acf_num_engines = 1;
    a.acf_num_thrustpoints = 0;
    a.acf_en_type[0] = 7;
    struct { int kind, applies; } by_kind[] = {{KIND_E0, 1}, {KIND_E1, 0}, {KIND_E2, 0}, {KIND_E3, 0},
                                               {KIND_E4, 1}, {KIND_E5, 0}, {KIND_E6, 1}};
    for (const auto& c : by_kind) EXPECT_EQ(DATAOUT_applies(0, 0, c.kind), c.applies) << "kind " << c.kind;
    flt[0].POINT_tacrad[0] = 10.0f;   // group 34 is E6: engine 0 of type 7 sends its rotor speed
    EXPECT_NEAR(record_of(34).values[0], 95.492964f, 1e-3f);
    a.acf_en_type[0] = 4;             // a jet of the same aircraft does not
    EXPECT_EQ(record_of(34).values[0], 0.0f);

    // Parts 53 to 60 fail through slots 58 to 65; parts 8 to 43 through 138
    // to 173; other parts only by being fitted.
    struct { int part, slot; } fails[] = {{53, 58}, {60, 65}, {8, 138}, {43, 173}, {44, -1}, {61, -1}};
    for (const auto& c : fails) {
        a.acf_part_eq[c.part] = 1;
        EXPECT_EQ(DATAOUT_applies(0, c.part, KIND_W), 1) << c.part;
        for (int s = 0; s < FAILURE_SLOTS; ++s) flt[0].failures[s] = 0;
        if (c.slot >= 0) flt[0].failures[c.slot] = 6;
        else
            for (int f : {c.part + 5, 130 + c.part})
                if (f < FAILURE_SLOTS) flt[0].failures[f] = 6;
        EXPECT_EQ(DATAOUT_applies(0, c.part, KIND_W), c.slot >= 0 ? 0 : 1) << c.part;
        for (int s = 0; s < FAILURE_SLOTS; ++s) flt[0].failures[s] = 0;
        a.acf_part_eq[c.part] = 0;
        EXPECT_EQ(DATAOUT_applies(0, c.part, KIND_W), 0) << c.part;
    }
}

TEST_F(DataGroups, ReceivedRecordsWriteTheirVariablesAndTheOverrideFlag)
{
    auto apply = [](int group, std::initializer_list<float> v) {
        std::fill(std::begin(dataout_input_row), std::end(dataout_input_row), -999.0f);
        std::copy(v.begin(), v.end(), dataout_input_row);
        DATAOUT_group(0, group, 0);
    };
    sim_joystick.yolk_roll_ratio = 0.1f;
    apply(8, {0.5f});
    EXPECT_EQ(sim_joystick.yolk_pitch_ratio, 0.5f);
    EXPECT_EQ(sim_joystick.yolk_roll_ratio, 0.1f);
    EXPECT_EQ(sim_operation_override.override_joystick, 1);
    apply(8, {});
    EXPECT_EQ(sim_operation_override.override_joystick, 0);
    EXPECT_EQ(sim_joystick.yolk_pitch_ratio, 0.5f);

    apply(105, {-999.0f, -999.0f, 6.0f});   // an integer variable takes the value cut
    EXPECT_EQ(flt[0].comp_fail_stat[2], 6);
    apply(96, {-999.0f, -999.0f, -999.0f, -999.0f, 1.0f, 1.7f});   // the pre-rotation level is a whole step
    EXPECT_EQ(sim_cockpit_switches.pre_rotating, 1);
    EXPECT_EQ(sim_cockpit_switches.pre_rotate_level, 1);
    apply(2, {100.0f});                      // converted back: knots to metres a second
    EXPECT_NEAR(flt[0].true_airspeed, 100.0f / 1.9438444f, 1e-3f);

    // Values that are no number, or too large for an int, change nothing.
    apply(105, {-999.0f, -999.0f, 5.0e20f});
    apply(2, {std::nanf("")});
    apply(8, {INFINITY});
    EXPECT_EQ(flt[0].comp_fail_stat[2], 6);
    EXPECT_NEAR(flt[0].true_airspeed, 100.0f / 1.9438444f, 1e-3f);
    EXPECT_EQ(sim_joystick.yolk_pitch_ratio, 0.5f);
    apply(0, {30.0f});   // a computed value takes nothing
    apply(250, {1.0f});  // no such group

    EXPECT_EQ(expect_fatal([] { DATAOUT_group(9, 2, 0); }).lines[0], "Bad argument to sub_out_dat!");
}

// Conversions and signs of a few values, the marker's tolerance, and which
// received values raise their group's override flag.
TEST_F(DataGroups, FactorsMarkerToleranceAndInputMasks)
{
    flt_struct& f = flt[0];
    f.g_axil = 0.5f;
    f.M = 100.0f;
    f.dist = 1852.0f;
    f.faxil_prop = 100.0f;
    f.ENGN_FF_[0] = 0.01f;   // kg/s: 79.36639 lb/h
    sim_weather.wind_speed_kt[0] = 10.0f;   // knots already: sent as they are
    const struct {
        int group, k;
        float sent;
    } rows[] = {{3, 2, -0.5f}, {14, 0, 73.819202f}, {19, 7, 1.0f}, {19, 6, 6076.1155f}, {54, 1, -22.500093f},
                {40, 0, 79.36639f}, {5, 2, 10.0f}};
    for (const auto& r : rows) EXPECT_NEAR(record_of(r.group).values[r.k], r.sent, 1e-3f) << r.group << " " << r.k;
    // Frames a second are 1 over the period: a period of 0 gives an endless rate, held to 9.9e9.
    const float period = sim_operation_misc.frame_rate_period;
    sim_operation_misc.frame_rate_period = 0.0f;
    EXPECT_EQ(record_of(0).values[0], 9.9e9f);
    sim_operation_misc.frame_rate_period = period;

    auto apply = [](int group, std::initializer_list<float> v) {
        std::fill(std::begin(dataout_input_row), std::end(dataout_input_row), -999.0f);
        std::copy(v.begin(), v.end(), dataout_input_row);
        DATAOUT_group(0, group, 0);
    };
    f.true_airspeed = 20.0f;
    apply(2, {-999.009f});   // within 0.01 of the marker: left alone
    EXPECT_EQ(f.true_airspeed, 20.0f);

    const struct {
        int group, k;
        int32_t* flag;
        int raised;
    } masks[] = {{10, 3, &sim_operation_override.override_flightcontrol, 1},
                 {13, 3, &sim_operation_override.override_gearbrake, 1},
                 {17, 3, &sim_operation_override.override_planepath[0], 1},
                 {17, 4, &sim_operation_override.override_planepath[0], 0},
                 {19, 2, &sim_operation_override.override_planepath[0], 1},
                 {19, 6, &sim_operation_override.override_planepath[0], 0},
                 {9, 2, &sim_operation_override.override_artstab, 1},
                 {8, 4, &sim_operation_override.override_joystick, 1},
                 {8, 5, &sim_operation_override.override_joystick, 0}};
    for (const auto& m : masks) {
        std::fill(std::begin(dataout_input_row), std::end(dataout_input_row), -999.0f);
        dataout_input_row[m.k] = 0.25f;
        DATAOUT_group(0, m.group, 0);
        EXPECT_EQ(*m.flag, m.raised) << m.group << " " << m.k;
    }
}

// Every group's caption entry and applicability kind, groups 0 to 106 in order.
TEST_F(DataGroups, EveryGroupHasItsCaptionEntryAndKind)
{
    const int entries[DATAOUT_GROUP_COUNT] = {
        409, 410, 411, 412, 413, 414, 415, 416, 417, 418, 419, 420, 421, 422, 423, 424, 425, 426, 427, 428,
        429, 430, 431, 432, 433, 434, 435, 436, 437, 438, 439, 440, 441, 522, 442, 443, 444, 445, 446, 447,
        448, 449, 450, 451, 452, 519, 453, 454, 455, 456, 457, 370, 458, 459, 460, 461, 462, 463, 464, 465,
        466, 467, 468, 469, 470, 471, 472, 473, 474, 475, 476, 477, 478, 479, 480, 481, 482, 483, 484, 485,
        486, 487, 488, 489, 490, 491, 492, 493, 494, 495, 496, 201, 497, 498, 499, 500, 501, 502, 503, 504,
        505, 506, 507, 508, 509, 524, 579};
    const data_kind kinds[DATAOUT_GROUP_COUNT] = {
        KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A,
        KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_E0,
        KIND_E0, KIND_E6, KIND_E0, KIND_E6, KIND_E0, KIND_E6, KIND_E5, KIND_E5, KIND_E1, KIND_E0, KIND_E6,
        KIND_E6, KIND_E5, KIND_E2, KIND_E5, KIND_E3, KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_E0,
        KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_E0, KIND_A, KIND_A, KIND_G, KIND_G, KIND_A,
        KIND_E6, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_E5, KIND_E5, KIND_E5, KIND_E5, KIND_E6, KIND_E6,
        KIND_A, KIND_A, KIND_W, KIND_W, KIND_S, KIND_S, KIND_E6, KIND_E6, KIND_W, KIND_W, KIND_S, KIND_S,
        KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A,
        KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A, KIND_A};
    for (int g = 0; g < DATAOUT_GROUP_COUNT; ++g) {
        EXPECT_EQ(data_groups[g].caption, entries[g]) << g;
        EXPECT_EQ(data_groups[g].kind, kinds[g]) << g;
    }
}

TEST_F(DataGroups, FileSectionHasTheShownColumnsThenTheirRows)
{
    sim_network_dataout.data_to_disk[23] = sim_network_dataout.data_to_disk[24] = 1;
    flt[0].dist = 500.0f;
    DATAOUT_reset();
    EXPECT_EQ(dataout_any_disk_group, 1);
    EXPECT_EQ(flt[0].dist, 0.0f);
    DATAOUT_group(2, 23, 0);
    DATAOUT_group(2, 24, 0);
    data_log << "\n";
    const std::string section = data_text();
    EXPECT_EQ(section, "\n  thro1,_part |   thro2,_part |   mode1,____n |   mode2,____n | \n"
                           "         0.25 |          0.75 |             2 |             1 | \n");

    // Without disk groups a reset writes nothing.
    sim_network_dataout.data_to_disk[23] = sim_network_dataout.data_to_disk[24] = 0;
    DATAOUT_reset();
    EXPECT_EQ(dataout_any_disk_group, 0);
    EXPECT_EQ(data_text(), section);
}

TEST_F(DataGroups, GraphSamplesShareTheColumnTheFirstGroupOpened)
{
    graph_history.column = 1798;
    DATAOUT_group(4, 23, 0);
    EXPECT_EQ(graph_history.column, 1799);   // the last column is taken before the ring wraps
    sim_time.total_flight_time_sec = 12.5f;
    DATAOUT_group(4, 23, 0);
    DATAOUT_group(4, 24, 1);
    DATAOUT_group(4, 24, 5);   // only five groups are recorded
    EXPECT_EQ(graph_history.column, 0);
    EXPECT_EQ(graph_history.time[0], 12.5f);
    EXPECT_EQ(graph_history.value[1][0], 0.75f);
    EXPECT_EQ(graph_history.value[2][0], -999.0f);   // no third engine
    EXPECT_EQ(graph_history.value[8][0], 2.0f);
    DATAOUT_reset();
    EXPECT_EQ(graph_history.value[8][0], -999.0f);
    EXPECT_EQ(graph_history.column, 0);   // the ring keeps its place
}

TEST_F(DataGroups, BoxesOverTheFlyingViewStackInTwoColumns)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    screen.ui_side_margin = screen.ui_top_margin = 0.0f;
    auto shade_of = [](int slot) {
        const std::vector<fb_prim> p = capture_feedback([slot] { DATAOUT_group(7, 23, slot); });
        float x = 9e9f, y = -9e9f;
        for (const fb_vertex& v : p.front().v) x = std::min(x, v.x), y = std::max(y, v.y);
        return std::make_pair(x, y);
    };
    EXPECT_EQ(shade_of(0), std::make_pair(1.0f, 744.0f));     // the left column's top: x 3 - 2, y 725 + 19
    EXPECT_EQ(shade_of(1), std::make_pair(1.0f, 706.0f));
    EXPECT_EQ(shade_of(8), std::make_pair(738.0f, 744.0f));   // the top of the right column
}

// The graph legend draws column k in its curve's colour, rows 10 units apart
// from the top: 60, 66, 50, 49, 79, 51, 55, 72 (group 20 shows all eight).
TEST_F(DataGroups, LegendColoursByColumn)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    const int colours[8] = {60, 66, 50, 49, 79, 51, 55, 72};
    float kept[8][3];
    for (int k = 0; k < 8; ++k) {
        std::copy(colour_table[colours[k]], colour_table[colours[k]] + 3, kept[k]);
        OGL_set_color(colours[k], static_cast<float>(k + 1) / 10.0f, 0.0f, 0.0f);
    }
    const std::vector<fb_rect> rects = capture_rects([] { DATAOUT_group(5, 20, 100); });
    for (int k = 0; k < 8; ++k) OGL_set_color(colours[k], kept[k][0], kept[k][1], kept[k][2]);
    ASSERT_FALSE(rects.empty());
    float top = -9e9f;
    for (const fb_rect& r : rects) top = std::max(top, r.y2);
    for (const fb_rect& r : rects) {
        const int k = static_cast<int>(std::lround((top - r.y2) / 10.0f));
        EXPECT_NEAR(r.r, (k + 1) / 10.0f, 0.01f) << "row " << k;
    }
}

TEST_F(DataGroups, ElementTableShowsPartsWithElementsAndTenAtMost)
{
    MACHINE_NEEDS(ui_2d_ready(), "OpenGL context");
    acf_struct& a = pln[0];
    a.acf_part_eq[9] = 1;
    a.acf_els[8] = 0;    // fitted, no element: its rows without cells
    a.acf_els[9] = 15;   // more than a part holds: ten columns
    a.acf_els[10] = 4;   // not fitted
    screen.ui_top_margin = 0.0f;
    std::vector<std::string> element_rows;
    for (const std::string& l : text_lines(107, capture_rects([] { DATAOUT_element_table(1); })))
        if (l.rfind("element", 0) == 0) element_rows.push_back(l);
    EXPECT_EQ(element_rows, (std::vector<std::string>{"element", "element0123456789"}));
    EXPECT_EQ(dataout.table_y, 735.0f - 2 * (70.0f + 20.0f));   // two parts of eight rows
}

}  // namespace
