// The definition of the 107 data groups (links/dataout_table.cpp): for each
// its caption, applicability kind, override flag and input mask, and eight
// value slots, each a variable with its conversion.
#pragma once

#include <cstdint>

#include "links/dataout.h"
#include "links/net_ranges.h"

enum data_value_type : uint8_t {
    VALUE_EMPTY,      // no variable: always -999.0
    VALUE_FLOAT,      // a float variable times the factor
    VALUE_INT,        // an int variable, unscaled (the factor is DATA_INTEGER)
    VALUE_COMPUTED,   // a value worked out at each call; received values are not taken
};

struct data_value {
    data_value_type type = VALUE_EMPTY;
    void* place = nullptr;                  // the variable
    void* (*locate)() = nullptr;            // or the variable found anew at each call (nullptr: none now)
    float (*compute)() = nullptr;           // VALUE_COMPUTED
    float factor = 1.0f;
    float (*factor_of)() = nullptr;         // a factor formed anew at each call
    net_range range = RANGE_VALUE;          // the range a received value must lie in, in the variable's units
    void (*store)(float) = nullptr;         // how a received value is stored, when not by writing the variable

    // The variable this slot reads and writes now (nullptr when none).
    void* variable() const { return locate ? locate() : place; }
    float conversion() const { return factor_of ? factor_of() : factor; }
};

struct data_group {
    int16_t caption;              // UI text entry: title, '|', eight 12-character column cells
    data_kind kind;
    int32_t* override_flag;       // raised by received values marked 'x'; nullptr when the group takes no control
    char mask[DATA_RECORD_VALUES + 1];
    data_value values[DATA_RECORD_VALUES];
};

extern const data_group data_groups[DATAOUT_GROUP_COUNT];

// Caption layout: after the last '|' eight cells of a 5-character column name,
// a separator, a 5-character unit and a separator.
constexpr int DATA_CELL_CHARS = 12;
constexpr int DATA_NAME_CHARS = 5;
