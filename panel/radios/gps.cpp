// The panel GPS unit (types 232..234): the pilot picks a destination kind and
// a destination of the navigation tables, by paging through a table or by
// spelling its identifier; the unit shows identifier and name, course,
// distance, ground speed, time to go and a course-deviation bar. The keys and
// the serial console send its buttons as command codes.
//
// Reads the airport, navaid and fix tables (world/navdb.h), the GPS radio
// values and the user's position; writes sim_cockpit_gps and gps_unit.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/frame_clock.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/simvars.h"
#include "core/text_util.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"
#include "world/nav_lookup.h"
#include "world/navdb.h"

namespace {

constexpr int KIND_AIRPORT = 1, KIND_NDB = 2, KIND_VOR = 3, KIND_FIX = 11, KIND_OTHER = 13;
constexpr int TEXT_COLOUR = 49, VALUE_COLOUR = 63;
constexpr int GLYPHS = 37;   // blank, 0-9, A-Z
constexpr int EDITED_CHARS = 5;

// The unit's own labels.
constexpr const char* COURSE_UNIT = "DEG";
constexpr const char* DISTANCE_UNIT = "NM";
constexpr const char* SPEED_UNIT = "KT";
constexpr const char* TIME_UNIT = "MIN";
constexpr const char* OTHER_KIND_LABEL = "USER WAYPOINT";

// Buttons in the order: airport, VOR, NDB, fix, cursor left, cursor right, down, up.
constexpr int BUTTONS = 8;
constexpr int button_codes[BUTTONS] = {10, 11, 12, 13, -2, 2, -1, 1};
struct point { float x, y; };
constexpr point button_places[3][BUTTONS] = {
    {{64, 11}, {64, -4}, {64, -19}, {64, -34}, {53, 30}, {73, 30}, {63, 20}, {63, 40}},
    {{-64, 25}, {-64, 10}, {-64, -5}, {-64, -20}, {15, -45}, {35, -45}, {-5, -45}, {-25, -45}},
    {{-50, -16}, {-25, -16}, {-50, -33}, {-25, -33}, {0, -16}, {50, -16}, {25, -33}, {25, -16}},
};
constexpr point text_origin[3] = {{-7, -4}, {17, -6}, {10, -3}};
constexpr int text_font[3] = {111, 111, 114};

// Entries in the table of a destination kind (airports, fixes, else navaids).
int32_t table_count(int kind)
{
    if (kind == KIND_AIRPORT) return static_cast<int32_t>(airport_table.size());
    if (kind == KIND_FIX) return static_cast<int32_t>(fix_table.size());
    return static_cast<int32_t>(navaid_table.size());
}
bool in_table(int kind, int32_t index) { return index >= 0 && index < table_count(kind); }

// The remembered index of a kind (null for kinds the unit does not select).
int32_t* remembered(int kind)
{
    sim_cockpit_gps_block& g = sim_cockpit_gps;
    switch (kind) {
    case KIND_AIRPORT: return &g.airport_index;
    case KIND_VOR: return &g.vor_index;
    case KIND_NDB: return &g.ndb_index;
    case KIND_FIX: return &g.fix_index;
    default: return nullptr;
    }
}

// The identifier of an entry into the unit's buffer (the entry must be in its table).
void copy_identifier(int kind, int32_t index)
{
    const size_t i = static_cast<size_t>(index);
    const char* id = kind == KIND_AIRPORT ? airport_table[i].id : kind == KIND_FIX ? fix_table[i].id : navaid_table[i].id;
    const size_t size = kind == KIND_FIX ? FIX_ID_SIZE : APT_ID_SIZE;
    std::memset(gps_unit.identifier, 0, sizeof gps_unit.identifier);
    std::memcpy(gps_unit.identifier, id, strnlen(id, size));
}

// The spelled identifier without its trailing blanks (the blanks that stand
// in for terminators above are not part of the identifier looked up).
void spelled(char out[EDITED_CHARS + 1])
{
    std::memset(out, 0, EDITED_CHARS + 1);
    std::memcpy(out, gps_unit.identifier, strnlen(gps_unit.identifier, EDITED_CHARS));
    for (int k = EDITED_CHARS - 1; k >= 0 && (out[k] == ' ' || out[k] == 0); --k) out[k] = 0;
}

// Character `pos` (0-based) of the identifier moved by `amount` glyphs. The
// terminators before it become blanks: spelling the fourth character of a
// two-letter identifier would otherwise leave it behind the terminator, so
// the unit would neither show nor look up the character just spelled.
void spell(int pos, int amount)
{
    char* id = gps_unit.identifier;
    for (int k = 0; k <= pos; ++k)
        if (id[k] == 0) id[k] = ' ';
    int g = (UTIL_char_to_glyph(id[pos]) + amount) % GLYPHS;
    if (g < 0) g += GLYPHS;
    id[pos] = UTIL_glyph_to_char(g);
}

int kind_of_button(int code)
{
    switch (code) {
    case 10: return KIND_AIRPORT;
    case 11: return KIND_VOR;
    case 12: return KIND_NDB;
    case 13: return KIND_FIX;
    default: return 0;
    }
}
// The kind cycle: airport, fix, NDB, VOR, airport.
int next_kind(int kind)
{
    switch (kind) {
    case KIND_AIRPORT: return KIND_FIX;
    case KIND_FIX: return KIND_NDB;
    case KIND_NDB: return KIND_VOR;
    default: return KIND_AIRPORT;
    }
}

int lamp_frame(int kind)
{
    switch (kind) {
    case KIND_AIRPORT: return 0;
    case KIND_VOR: return 1;
    case KIND_NDB: return 2;
    case KIND_FIX: return 3;
    default: return -1;
    }
}

void draw_unit(const flt_struct& f, int u)
{
    const sim_cockpit_gps_block& g = sim_cockpit_gps;
    const sim_cockpit_radios_block& r = sim_cockpit_radios;
    const float s = panel_ins_scale;
    const int kind = g.destination_type;

    const int frame = lamp_frame(kind);
    if (frame >= 0) {
        if (u == 2) PANEL_draw_control(-40.0f, 28.0f, frame);
        else PANEL_draw_control(button_places[u][frame].x * s, button_places[u][frame].y * s, frame);
    }

    const float tx = text_origin[u].x, ty = text_origin[u].y;
    const int font = text_font[u];
    // The texts stand at their offsets as given, at any instrument scale.
    auto text = [&](int colour, float x, float y, const char* t) { OGL_draw_string(colour, x, y, t, 9999.0f, font); };
    auto number = [&](float x, float y, float v, int digits, int decimals) {
        OGL_draw_string_fmt(VALUE_COLOUR, x, y, v, digits, decimals, 0, font);
    };

    if (kind == KIND_OTHER) {
        text(TEXT_COLOUR, tx - 66.0f, ty + 20.0f, OTHER_KIND_LABEL);
    } else {
        gps_unit.name[0] = 0;
        if (in_table(kind, g.destination_index)) {
            const size_t i = static_cast<size_t>(g.destination_index);
            // A fix index taken into the navaid table could read past its
            // end; a fix's name line is not drawn anyway, so it stays empty.
            const char* name = kind == KIND_AIRPORT ? airport_table[i].name : kind == KIND_FIX ? "" : navaid_table[i].name;
            const size_t n = std::min<size_t>(strnlen(name, APT_NAME_SIZE), GPS_NAME_CHARS);
            std::memcpy(gps_unit.name, name, n);
            gps_unit.name[n] = 0;
        }
        if (kind != KIND_FIX) text(TEXT_COLOUR, tx - 66.0f, ty + 20.0f, gps_unit.name);
    }
    char id[sizeof gps_unit.identifier + 1] = {};
    std::memcpy(id, gps_unit.identifier, strnlen(gps_unit.identifier, sizeof gps_unit.identifier));
    text(TEXT_COLOUR, tx - 66.0f, ty + 10.0f, id);
    const int c = gps_unit.cursor;
    if (c == 0) text(TEXT_COLOUR, tx - 65.0f, ty + 18.0f, "_");
    else text(TEXT_COLOUR, tx - 65.0f + 6.0f * static_cast<float>(c - 1), ty + 8.0f, "_");

    auto finite = [](float v) { return std::isfinite(v) ? v : 0.0f; };
    const float course = UTIL_wrap_closed(finite(g.course + sim_flightmodel_position.magnetic_variation), 360.0f);
    const float distance = std::clamp(finite(r.gps_dme_dist_m), 0.0f, 9999.0f);
    const float speed = std::clamp(finite(f.groundspeed * UNIT.mps_to_kts), 0.0f, 9999.0f);
    const float knots = finite(f.groundspeed * UNIT.mps_to_kts);
    const float time_to_go =
        std::clamp(finite(r.gps_dme_dist_m / (knots > 1.0f ? knots : 1.0f) * 60.0f), 0.0f, 999.0f);
    number(tx - 36.0f, ty + 10.0f, course, 3, 0);
    text(VALUE_COLOUR, tx - 18.0f, ty + 10.0f, COURSE_UNIT);
    number(tx + 6.0f, ty + 10.0f, distance, 5, 1);
    // The text drawer gives the distance's full stop half a cell of its own,
    // so its five digits end at tx + 39: the unit label at tx + 36 would be
    // drawn over the tenths digit. It starts after it instead.
    text(VALUE_COLOUR, tx + 39.0f, ty + 10.0f, DISTANCE_UNIT);
    number(tx - 66.0f, ty, speed, 4, 0);
    text(VALUE_COLOUR, tx - 42.0f, ty, SPEED_UNIT);
    number(tx + 6.0f, ty, time_to_go, 3, 0);
    text(VALUE_COLOUR, tx + 24.0f, ty, TIME_UNIT);

    if (u == 2) return;
    const float p = std::clamp(finite(r.gps_hdef_dot) * 5.0f, -25.0f, 25.0f);
    for (float x : {-25.0f, 0.0f, 25.0f}) text(TEXT_COLOUR, tx + x, ty - 10.0f, "|");
    text(TEXT_COLOUR, tx + p, ty - 10.0f, "o");
}

}  // namespace

