// The force-and-moment report's frame: header, running totals, element, body
// and gear blocks, grand totals.
#include "flightmodel/forces/report.h"

#include <array>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/simvars/flightmodel.h"
#include "core/simvars/network.h"
#include "core/simvars/weather.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"

namespace {

constexpr char RULE_BYTE = '\xA5';
constexpr float RAD = RAD_TO_DEG_FLOAT;

void rule_bytes(int n)
{
    for (int k = 0; k < n; ++k) report_log.put(RULE_BYTE);
}

void running_totals(const char* title, float axial, float side, float normal)
{
    const flt_struct& f = flt[0];
    FM_report_rule();
    FM_report_heading(title);
    FM_report_rule();
    report_log << "   f_axil=";
    FM_num(axial, 2, 10) << " N, pos aft,      L=";
    FM_num(f.L, 2, 10) << " N-m, pos right.\n";
    report_log << "   f_side=";
    FM_num(side, 2, 10) << " N, pos right,    M=";
    FM_num(f.M, 2, 10) << " N-m, pos up.\n";
    report_log << "   f_nrml=";
    FM_num(normal, 2, 10) << " N, pos up,       N=";
    FM_num(f.N, 2, 10) << " N-m, pos right.\n";
    rule_bytes(100);
    report_log << "\n\n";
}

// A heading of the grand totals after the first: an empty line before it.
void total_heading(const char* title)
{
    report_log << '\n';
    FM_report_heading(title);
}

// Three lines of one kind (the three axes of a quantity): each number
// (precision p, width w) after its label and before `end`.
void three_lines(const std::array<const char*, 3>& labels, const std::array<float, 3>& v, int p, int w,
                 const char* end)
{
    for (int k = 0; k < 3; ++k) FM_line(labels[k], v[k], p, w, end);
}

// A block of the grand totals: its heading, three lines of numbers of width w
// and an empty line.
void total_block(const char* title, const std::array<const char*, 3>& labels, const std::array<float, 3>& v, int w,
                 const char* end)
{
    total_heading(title);
    three_lines(labels, v, 2, w, end);
    report_log << '\n';
}

constexpr std::array<const char*, 3> FORCE_LABELS = {"f_axial   =", "f_side    =", "f_normal  ="};

}  // namespace

bool FM_reporting() { return sim_network_dataout.dump_next_cycle != 0; }

void FM_report_rule(int n)
{
    rule_bytes(n);
    report_log << '\n';
}

void FM_report_heading(const char* title, int total)
{
    rule_bytes(3);
    report_log << title;
    rule_bytes(total - 3 - static_cast<int>(std::strlen(title)));
    report_log << '\n';
}

std::ostream& FM_num(float v, int p, int w)
{
    return report_log << std::setprecision(p) << std::setw(w) << v;
}

void FM_line(const char* label, float v, int p, int w, const char* end)
{
    report_log << label;
    FM_num(v, p, w) << end;
}

void FM_report_aero_totals()
{
    const flt_struct& f = flt[0];
    running_totals("RUNNING AERODYNAMIC FORCE AND TOTAL MOMENT TOTALS, FLIGHT-PATH AXIS SYSTEM", f.faxil_aero,
                   f.fside_aero, f.fnrml_aero);
}

void FM_report_prop_totals()
{
    const flt_struct& f = flt[0];
    running_totals("RUNNING PROPULSIVE FORCE AND TOTAL MOMENT TOTALS, AIRCRAFT AXIS SYSTEM", f.faxil_prop, f.fside_prop,
                   f.fnrml_prop);
}

void FM_report_gear_totals()
{
    const flt_struct& f = flt[0];
    running_totals("RUNNING GEAR FORCE AND TOTAL MOMENT TOTALS, AIRCRAFT AXIS SYSTEM", f.faxil_gear, f.fside_gear,
                   f.fnrml_gear);
}

