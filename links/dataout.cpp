// What the simulator does with a data group: apply a received record, fill an
// outgoing one, write a "DATA.OUT" row or header, record a graph sample, and
// draw the group over the flying view, in the graph legend or on the network
// screen. Also the session reset and the per-element table.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <ios>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars/network.h"
#include "core/simvars/operation.h"
#include "core/simvars/time.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "links/dataout_groups.h"
#include "links/dataout_session.h"

data_record net_data_snd[NET_DATA_ROWS] = {};
float dataout_input_row[DATA_RECORD_VALUES] = {};
int32_t dataout_any_disk_group = 0;
dataout_graph_history graph_history{};
dataout_state dataout;

namespace {

constexpr float CLIP = 9.9e9f;
constexpr int LEGEND_COLOURS[DATA_RECORD_VALUES] = {60, 66, 50, 49, 79, 51, 55, 72};
constexpr float LEGEND_Y[DATA_RECORD_VALUES] = {94, 84, 74, 64, 54, 44, 34, 24};
constexpr int TEXT_COLOUR = 48;
constexpr int TITLE_COLOUR = 45;
constexpr int SMALL_FONT = 107;
constexpr int TITLE_FONT = 103;
constexpr int ENGINE_FAILURE_SLOT = 58;   // + engine

bool is_integer_factor(float f) { return std::fabs(f - DATA_INTEGER) <= 0.001f; }
bool is_empty(float v) { return std::isnan(v) || std::fabs(v + 999.0f) < 0.001f; }

bool failed(int slot) { return FLT_failure_state(0, slot) == FAILURE_STATE_FAILED; }

// Engine k of the user's aircraft: its existence and type.
bool engine_exists(int k) { return k >= 0 && k < 8 && k < pln[0].acf_num_engines; }
int engine_type(int k) { return (k >= 0 && k < 8) ? pln[0].acf_en_type[k] : -1; }

int part_applies(int p)
{
    int slot = -1;
    if (p >= 8 && p <= 43) slot = 130 + p;
    if (p >= 53 && p <= 60) slot = p + 5;
    if (slot >= 0 && failed(slot)) return 0;
    // A part number outside the record's parts would read past acf_part_eq: it does not apply.
    return (p >= 0 && p < FLT_PARTS && pln[0].acf_part_eq[p] != 0) ? 1 : 0;
}

// Value k of a group of this kind applies to the user's aircraft.
int value_applies(data_kind kind, int k)
{
    switch (kind) {
    case KIND_A: return 1;
    case KIND_G: return k < FLT_GEAR_COUNT ? DATAOUT_applies(0, FLT_FIRST_GEAR_PART + k, kind) : 0;
    case KIND_W: return DATAOUT_applies(0, 8 + k, kind);
    case KIND_S: return k < 4 ? DATAOUT_applies(0, 16 + k, kind) : 1;
    default: return DATAOUT_applies(0, k, kind);
    }
}

// Value preparation: the variable converted, -999.0 when it is inapplicable or
// empty, held to +-9.9e9.
float prepared(const data_group& g, int k)
{
    const data_value& s = g.values[k];
    float v = DATA_EMPTY;
    const void* place = s.variable();
    switch (s.type) {
    case VALUE_EMPTY: break;
    case VALUE_COMPUTED: v = s.compute(); break;
    case VALUE_FLOAT:
    case VALUE_INT: {
        if (!place) break;
        const float factor = s.conversion();
        if (!is_integer_factor(factor))
            v = *static_cast<const float*>(place) * factor;
        else
            v = static_cast<float>(*static_cast<const int32_t*>(place));
        break;
    }
    }
    if (!value_applies(g.kind, k)) v = DATA_EMPTY;
    // A variable that is not a number would pass the hold below unchanged and
    // be sent, logged and drawn as NaN; it counts as an empty value instead.
    if (std::isnan(v)) return DATA_EMPTY;
    return std::clamp(v, -CLIP, CLIP);
}

// The eight column cells of a caption: name and unit of column k, blanks kept
// (a caption too short gives blank cells).
struct caption_cells {
    char title[TEXT_SIZE];
    char name[DATA_RECORD_VALUES][DATA_NAME_CHARS + 1];
    char unit[DATA_RECORD_VALUES][DATA_NAME_CHARS + 1];
};

void split_caption(int entry, caption_cells& c)
{
    const char* text = LANG_ui_text(entry);
    const size_t len = strnlen(text, TEXT_MAX_LEN);
    size_t bar = len;
    for (size_t i = 0; i < len; ++i)
        if (text[i] == '|') bar = i;
    const size_t title_len = bar < len ? bar : len;
    std::memcpy(c.title, text, title_len);
    c.title[title_len] = 0;
    const char* cells = bar < len ? text + bar + 1 : text + len;
    const size_t cells_len = bar < len ? len - bar - 1 : 0;
    auto at = [&](size_t i) { return i < cells_len ? cells[i] : ' '; };
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        for (int i = 0; i < DATA_NAME_CHARS; ++i) {
            c.name[k][i] = at(static_cast<size_t>(k * DATA_CELL_CHARS + i));
            c.unit[k][i] = at(static_cast<size_t>(k * DATA_CELL_CHARS + DATA_NAME_CHARS + 1 + i));
        }
        c.name[k][DATA_NAME_CHARS] = c.unit[k][DATA_NAME_CHARS] = 0;
    }
}

