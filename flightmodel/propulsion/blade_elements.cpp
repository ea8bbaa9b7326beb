// Propeller and rotor blade elements: each radial element of a blade is
// taken at four places round the disc (12, 3, 6 and 9 o'clock seen from
// behind) and handed to the wing-element aerodynamics with the speed and
// angle of attack it meets there. Around that: the induced wash of the disc
// and of each ring, dirty air and the vortex ring, the rotor's cyclic with
// delta-3, tip jets, gyroscopic moments of propellers, the rotor disc's own
// tilt dynamics with its stops and flapping hinge, coning, efficiency, side
// wash, and the blade tip striking the ground.
#include "flightmodel/propulsion/propulsion.h"

#include <cmath>
#include <cstdio>

#include "core/constants.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/network.h"
#include "core/simvars/weather.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/forces/element_aero.h"
#include "flightmodel/forces/report.h"
#include "flightmodel/phys.h"
#include "flightmodel/propulsion/prop_common.h"
#include "flightmodel/ground/surface_state.h"
#include "world/landuse_grid.h"

using namespace prop_detail;

namespace {

constexpr float DEG = static_cast<float>(DEG_TO_RAD_DOUBLE);
constexpr float RAD = static_cast<float>(RAD_TO_DEG_DOUBLE);

bool reporting() { return sim_network_dataout.dump_next_cycle != 0; }

// The random table's entry for blade position k this frame: the position plus
// the frame clock doubled and rounded half away from zero, modulo the table.
// A clock that is not a finite number would give no index at all (the cast
// is undefined and could read outside the table); it reads the first entry.
float random_draw(int k)
{
    const double c = 2.0 * static_cast<double>(frame_clock);
    double base = 0.0;
    if (std::isfinite(c)) {
        base = std::fmod(std::round(c), static_cast<double>(RANDOM_TABLE_SIZE));
        if (base < 0.0) base += RANDOM_TABLE_SIZE;
    }
    const int i = (static_cast<int>(base) + k) % RANDOM_TABLE_SIZE;
    return random_table[i < 0 ? 0 : i];
}

// Dirty-air factor from the speed (knots) of the air through the disc.
float dirty_air(float speed_kt)
{
    if (speed_kt > 55.0f) return 1.0f;
    if (speed_kt > 20.0f) return 1.25f - (speed_kt - 20.0f) / 140.0f;
    if (speed_kt > 15.0f) return 1.5f - 0.05f * (speed_kt - 15.0f);
    return 1.5f;
}

// Water under the plane: a land-use word of the four grid points of its cell
// is water. The cell hint is clamped first, as plug-ins may write it.
bool water_under_plane()
{
    const flt_struct& f = flt[0];
    const int i = f.i < 0 ? 0 : (f.i > TERRAIN_GRID_ROWS - 2 ? TERRAIN_GRID_ROWS - 2 : f.i);
    const int j = f.j < 0 ? 0 : (f.j > TERRAIN_GRID_COLS - 2 ? TERRAIN_GRID_COLS - 2 : f.j);
    for (int di = 0; di <= 1; ++di)
        for (int dj = 0; dj <= 1; ++dj) {
            const int32_t code = landuse_grid[(i + di) * TERRAIN_GRID_COLS + (j + dj)];
            if (code == LANDUSE_WATER_A || code == LANDUSE_WATER_B) return true;
        }
    return false;
}

// A blade tip at body point q below the terrain stops its prop and fails it.
void prop_strike(int n, vec3 q)
{
    flt_struct& f = flt[0];
    float lx, ly, lz;
    PHYS_body_to_local(q.x, q.y, q.z, &lx, &ly, &lz, 0);
    if (!(f.local_y + ly < terrain_height_m)) return;
    const bool solid = surface_state.flat_surface_on || surface_state.on_carrier_deck || surface_state.on_frigate_deck;
    if (!solid && water_under_plane()) return;
    f.ENGN_tacrad[n] = 0.0f;
    f.POINT_tacrad[n] = 0.0f;
    const int slot = pln[0].acf_prop_type[n] == PROP_TAIL_ROTOR ? FAIL_SLOT_TAIL_ROTOR : FAIL_SLOT_ENGINE_FIRE_BASE + n;
    f.failures[slot] = FAILURE_STATE_FAILED;
}

// A report line: the label, a number (w, p) and the ending text.
void line(const char* label, float v, int p, int w, const char* end)
{
    report_log << label;
    FM_num(v, p, w) << end;
}

void line3(const char* label, vec3 v, int p, int w, const char* end)
{
    report_log << label;
    FM_num(v.x, p, w);
    FM_num(v.y, p, w);
    FM_num(v.z, p, w) << end;
}

struct inflow {
    vec3 right, up, aft;   // prop axes in body axes
    vec3 v_hub;            // air at the hub, body axes
    float Vx, Vy, Vz;      // the same in prop axes
    float dirty, random;   // dirty-air factor and vortex-ring randomisation
};


// The prop's block of the report, written before its elements.
void report_prop(int n, const inflow& in)
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    const vec3 hub{f.POINT_XYZ[3 * n], f.POINT_XYZ[3 * n + 1], f.POINT_XYZ[3 * n + 2]};
    report_log << '\n';
    FM_report_rule();
    FM_report_rule();
    FM_report_heading(LANG_text_at_820(n));
    FM_report_rule();
    FM_report_rule();
    report_log << "   The prop is turning " << (a.acf_prop_dir[n] > 0.0f ? "clockwise" : "counter-clockwise") << " at ";
    FM_num(f.POINT_tacrad[n], 2, 7) << " rad per sec.\n";
    line("   Dirty air factor=", in.dirty, 4, 7, "\n");
    line("   Randomization in propwash from settling with power=", in.random, 4, 7, "\n");
    line("   X location of the pivot-point of the thrust vector  :", a.acf_Xarm[n], 2, 7, " m.\n");
    line("   Y location of the pivot-point of the thrust vector  :", a.acf_Yarm[n], 2, 7, " m.\n");
    line("   Z location of the pivot-point of the thrust vector  :", a.acf_Zarm[n], 2, 7, " m.\n");
    line("   X location of the prop hub                          :", hub.x, 2, 7, " m.\n");
    line("   Y location of the prop hub                          :", hub.y, 2, 7, " m.\n");
    line("   Z location of the prop hub                          :", hub.z, 2, 7, " m.\n");
    line("   flt[0].vx_air_on_acf                                :", f.vx_air_on_acf, 2, 7, " m/s.\n");
    line("   flt[0].vy_air_on_acf                                :", f.vy_air_on_acf, 2, 7, " m/s.\n");
    line("   flt[0].vz_air_on_acf                                :", f.vz_air_on_acf, 2, 7, " m/s.\n");
    line3("   X/Y/Z prop orientation ratio right                  :", in.right, 4, 7, "\n");
    line3("   X/Y/Z prop orientation ratio up                     :", in.up, 4, 7, "\n");
    line3("   X/Y/Z prop orientation ratio aft                    :", in.aft, 4, 7, "\n");
    line("   vx air acting on prop in prop coord sys             :", in.v_hub.x, 2, 7, " m/s.\n");
    line("   vy air acting on prop in prop coord sys             :", in.v_hub.y, 2, 7, " m/s.\n");
    line("   vz air acting on prop in prop coord sys             :", in.v_hub.z, 2, 7, " m/s.\n");
    line("   flt[0].Prad                                         :", f.Prad, 2, 7, " deg/s/s.\n");
    line("   flt[0].Qrad                                         :", f.Qrad, 2, 7, " deg/s/s.\n");
    line("   flt[0].Rrad                                         :", f.Rrad, 2, 7, " deg/s/s.\n");
    line("   Geometric Vz (air into the disc)                    :", in.Vz, 2, 7, " m/s.\n");
    line("   Geometric Vx (air attacking to the right)           :", in.Vx, 2, 7, " m/s.\n");
    line("   Geometric Vy (air attacking up from below)          :", in.Vy, 2, 7, " m/s.\n");
    line("   Total 'mixed' propwash INCREASE in speed behind prop:", f.DVinc[n], 2, 7, " m/s, pos in from ahead.\n");
}

