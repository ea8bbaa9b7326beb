// The force-and-moment build-up of the user's plane: the 27 stages in their
// fixed order, in one list. Each stage lives with its physical model; the
// stages of the engines, rockets, ropes, water, ground and weapons belong to
// their own folders. The report's lines are written by the stages they follow.
#include "flightmodel/forces/forces.h"

#include <array>

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

void clearing()
{
    FM_clear_part_values();
    if (FM_reporting()) FM_report_header();
}

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

void propellers()
{
    if (sim_weather.rho > 0.0f) ENGN_prop_engines();
    if (FM_reporting()) FM_report_prop_totals();
}

// Water or ground, never both, and only near the surface.
void contact()
{
    if (!(flt[0].y_agl < CONTACT_HEIGHT_M)) return;
    if (GROUND_over_water())
        FM_water_contact();
    else
        FM_ground_contact();
}

void integration()
{
    FM_integrate();
    if (FM_reporting()) FM_report_grand_totals();
}

constexpr std::array<fm_stage, 26> STAGES = {{
    {"prediction", FM_predict},                          // 1
    {"clearing", clearing},                              // 2
    {"ground effect", FM_ground_effect},                 // 3
    {"totals cleared", FM_clear_totals},                 // 4
    {"blown flaps", FM_blown_flaps},                     // 5
    {"engines", engines},                                // 6
    {"propeller engines", propellers},                   // 7
    {"rockets, JATO and puffers", ROCKET_thrusters},     // 8
    {"tow rope and winch", ROPE_tow_and_winch},          // 9
    {"slung load", ROPE_slung_load},                     // 10
    {"wing elements", FM_wing_elements},                 // 11
    {"downwash and centroids", FM_downwash_and_centroids},   // 12
    {"bodies", FM_body_stage},                           // 13
    {"gear drag", FM_gear_drag},                         // 14
    {"drag chute", FM_drag_chute},                       // 15
    {"nose-wheel steering", FM_nosewheel_steering},      // 16
    {"water or ground contact", contact},                // 17, 18
    {"water scooping", FM_water_scoop},                  // 19
    {"engine-torque roll trim", ENGN_torque_roll_trim},  // 20
    {"catapult", FM_catapult},                           // 21
    {"arresting hook", FM_arresting_hook},               // 22
    {"weapons", WPN_fire_and_fly},                       // 23
    {"mass and inertia", FM_mass_and_inertia},           // 24
    {"accelerations", FM_accelerations},                 // 25
    {"rates and integration", integration},              // 26
    {"stability derivative", FM_stability_derivative},   // 27 (when a test is running)
}};

}  // namespace

std::span<const fm_stage> FM_stages() { return STAGES; }

void FM_forces_and_moments()
{
    ++fm_state.calls;
    for (const fm_stage& s : STAGES) s.run();
}
