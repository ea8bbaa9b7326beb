// The element table over the flying view: per propeller, wing or stabiliser
// part of the user's aircraft, the speed, angle of attack, flow direction and
// wash of each of its elements, one table under the other.
#include <algorithm>

#include "aircraft/acf_struct.h"
#include "core/frame_clock.h"
#include "core/screen.h"
#include "core/simvars/weather.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/ogl_draw.h"
#include "graphics/font.h"
#include "links/dataout.h"

namespace {

constexpr int COLOUR = 48;
constexpr int FONT = 107;
constexpr float LABEL_X = 289.0f;
constexpr int ELEMENTS_PER_PART = 10;

struct part_set {
    int first, last;
};
constexpr part_set sets[3] = {{0, 7}, {8, 15}, {16, 19}};

void label(float y, const char* text, float x = LABEL_X) { OGL_draw_string(COLOUR, x, y, text, 9999.0f, FONT); }

void cell(float x, float y, float v, int digits, int decimals)
{
    OGL_draw_string_fmt(COLOUR, x, y, v, digits, decimals, 0, FONT);
}

// A part of the set that takes part: the engine tests for propellers, the
// part rule for wings and stabilisers.
bool part_shown(int p) { return DATAOUT_applies(0, p, p < 8 ? KIND_E6 : KIND_W); }

}  // namespace

void DATAOUT_element_table(int set)
{
    if (set < 0 || set > 2) return;   // a set outside the three would read past their part ranges
    dataout_state& t = dataout;
    const float top = screen.ui_top_margin + 735.0f;
    if (!t.table_started) {
        t.table_started = 1;
        t.table_end_y = top;
    }
    if (t.table_frame != flying_frame_count) {
        t.table_frame = flying_frame_count;
        t.table_y = top;
    }
    OGL_shade_box(287.0f, t.table_end_y - 2.0f, 737.0f, t.table_y + 9.0f, 0.5f);

    const flt_struct& f = flt[0];
    const float sound = sim_weather.speed_of_sound_ms;
    for (int p = sets[set].first; p <= sets[set].last; ++p) {
        if (!part_shown(p)) continue;
        // A part holds ten element entries: a larger count from the aircraft
        // file would read the next part's elements (past the arrays for the
        // last part), so at most ten columns are drawn.
        const int n = std::min(pln[0].acf_els[p], ELEMENTS_PER_PART);
        float& y = t.table_y;
        const int base = p * ELEMENTS_PER_PART;
        label(y, LANG_text_at_820(p));
        if (set == 0) label(y, "(blade elements, root to tip)", 361.0f);
        y -= 10.0f;
        label(y, "element");
        for (int e = 0; e < n; ++e) cell(406.0f + 36.0f * e, y, static_cast<float>(e), 1, 0);
        y -= 10.0f;
        label(y, "speed kt");
        for (int e = 0; e < n; ++e) cell(388.0f + 36.0f * e, y, f.v_el[(base + e) * 4] * UNIT.mps_to_kts, 4, 0);
        y -= 10.0f;
        label(y, "alpha deg");
        for (int e = 0; e < n; ++e) cell(388.0f + 36.0f * e, y, f.alpha_el[(base + e) * 4], 4, 1);
        y -= 10.0f;
        label(y, "flow dir");
        for (int e = 0; e < n; ++e) cell(388.0f + 36.0f * e, y, f.del_dir[(base + e) * 4], 4, 1);
        if (set != 0) {
            y -= 10.0f;
            label(y, "downwash");
            for (int e = 0; e < n; ++e) cell(388.0f + 36.0f * e, y, f.downwash_deg[base + e], 4, 1);
            y -= 10.0f;
            label(y, "propwash");
            for (int e = 0; e < n; ++e) cell(394.0f + 36.0f * e, y, f.propwash_rat[base + e], 3, 2);
        } else {
            y -= 10.0f;
            label(y, "ring dV kt");
            for (int e = 0; e < n; ++e) cell(394.0f + 36.0f * e, y, f.ringDVinc[base + e] * UNIT.mps_to_kts, 3, 0);
            y -= 10.0f;
            label(y, "tip Mach");
            label(y, "(the four speeds of the tip element)", 540.0f);
            // Element n - 1 of a propeller with no elements would be read before
            // the first propeller's entry (before the array for part 0), and a
            // speed of sound of 0 would divide by zero: those cells stay empty
            // (0). The speed of sound is the value published as
            // "sim/weather/gravity_mss".
            for (int i = 0; i < 4; ++i)
                cell(388.0f + 36.0f * i, y,
                     n > 0 && sound != 0.0f ? f.v_el[(base + n - 1) * 4 + i] / sound : 0.0f, 4, 3);
        }
        y -= 10.0f;
        label(y, "centroid");
        if (set == 0)
            for (int i = 0; i < 4; ++i) cell(388.0f + 36.0f * i, y, f.Q_centroid_loc[p * 4 + i], 4, 3);
        else
            cell(388.0f, y, f.Q_centroid_loc[p * 4], 4, 3);
        t.table_end_y = y;
        y -= 20.0f;
    }
}