bool column_shown(const data_group& g, const caption_cells& c, int k)
{
    return c.name[k][DATA_NAME_CHARS - 1] != ' ' && value_applies(g.kind, k);
}

void blanks_to_underscores(char* t)
{
    for (; *t; ++t)
        if (*t == ' ') *t = '_';
}

// A received value is left alone when it is -999.0 (NaN is not: it is no value).
bool left_alone(float x) { return std::fabs(x + 999.0f) <= 0.01f; }

// What received value x of slot s stores, in the variable's units (nullptr
// place: the slot takes nothing).
struct input_value {
    void* place;
    bool integer;
    float value;
};
input_value input_of(const data_value& s, float x)
{
    void* place = (s.type == VALUE_FLOAT || s.type == VALUE_INT) ? s.variable() : nullptr;
    const float factor = s.conversion();
    if (is_integer_factor(factor)) return {place, true, std::trunc(x)};
    return {place, false, x / factor};
}

// Mode 0. Every value was checked against its range (DATAOUT_input_in_range).
void apply_input(int group, const data_group& g)
{
    if (g.override_flag) *g.override_flag = 0;
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float x = dataout_input_row[k];
        // -999.0 leaves the variable alone. A value that is no number (NaN or
        // infinite) from a datagram would poison the flight model's state: it
        // is left out too.
        if (left_alone(x) || !std::isfinite(x)) continue;
        const data_value& s = g.values[k];
        const input_value in = input_of(s, x);
        if (in.place && NET_in_range(s.range, in.value)) {
            if (s.store)
                s.store(in.value);
            else if (in.integer)
                *static_cast<int32_t*>(in.place) = static_cast<int32_t>(in.value);
            else
                *static_cast<float*>(in.place) = in.value;
        }
        if (g.mask[k] == 'x' && g.override_flag) *g.override_flag = 1;
    }
    if (!sim_operation_misc.debug_network || !error_log.is_open()) return;
    error_log << "We are now recieving UDP data into index #" << group << ".\n";
    error_log << "The data is (looked at as floats): ";
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const data_value& s = g.values[k];
        const void* place = (s.type == VALUE_FLOAT || s.type == VALUE_INT) ? s.variable() : nullptr;
        float v = DATA_EMPTY;
        if (place) v = s.type == VALUE_FLOAT ? *static_cast<const float*>(place)
                                              : static_cast<float>(*static_cast<const int32_t*>(place));
        error_log << (k ? " " : "") << v;
    }
    error_log << ". (-999.0=do not apply)\n";
    error_log << "                       conversion: ";
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) error_log << (k ? " " : "") << g.values[k].conversion();
    error_log << ". (-998.0=integer)\n";
    error_log << "   Let this input control Orvell: " << (g.override_flag ? *g.override_flag : 0)
              << ". (0/1 for yes/no if not -990) Data inputs with an 'x' can control the sim, others do not: "
              << g.mask << ".\n\n";
    error_log.flush();
}

// Mode 1.
void fill_record(int group, const data_group& g, int row)
{
    // A slot outside the 200 records would be written past the array: nothing is filled.
    if (row < 0 || row >= NET_DATA_ROWS) return;
    data_record& r = net_data_snd[row];
    r.group = group;
    const bool trace = sim_operation_misc.debug_network && error_log.is_open();
    if (trace)
        error_log << "OK we are building up our net_data_snd struct, filling net_data_snd[" << row
                  << "] with index=" << group << " with variables ";
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float v = prepared(g, k);
        r.values[k] = is_empty(v) ? 0.0f : v;
        if (trace)
            error_log << r.values[k] << " (input=" << v << ", conv=" << g.values[k].conversion()
                      << ", use=" << value_applies(g.kind, k) << (k < DATA_RECORD_VALUES - 1 ? ") " : ")\n");
    }
    if (trace) error_log.flush();
}