void FM_report_header()
{
    const flt_struct& f = flt[0];
    const acf_struct& a = pln[0];
    const forces_state& s = fm_state;
    report_log.setf(std::ios::fixed, std::ios::floatfield);
    report_log << '\n';
    FM_report_rule();
    FM_report_rule();
    rule_bytes(3);
    report_log << "AT TIME COUNTER " << std::setw(6) << flying_frame_count;
    FM_report_rule(75);
    FM_report_rule();
    FM_report_rule();
    FM_line("h       =", f.local_y, 2, 7, " meters.\n");
    FM_line("rho     =", sim_weather.rho, 4, 7, " kg/cubic meter, density ratio=");
    FM_num(sim_weather.sigma, 4, 7) << ".\n";
    // The velocities keep the precision of the line before and take no width.
    report_log << "vx      =" << f.local_vx << '\n';
    report_log << "vy      =" << f.local_vy << '\n';
    report_log << "vz      =" << f.local_vz << '\n';
    report_log << "vh      =" << f.vh_ind << '\n';
    FM_line("mach-1  =", sim_weather.speed_of_sound_ms, 2, 7, " m/s\n");
    FM_line("airspeed=", f.true_airspeed, 2, 7, " m/s\n");
    FM_line("mach    =", f.machno, 4, 7, ".\n");
    report_log << '\n';
    three_lines({"flight control ptch=", "flight control hdng=", "flight control roll="},
                {f.FC_ptch, f.FC_hdng, f.FC_roll}, 4, 7, " ratio.\n");
    report_log << '\n';
    three_lines({"psi=", "the=", "phi="}, {f.psi, f.theta, f.phi}, 2, 7, " deg.\n");
    report_log << '\n';
    FM_line("alpha=", f.alpha, 2, 7, " deg. (pos nose up)\n");
    FM_line("beta =", f.beta, 2, 7, " deg. (pos nose right)\n");
    report_log << '\n';
    three_lines({"P=", "Q=", "R="}, {f.P, f.Q, f.R}, 2, 7, " deg/second.\n");
    report_log << '\n';
    FM_line("y-value of terrain under aircraft      =", terrain_height_m, 2, 7, " m.\n");
    FM_line("resting height of aircraft above ground=", a.acf_h_eqlbm, 2, 7, " m.\n");
    report_log << '\n';
    const int points = a.acf_num_thrustpoints < 0 ? 0 : (a.acf_num_thrustpoints > 8 ? 8 : a.acf_num_thrustpoints);
    for (int k = 0; k < points; ++k) {
        report_log << "current vertcant[" << k << "]=";
        FM_num(f.vertcant[k], 2, 7) << " deg.\n";
        report_log << "current sidecant[" << k << "]=";
        FM_num(f.sidecant[k], 2, 7) << " deg.\n";
    }
    FM_line("alpha_use (after prediction)=", s.alpha_use, 2, 7, " deg.\n");
    FM_line("beta_use  (after prediction)=", s.beta_use, 2, 7, " deg.\n");
    report_log << '\n';
    three_lines({"P_use (after prediction)=", "Q_use (after prediction)=", "R_use (after prediction)="},
                {s.P_use * RAD, s.Q_use * RAD, s.R_use * RAD}, 2, 7, " deg/second.\n");
    report_log.flush();
}

void FM_report_element_begin(int p, int e, float x, float y, float z)
{
    const flt_struct& f = flt[0];
    report_log << '\n';
    FM_report_rule();
    rule_bytes(3);
    report_log << LANG_text_at_820(p) << " ELEMENT #" << std::setw(2) << e + 1;
    FM_report_rule(74);
    FM_report_rule();
    FM_line("   element x=", x, 2, 7, " m, pos right from CG\n");
    FM_line("   element y=", y, 2, 7, " m, pos up    from CG\n");
    FM_line("   element z=", z, 2, 7, " m, pos aft   from CG\n");
    const int el = ACF_el(p, e);
    FM_line("   Incidence-change is", f.elem_inc[el], 2, 7, " deg, taking us to an alpha of ");
    FM_num(f.alpha_el[4 * el], 2, 7) << " deg.\n";
}

