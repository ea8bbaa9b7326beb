// Airfoil curve fits and the tables generated from them.
//
// A lift curve linear around zero that bends over into the stalls at almin and
// almax and drops after them; a drag polar with an optional laminar bucket; a
// moment curve through four points. The fits cover -20..+20 degrees; the
// tables join them to flat-plate behaviour at large angles and to reversed
// flow near +-180 degrees.
//
// A fitted range whose two ends meet (a stall angle on the edge of the linear
// range, almax = 10 in an ordinary old file, or almin = -20) is one angle at
// which the fit's ratio is 0/0: the not-a-number would end the program at the
// check of the table while an ordinary aircraft loads. That ratio is taken as
// 0, which gives the curve's value at that end (the stall lift); every other
// value follows the fits as they stand, and the check stops the program on a
// table they leave out of range.
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/airfoil.h"
#include "core/numeric.h"
#include "core/units.h"

namespace {

// Flat-plate and reversed-flow constants of the table generation.
constexpr float FLAT_PLATE_LIFT = 1.17f;    // lift amplitude of a flat plate
constexpr float FLAT_PLATE_DRAG = 1.28f;    // drag of a flat plate at 90 degrees
constexpr float REVERSED_DRAG = 4.0f;       // reversed flow multiplies the fitted drag
constexpr float DRAG_BLEND = 70.0f;         // degrees from +-20 to +-90
constexpr float LIFT_BLEND = 25.0f;         // degrees from +-20 to +-45
constexpr float MOMENT_FACTOR = 0.25f;
constexpr float FIT_EDGE = 20.0f;
constexpr float REVERSED_EDGE = 160.0f;
constexpr float DAL10_ALPHA = 10.0f;

float ratio(float num, float den) { return num == 0.0f && den == 0.0f ? 0.0f : num / den; }

// Single-precision power.
float fpow(float base, float exponent) { return powf(base, exponent); }

float sin_deg(float a) { return sinf(a * DEG_TO_RAD_FLOAT); }

bool table_ok(int t) { return t >= 0 && t < AFL_TABLES; }

}  // namespace

float AIRFOIL_fit_lift(const afl_block& b, int t, float a)
{
    if (!table_ok(t)) return 0.0f;
    const float X = b.afl_linear_alpha;
    const float clM = b.afl_clM[t], clB = b.afl_clB[t];
    const float almin = b.afl_almin[t], almax = b.afl_almax[t];
    const float R = b.afl_Lstall - clB - clM * X;

    if (a >= -FIT_EDGE && a <= almin)
        return b.afl_Ldrop2 * fpow(ratio(almin - a, almin + FIT_EDGE), b.afl_Lpowstl) + 2.0f * clB -
               b.afl_Lstall + b.afl_Ldrop1;
    if (a >= almin && a <= -X)
        return (fpow(ratio(almin - a, almin + X), b.afl_Lpow) - 1.0f) * R + clB - clM * X;
    if (a >= X && a <= almax)
        return clB + clM * X - (fpow(ratio(almax - a, almax - X), b.afl_Lpow) - 1.0f) * R;
    if (a >= almax && a <= FIT_EDGE)
        return b.afl_Lstall - b.afl_Ldrop1 -
               b.afl_Ldrop2 * fpow(ratio(almax - a, almax - FIT_EDGE), b.afl_Lpowstl);
    if (a >= -X && a <= X) return clM * a + clB;
    return 0.0f;
}

float AIRFOIL_fit_drag(const afl_block& b, int t, float a)
{
    if (!table_ok(t)) return 0.0f;
    const float clM = b.afl_clM[t], clB = b.afl_clB[t];
    // Angle at which the lift equals afl_DminCL.
    const float a0 = (b.afl_DminCL - clB) / clM;
    float cd = (b.afl_Dal10 - b.afl_Dmin) * fpow(std::fabs((a - a0) / (DAL10_ALPHA - a0)), b.afl_Dpow) + b.afl_Dmin;

    if (b.afl_Bwidth > 0.0f && b.afl_Bdepth > 0.0f && b.afl_Bpower > 0.0f) {
        const float h = 0.5f * b.afl_Bwidth / clM;
        const float w = b.afl_Bwidth / clM;
        const float d = std::fabs(a - (b.afl_Bloc - clB) / clM);
        if (d >= h && d <= w)
            cd = cd - 0.5f * b.afl_Bdepth * fpow((w - d) / h, b.afl_Bpower);
        else if (d < h)
            cd = cd - 0.5f * b.afl_Bdepth * fpow((h - d) / h, 1.0f / b.afl_Bpower) - 0.5f * b.afl_Bdepth;
    }
    return cd;
}

float AIRFOIL_fit_moment(const afl_block& b, float a)
{
    // Straight lines through (-20, cm1), (cmal2, cm2), (cmal3, cm3), (20, cm4).
    auto segment = [a](float a1, float c1, float a2, float c2) {
        if (a2 == a1) return 0.5f * (c1 + c2);
        return c1 + (c2 - c1) * (a - a1) / (a2 - a1);
    };
    if (a >= -FIT_EDGE && a <= b.afl_cmal2) return segment(-FIT_EDGE, b.afl_cm1, b.afl_cmal2, b.afl_cm2);
    if (a >= b.afl_cmal2 && a <= b.afl_cmal3) return segment(b.afl_cmal2, b.afl_cm2, b.afl_cmal3, b.afl_cm3);
    if (a >= b.afl_cmal3 && a <= FIT_EDGE) return segment(b.afl_cmal3, b.afl_cm3, FIT_EDGE, b.afl_cm4);
    return 0.0f;
}