void report_element_heading(int n, int e, int els)
{
    char title[TEXT_SIZE + 96];
    std::snprintf(title, sizeof title, "%s BLADES ALL 4 LOCATIONS (12/3/6/9 O-CLOCK), RADIAL ELEMENT %d of %d",
                  LANG_text_at_820(n), e + 1, els);
    report_log << "\n\n";
    FM_report_rule();
    FM_report_heading(title);
    FM_report_rule();
}

void report_rotor_moments(float mp, float my)
{
    FM_line("   pitch-moment of prop on aircraft, as seen looking along axis of prop from behind: ", mp, 2, 10,
            " n-m, positive pitch up.\n");
    FM_line("   yaw  -moment of prop on aircraft, as seen looking along axis of prop from behind: ", my, 2, 10,
            " n-m, positive yaw right.\n");
}

// The point of action of blade position k in prop axes (x', y'), at radius rx.
// Rotors act a quarter turn later in their sense of rotation.
void point_of_action(bool rotor, bool clockwise, int k, float rx, float* px, float* py)
{
    static constexpr float prop_x[4] = {0, 1, 0, -1}, prop_y[4] = {1, 0, -1, 0};
    static constexpr float cw_x[4] = {1, 0, -1, 0}, cw_y[4] = {0, -1, 0, 1};
    const float* xs = rotor ? cw_x : prop_x;
    const float* ys = rotor ? cw_y : prop_y;
    const float s = rotor && !clockwise ? -1.0f : 1.0f;
    *px = s * xs[k] * rx;
    *py = s * ys[k] * rx;
}

