// The data groups: 107 numbered groups (0..106) of up to eight values of the
// simulation, each with a unit conversion and a caption. One table serves the
// "DATA" datagrams sent to a data-output receiver, the rows of "DATA.OUT", the
// graph history, the boxes over the flying view, the labels of the network
// screen, and the "DATA" records received from outside, which write the
// values back (links/dataout_table.cpp holds the table, links/dataout.cpp
// what each output mode does with a group).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int DATA_RECORD_VALUES = 8;
constexpr int DATA_RECORD_BYTES = 36;
constexpr int NET_DATA_ROWS = 200;
constexpr int DATAOUT_GROUP_COUNT = 107;     // groups 0..106; selection entries 107..199 have none
constexpr int DATAOUT_GRAPH_GROUPS = 5;      // groups the graph history can hold
constexpr int DATAOUT_GRAPH_COLUMNS = 1800;
constexpr int DATAOUT_GRAPH_ROWS = DATAOUT_GRAPH_GROUPS * DATA_RECORD_VALUES;   // 40
constexpr float DATA_EMPTY = -999.0f;        // an absent value (sent as 0.0)
constexpr float DATA_INTEGER = -998.0f;      // the conversion of an integer variable

// One "DATA" record as it travels: the group index and eight values.
struct data_record {
    int32_t group;
    float values[DATA_RECORD_VALUES];
};
static_assert(sizeof(data_record) == DATA_RECORD_BYTES);
static_assert(offsetof(data_record, values) == 4);

// The outgoing records; one "DATA" datagram carries records 0 to n - 1.
extern data_record net_data_snd[NET_DATA_ROWS];
// The values of the received record being applied (mode 0).
extern float dataout_input_row[DATA_RECORD_VALUES];
// Set by DATAOUT_reset when at least one group is chosen for "DATA.OUT".
extern int32_t dataout_any_disk_group;

// The graph history: the flight time of each column and 40 rows of values
// (rows 8n..8n+7 the eight values of the n-th graphed group), a ring of 1800
// columns; -999.0 marks an empty cell.
struct dataout_graph_history {
    float time[DATAOUT_GRAPH_COLUMNS];
    float value[DATAOUT_GRAPH_ROWS][DATAOUT_GRAPH_COLUMNS];
    int32_t column;   // the column written last
};
extern dataout_graph_history graph_history;

// Applicability kinds of a group's values (k the value's index 0..7).
enum data_kind : uint8_t {
    KIND_A,    // always
    KIND_E0,   // engine k exists
    KIND_E1,   // engine k exists and drives a propeller
    KIND_E2,   // engine k exists and is a piston engine
    KIND_E3,   // engine k exists and is a jet
    KIND_E4,   // engine k exists and is a rocket
    KIND_E5,   // k is below the thrust-point count
    KIND_E6,   // engine k exists and turns (types 0..3, 7, 8), or k is a further thrust point
    KIND_G,    // gear part 67 + k is in service
    KIND_W,    // wing part 8 + k is in service
    KIND_S,    // stabiliser part 16 + k (k 0..3) is in service; values 4..7 always
};

// Selects group `group` and does with it what `mode` says (arg by mode):
//   0 applies dataout_input_row to the group's variables (arg 0)
//   1 fills record arg (0..199) of net_data_snd
//   2 writes the group's values to "DATA.OUT"; 3 its column headers
//   4 records one graph sample as graphed group arg (0..4)
//   5 draws its graph legend at x = arg
//   6 draws its values over the flying view in screen slot arg; 7 the box and headers
//   8 draws its title at x = arg / 1000, y = arg % 1000
// A group outside 0..106 does nothing; a mode outside 0..8 is a fatal alert.
// Mode 0 stores only values inside their slot's range; the receive side
// refuses a datagram with any other first (DATAOUT_input_in_range).
void DATAOUT_group(int mode, int group, int arg);

struct net_range_miss;
// True when every value of a received record that a slot would take lies in
// that slot's range (links/net_ranges.h), in the variable's units; false with
// the first miss (its element is group * 8 + value) otherwise. -999.0 and a
// slot that takes nothing are never a miss.
bool DATAOUT_input_in_range(const data_record& r, net_range_miss& miss);

// 1 when value n applies to the user's aircraft under `kind`: n is the value
// index for the engine kinds, the part number for KIND_G, KIND_W and KIND_S.
// Plane is always 0.
int DATAOUT_applies(int plane, int n, int kind);

// A new "DATA.OUT" section and an empty graph (links/dataout_session.h).
void DATAOUT_reset();

// The element table of one set of parts over the flying view: 0 the
// propellers, 1 the wings, 2 the stabilisers.
void DATAOUT_element_table(int set);

// What the data output keeps from call to call besides the tables above.
struct dataout_state {
    int32_t table_frame = -1;       // the frame the element table last started in
    float table_y = 0.0f;           // the next row of the element table
    float table_end_y = 0.0f;       // where the last element table ended
    int32_t table_started = 0;
};
extern dataout_state dataout;
// Clears the outgoing records, the input row, the graph history and the state above.
void DATAOUT_clear();