bool AIRFOIL_build_tables(afl_block& b, int t)
{
    if (!table_ok(t)) return false;
    float* cl = &b.afl_cl[t * AFL_ROWS];
    float* cd = &b.afl_cd[t * AFL_ROWS];
    float* cm = &b.afl_cm[t * AFL_ROWS];
    for (int i = 0; i < AFL_ROWS; ++i) cl[i] = cd[i] = cm[i] = 0.0f;

    const float cl20 = AIRFOIL_fit_lift(b, t, FIT_EDGE);
    const float clm20 = AIRFOIL_fit_lift(b, t, -FIT_EDGE);
    const float cd20 = AIRFOIL_fit_drag(b, t, FIT_EDGE);
    const float cdm20 = AIRFOIL_fit_drag(b, t, -FIT_EDGE);
    const float cm20 = AIRFOIL_fit_moment(b, FIT_EDGE);
    const float cmm20 = AIRFOIL_fit_moment(b, -FIT_EDGE);
    const float quarter = 90.0f / LIFT_BLEND;

    for (int i = 0; i < AFL_ROWS; ++i) {
        const float a = AFL_grid_alpha(i);

        // Lift: every range that holds writes; neighbours agree at their shared ends.
        if (a >= -FIT_EDGE && a <= FIT_EDGE) {
            cl[i] = AIRFOIL_fit_lift(b, t, a);
            cd[i] = AIRFOIL_fit_drag(b, t, a);
            cm[i] = AIRFOIL_fit_moment(b, a);
        }
        if (a >= -180.0f && a <= -REVERSED_EDGE) cl[i] = 0.5f * AIRFOIL_fit_lift(b, t, a + 180.0f);
        if (a >= -REVERSED_EDGE && a <= -135.0f) {
            const float s = 0.5f * cl20;
            cl[i] = s + (FLAT_PLATE_LIFT - s) * sin_deg((a + REVERSED_EDGE) * quarter);
        }
        if (a >= -135.0f && a <= -45.0f) cl[i] = FLAT_PLATE_LIFT * sin_deg(2.0f * a);
        if (a >= -45.0f && a <= -FIT_EDGE)
            cl[i] = clm20 + (clm20 + FLAT_PLATE_LIFT) * sin_deg((a + FIT_EDGE) * quarter);
        if (a >= FIT_EDGE && a <= 45.0f)
            cl[i] = cl20 + (FLAT_PLATE_LIFT - cl20) * sin_deg((a - FIT_EDGE) * quarter);
        if (a >= 45.0f && a <= 135.0f) cl[i] = FLAT_PLATE_LIFT * sin_deg(2.0f * a);
        if (a >= 135.0f && a <= REVERSED_EDGE) {
            const float s = 0.5f * clm20;
            cl[i] = s + (s + FLAT_PLATE_LIFT) * sin_deg((a - REVERSED_EDGE) * quarter);
        }
        if (a >= REVERSED_EDGE && a <= 180.0f) cl[i] = 0.5f * AIRFOIL_fit_lift(b, t, a - 180.0f);

        // Drag and moment beyond the fitted range.
        if (a < -FIT_EDGE || a > FIT_EDGE) {
            const float f = std::fabs(a) > 90.0f ? REVERSED_DRAG : 1.0f;
            float a2 = a;
            if (a > 90.0f) a2 = 180.0f - a;
            else if (a < -90.0f) a2 = -180.0f - a;
            const float s = FLAT_PLATE_DRAG * sin_deg(std::fabs(a2));
            float base = 0.0f;
            if (a2 < 0.0f) {
                const float x = (a2 + FIT_EDGE) / DRAG_BLEND;
                base = (FLAT_PLATE_DRAG - f * cdm20) * x * x + f * cdm20;
            } else if (a2 > 0.0f) {
                const float x = (a2 - FIT_EDGE) / DRAG_BLEND;
                base = (FLAT_PLATE_DRAG - f * cd20) * x * x + f * cd20;
            }
            if ((a >= -180.0f && a <= -REVERSED_EDGE) || (a >= REVERSED_EDGE && a <= 180.0f))
                cd[i] = f * AIRFOIL_fit_drag(b, t, a2);
            else
                cd[i] = base + (s - base) * (std::fabs(a2) - FIT_EDGE) / DRAG_BLEND;

            // The moment blends from the fitted value at +-20 to m at +-45 and follows m beyond.
            const float m = MOMENT_FACTOR * cd[i] * sin_deg(-a);
            const float edge = a < 0.0f ? cmm20 : cm20;
            const float v = edge + (m - edge) * (std::fabs(a) - FIT_EDGE) / LIFT_BLEND;
            const float lo = std::fmin(edge, m), hi = std::fmax(edge, m);
            cm[i] = v < lo ? lo : (v > hi ? hi : v);
        }

        // A fit whose parameters give a value out of range makes no table:
        // the file they came from is refused by its reader.
        if (UTIL_bad_float(cl[i]) || UTIL_bad_float(cd[i]) || UTIL_bad_float(cm[i])) return false;
    }
    return true;
}

float AIRFOIL_fit_lift(float alpha, int slot, int part, int end, int member)
{
    return AIRFOIL_fit_lift(AIRFOIL_block(slot, part), AFL_table_index(end, member), alpha);
}

float AIRFOIL_fit_drag(float alpha, int slot, int part, int end, int member)
{
    return AIRFOIL_fit_drag(AIRFOIL_block(slot, part), AFL_table_index(end, member), alpha);
}

float AIRFOIL_fit_moment(float alpha, int slot, int part)
{
    return AIRFOIL_fit_moment(AIRFOIL_block(slot, part), alpha);
}

bool AIRFOIL_build_tables(int slot, int part, int end, int member)
{
    return AIRFOIL_build_tables(AIRFOIL_block(slot, part), AFL_table_index(end, member));
}
