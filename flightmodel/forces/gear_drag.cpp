// The undercarriage in the air: drag of the gear legs, tyres and doors and of
// the fuselage speed brakes, and the nose-wheel steering angle.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/simvars/joystick.h"
#include "core/simvars/operation.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/phys.h"

namespace {

constexpr float TYRE_CD = 0.25f;

// Tyre area factor of the wheel kinds (2 is one plain wheel).
float tyre_factor(int gear_type)
{
    switch (gear_type) {
    case 3: return 2.0f;
    case 4: return 1.2f;
    case 5: return 2.4f;
    case 6: return 2.8f;
    case 7: return 4.0f;
    default: return 1.0f;
    }
}

bool pedals_fitted()
{
    return sim_joystick.eq_ped_nobrk || sim_joystick.eq_ped_wibrk || sim_joystick.eq_pfc_pedals;
}

}  // namespace

void FM_gear_drag()
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const bool report = FM_reporting();
    for (int p = PART_GEAR_FIRST; p <= PART_GEAR_LAST; ++p) {
        if (!fm_state.present[p]) continue;
        const float d = a.acf_gear_deploy[p];
        if (!(d > 0.01f)) continue;
        float strut = a.acf_gear_leglen[p] * a.acf_gear_tirrad[p] * 0.5f;
        float tyre = 1.4f * a.acf_gear_tirrad[p] * a.acf_gear_tirrad[p];
        float strut_cd, door = 0.0f, door_cd = 0.0f;
        if (a.acf_gear_retract) {
            strut_cd = 0.3f;
            door = strut * 0.25f;
            door_cd = 0.5f;
            strut *= 1.5f;   // actuating struts
        } else {
            strut_cd = 0.05f;
            // A fixed gear's wheels are faired, unless the marker word read
            // for the leg (the presence word of part leg - 67, that is of
            // parts 0..5 for legs 67..72) holds exactly -61, which keeps the
            // full tyre drag. No aircraft the project makes sets it.
            constexpr int32_t FULL_TYRE_MARKER = -61;
            if (a.acf_part_eq[p - PART_GEAR_FIRST] != FULL_TYRE_MARKER) tyre *= 0.1f;
        }
        tyre *= tyre_factor(a.acf_gear_type[p]);
        const float q = f.Qstatic * d;
        const float strut_drag = strut_cd * strut * q;
        const float tyre_drag = TYRE_CD * tyre * q;
        const float door_drag = door_cd * door * q;
        const float x = a.acf_gear_xnodef[p], y = a.acf_gear_ynodef[p], z = a.acf_gear_znodef[p];
        PHYS_add_element_aero_force(strut_drag + tyre_drag + door_drag, 0.0f, 0.0f, x, y, z, p, 0);
        if (report)
            FM_report_gear(p - PART_GEAR_FIRST, fm_gear_report{d, strut, tyre, door, strut_cd, TYRE_CD, door_cd,
                                                               strut_drag, tyre_drag, door_drag, x, y, z});
    }
    if (a.acf_brake_area > 0.0f && f.sbrkrat > 0.0f) {
        const float drag = a.acf_brake_area * 1.23f * f.Qstatic * f.sbrkrat;
        PHYS_add_element_aero_force(drag, 0.0f, 0.0f, 0.0f, a.acf_brake_Y, a.acf_brake_Z, -1, -1);
        if (report) FM_report_speedbrakes(drag);
    }
}

void FM_nosewheel_steering()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    if (a.acf_nw_steerdeg1 < 0.01f) {
        f.nosewheel_steer = -f.beta;   // a castoring wheel follows the motion
    } else {
        const bool heading_input = pedals_fitted() || sim_operation_override.override_joystick ||
                                   sim_operation_override.override_artstab ||
                                   sim_operation_override.override_flightcontrol;
        float input = heading_input ? sim_joystick.yolk_heading_ratio : sim_joystick.yolk_roll_ratio;
        const float sensitivity = sim_joystick.joystick_heading_sensitivity;
        // A sensitivity of 0 (or less) would divide by zero and steer the
        // wheel to an infinite angle; the input is then taken undivided.
        if (sensitivity > 0.0f) input /= sensitivity;
        input *= f.groundspeed < a.acf_nw_cutoff_speed ? a.acf_nw_steerdeg1 : a.acf_nw_steerdeg2;
        f.nosewheel_steer = a.acf_is_taildragger ? -input : input;
    }
    f.nosewheel_speed = f.groundspeed;
    f.onground_any = 0;
    f.onground_all = 0;
}
