// The carrier's landing-signal officer: the ball call when the aircraft
// enters the approach window, then one glide-path, power or line-up call per
// run, or a wave-off close in.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "flightmodel/flt.h"
#include "flightmodel/ground/terrain_query.h"
#include "world/ships.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"

void ATC_carrier_lso()
{
    atc_state_block& s = atc_state;
    const double dx = s.atc_carrier_dx, dy = s.atc_carrier_dy, dz = s.atc_carrier_dz;
    const double r = std::sqrt(dx * dx + dz * dz) / NM_TO_M_DOUBLE;
    const double bearing = std::atan2(-dx, dz) * RAD_TO_DEG_DOUBLE;
    const double glide = std::atan2(dy, r * NM_TO_M_DOUBLE) * RAD_TO_DEG_DOUBLE;
    const double deck_course = static_cast<double>(ship_heading[SHIP_CARRIER]) - 8.0;
    const double line_up = UTIL_wrap_pm180(bearing - deck_course);
    const double heading_error = UTIL_wrap_pm180(static_cast<double>(flt[0].psi) - deck_course);

    if (!TERRAIN_point_in_area(ship_x[SHIP_CARRIER], ship_y[SHIP_CARRIER], ship_z[SHIP_CARRIER], 0.0f)) return;
    const bool inside = std::fabs(line_up) < 15.0 && std::fabs(heading_error) < 15.0 && glide >= 1.0 &&
                        glide <= 9.0 && r >= 0.1 && r <= 5.0;
    if (!inside) {
        s.atc_ball_called = 0;
        return;
    }
    char text[TEXT_SIZE] = {};
    if (!s.atc_ball_called) {
        UTIL_strcpy("CALL THE BALL, I L S 1 0 8 POINT 0 0, HEADING ", text);
        ATC_heading_words(text, atc_trunc(deck_course), 1);
        atc_speak(text);
        s.atc_ball_called = 1;
        return;
    }
    // The set-up marks a rotor of type 3 on any working propeller slot 0..7,
    // one without an engine of its own too: a gyro hears no corrections.
    if (pln[0].acf_has_collective_rotor) return;

    const double alpha = flt[0].alpha;
    const char* call = nullptr;
    if (r < 0.25) {
        if (glide < 2.0 || glide > 6.0)
            call = "WAVE OFF!";
        else if (alpha < 6.0)
            call = "ATTITUDE!";
    } else if (glide > 6.0) {
        call = "POWER OFF";
    } else if (glide < 2.0) {
        call = "POWER";
    } else if (alpha < 6.0) {
        call = "POWER OFF";
    } else if (alpha > 12.0) {
        call = "POWER";
    } else if (line_up > 3.0) {
        call = "RIGHT FOR LINE UP";
    } else if (line_up < -3.0) {
        call = "COME LEFT";
    }
    if (call) atc_speak(call);
}
