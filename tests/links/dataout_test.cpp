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
#include "links/dataout_groups.h"
#include "links/dataout_session.h"
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
    graph_history.column = 1799;
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
    if (!ui_2d_ready()) GTEST_SKIP() << "no OpenGL context";
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

TEST_F(DataGroups, ElementTableShowsPartsWithElementsAndTenAtMost)
{
    if (!ui_2d_ready()) GTEST_SKIP() << "no OpenGL context";
    acf_struct& a = pln[0];
    a.acf_part_eq[9] = 1;
    a.acf_els[8] = 0;    // fitted, no element: no table
    a.acf_els[9] = 15;   // more than a part holds: ten columns
    a.acf_els[10] = 4;   // not fitted
    screen.ui_top_margin = 0.0f;
    std::vector<std::string> element_rows;
    for (const std::string& l : text_lines(107, capture_rects([] { DATAOUT_element_table(1); })))
        if (l.rfind("element", 0) == 0) element_rows.push_back(l);
    EXPECT_EQ(element_rows, (std::vector<std::string>{"element0123456789"}));
    EXPECT_EQ(dataout.table_y, 735.0f - 70.0f - 20.0f);   // one part of eight rows
}

}  // namespace
