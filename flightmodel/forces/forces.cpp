// The force-and-moment build-up of the user's plane: the 27 stages in their
// fixed order. Each stage lives with its physical model; the stages of the
// engines, rockets, ropes, water, ground and weapons belong to their own
// folders.
#include "flightmodel/forces/forces.h"

#include "aircraft/acf_struct.h"
#include "core/engine_types.h"
#include "core/simvars/weather.h"
#include "flightmodel/forces/body_drag.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/forces/stability.h"
#include "flightmodel/forces/stages.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/weapons/weapons.h"

namespace {

constexpr float CONTACT_HEIGHT_M = 50.0f;   // water and ground contact are looked for below it

void engines()
{
    const acf_struct& a = pln[0];
    const int n = a.acf_num_engines < 0 ? 0 : (a.acf_num_engines > ACF_MAX_ENGINES ? ACF_MAX_ENGINES : a.acf_num_engines);
    for (int e = 0; e < n; ++e) {
        const int type = a.acf_en_type[e];
        // A rocket pushes along its own axis here; the rockets at a rotor's
        // blade tips push through the blades in the propeller stage instead.
        if (ENGINE_type_is_jet(type) && sim_weather.rho > 0.0f)
            ENGN_jet_engines(e);
        else if (type == ENGINE_ROCKET)
            ROCKET_engine(e);
    }
}

}  // namespace

void FM_forces_and_moments()
{
    const bool report = FM_reporting();
    ++fm_state.calls;
    FM_predict();                                    // 1
    FM_clear_part_values();                          // 2
    if (report) FM_report_header();
    FM_ground_effect();                              // 3
    FM_clear_totals();                               // 4
    FM_blown_flaps();                                // 5
    engines();                                       // 6
    if (sim_weather.rho > 0.0f) ENGN_prop_engines(); // 7
    if (report) FM_report_prop_totals();
    ROCKET_thrusters();                              // 8
    ROPE_tow_and_winch();                            // 9
    ROPE_slung_load();                               // 10
    FM_wing_elements();                              // 11
    FM_downwash_and_centroids();                     // 12
    FM_body_stage();                                 // 13
    FM_gear_drag();                                  // 14
    FM_drag_chute();                                 // 15
    FM_nosewheel_steering();                         // 16
    if (flt[0].y_agl < CONTACT_HEIGHT_M) {
        if (GROUND_over_water())
            FM_water_contact();                      // 17
        else
            FM_ground_contact();                     // 18
    }
    FM_water_scoop();                                // 19
    ENGN_torque_roll_trim();                         // 20
    FM_catapult();                                   // 21
    FM_arresting_hook();                             // 22
    WPN_fire_and_fly();                              // 23
    FM_mass_and_inertia();                           // 24
    FM_accelerations();                              // 25
    FM_integrate();                                  // 26
    if (report) FM_report_grand_totals();
    FM_stability_derivative();                       // 27 (when a test is running)
}