// "DATA.OUT" could not be written (a full disk): writing on into the failed
// file would lose every later row while the run looks as if it logs, so the
// file is closed, no row is written to it for the rest of the run, and a
// notice names it.
void check_data_log()
{
    if (!data_log.is_open() || !data_log.fail()) return;
    data_log.close();
    data_log.clear();
    std::error_code ec;
    const std::string path = (std::filesystem::current_path(ec) / DATA_LOG_NAME).string();
    MACIBM_nuke_alert(app_mode, "The data output file could not be written:", path.c_str(),
                      "Check that the disk is writable and not full.",
                      "No more rows are written to it until the next start.", ALERT_NOTICE);
}

// Mode 2.
void write_row(const data_group& g)
{
    check_data_log();
    if (!data_log.is_open()) return;
    const std::ios::fmtflags flags = data_log.flags();
    const std::streamsize precision = data_log.precision();
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float v = prepared(g, k);
        if (is_empty(v)) continue;
        data_log << std::setw(13) << std::setprecision(5) << v << " | ";
    }
    data_log.flags(flags);
    data_log.precision(precision);
    check_data_log();
}

// Mode 3.
void write_header(const data_group& g)
{
    if (!data_log.is_open()) return;
    caption_cells c;
    split_caption(g.caption, c);
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        if (!column_shown(g, c, k)) continue;
        blanks_to_underscores(c.name[k]);
        blanks_to_underscores(c.unit[k]);
        data_log << "  " << c.name[k] << "," << c.unit[k] << " | ";
    }
}

// Mode 4.
void record_sample(const data_group& g, int n)
{
    // A graph order past the five groups would write past the 40 value rows: nothing is recorded.
    if (n < 0 || n >= DATAOUT_GRAPH_GROUPS) return;
    dataout_graph_history& h = graph_history;
    if (n == 0) {
        h.column = h.column + 1 >= DATAOUT_GRAPH_COLUMNS ? 0 : h.column + 1;
        h.time[h.column] = sim_time.total_flight_time_sec;
    }
    const int c = h.column;
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float v = prepared(g, k);
        h.value[n * DATA_RECORD_VALUES + k][c] = is_empty(v) ? DATA_EMPTY : v;
    }
}

// Mode 5.
void draw_legend(const data_group& g, int x)
{
    caption_cells c;
    split_caption(g.caption, c);
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        if (!column_shown(g, c, k)) continue;
        OGL_draw_string(LEGEND_COLOURS[k], static_cast<float>(x), LEGEND_Y[k], c.name[k], 9999.0f, SMALL_FONT);
        OGL_draw_string(LEGEND_COLOURS[k], static_cast<float>(x + 84), LEGEND_Y[k], c.unit[k], 9999.0f, SMALL_FONT);
    }
}

// Modes 6 and 7: the box of screen slot s over the flying view.
void box_place(int s, float& x, float& y)
{
    // How far the window reaches beyond the 1024 x 768 interface area on each
    // side (the screen record's margins).
    const float interface_margin_x = screen.ui_side_margin, interface_margin_y = screen.ui_top_margin;
    const bool left = s < 8;
    x = left ? 3.0f - interface_margin_x : interface_margin_x + 740.0f;
    const int r = left ? s : s - 8;
    y = interface_margin_y + 725.0f - 38.0f * static_cast<float>(r);
}

void draw_values(const data_group& g, int s)
{
    float x, y;
    box_place(s, x, y);
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float v = prepared(g, k);
        if (is_empty(v)) continue;
        // Columns are 36 units apart and a five-digit value with its point is
        // 33 wide, so a minus in the sign cell left of its column would sit
        // against the last digit of the value to its left: "34.091-117.25"
        // reads as one figure (or a subtraction), a wrong reading of both.
        // A negative value is therefore drawn one cell right with one digit
        // and one decimal less, its minus in the column's first cell; every
        // other value is drawn as five digits at the column.
        const int decimals = UTIL_decimals_for_width(v);
        if (v < 0.0f && decimals > 0)
            OGL_draw_string_fmt(TEXT_COLOUR, x + 36.0f * k + static_cast<float>(FONT_number_pitch(SMALL_FONT)), y,
                                v, 4, decimals - 1, 0, SMALL_FONT);
        else
            OGL_draw_string_fmt(TEXT_COLOUR, x + 36.0f * k, y, v, 5, decimals, 0, SMALL_FONT);
    }
}

void draw_box(const data_group& g, int s)
{
    float x, y;
    box_place(s, x, y);
    OGL_shade_box(x - 2.0f, y - 12.0f, x + 283.0f, y + 19.0f, 0.5f);
    caption_cells c;
    split_caption(g.caption, c);
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        if (!column_shown(g, c, k)) continue;
        OGL_draw_string(TEXT_COLOUR, x + 36.0f * k, y + 10.0f, c.name[k], 9999.0f, SMALL_FONT);
        OGL_draw_string(TEXT_COLOUR, x + 36.0f * k, y - 10.0f, c.unit[k], 9999.0f, SMALL_FONT);
    }
}

