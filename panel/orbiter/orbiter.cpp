// The orbiter's primary, approach and entry displays (types 188, 189, 190).
// Reads the flight record it is handed, the GPS destination and the
// navigation tables; keeps its trail and pages in `orbiter`.
#include "panel/orbiter/orbiter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/panel_kit.h"
#include "panel/radios/radios.h"
#include "world/navdb.h"

orbiter_state orbiter;

namespace {

constexpr int KIND_AIRPORT = 1, KIND_FIX = 11;
constexpr float OUT_X1 = -67.0f, OUT_X2 = 111.0f, OUT_Y1 = -98.0f, OUT_Y2 = 98.0f;

float finite(float v) { return std::isfinite(v) ? v : 0.0f; }

// Every place on these displays (origin offsets, texts, lines, boxes, tape
// arguments) is multiplied by the instrument scale. The attitude indicator
// and the HSI they hold scale themselves: at a scale other than 1 unscaled
// tapes, texts and plot lines would no longer sit beside them but across
// them. At scale 1 every place is as given.
//
// Draws with the origin moved by (dx, dy) design units, then moves it back.
template <typename F>
void at_offset(float dx, float dy, F draw)
{
    const float s = panel_ins_scale;
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    screen.screen_area_left = left + dx * s;
    screen.screen_area_bottom = bottom + dy * s;
    draw();
    screen.screen_area_left = left;
    screen.screen_area_bottom = bottom;
}

void text(int colour, float x, float y, const char* t)
{
    const float s = panel_ins_scale;
    OGL_draw_string(colour, x * s, y * s, t, 9999.0f, 110);
}
void number(int colour, float x, float y, float v, int digits, int decimals, int sign)
{
    const float s = panel_ins_scale;
    OGL_draw_string_fmt(colour, x * s, y * s, finite(v), digits, decimals, sign, 110);
}
void line(int colour, float x1, float y1, float x2, float y2)
{
    const float s = panel_ins_scale;
    OGL_draw_line(colour, 1.0f, x1 * s, y1 * s, x2 * s, y2 * s);
}

// ---- destination ---------------------------------------------------------------

// Where the approach and entry displays lead: a point (local x, z, metres),
// the height of the destination, and the runway heading and length.
struct destination {
    float x, z, height_m, heading_deg, length_m;
};

// The GPS destination as a target; false when there is none: an index outside
// its own table, or an airport without runways (which runway an airport
// gives is left open; with none there is no threshold to lead to). A fix
// (kind 11) is none either: its index read in the navaid table would lead the
// path to an unrelated navaid.
bool find_destination(destination& d)
{
    const sim_cockpit_gps_block& g = sim_cockpit_gps;
    const int32_t i = g.destination_index;
    float x, y, z;
    if (g.destination_type == KIND_AIRPORT) {
        if (i < 0 || i >= static_cast<int32_t>(airport_table.size())) return false;
        const airport_record& a = airport_table[static_cast<size_t>(i)];
        if (a.runways.empty()) return false;
        // The seventh runway where the airport has one, else its first.
        const runway_record& r = a.runways.size() > 6 ? a.runways[6] : a.runways[0];
        GEO_latlon_to_local(x, y, z, r.lat, r.lon, a.elevation);
        const float h = r.heading * DEG_TO_RAD_FLOAT, half = r.length * 0.5f;
        d = {x - std::sin(h) * half, z + std::cos(h) * half, a.elevation, r.heading, r.length};
        return true;
    }
    if (g.destination_type == KIND_FIX || i < 0 || i >= static_cast<int32_t>(navaid_table.size())) return false;
    const navaid_record& n = navaid_table[static_cast<size_t>(i)];
    GEO_latlon_to_local(x, y, z, n.lat, n.lon, n.height);
    // The heading and length of a navaid target are left open: the path is
    // laid along the GPS course (sim/cockpit/gps/course) and the navaid itself
    // is the threshold (length 0).
    d = {x, z, n.height, g.course, 0.0f};
    return true;
}

// ---- primary display --------------------------------------------------------------

void tape(float dx, float dy, int colour, int box, float value, float step, int every, float px, int orientation,
          int digits, int decimals, const char* title, const char* unit, const char* third = nullptr)
{
    at_offset(dx, dy, [&] {
        const float s = panel_ins_scale;
        OGL_fill_rect(box, 1.0f, -12.0f * s, -50.0f * s, 24.0f * s, 100.0f * s);
        PANEL_draw_tape(colour, 79, -11.0f * s, 10.0f * s, 0.0f, 50.0f * s, -999.0f, finite(value), step, every, px * s,
                        orientation, 0, 110);
        if (box == 56) {
            number(49, 14, -3, value, digits, decimals, 1);
            text(49, 14, 6, title);
            text(49, 14, -12, unit);
        } else {
            text(49, -12, 70, title);
            text(49, -12, -65, unit);
            // The height tape's third label; its place is the implementer's:
            // a line below the unit label.
            if (third) text(49, -12, -74, third);
            number(49, -12, 56, value, digits, decimals, 1);
        }
    });
}

// ---- approach display ------------------------------------------------------------------

struct vec { float x, z; };
vec operator+(vec a, vec b) { return {a.x + b.x, a.z + b.z}; }
vec operator-(vec a, vec b) { return {a.x - b.x, a.z - b.z}; }
vec operator*(vec a, float k) { return {a.x * k, a.z * k}; }
float length(vec a) { return std::hypot(a.x, a.z); }

void approach(const flt_struct& f)
{
    orbiter_state& o = orbiter;
    text(57, -64, 130, "HORIZ SIT");
    destination d;
    if (!find_destination(d)) return;

    // The path in local metres relative to the plane.
    const vec T{d.x - f.local_x, d.z - f.local_z};
    const float h = d.heading_deg * DEG_TO_RAD_FLOAT;
    const vec ahead{std::sin(h), -std::cos(h)}, right{std::cos(h), std::sin(h)};
    const float R = 2.3f * UNIT.nm_to_mtrs;
    const vec P3 = T - ahead * (7.0f * UNIT.nm_to_mtrs);
    const vec C = P3 + right * R;
    const vec P1 = C + right * R;
    const vec P2 = C - ahead * R;
    const vec P[3] = {P1, P2, P3};

    const float dt = sim_operation_misc.frame_rate_period;
    for (int k = 0; k < 3; ++k) {
        const float kk = 10.0f * static_cast<float>(k + 1);
        float* p = o.orbiter_predicted[k];
        p[0] = finite(p[0] * (1.0f - dt) + (f.local_vx + kk * f.local_ax) * 2.0f * kk * dt);
        p[1] = finite(p[1] * (1.0f - dt) + (f.local_vz + kk * f.local_az) * 2.0f * kk * dt);
    }

    if (sim_time.total_flight_time_sec < 1.0f) o.orbiter_passed[0] = o.orbiter_passed[1] = o.orbiter_passed[2] = 0;
    if (length(P3) < UNIT.nm_to_mtrs) o.orbiter_passed[0] = o.orbiter_passed[1] = o.orbiter_passed[2] = 1;
    if (length(P2) < UNIT.nm_to_mtrs) o.orbiter_passed[0] = o.orbiter_passed[1] = 1;
    if (length(P1) < UNIT.nm_to_mtrs) o.orbiter_passed[0] = 1;

    int first = 3;
    for (int k = 2; k >= 0; --k)
        if (!o.orbiter_passed[k]) first = k;
    const vec next = first < 3 ? P[first] : T;
    float range = length(next) / UNIT.nm_to_mtrs;
    if (!o.orbiter_passed[2]) range = std::trunc(range + length(T - P3) / UNIT.nm_to_mtrs);
    if (!o.orbiter_passed[1]) range = std::trunc(range + length(P3 - P2) / UNIT.nm_to_mtrs);
    if (!o.orbiter_passed[0]) range = std::trunc(range + length(P2 - P1) / UNIT.nm_to_mtrs);
    o.orbiter_range_to_go = finite(range);
    sim_cockpit_autopilot.heading_mag =
        finite(std::atan2(next.x, -next.z) / DEG_TO_RAD_FLOAT + sim_flightmodel_position.magnetic_variation);

    // The plot in the plane's heading frame, forward up, the plane at (0, -100).
    const float psi = f.psi * DEG_TO_RAD_FLOAT, sp = std::sin(psi), cp = std::cos(psi);
    auto fwd = [&](vec v) { return v.x * sp - v.z * cp; };
    auto rgt = [&](vec v) { return v.x * cp + v.z * sp; };
    const float c_r = rgt(C), c_f = fwd(C);
    const float extent_r = std::max({rgt(T), rgt(P3), c_r + R, 1.0f});
    const float extent_l = std::max({-rgt(T), -rgt(P3), -(c_r - R), 1.0f});
    const float extent_f = std::max({fwd(T), fwd(P3), c_f + R, 1.0f});
    float scale = std::min({110.0f / extent_r, 110.0f / extent_l, 200.0f / extent_f, 200.0f / (10.0f * UNIT.nm_to_mtrs)});
    if (!std::isfinite(scale)) scale = 200.0f / (10.0f * UNIT.nm_to_mtrs);
    auto px = [&](vec v) { return rgt(v) * scale; };
    auto py = [&](vec v) { return fwd(v) * scale - 100.0f; };

    const float s = panel_ins_scale;
    OGL_scissor_on(-115.0f * s, -115.0f * s, 230.0f * s, 230.0f * s);
    OGL_draw_circle(71, px(C) * s, py(C) * s, R * scale * s);
    line(71, px(P3), py(P3), px(T), py(T));
    static constexpr const char* numbers[3] = {"1", "2", "3"};
    for (int k = 0; k < 3; ++k) {
        const float x = px(P[k]), y = py(P[k]);
        text(50, x - 2.0f, y - 3.0f, o.orbiter_passed[k] ? "x" : "o");
        text(50, x - 2.0f, y - 15.0f, o.orbiter_passed[k] ? " " : numbers[k]);
    }
    text(50, px(T) - 2.0f, py(T) - 3.0f, "o");
    char id[sizeof gps_unit.identifier + 1] = {};
    std::memcpy(id, gps_unit.identifier, strnlen(gps_unit.identifier, sizeof gps_unit.identifier));
    text(50, px(T) - 11.0f, py(T) - 12.0f, id);
    for (const float* p : o.orbiter_predicted) {
        const vec v{p[0], p[1]};
        PANEL_draw_needle(px(v), py(v), 0.0f, 46);
    }
    PANEL_draw_needle(0.0f, -100.0f, 0.0f, 48);
    OGL_scissor_off();

    text(50, -66, -103, "G-Load:");
    number(50, -24, -103, f.g_nrml, 2, 1, 1);
}

// ---- entry display ---------------------------------------------------------------------------

float plot_y(float v, float lo, float hi) { return lo == hi ? 0.0f : (v - lo) / (hi - lo) * 156.0f - 78.0f; }

// A whole number and its unit as one label.
std::string bound_label(float v, const char* unit)
{
    const float t = std::trunc(finite(v));
    return std::to_string(static_cast<long long>(std::clamp(t, -1.0e9f, 1.0e9f))) + unit;
}

void entry(const flt_struct& f)
{
    orbiter_state& o = orbiter;
    // The destination airport: the GPS destination index read in the airport
    // table, whatever the destination's kind.
    const int32_t di = sim_cockpit_gps.destination_index;
    if (di < 0 || di >= static_cast<int32_t>(airport_table.size())) return;
    const float airport_height_m = airport_table[static_cast<size_t>(di)].elevation;
    const float now = sim_time.total_running_time_sec;

    o.orbiter_height = finite((f.local_y - airport_height_m) * UNIT.mtrs_to_ft);
    o.orbiter_speed = finite(f.groundspeed * UNIT.mtrs_to_ft);
    o.orbiter_energy_height = finite(o.orbiter_height + o.orbiter_speed * o.orbiter_speed / 64.34f);
    int m = 0;
    for (int k = 1; k < ORBITER_PAGES; ++k)
        if (o.orbiter_range_to_go < orbiter_profile_R[k]) m = k;
    o.orbiter_page = m;

    static constexpr const char* titles[ORBITER_PAGES] = {"ENTRY TRAJ 1", "ENTRY TRAJ 2", "ENTRY TRAJ 3", "ENTRY TRAJ 4",
                                                           "ENTRY TRAJ 5", "VERT SIT 1",   "VERT SIT 2"};
    static constexpr const char* boxes[ORBITER_PAGES] = {"ET1", "ET2", "ET3", "ET4", "ET5", "VS1", "VS2"};
    text(57, -110, 130, titles[m]);
    const float s = panel_ins_scale;
    for (int k = 0; k < ORBITER_PAGES; ++k) {
        const float x0 = -100.0f + 30.0f * static_cast<float>(k);
        OGL_fill_rect(k == m ? 57 : 77, 1.0f, x0 * s, -112.0f * s, 21.0f * s, 9.0f * s);
        text(k == m ? 50 : 57, x0 + 2.0f, -111.0f, boxes[k]);
    }
    OGL_draw_rect_outline(71, 1.0f, OUT_X1 * s, OUT_Y1 * s, (OUT_X2 - OUT_X1) * s, (OUT_Y2 - OUT_Y1) * s);

    // The value axis of the page.
    const float* table = m <= 2 ? orbiter_profile_V : m <= 4 ? orbiter_profile_E.E : orbiter_profile_H;
    const float lo = table[m + 1], hi = table[m];
    const float value = m <= 2 ? o.orbiter_speed : m <= 4 ? o.orbiter_energy_height : o.orbiter_height;
    const float x = finite(READOUT_range_scale(o.orbiter_range_to_go));
    const float y = finite(plot_y(value, lo, hi));

    const std::string r_lo = bound_label(orbiter_profile_R[m + 1], "NM"), r_hi = bound_label(orbiter_profile_R[m], "NM");
    text(71, -65, -3, r_lo.c_str());
    text(71, 111.0f - 6.0f * static_cast<float>(r_hi.size()), -3, r_hi.c_str());
    const float shown = m <= 2 ? UNIT.ftps_to_kts : m <= 4 ? 0.001f : 1.0f;
    const char* unit = m <= 2 ? "KT" : m <= 4 ? "kft" : "FT";
    const std::string v_lo = bound_label(lo * shown, unit), v_hi = bound_label(hi * shown, unit);
    text(71, 22.0f - 3.0f * static_cast<float>(v_lo.size()), -95, v_lo.c_str());
    text(71, 22.0f - 3.0f * static_cast<float>(v_hi.size()), 89, v_hi.c_str());

    const float x1 = READOUT_range_scale(orbiter_profile_R[m + 1]), x2 = READOUT_range_scale(orbiter_profile_R[m]);
    line(71, x1 - 20.0f, -78.0f, x2 - 20.0f, 78.0f);
    line(57, x1, -78.0f, x2, 78.0f);
    line(71, x1 + 20.0f, -78.0f, x2 + 20.0f, 78.0f);
    const float y_nom = x1 == x2 ? 0.0f : -78.0f + (x - x1) / (x2 - x1) * 156.0f;
    const float* e_table = m <= 2 ? orbiter_profile_V : orbiter_profile_E.E;
    const float e_lo = e_table[m + 1], e_hi = e_table[m];
    float nominal = e_lo == e_hi ? (e_lo + e_hi) * 0.5f : e_lo + (y_nom + 78.0f) / 156.0f * (e_hi - e_lo);
    if (!(nominal > 1.0f)) nominal = 1.0f;
    const float ratio = finite((m <= 2 ? o.orbiter_speed : o.orbiter_energy_height) / nominal);

    auto inside_x = [](float v) { return std::clamp(v, OUT_X1, OUT_X2); };
    auto inside_y = [](float v) { return std::clamp(v, OUT_Y1, OUT_Y2); };
    const float interval = m <= 2 ? 30.0f : 15.0f;
    if (m <= 4) {
        if (m != o.last_page) {
            for (int k = 0; k < ORBITER_TRAIL; ++k) o.trail_x[k] = x, o.trail_y[k] = y;
            o.trail_time = -999.0f;
        }
        if (o.trail_time + interval < now) {
            o.trail_time = now;
            o.trail_index = std::clamp(o.trail_index, 0, ORBITER_TRAIL - 1);
            o.trail_x[o.trail_index] = x, o.trail_y[o.trail_index] = y;
            o.trail_index = (o.trail_index + 1) % ORBITER_TRAIL;
        }
        for (int k = 0; k < ORBITER_TRAIL; ++k) PANEL_draw_needle(inside_x(o.trail_x[k]), inside_y(o.trail_y[k]), 0.0f, 47);
    }
    o.last_page = m;

    const bool inside = x >= OUT_X1 && x <= OUT_X2 && y >= OUT_Y1 && y <= OUT_Y2;
    const float blink = std::trunc(finite(2.0f * now));
    if (inside || std::fmod(blink, 2.0f) == 0.0f) PANEL_draw_needle(inside_x(x), inside_y(y), finite(f.theta), 49);

    if (m <= 4) {
        const float dt = sim_operation_misc.frame_rate_period;
        const float e = y - y_nom;
        if (dt > 0.0f) o.trend_rate = o.trend_rate * (1.0f - dt / 2.0f) + interval * ((e - o.previous_error) / dt) * dt / 2.0f;
        o.trend_rate = std::clamp(finite(o.trend_rate), -178.0f, 178.0f);
        o.previous_error = finite(e);
        PANEL_draw_needle(inside_x(x - o.trend_rate), inside_y(y), 0.0f, 47);

        // Roll guidance.
        const float course = finite(sim_cockpit_gps.course);
        if (course > 92.0f) o.reversal = 2;
        if (course < 88.0f) o.reversal = 0;
        float reference = std::clamp((ratio - 0.97f) * 1000.0f, 0.0f, 80.0f);
        if (o.reversal == 0) reference = -reference;
        line(57, -60, 80, 20, 80);
        for (float mx : {-62.0f, -22.0f, 18.0f}) text(57, mx, 73, "|");
        text(57, -48, 65, "delta roll");
        text(57, -48, 55, "Q:");
        number(50, -36, 55, f.Qstatic * 0.020903f, 5, 1, 1);
        text(57, -48, 45, "dest:");
        number(50, -18, 45, std::min(std::fabs(course - 90.0f), 90.0f), 2, 0, 1);
        text(57, 0, 45, std::fabs(course) <= 90.0f ? "left" : "right");
        const float err = std::clamp(finite(reference - f.phi), -60.0f, 60.0f);
        text(53, err * 40.0f / 60.0f - 20.0f - 3.0f, 82, "v");

        // Angle of attack scale.
        text(57, -112, 87, "alp dec");
        line(57, -92, -95, -92, 80);
        for (int k = 0; k <= 50; k += 5) {
            const std::string label = std::to_string(k) + " - " + std::to_string(k);
            text(57, k < 10 ? -106.0f : -112.0f, static_cast<float>(k) * 3.5f - 95.0f - 3.0f, label.c_str());
        }
        const float v = o.orbiter_speed;
        const float upper = v < 14000.0f ? 0.0041f * v - 1.0907e-7f * v * v + 4.177f : 40.0f;
        float nom = 5.0f;
        if (v < 2500.0f) nom = 20.5f;
        else if (v < 10500.0f) nom = 20.5f + (v - 2500.0f) * 0.0015625f;
        else if (v < 15000.0f) nom = 33.0f;
        else if (v < 22000.0f) nom = 33.0f - (v - 15000.0f) * 0.0031428572f;
        else if (v < 25000.0f) nom = 11.0f - (v - 22000.0f) * 0.0018333333f;
        else if (v < 26000.0f) nom = 5.5f - (v - 25000.0f) * 0.0005f;
        auto mark_y = [](float a) { return std::clamp(finite(a), 0.0f, 50.0f) * 3.5f - 95.0f - 3.0f; };
        text(53, -99, mark_y(upper), ">");
        text(50, -99, mark_y(f.alpha), ">");
        text(53, -89, mark_y(nom), "<");
        text(50, -89, mark_y(-f.g_axil * UNIT.g_conv * UNIT.mtrs_to_ft), "<");
    } else {
        line(57, 80, -90, 80, -10);
        text(57, 80, -13, "-hi");
        text(57, 38, -53, "energy -nom");
        text(57, 80, -93, "-lo");
        const float err = std::clamp(finite(o.orbiter_energy_height - nominal), -4000.0f, 8000.0f);
        const float scaled = err < 0.0f ? err * 0.01f : err * 0.005f;
        text(50, 74, scaled - 50.0f - 3.0f, ">");
    }
}

}  // namespace

