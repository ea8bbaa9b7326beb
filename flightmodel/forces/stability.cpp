// The stability-derivative finder: the moment of a one-degree offset from the
// trimmed flight, as a coefficient per degree and per radian.
#include "flightmodel/forces/stability.h"

#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/simvars/flightmodel.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/report.h"
#include "aircraft/part_presence.h"

namespace {

constexpr float DEG = DEG_TO_RAD_FLOAT;

void offset_line(const char* what)
{
    const flt_struct& f = flt[0];
    report_log << "OK I have offset the " << what << " by exactly 1 degree up (at ";
    FM_num(f.indicated_airspeed, 2, 7) << " KIAS, CG=";
    FM_num(f.cgz_ref_to_default, 2, 7) << " m from ref, pos aft) to find the stability derivative!\n";
}

}  // namespace

void FM_reference_geometry(float* sref, float* cref)
{
    const acf_struct& a = pln[0];
    int n = 0;
    float S = 0.0f, C = 0.0f;
    for (int p = PART_WING_PAIR_FIRST; p <= PART_WING_EXTRA_LAST; ++p) {
        if (!ACF_part_present(0, p) || !(std::fabs(a.acf_dihednow[p]) < 45.0f)) continue;
        ++n;
        const float chord = 0.5f * (a.acf_Croot[p] + a.acf_Ctip[p]);
        S += a.acf_semilen_SEG[p] * chord * std::cos(a.acf_sweepnow[p] * DEG);
        C += chord;
    }
    *sref = S;
    *cref = n > 0 ? C / static_cast<float>(n) : 0.0f;
}

void FM_stability_derivative()
{
    sim_flightmodel_misc_block& t = sim_flightmodel_misc;
    if (t.stab_ptch_test != 1 && t.stab_hdng_test != 1) return;
    const flt_struct& f = flt[0];
    float sref, cref;
    FM_reference_geometry(&sref, &cref);
    // Without a wing to refer to or without dynamic pressure the coefficient is reported as 0.
    const float denom = sref * cref * f.Qstatic;
    const bool usable = denom != 0.0f && std::isfinite(denom);
    float moment = 0.0f;
    if (t.stab_ptch_test) moment = f.M;
    if (t.stab_hdng_test) moment = f.N;
    float cm = usable ? moment / denom : 0.0f;
    if (!std::isfinite(cm)) cm = 0.0f;

    report_log << '\n';
    FM_report_rule();
    if (t.stab_ptch_test) offset_line("pitch");
    if (t.stab_hdng_test) offset_line("heading");
    report_log << '\n';
    report_log << "The moment M is: M  = Cm * (Sref * Cref * Q).\n";
    report_log << "Therefore:       Cm =  M / (Sref * Cref * Q).\n";
    report_log << '\n';
    FM_line("   M   =", moment, 2, 10, " N*m.     (moment when offset by 1 degree)\n");
    FM_line("   Sref=", sref, 2, 10, " m*m.     (total wing area of craft, based on all wings, but not stabs)\n");
    FM_line("   Cref=", cref, 2, 10, " m.       (average chord   of craft, based on all wings, but not stabs)\n");
    FM_line("   Q   =", f.Qstatic, 2, 10, " N/(m*m). (dynamic pressure at current flight condition)\n");
    FM_line("so Cm  =", cm, 5, 10,
            "          (coefficient of moment on craft when deflected 1 degree from your trimmed flight)\n");
    report_log << '\n';
    report_log << "Since the stability derivative is the coefficient of moment per degree, our stability derivative is ";
    FM_num(cm, 5, 10) << "/degree! (or ";
    FM_num(cm * RAD_TO_DEG_FLOAT, 5, 10) << "/radian).\n";
    FM_report_rule();
    report_log << '\n';
    report_log.flush();

    t.stab_ptch_test = 0;
    t.stab_hdng_test = 0;
}
