// Mass and inertia of the user's plane: the empty aircraft with ice, payload,
// jettisonable load and JATO propellant, then the stores, the fuel tanks and
// any separated engine as point masses whose weight adds moments under the
// load factors (the reference point of the moments does not move).
#include "flightmodel/forces/mass.h"

#include "aircraft/acf_struct.h"
#include "core/numeric.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"

namespace {

// Adds a point mass m at (x, y, z) from the centre of gravity: its mass, its
// inertia and the moments of its weight under the previous frame's load factors.
void point_mass(flt_struct& f, float m, float x, float y, float z)
{
    forces_state& s = fm_state;
    const float g = FM_GRAVITY;
    f.m_total += m;
    s.MI_pitch += (y * y + z * z) * m;
    s.MI_yaw += (x * x + z * z) * m;
    s.MI_roll += (x * x + y * y) * m;
    f.M -= f.g_axil * g * y * m;
    f.N -= f.g_axil * g * x * m;
    f.L -= f.g_side * g * y * m;
    f.N += f.g_side * g * z * m;
    f.L += f.g_nrml * g * x * m;
    f.M += f.g_nrml * g * z * m;
}

}  // namespace

void FM_mass_and_inertia()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    forces_state& s = fm_state;

    const float jettison = a.acf_jett_is_slung ? 0.0f : f.m_jettison;
    f.m_total = (1.0f + f.frm_ice) * a.acf_m_empty + f.m_fixed + jettison +
                f.jato_left * a.acf_jato_thrust * a.acf_jato_sfc / 3600.0f / FM_GRAVITY;
    s.MI_pitch = a.acf_Jxx_unitmass * f.m_total;
    s.MI_yaw = a.acf_Jyy_unitmass * f.m_total;
    s.MI_roll = a.acf_Jzz_unitmass * f.m_total;

    for (int k = 0; k < ACF_WPN_SLOTS; ++k) {
        if (a.wpn_name[k * ACF_WPN_NAME_SIZE] == 0) continue;
        const wpn_slot_record& w = a.acf_wpn_slot[k];
        float m = w.wpn_fixed_mass;
        if (w.wpn_type != 0 && WPN_not_released(0, k)) m += w.wpn_mass_now;
        point_mass(f, m, a.acf_Xwpn_att[k] - w.wpn_cg_offset[0], a.acf_Ywpn_att[k] - w.wpn_cg_offset[1],
                   a.acf_Zwpn_att[k] - w.wpn_cg_offset[2]);
    }
    const float fuel[ACF_TANKS] = {f.m_fuel1, f.m_fuel2, f.m_fuel3};
    for (int t = 0; t < util_clamp_int(a.acf_num_tanks, 0, ACF_TANKS); ++t)
        point_mass(f, fuel[t], a.acf_tank_X[t], a.acf_tank_Y[t], a.acf_tank_Z[t]);
    for (int i = 0; i < util_clamp_int(a.acf_num_thrustpoints, 0, ACF_MAX_ENGINES); ++i)
        if (FLT_slot_failed(0, FAIL_SLOT_ENGINE_BASE + i))
            point_mass(f, -a.acf_eng_mass[i], a.acf_Xarm[i], a.acf_Yarm[i], a.acf_Zarm[i]);
}

void FM_cg_offset_moments()
{
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float g = FM_GRAVITY;
    const float cg = f.cgz_ref_to_default;
    f.M += f.g_nrml * g * cg * f.m_total;
    f.N += f.g_side * g * cg * f.m_total;
    const float roll_shift = a.acf_mass_shift_dx * f.FC_roll * a.acf_mass_shift;
    const float pitch_shift = a.acf_mass_shift_dz * f.FC_ptch * a.acf_mass_shift;
    f.L += f.g_nrml * g * roll_shift;
    f.N -= f.g_axil * g * roll_shift;
    f.M += f.g_nrml * g * pitch_shift;
    f.N += f.g_side * g * pitch_shift;
}