// Rx and Ry of element e's centre along a swept blade, the blade length to
// the tip, and the mid-blade sum of the coning.
struct blade_geometry {
    float rx[ACF_ELS_PER_PART], ry[ACF_ELS_PER_PART];
    float tip, mid;
};

blade_geometry blade(int n, int els)
{
    const acf_struct& a = pln[0];
    const float l = a.acf_element_len[n];
    blade_geometry g{};
    float sx = 0.0f, sy = 0.0f;
    const float half = 0.5f * static_cast<float>(els);
    for (int e = 0; e < els; ++e) {
        const float sweep = a.acf_bladesweep[ACF_el(n, e)] * DEG;
        const float c = std::cos(sweep), s = std::sin(sweep);
        g.rx[e] = sx + 0.5f * l * c;
        g.ry[e] = sy + 0.5f * l * s;
        sx += l * c;
        sy += l * s;
        if (e <= els / 2) g.mid += clampf(half - static_cast<float>(e), 0.0f, 1.0f) * l * c;
    }
    g.tip = sx;
    return g;
}

}  // namespace

void PROP_blade_element_forces(int n)
{
    if (n < 0 || n >= FLT_ENGINES) return;   // no engine: it would reach past the engine tables
    const acf_struct& a = pln[0];
    flt_struct& f = flt[0];
    const float dt = frame_dt();
    const float rho = sim_weather.rho;
    const int prop_type = a.acf_prop_type[n];
    const bool rotor = is_rotor_type(prop_type);
    const bool clockwise = a.acf_prop_dir[n] > 0.0f;
    const float dir = a.acf_prop_dir[n];
    const bool report = reporting();

    // 1-2. Disc angle and the prop's axes in body axes.
    f.disc_ang[n] = f.alpha + f.vertcant[n];
    float* force = &f.force_XYZ[3 * ACF_el(n, 0)];
    force[0] = force[1] = force[2] = 0.0f;
    inflow in{};
    PHYS_rotate_by_cyclic(1.0f, 0.0f, 0.0f, &in.right.x, &in.right.y, &in.right.z, 0, n);
    PHYS_rotate_by_cyclic(0.0f, 1.0f, 0.0f, &in.up.x, &in.up.y, &in.up.z, 0, n);
    PHYS_rotate_by_cyclic(0.0f, 0.0f, 1.0f, &in.aft.x, &in.aft.y, &in.aft.z, 0, n);

    // 3-4. The air at the hub, with the plane's rotation, in prop axes.
    const vec3 hub{f.POINT_XYZ[3 * n], f.POINT_XYZ[3 * n + 1], f.POINT_XYZ[3 * n + 2]};
    in.v_hub = {f.vx_air_on_acf - f.Prad * hub.y + f.Rrad * hub.z, f.vy_air_on_acf + f.Qrad * hub.z + f.Prad * hub.x,
                f.vz_air_on_acf - f.Qrad * hub.y - f.Rrad * hub.x};
    in.Vx = dot(in.v_hub, in.right);
    in.Vy = dot(in.v_hub, in.up);
    in.Vz = dot(in.v_hub, in.aft);
    if (prop_type == PROP_LIFT_FAN) {
        in.Vx = in.Vy = 0.0f;
        if (f.vect_actual < 0.01f) in.Vz = 0.0f;
    }
    const float Vx = in.Vx, Vy = in.Vy, Vz = in.Vz;

    // 5-7. Dirty air, and the vortex ring of a rotor settling into its own wash.
    const float cross = std::sqrt(Vx * Vx + Vy * Vy);
    const float into = std::fmax(Vz, 0.0f);
    const float speed_kt = UNIT.mps_to_kts * std::sqrt(cross * cross + into * into);
    in.dirty = dirty_air(speed_kt) * (0.5f + 0.5f * std::cos(std::atan2(cross, Vz + f.DVinc[n])));
    in.random = 0.0f;
    if (rotor) {
        const float w = 0.6f * f.DVinc[n];
        const float down = -Vz;
        if (speed_kt < 10.0f && down > 0.0f && w > 0.0f && down >= 0.9f * w && down <= 2.1f * w) {
            float g = 1.0f;
            if (down < 1.1f * w)
                g = (down - 0.9f * w) / (0.2f * w);
            else if (down > 1.9f * w)
                g = (2.1f * w - down) / (0.2f * w);
            in.random = 2.0f * clampf(g, 0.0f, 1.0f);
            in.dirty *= 1.0f + in.random;
        }
    }

    // 8. Fresh sums.
    f.POINT_thrust[n] = 0.0f;
    f.POINT_drag_TRQ[n] = 0.0f;
    if (report) report_prop(n, in);

    // 9. Cyclic of a rotor, with the delta-3 coupling of its blades.
    float authority = 1.0f;
    if (rotor) {
        if (a.acf_vectEQ) {
            const float s = std::sin(a.acf_vect_cant[n] * DEG);
            authority = s < 0.0f ? -std::sqrt(-s) : std::sqrt(s);
        }
        const float sz = a.acf_Zarm[n] < 0.0f ? -1.0f : 1.0f;
        const float sx = a.acf_Xarm[n] < 0.0f ? -1.0f : 1.0f;
        f.cyclic_ailn_command[n] = a.acf_cyclic_ailn * f.FC_roll * authority -
                                   a.acf_diff_cycl_with_hdng_lat * f.FC_hdng * authority * sz;
        f.cyclic_elev_command[n] =
            a.acf_cyclic_elev * f.FC_ptch * authority + sx * a.acf_diff_cycl_with_hdng_lon * f.FC_hdng * authority +
            (a.acf_rotor_trim_max_fwd + f.FC_ptch * (a.acf_rotor_trim_max_aft - a.acf_rotor_trim_max_fwd)) * f.rot_trim;
        const float ea = f.cyclic_ailn_command[n] - f.cyclic_ailn_disc_tilt[n];
        const float ee = f.cyclic_elev_command[n] - f.cyclic_elev_disc_tilt[n];
        const float t3 = std::tan(a.acf_delta3 * DEG);
        auto couple = [t3](float x) { return std::atan(t3 * std::tan(x * DEG)) * RAD; };
        f.cyclic_elev_blad_alph[n] = ee - couple(ea);
        f.cyclic_ailn_blad_alph[n] = ea + couple(ee);
    }

    // 10. The radial elements at the four blade positions.
    const int els = a.acf_els[n] < 0 ? 0 : (a.acf_els[n] > ACF_ELS_PER_PART ? ACF_ELS_PER_PART : a.acf_els[n]);
    const blade_geometry geo = blade(n, els);
    const float blades_quarter = a.acf_num_blades[n] / 4.0f;
    float draws[4];
    for (int k = 0; k < 4; ++k) draws[k] = random_draw(k);
    // Cross wind along the disc at each position, and the cyclic blade angle.
    const float cw_cross[4] = {-Vx, Vy, Vx, -Vy};
    const float A = f.cyclic_ailn_blad_alph[n], E = f.cyclic_elev_blad_alph[n];
    const float cyclic[4] = {-A * dir, E * dir, A * dir, -E * dir};
    const float tip_jet =
        a.acf_en_type[n] == ENGINE_TIP_ROCKET && els > 0 ? ENGN_jet_thrust_avail(n) * blades_quarter : 0.0f;
    const float pitch_rad = f.POINT_pitch_deg[n] * DEG;

    float Mp = 0.0f, My = 0.0f;                 // prop-frame moments about the hub
    float Lh = 0.0f, Mh = 0.0f, Nh = 0.0f;      // body moments of the forces at the hub
    float Le = 0.0f, Me = 0.0f, Ne = 0.0f;      // and at the element points
    for (int e = 0; e < els; ++e) {
        if (report) report_element_heading(n, e, els);
        const int el = ACF_el(n, e);
        const float wash = 0.5f * f.ringDVinc[el] * in.dirty;
        float ring_thrust = 0.0f;
        const float sweep = a.acf_bladesweep[el] * DEG;
        const float rx = geo.rx[e], ry = geo.ry[e];
        const float rt = std::sqrt((rx * std::cos(sweep)) * (rx * std::cos(sweep)) +
                                   (ry * std::sin(sweep)) * (ry * std::sin(sweep)));
        const float arm = std::sqrt(rx * rx + ry * ry);
        const float theta0 = f.POINT_pitch_deg[n] + a.acf_anginc[el];
        for (int k = 0; k < 4; ++k) {
            const float va = Vz + wash + wash * in.random * draws[k];
            const float vt = f.POINT_tacrad[n] * rt + (clockwise ? cw_cross[k] : -cw_cross[k]);
            const float theta = theta0 + (rotor ? cyclic[k] : 0.0f);
            const int j = FM_flow_index(n, e, k);
            f.del_dir[j] = std::atan2(-va, vt) * RAD;
            f.v_el[j] = std::sqrt(va * va + vt * vt);
            f.alpha_el[j] = theta + f.del_dir[j];

            float normal = 0.0f, along = 0.0f, moment = 0.0f;
            FM_element_forces(0.0f, 0.0f, 0.0f, &normal, &along, &moment, n, e, k);
            float fa = -normal * blades_quarter;
            float fq = along * blades_quarter;
            // Along the disc, against the rotation.
            float fx = 0.0f, fy = 0.0f;
            const float s = clockwise ? 1.0f : -1.0f;
            switch (k) {
            case 0: fx = -s * fq; break;
            case 1: fy = s * fq; break;
            case 2: fx = s * fq; break;
            default: fy = -s * fq; break;
            }
            if (tip_jet != 0.0f && e == els - 1) {
                fa -= tip_jet * std::sin(pitch_rad);
                fq -= tip_jet * std::cos(pitch_rad);
            }
            ring_thrust -= fa;
            f.POINT_thrust[n] -= fa;
            f.POINT_drag_TRQ[n] += fq * arm;

            const vec3 F = fx * in.right + fy * in.up + fa * in.aft;
            f.fside_prop += F.x;
            f.fnrml_prop += F.y;
            f.faxil_prop += F.z;
            force[0] += F.x;
            force[1] += F.y;
            force[2] += F.z;

            float px, py;
            point_of_action(rotor, clockwise, k, rx, &px, &py);
            Mp += fa * py;
            My += fa * px;
            const vec3 q = hub + (px * in.right + py * in.up);
            Lh += F.x * hub.y - F.y * hub.x;
            Mh += F.z * hub.y - F.y * hub.z;
            Nh += F.z * hub.x - F.x * hub.z;
            Le += F.x * q.y - F.y * q.x;
            Me += F.z * q.y - F.y * q.z;
            Ne += F.z * q.x - F.x * q.z;
            if (e == els - 1) prop_strike(n, q);
        }
        // The ring's own wash. A ring without area (or in air without
        // density) would divide by zero; it then gains no wash.
        const float ring_div = a.acf_ringarea[el] * rho * std::fmax(1.0f, std::fabs(Vz) + std::fabs(f.ringDVinc[el]));
        f.ringDVinc[el] = (1.0f - dt) * f.ringDVinc[el] + dt * div_or(ring_thrust, ring_div, 0.0f);
    }

    // 11. The disc's wash (a disc without area gains none, as a ring).
    const float disc_div = a.acf_discarea[n] * rho * std::fmax(1.0f, std::fabs(Vz) + std::fabs(f.DVinc[n]));
    f.DVinc[n] = (1.0f - dt) * f.DVinc[n] + dt * div_or(f.POINT_thrust[n], disc_div, 0.0f);

    // 12. Moments on the airframe.
    const float inertia = a.acf_miprop_rpm[n];
    const float omega = f.POINT_tacrad[n];
    const vec3 ax = in.aft;
    const float vc = f.vertcant[n] * DEG, sc = f.sidecant[n] * DEG;
    const float p_arm = std::sqrt(ax.x * ax.x + ax.y * ax.y);
    const float q_arm = std::sqrt(ax.y * ax.y + ax.z * ax.z);
    const float r_arm = std::sqrt(ax.x * ax.x + ax.z * ax.z);
    if (!rotor) {
        // Gyroscopic moments of the spinning propeller.
        const float gP = f.Prad * inertia * omega * p_arm;
        const float gQ = f.Qrad * inertia * omega * q_arm;
        const float gR = f.Rrad * inertia * omega * r_arm;
        f.L += Le - gP + std::sin(vc) * gQ * dir - std::sin(sc) * gR * dir;
        f.M += Me - gQ - std::cos(sc) * gR * dir;
        f.N += Ne - gR + std::cos(vc) * gQ * dir;
    } else {
        if (report) report_rotor_moments(Mp, My);
        // The disc tilts under its moments until it follows the plane. The
        // rates divide by the inertia: one of 0 in the file would make them no
        // number, so it counts as a small one (prop_inertia).
        const float I = prop_inertia(n);
        const float w1 = std::fabs(omega) > 1.0f ? omega : (omega < 0.0f ? -1.0f : 1.0f);
        const float q = f.Qrad * q_arm;
        const float r = f.Rrad * r_arm + f.Prad * p_arm;
        const float q_target = Mp / (I * std::fabs(w1)) - q;
        const float r_target = My / (I * std::fabs(w1)) - r;
        const float m = a.acf_prop_mass[n];
        Mp = Mp - (f.Q_rotor_rad[n] + q) * I * omega - 0.01f * m * geo.tip;
        My = My - (f.R_rotor_rad[n] + r) * I * omega - 0.01f * m * geo.tip;
        auto chase = [dt, I](float& rate, float moment, float target) {
            if (target >= 0.0f) rate = clampf(rate + moment / I * dt, -9.9e9f, target);
            if (target <= 0.0f) rate = clampf(rate + moment / I * dt, target, 9.9e9f);
            // A rate that overflowed would carry no number into every later frame.
            if (!std::isfinite(rate)) rate = 0.0f;
        };
        chase(f.Q_rotor_rad[n], Mp, q_target);
        chase(f.R_rotor_rad[n], My, r_target);
        f.cyclic_elev_disc_tilt[n] += f.Q_rotor_rad[n] * RAD * dt;
        f.cyclic_ailn_disc_tilt[n] += f.R_rotor_rad[n] * RAD * dt;
        if (report) {
            report_rotor_moments(Mp, My);
            line("   pitch-rate   of prop on aircraft: ", f.Q_rotor_rad[n], 2, 7,
                 " rad/sec, plus any rotation rates of the aircraft.\n");
            line("   yaw  -rate   of prop on aircraft: ", f.R_rotor_rad[n], 2, 7,
                 " rad/sec, plus any rotation rates of the aircraft.\n");
            line("   new resultant cyclic tilt of prop for pitch: ", f.cyclic_elev_disc_tilt[n], 2, 7,
                 " deg, positive pitch up.\n");
            line("   new resultant cyclic tilt of prop for roll:  ", f.cyclic_ailn_disc_tilt[n], 2, 7,
                 " deg, positive yaw or roll right.\n\n");
        }
        // At its stops the disc passes the moment on to the airframe. The
        // stops are taken by size: with a negative authority (a vectored
        // rotor canted below level) or cyclic range, -le would lie above +le
        // and the clamp would throw the tilt to a stop every frame.
        const float le = std::fabs(2.0f * a.acf_cyclic_elev * authority);
        const float la = std::fabs(2.0f * a.acf_cyclic_ailn * authority);
        float& elev = f.cyclic_elev_disc_tilt[n];
        float& ailn = f.cyclic_ailn_disc_tilt[n];
        if ((elev > le && Mp > 0.0f) || (elev < -le && Mp < 0.0f)) f.M += Mp;
        if ((ailn > la && My > 0.0f) || (ailn < -la && My < 0.0f)) {
            f.N += My * std::cos(vc);
            f.L += My * std::sin(vc);
        }
        elev = clampf(elev, -le, le);
        ailn = clampf(ailn, -la, la);
        // A tilt that is no number would stay so for good; it levels instead.
        if (!std::isfinite(elev)) elev = 0.0f;
        if (!std::isfinite(ailn)) ailn = 0.0f;
        // The rotor's forces act at the hub.
        f.L += Lh;
        f.M += Mh;
        f.N += Nh;
        // The flapping hinge's offset carries the tilt's pull to the airframe.
        const float c = omega * omega * geo.tip * 0.7071f * m * 0.7071f * a.acf_flap_arm;
        f.M += std::sin(elev * DEG) * c;
        f.N += std::sin(ailn * DEG) * c * std::cos(vc);
        f.L += std::sin(ailn * DEG) * c * std::sin(vc);
    }

    // 13. The propulsive running totals.
    if (report) FM_report_prop_totals();

    // 14. Coning of rotors.
    if (prop_type == PROP_COLLECTIVE_ROTOR || prop_type == PROP_MAIN_ROTOR) {
        const float m = a.acf_prop_mass[n];
        const float centrifugal = away_from_zero(omega * omega * geo.mid * m, 0.01f);
        const float lift = away_from_zero(f.POINT_thrust[n] - m, 0.01f);
        const float limit = 10.0f * DEG;
        const float target = clampf(std::atan(lift / centrifugal), -limit, limit);
        f.POINT_cone_rad[n] = (1.0f - dt) * f.POINT_cone_rad[n] + dt * target;
    } else {
        f.POINT_cone_rad[n] = 0.0f;
    }

    // 15-16. Efficiency and the side wash it leaves.
    const float power = away_from_zero(f.ENGN_power[n], 0.1f);
    f.POINT_prop_eff[n] = f.POINT_thrust[n] * f.true_airspeed / power;
    const float eff = clampf(f.POINT_prop_eff[n], 0.5f, 1.0f);
    const float half_wash = 0.5f * f.DVinc[n];
    f.POINT_side_wash[n] = f.DVinc[n] < 0.0f ? 0.0f : clampf((1.0f - eff) * half_wash, 0.0f, half_wash);
}
