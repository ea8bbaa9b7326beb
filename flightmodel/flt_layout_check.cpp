// The layout of the flight-model state record that the published data names,
// the preference files and the code that walks neighbouring fields as one run
// rely on. Only checks at compile time; nothing here is linked into a program.
#include <cstddef>

#include "flightmodel/flt.h"

// The three doubles sit on an 8-byte boundary after one alignment word.
static_assert(sizeof(flt_struct) % 8 == 0);
static_assert(offsetof(flt_struct, local_x_d) % 8 == 0);

// Runs that code walks as arrays: each field sits right after the one before.
#define FLT_FOLLOWS(a, b) (offsetof(flt_struct, b) == offsetof(flt_struct, a) + sizeof(flt_struct::a))
static_assert(FLT_FOLLOWS(FC_ptch, FC_roll) && FLT_FOLLOWS(FC_roll, FC_hdng));
static_assert(FLT_FOLLOWS(P, Q) && FLT_FOLLOWS(Q, R) && FLT_FOLLOWS(Prad, Qrad) && FLT_FOLLOWS(Qrad, Rrad));
static_assert(FLT_FOLLOWS(theta, psi) && FLT_FOLLOWS(psi, phi));
static_assert(FLT_FOLLOWS(local_ax, local_ay) && FLT_FOLLOWS(local_ay, local_az));
static_assert(FLT_FOLLOWS(local_vx, local_vy) && FLT_FOLLOWS(local_vy, local_vz));
static_assert(FLT_FOLLOWS(local_x, local_y) && FLT_FOLLOWS(local_y, local_z));
static_assert(FLT_FOLLOWS(local_x_d, local_y_d) && FLT_FOLLOWS(local_y_d, local_z_d));
static_assert(FLT_FOLLOWS(m_fixed, m_fuel1) && FLT_FOLLOWS(m_fuel1, m_fuel2) && FLT_FOLLOWS(m_fuel2, m_fuel3) &&
              FLT_FOLLOWS(m_fuel3, m_jettison));
static_assert(FLT_FOLLOWS(failures, failure_param) && FLT_FOLLOWS(failure_param, comp_fail_stat));
static_assert(FLT_FOLLOWS(nav_lights_on, beacon_lights_on) && FLT_FOLLOWS(beacon_lights_on, strobe_lights_on) &&
              FLT_FOLLOWS(strobe_lights_on, landing_lights_on) && FLT_FOLLOWS(landing_lights_on, taxi_light_on));
static_assert(FLT_FOLLOWS(latitude, longitude));
static_assert(FLT_FOLLOWS(ENGN_thro, ENGN_thro_use) && FLT_FOLLOWS(ENGN_thro_use, ENGN_prop) &&
              FLT_FOLLOWS(ENGN_prop, ENGN_mixt));
static_assert(FLT_FOLLOWS(ENGN_crbice, ENGN_oil_lube_rat) && FLT_FOLLOWS(ENGN_oil_lube_rat, ENGN_power));
static_assert(FLT_FOLLOWS(v_el, alpha_el) && FLT_FOLLOWS(alpha_el, downwash_deg));
static_assert(offsetof(flt_struct, elev_trim_def) == offsetof(flt_struct, elev_cont_def));
static_assert(offsetof(flt_struct, rudd_cont_def) == offsetof(flt_struct, rudd_def));
static_assert(offsetof(flt_struct, foil_swe) == offsetof(flt_struct, foil_inc));
static_assert(offsetof(flt_struct, oil_power_thrust_ratio) == offsetof(flt_struct, ENGN_oil_lube_rat));
static_assert(offsetof(flt_struct, local_x_d) == 80 * 4);
static_assert(offsetof(flt_struct, failures) == 16037 * 4);
#undef FLT_FOLLOWS
