// The one table of instrument types: each range of types (in type order,
// covering 0..475) with the picture of each type, the design size of its
// faces and its drawer. The panel pass hands every slot of the user's panel
// to the drawer of its type's range; the picture and size lookups of
// panel/instrument_pictures.h read the same rows.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "panel/instrument_pictures.h"
#include "core/instrument_types.h"
#include "panel/panel.h"

// The engine counters of one panel pass. A plain counter is used and then
// advanced by its drawer; a pick counter is advanced by PANEL_pick_engine to
// the next engine that suits the type. Both are keyed by the type that leads
// their group. The gear lights walk the gear parts, the fuel gauges the tanks,
// the synthetic-vision displays alternate.
struct panel_pass_counters {
    int32_t plain[PANEL_INSTRUMENT_TYPES];
    int32_t pick[PANEL_INSTRUMENT_TYPES];
    int32_t gear;
    int32_t fuel = 0;
    int32_t hud = 0;
    panel_pass_counters();
};

// What the pass hands the drawer of one slot.
struct instrument_slot {
    ins_type type;
    int index;                      // the slot, 0..ACF_INS_SLOTS - 1
    const panel_records& rec;       // the user's aircraft and flight record
    panel_pass_counters& counters;
};

using instrument_drawer = void (*)(const instrument_slot&);

struct instrument_range {
    ins_type first, last;
    instrument_design_size size;    // of every face of the range
    instrument_drawer draw;         // nullptr: a placard, nothing moves
    std::initializer_list<const char*> pictures;   // one per type, first..last
};

// The range that holds `type` (nullptr outside 0..475).
const instrument_range* PANEL_instrument_range(int type);

// What the table's own small instruments keep between frames, back to start.
void INSTRUMENT_TABLE_reset();
