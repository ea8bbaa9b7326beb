// The light stage of an aircraft: landing and taxi lights, fuselage beacons,
// the tail light, and the navigation lights, strobes and fin beacons at the
// outermost wing tips and the fins.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "flightmodel/flt.h"
#include "graphics/lights.h"
#include "panel/panel.h"
#include "scene/aircraft/draw_kit.h"
#include "aircraft/part_presence.h"

namespace {

constexpr int KIND_PLAIN = 105;     // the round light sprite
constexpr int KIND_STAR = LIGHT_TYPE_SECOND;   // landing and taxi lights, strobes
constexpr int NO_NIGHT_TEST = -1;
constexpr float TIP_STATION = 1.01f;   // the tip lights sit just beyond the tip
constexpr float FIN_SAME_HEIGHT_M = 0.01f;
constexpr int LEFT_WING_FIRST = 8, RIGHT_WING_FIRST = 9, LAST_PAIR_RIGHT = 13;
constexpr int FIN_A = 18, FIN_B = 19;
constexpr int TIP_PART_FIRST = 8, TIP_PART_LAST = 19;

// The fixed lights: which switch, which fitted flag, where, and how they look.
enum light_switch { SWITCH_LANDING, SWITCH_TAXI, SWITCH_BEACON, SWITCH_NAV };
struct fixed_light {
    light_switch on;
    int32_t acf_struct::*fitted;
    float acf_struct::*x;
    float acf_struct::*y;
    float acf_struct::*z;
    float r, g, b;
    bool pulsing;   // alpha is the beacon pulse, else 1
    float size;
    int kind;
};
constexpr fixed_light FIXED_LIGHTS[] = {
    {SWITCH_LANDING, &acf_struct::acf_has_lanlite1, &acf_struct::acf_lanlite1X, &acf_struct::acf_lanlite1Y,
     &acf_struct::acf_lanlite1Z, 1, 1, 1, false, 4.0f, KIND_STAR},
    {SWITCH_LANDING, &acf_struct::acf_has_lanlite2, &acf_struct::acf_lanlite2X, &acf_struct::acf_lanlite2Y,
     &acf_struct::acf_lanlite2Z, 1, 1, 1, false, 4.0f, KIND_STAR},
    {SWITCH_TAXI, &acf_struct::acf_has_lanlite3, &acf_struct::acf_lanlite3X, &acf_struct::acf_lanlite3Y,
     &acf_struct::acf_lanlite3Z, 1, 1, 1, false, 4.0f, KIND_STAR},
    {SWITCH_BEACON, &acf_struct::acf_has_fuserb1, &acf_struct::acf_fuserb1X, &acf_struct::acf_fuserb1Y,
     &acf_struct::acf_fuserb1Z, 1, 0, 0, true, 2.0f, KIND_PLAIN},
    {SWITCH_BEACON, &acf_struct::acf_has_fuserb2, &acf_struct::acf_fuserb2X, &acf_struct::acf_fuserb2Y,
     &acf_struct::acf_fuserb2Z, 1, 0, 0, true, 2.0f, KIND_PLAIN},
    {SWITCH_NAV, &acf_struct::acf_has_taillite, &acf_struct::acf_tailliteX, &acf_struct::acf_tailliteY,
     &acf_struct::acf_tailliteZ, 1, 1, 1, false, 1.5f, KIND_PLAIN},
};

bool switched_on(const flt_struct& f, light_switch s)
{
    switch (s) {
    case SWITCH_LANDING: return f.landing_lights_on != 0;
    case SWITCH_TAXI: return f.taxi_light_on != 0;
    case SWITCH_BEACON: return f.beacon_lights_on != 0;
    case SWITCH_NAV: return f.nav_lights_on != 0;
    }
    return false;
}

// The tip at span station acf_els, with the element count held to the 10
// elements a part's mesh draws: a larger count from a file would put the
// light out in the air beyond the wing tip drawn.
acf_span_xyz tip(int n, int p) { return ACF_span_point(n, p, static_cast<float>(ACF_mesh_elements(n, p))); }

}  // namespace

void ACF_draw_light_stage(int n)
{
    // The user's aircraft's electrical power gates the lights of every plane
    // drawn: with it unpowered no aircraft shows lights.
    if (!PANEL_has_power()) return;
    const acf_struct& a = pln[n];
    const flt_struct& f = flt[n];
    OGL_lights_begin(1);
    OGL_lights_frame(f.local_x, f.local_y, f.local_z, f.theta, f.psi, f.phi);

    const float pulse = UTIL_time_pulse(1.5f * static_cast<float>(n));
    for (const fixed_light& l : FIXED_LIGHTS)
        if (switched_on(f, l.on) && a.*l.fitted)
            OGL_draw_light(a.*l.x, a.*l.y, a.*l.z, l.r, l.g, l.b, l.pulsing ? pulse : 1.0f, l.size, NO_NIGHT_TEST, 0, l.kind);

    if (a.acf_has_navlites) {
        // The wing pair: each pair that reaches further out than the one before it.
        int left = LEFT_WING_FIRST, right = RIGHT_WING_FIRST;
        for (int k = RIGHT_WING_FIRST; k <= LAST_PAIR_RIGHT; k += 2)
            if (ACF_part_present(n, k + 2) && ACF_part_present(n, k) && tip(n, k + 2).x > tip(n, k).x)
                left = k + 1, right = k + 2;
        // The fin beacons: on the higher fin, or on both when they end level.
        int fin1 = FIN_A, fin2 = FIN_A;
        const bool both_fins = ACF_part_present(n, FIN_A) && ACF_part_present(n, FIN_B);
        if (both_fins && tip(n, FIN_B).y > tip(n, FIN_A).y) fin1 = fin2 = FIN_B;
        if (both_fins && std::fabs(tip(n, FIN_A).y - tip(n, FIN_B).y) < FIN_SAME_HEIGHT_M) fin1 = FIN_A, fin2 = FIN_B;

        for (int p = TIP_PART_FIRST; p <= TIP_PART_LAST; ++p) {
            if (!ACF_part_present(n, p)) continue;
            float r = 0, g = 0, b = 0, alpha = 1.0f, size = 0.0f;
            int kind = 0;
            const auto light = [&](float lr, float lg, float lb, float la, float ls, int lk) {
                r = lr, g = lg, b = lb, alpha = la, size = ls, kind = lk;
            };
            if (p == left && f.nav_lights_on && f.strobe_flash == 0) light(1, 0, 0, 1, 1.5f, KIND_PLAIN);
            if (p == right && f.nav_lights_on && f.strobe_flash == 0) light(0, 1, 0, 1, 1.5f, KIND_PLAIN);
            if ((p == left || p == right) && f.strobe_lights_on && f.strobe_flash != 0) light(1, 1, 1, 1, 4.0f, KIND_STAR);
            if ((p == fin1 || p == fin2) && f.beacon_lights_on) light(1, 0, 0, f.beacon_brightness, 2.5f, KIND_PLAIN);
            if (kind == 0) continue;
            const acf_span_xyz at = ACF_span_point(n, p, TIP_STATION * static_cast<float>(ACF_mesh_elements(n, p)));   // held as in tip()
            OGL_draw_light(at.x, at.y, at.z, r, g, b, alpha, size, NO_NIGHT_TEST, 0, kind);
        }
    }
    OGL_lights_end();
}