// Mode 8.
void draw_title(const data_group& g, int arg)
{
    caption_cells c;
    split_caption(g.caption, c);
    OGL_draw_string(TITLE_COLOUR, static_cast<float>(arg / 1000), static_cast<float>(arg % 1000), c.title, 9999.0f,
                    TITLE_FONT);
}

void sub_out_dat(int mode, int group, int arg, const data_group& g)
{
    switch (mode) {
    case 0: return apply_input(group, g);
    case 1: return fill_record(group, g, arg);
    case 2: return write_row(g);
    case 3: return write_header(g);
    case 4: return record_sample(g, arg);
    case 5: return draw_legend(g, arg);
    case 6: return draw_values(g, arg);
    case 7: return draw_box(g, arg);
    case 8: return draw_title(g, arg);
    default: MACIBM_nuke_alert(0, "Bad argument to sub_out_dat!", "", "", "", ALERT_FATAL);
    }
}

}  // namespace

bool DATAOUT_input_in_range(const data_record& r, net_range_miss& miss)
{
    miss = net_range_miss{};
    if (r.group < 0 || r.group >= DATAOUT_GROUP_COUNT) return true;   // a group that takes nothing
    const data_group& g = data_groups[r.group];
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) {
        const float x = r.values[k];
        if (left_alone(x)) continue;
        const data_value& s = g.values[k];
        const input_value in = input_of(s, x);
        if (!in.place) continue;
        // An integer is taken from a float: a value no int holds is no number of its range.
        if (NET_in_range(s.range, in.value) && (!in.integer || std::fabs(in.value) < 2.0e9f)) continue;
        std::snprintf(miss.name, sizeof miss.name, "group %d value %d", r.group, k);
        miss.value = in.value;
        miss.range = s.range;
        return false;
    }
    return true;
}

void DATAOUT_group(int mode, int group, int arg)
{
    if (group < 0 || group >= DATAOUT_GROUP_COUNT) return;
    sub_out_dat(mode, group, arg, data_groups[group]);
}

int DATAOUT_applies(int plane, int n, int kind)
{
    if (kind == KIND_A) return 1;
    if (kind == KIND_G || kind == KIND_W || kind == KIND_S) return part_applies(n);
    // The engine kinds: a failed engine, or one hidden while vectored to 90
    // degrees or more, drops out first. An index outside the eight engines
    // would read past the per-engine values: it does not apply.
    if (n < 0 || n >= 8) return 0;
    const acf_struct& a = pln[0];
    if (failed(ENGINE_FAILURE_SLOT + n)) return 0;
    if (a.acf_hide_prop_at_90_vect && a.thrust_vector_angle[n] >= 90.0f) return 0;
    const bool exists = engine_exists(n);
    const int t = engine_type(n);
    switch (kind) {
    case KIND_E0: return exists ? 1 : 0;
    case KIND_E1: return exists && ACF_engine_has_prop(0, n) ? 1 : 0;
    case KIND_E2: return exists && ACF_engine_is_recip(0, n) ? 1 : 0;
    case KIND_E3: return exists && ACF_engine_is_jet(0, n) ? 1 : 0;
    case KIND_E4: return exists && (t == 6 || t == 7) ? 1 : 0;
    case KIND_E5: return n < a.acf_num_thrustpoints ? 1 : 0;
    case KIND_E6:
        if (exists) return (t >= 0 && t <= 3) || t == 7 || t == 8 ? 1 : 0;
        return n < a.acf_num_thrustpoints ? 1 : 0;
    default: return 0;
    }
}

void DATAOUT_reset()
{
    for (auto& row : graph_history.value) std::fill(std::begin(row), std::end(row), DATA_EMPTY);
    dataout_any_disk_group = 0;
    for (int g = 0; g < DATAOUT_GROUPS; ++g)
        if (sim_network_dataout.data_to_disk[g]) dataout_any_disk_group = 1;
    if (dataout_any_disk_group && data_log.is_open()) {
        data_log << "\n";
        for (int g = 0; g < DATAOUT_GROUPS; ++g)
            if (sim_network_dataout.data_to_disk[g]) DATAOUT_group(3, g, 0);
        data_log << "\n";
        data_log.flush();
        check_data_log();
    }
    flt[0].dist = 0.0f;
}

void DATAOUT_clear()
{
    std::memset(net_data_snd, 0, sizeof net_data_snd);
    std::memset(dataout_input_row, 0, sizeof dataout_input_row);
    for (auto& row : graph_history.value) std::fill(std::begin(row), std::end(row), DATA_EMPTY);
    std::fill(std::begin(graph_history.time), std::end(graph_history.time), 0.0f);
    graph_history.column = 0;
    dataout_any_disk_group = 0;
    dataout = dataout_state{};
}
ORVELL_RESET(DATAOUT_clear, program);