void FM_report_element_end(int p, float lift, float drag, float axial, float side, float normal)
{
    const acf_struct& a = pln[0];
    FM_line("   drag=", drag, 2, 10, " N aft, lift=");
    FM_num(lift, 2, 10) << " N on dihed=";
    FM_num(a.acf_dihednow[p], 2, 7) << " deg (" << (a.acf_part_is_left[p] ? "on left side" : "on right side")
                                    << ") for aft=";
    FM_num(axial, 2, 10) << ", right=";
    FM_num(side, 2, 10) << " N, up=";
    FM_num(normal, 2, 10) << " N.\n\n";
    FM_report_aero_totals();
}

void FM_report_body_begin(int part, const fm_body_report& r)
{
    report_log << '\n' << LANG_text_at_820(part) << ":\n\n";
    FM_line("   lat arm of centroid                     =", r.x, 2, 7, " m pos right.\n");
    FM_line("   vrt arm of centroid                     =", r.y, 2, 7, " m pos up.\n");
    FM_line("   lon arm of centroid                     =", r.z, 2, 7, " m pos aft.\n");
    report_log << '\n';
    FM_line("   air attacking aft from ahead            =", r.air[2], 2, 7, " m/s.\n");
    FM_line("   air attacking up from below             =", r.air[1], 2, 7, " m/s.\n");
    FM_line("   air attacking to the right              =", r.air[0], 2, 7, " m/s.\n");
    report_log << '\n';
    FM_line("   post-prowash (if any) air aft from ahead=", r.air_wash[2], 2, 7, " m/s.\n");
    FM_line("   post-prowash (if any) air up from below =", r.air_wash[1], 2, 7, " m/s.\n");
    FM_line("   post-prowash (if any) air to the  right =", r.air_wash[0], 2, 7, " m/s.\n");
    report_log << '\n';
    FM_line("   resultant total speed of air on body    =", r.speed, 2, 7, " m/s.\n");
    FM_line("   angle of attack of body                 =", r.aoa_deg, 2, 7, " deg.\n");
    FM_line("   sideslip        of body                 =", r.slip_deg, 2, 7, " deg.\n");
    FM_line("   total body angle to airflow             =", r.total_deg, 2, 7, " deg.\n");
    report_log << '\n';
    FM_line("   body front   area                       =", r.front, 3, 8, " square meters.\n");
    FM_line("   body side    area for side force        =", r.side, 3, 8, " square meters.\n");
    FM_line("   body top     area for lift force        =", r.top, 3, 8, " square meters.\n");
    report_log << '\n';
}

void FM_report_body_end(float cd, float cl_side, float cl_vert, float drag, float side, float lift)
{
    FM_line("   body cd                                         =", cd, 5, 10, ".\n");
    FM_line("   body side     CL (positive right, side ref area)=", cl_side, 5, 10, ".\n");
    FM_line("   body vertical CL (positive up, top ref area)    =", cl_vert, 5, 10, ".\n");
    FM_line("   body drag force=", drag, 2, 10, " N.\n");
    FM_line("   body side force=", side, 2, 10, " N.\n");
    FM_line("   body lift force=", lift, 2, 10, " N.\n\n");
    FM_report_aero_totals();
}

void FM_report_gear(int gear, const fm_gear_report& r)
{
    report_log << "Landing gear #" << gear << ", deployed ";
    FM_num(r.deploy, 4, 7) << ":\n";
    FM_line("   STRUT area exposed (including actuating struts if retract)=", r.strut_area, 3, 8, " square meters.\n");
    FM_line("   TIRES area exposed (tire may be largely hidden by fairing)=", r.tyre_area, 3, 8, " square meters.\n");
    FM_line("   DOORS area exposed (all gear doors, 0 for fixed-gear)     =", r.door_area, 3, 8, " square meters.\n");
    FM_line("   STRUT Cd                                                  =", r.strut_cd, 5, 10, ".\n");
    FM_line("   TIRES Cd                                                  =", r.tyre_cd, 5, 10, ".\n");
    FM_line("   DOORS Cd                                                  =", r.door_cd, 5, 10, ".\n");
    FM_line("   drag of exposed STRUT                                     =", r.strut_drag, 2, 10, " N.\n");
    FM_line("   drag of exposed TIRES                                     =", r.tyre_drag, 2, 10, " N.\n");
    FM_line("   drag of exposed DOORS                                     =", r.door_drag, 2, 10, " N.\n");
    FM_line("   X/Y/Z  =", r.x, 2, 7, " ");
    FM_num(r.y, 2, 7) << " ";
    FM_num(r.z, 2, 7) << " m.\n\n";
    FM_report_aero_totals();
}

