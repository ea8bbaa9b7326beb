// Stand-in of the force build-up and its models until they are built: no
// force, no motion, the plane's shape as it stands.
#include "flightmodel/forces/body_drag.h"
#include "flightmodel/forces/control_incidence.h"
#include "flightmodel/forces/control_surface.h"
#include "flightmodel/forces/element_aero.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/forces/mass.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/forces/stability.h"
#include "core/folders.h"

forces_state fm_state{};

void FM_forces_reset() { fm_state = forces_state{}; }
void FM_forces_and_moments() {}

float FM_element_forces(float, float, float, float* lift, float* drag, float* moment, int, int, int)
{
    *lift = *drag = *moment = 0.0f;
    return 0.0f;
}
void FM_element_coeffs(float, float, float, float, float, float, float* cl, float* cd, float* cm, int, int, int)
{
    *cl = *cd = *cm = 0.0f;
}
void FM_supersonic_coeffs(float, float, float, float, float, float* cl, float* cd, float* cm, int, int, int)
{
    *cl = *cd = *cm = 0.0f;
}
void FM_airfoil_lookup(float, float* cl, float* cd, float* cm, int, int, int, int, int) { *cl = *cd = *cm = 0.0f; }

void FM_control_surface_coeffs(int, int, int, float, float*, float*, float*, float*, const char*, int) {}
float FM_flap_curve(float) { return 0.0f; }

void FM_body_drag(float, float, float, float, float, float, float* force_vert, float, float* force_side, float,
                  float* force_drag)
{
    *force_vert = *force_side = *force_drag = 0.0f;
}
void FM_body_stage() {}

float ACF_control_chord_ratio(int, int, float, int) { return 0.0f; }
void ACF_control_incidence(int) {}

void FM_mass_and_inertia() {}
void FM_cg_offset_moments() {}

bool FM_reporting() { return false; }
void FM_report_rule(int) {}
void FM_report_heading(const char*, int) {}
std::ostream& FM_num(float, int, int) { return report_log; }
void FM_report_aero_totals() {}
void FM_report_prop_totals() {}
void FM_report_gear_totals() {}
void FM_report_header() {}
void FM_report_element(int, int, float, float, float, float, float, float, float, float) {}
void FM_report_torque_trim() {}
void FM_report_grand_totals() {}

void FM_stability_derivative() {}
void FM_reference_geometry(float* sref, float* cref) { *sref = *cref = 0.0f; }
