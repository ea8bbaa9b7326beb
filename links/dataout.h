// The data groups: the 36-byte "DATA" record, the outgoing records and the
// output routine for one group.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int DATA_RECORD_VALUES = 8;
constexpr int DATA_RECORD_BYTES = 36;
constexpr int NET_DATA_ROWS = 200;
constexpr int DATAOUT_GRAPH_GROUPS = 5;   // groups the graph history can hold

// One "DATA" record as it travels: the group index and eight values.
struct data_record {
    int32_t group;
    float values[DATA_RECORD_VALUES];
};
static_assert(sizeof(data_record) == DATA_RECORD_BYTES);
static_assert(offsetof(data_record, values) == 4);

// The outgoing records; one "DATA" datagram carries records 0 to n - 1.
extern data_record net_data_snd[NET_DATA_ROWS];

// Set when at least one group is chosen for "DATA.OUT" (the disk-output switch).
extern int32_t dataout_any_disk_group;

// mode 1: fills record `row` of net_data_snd; mode 2: writes the group's values
// to "DATA.OUT"; mode 4: records one graph sample as graphed group `row` (0..4).
// A group outside 0..106 does nothing.
void DATAOUT_group(int mode, int group, int row);