void FM_report_speedbrakes(float drag)
{
    FM_line("   Fuselage-mounted speedbrakes adding ", drag, 2, 10, " N of drag.\n");
    FM_report_aero_totals();
}

void FM_report_grand_totals()
{
    const flt_struct& f = flt[0];
    const forces_state& s = fm_state;
    report_log << '\n';
    FM_report_rule();
    FM_report_heading("GRAND TOTALS AT END OF FORCE AND MOMENT BUILD-UP");
    FM_report_rule();
    report_log << '\n';

    total_block("FINAL PROPULSIVE (ENGINE) FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)", FORCE_LABELS,
                {f.faxil_prop, f.fside_prop, f.fnrml_prop}, 10, " N.\n");
    total_block("FINAL GEAR FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)",
                {"f_axial   =", "f_side    =", "f_vertical="}, {f.faxil_gear, f.fside_gear, f.fnrml_gear}, 10, " N.\n");
    total_block("FINAL AERODYNAMIC FORCES, ALONG FLIGHT PATH AXIS (pos forward/back/up)", FORCE_LABELS,
                {f.faxil_aero, f.fside_aero, f.fnrml_aero}, 10, " N.\n");

    const float normal = f.fnrml_aero * f.cos_alpha + f.faxil_aero * f.sin_alpha;
    const float axial_a = f.faxil_aero * f.cos_alpha - f.fnrml_aero * f.sin_alpha;
    const float side = f.fside_aero * f.cos_beta + axial_a * f.sin_beta;
    const float axial = axial_a * f.cos_beta - f.fside_aero * f.sin_beta;
    total_block("FINAL AERODYNAMIC FORCES, ALONG AIRCRAFT AXIS (pos forward/back/up)", FORCE_LABELS,
                {axial, side, normal}, 10, " N.\n");

    total_heading("FINAL MOMENTS BEFORE ASSYMETRIC LOADING EFFECTS");
    FM_line("L         =", f.L, 2, 10, " N-m, pos right.\n");
    FM_line("M         =", f.M, 2, 10, " N-m, pos up.\n");
    FM_line("N         =", f.N, 2, 10, " N-m, pos right.\n");
    report_log << '\n';

    total_heading("MASSES TO GET FROM FORCES TO ACCELERATIONS");
    FM_line("mass      =", f.m_total, 2, 10,
            " kg (ice accretion will change mass and MI if present! Ice accretion mass ratio is ");
    report_log << std::setprecision(2) << f.frm_ice << " now)\n";
    FM_line("roll  MI  =", s.MI_roll, 2, 10, " kg-m-m... M/mi=accel in RADIANS per sec.\n");
    FM_line("pitch MI  =", s.MI_pitch, 2, 10, " kg-m-m... M/mi=accel in RADIANS per sec.\n");
    FM_line("yaw   MI  =", s.MI_yaw, 2, 10, " kg-m-m... M/mi=accel in RADIANS per sec.\n");
    report_log << '\n';

    total_block("FINAL TOTAL LINEAR ACCELS, ALONG GLOBAL AXIS (pos north/east/up)", {"a_x=", "a_y=", "a_z="},
                {f.local_ax, f.local_ay, f.local_az}, 7, " m/ss.\n");
    total_block("FINAL TOTAL ANGULAR ACCELS, ABOUT AIRCRAFT AXIS (pos right/up/right)",
                {"Pdot (roll) =", "Qdot (pitch)=", "Rdot (yaw)  ="}, {f.P_dot, f.Q_dot, f.R_dot}, 7, " deg/ss.\n");
    total_block("FINAL TOTAL LINEAR VELOCITIES, ALONG GLOBAL AXIS (pos north/east/up)", {"v_x=", "v_y=", "v_z="},
                {f.local_vx, f.local_vy, f.local_vz}, 7, " m/s.\n");
    report_log.flush();
}