float READOUT_range_scale(float v)
{
    const int m = orbiter.orbiter_page;
    if (m < 0 || m >= ORBITER_PAGES) return 0.0f;
    const float lo = orbiter_profile_R[m + 1], hi = orbiter_profile_R[m];
    float f = lo == hi ? 0.5f : (v - lo) / (hi - lo);
    // A range below the page's lower bound gives a negative fraction, whose
    // power has no value (not a number) and would put the point nowhere: it
    // holds at the left edge instead.
    if (!(f > 0.0f)) f = 0.0f;
    const float p = m <= 2 ? 0.5f : m <= 4 ? 0.67f : 0.75f;
    return 138.0f * std::pow(f, p) - 47.0f;
}

void PANEL_orbiter_primary(const panel_records& r)
{
    const flt_struct& f = r.flt;
    at_offset(0.0f, 70.0f, [&] { PANEL_adi(r); });
    at_offset(0.0f, -75.0f, [&] { PANEL_hsi(r); });
    const float at_rest = std::clamp(finite(f.groundspeed), 0.0f, 1.0f);
    tape(-100, 70, 49, 70, f.alpha * at_rest, 1, 5, 10, 2, 3, 1, "ALPH", "DEG");
    tape(-70, 70, 49, 70, f.indicated_airspeed, 5, 10, 2, 1, 3, 0, "KEAS", "KT");
    tape(70, 70, 49, 70, f.vh_ind * UNIT.mtrs_to_ft, 1, 5, 10, 2, 3, 0, "HDOT", "FPS");
    tape(100, 70, 49, 70, f.h_ind * UNIT.mtrs_to_ft * 0.001f, 1, 5, 10, 1, 3, 0, "H", "KFT", "MSL");
    tape(-100, -75, 76, 56, -f.g_axil * UNIT.g_conv * UNIT.mtrs_to_ft, 0.5f, 1, 20, 2, 3, 1, "ACC", "FPS2");
    number(49, -82, -20, f.machno, 4, 2, 0);
    text(49, -82, -29, "MACH");
}

void PANEL_orbiter_approach(const panel_records& r) { approach(r.flt); }
void PANEL_orbiter_entry(const panel_records& r) { entry(r.flt); }

ORVELL_RESET_RECORD(ORBITER_reset, orbiter, panel);