void PANEL_gps(int code, const panel_records& r)
{
    if (!PANEL_avionics_powered()) return;
    const int u = panel_ins_type - INS_RAD_GPS_GA;
    if (code == 0 && (u < 0 || u > 2)) return;
    sim_cockpit_gps_block& g = sim_cockpit_gps;

    bool pressed[BUTTONS] = {};
    bool cycle = code == 3;
    for (int b = 0; b < BUTTONS; ++b) {
        if (code != 0) {
            pressed[b] = button_codes[b] == code;
            continue;
        }
        const point p = button_places[u][b];
        pressed[b] = b < 4 ? PANEL_click_spot(p.x, p.y, 8.0f, 0) : PANEL_click_spot(p.x, p.y, 6.0f, mouse.mouse_panel_drag);
    }
    const bool held_long = mouse.mouse_panel_drag != 0;

    // One kind change at most: the first kind button pressed, else the cycle.
    int kind = 0;
    for (int b = 0; b < 4 && kind == 0; ++b)
        if (pressed[b]) kind = kind_of_button(button_codes[b]);
    if (kind == 0 && cycle) kind = next_kind(g.destination_type);
    if (kind != 0) {
        g.destination_type = kind;
        g.destination_index = *remembered(kind);
        if (in_table(kind, g.destination_index)) copy_identifier(kind, g.destination_index);
    }

    const int last = g.destination_type == KIND_FIX ? 5 : 4;
    int32_t& cursor = gps_unit.cursor;
    if (pressed[4]) cursor = cursor <= 0 ? last : cursor - 1;
    if (pressed[5]) cursor = cursor >= last ? 0 : cursor + 1;
    // The cursor picks a character of the five edited: outside 1..5 it would
    // spell a character past them.
    if (cursor < 0 || cursor > EDITED_CHARS) cursor = 0;

    int n = 1;
    if (held_long) {
        const float f = sim_operation_misc.frame_rate_period * 200.0f;
        n = std::isfinite(f) ? static_cast<int>(std::clamp(std::trunc(f), 1.0f, 200.0f)) : 1;
    }
    const int amount = (pressed[7] ? n : 0) - (pressed[6] ? n : 0);
    if (amount != 0 && cursor == 0) {
        const int t = g.destination_type;
        const int32_t count = table_count(t);
        // An empty table has nothing to step to (and no count to wrap by).
        if ((t == KIND_AIRPORT || t == KIND_FIX) && count > 0) {
            const int64_t i = (static_cast<int64_t>(g.destination_index) + amount) % count;
            g.destination_index = static_cast<int32_t>(i < 0 ? i + count : i);
        } else if (t == KIND_VOR || t == KIND_NDB) {
            for (int32_t i = 0; i < count; ++i)
                if (navaid_table[static_cast<size_t>(i)].kind == t) {
                    g.destination_index = i;
                    break;
                }
        }
    } else if (amount != 0) {
        spell(cursor - 1, amount);
    }
    if (code != 0) return;

    const int t = g.destination_type;
    if (cursor == 0) {
        if (in_table(t, g.destination_index)) copy_identifier(t, g.destination_index);
    } else if (interval_ticks[INTERVAL_ONE_SECOND]) {
        char id[EDITED_CHARS + 1];
        spelled(id);
        NAV_find_nearest_by_id(id, t, g.destination_index, r.flt.latitude, r.flt.longitude);
    }
    if (int32_t* r = remembered(t)) *r = g.destination_index;
    draw_unit(r.flt, u);
}
