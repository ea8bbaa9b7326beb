// The magnetic compass: the card strip shows the magnetic heading with the
// turning error of a banked card (dip), the acceleration error on east and
// west headings, and a one-second lag.
#include <cmath>

#include "core/numeric.h"
#include "core/reset_registry.h"
#include "core/simvars/operation.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_kit.h"

compass_memory compass_mem;
ORVELL_RESET_RECORD(COMPASS_reset, compass_mem, panel);

namespace {

constexpr int LUBBER_SLOT = 450;
constexpr int LUBBER_COLOUR = 33;

}  // namespace

float COMPASS_indicated_heading(const flt_struct& f)
{
    const float psi = f.psi;
    const float east_west = psi <= 180.0f ? 90.0f - std::fabs(psi - 90.0f) : 90.0f - std::fabs(psi - 270.0f);
    const float accel_error = -f.local_ax * east_west * 0.2f;
    const float dip = std::tan((45.0f - f.latitude * 0.5f) * DEG_TO_RAD_FLOAT);
    const float phi = f.phi * DEG_TO_RAD_FLOAT, mag = f.magpsi * DEG_TO_RAD_FLOAT;
    const float h = std::atan2(std::sin(mag) * std::cos(phi) - dip * std::sin(phi), std::cos(mag)) / DEG_TO_RAD_FLOAT;
    return UTIL_wrap_between(h + accel_error, 0.0f, 360.0f);
}

float COMPASS_indicated_heading() { return COMPASS_indicated_heading(flt[0]); }

void PANEL_compass(const panel_records& r)
{
    const float dt = sim_operation_misc.frame_rate_period;
    const float d = UTIL_wrap_between(COMPASS_indicated_heading(r.flt) - compass_mem.card_deg, -180.0f, 180.0f);
    if (std::isfinite(dt)) compass_mem.card_deg = UTIL_wrap_between(compass_mem.card_deg + dt * d, 0.0f, 360.0f);

    float cx, cy;
    switch (panel_ins_type) {
    case INS_COMPASS_GA: cx = -3.0f, cy = 2.0f; break;
    case INS_COMPASS_BC: cx = -1.0f, cy = 7.0f; break;
    case INS_COMPASS_HM: cx = 8.0f, cy = 4.0f; break;
    default: return;
    }
    PANEL_draw_drum_digit(4, cx, cy, compass_mem.card_deg);
    const float s = panel_ins_scale;
    const float x1 = (cx - 21.0f) * s, x2 = (cx + 21.0f) * s, y1 = (cy - 6.0f) * s, y2 = (cy + 6.0f) * s;
    const tex_quad_corner c[4] = {{x1, y1, 0.34375f, 0.0f}, {x1, y2, 0.34375f, 0.078125f},
                                  {x2, y2, 0.65625f, 0.078125f}, {x2, y1, 0.65625f, 0.0f}};
    OGL_draw_tex_quad(LUBBER_SLOT, LUBBER_COLOUR, PANEL_alpha(), c, 1, STATE_BLEND);
}
