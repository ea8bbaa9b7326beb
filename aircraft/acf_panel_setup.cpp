// Panel images, panel equipment and aircraft sounds of the user's aircraft.
#include "aircraft/acf_panel_setup.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/acf_struct.h"
#include "core/bytes.h"
#include "core/constants.h"
#include "core/hooks.h"
#include "core/instrument_types.h"
#include "core/screen.h"
#include "core/simvars/cockpit.h"
#include "graphics/ogl_tex.h"
#include "links/sound.h"
#include "aircraft/part_presence.h"

float visibility_scale = 0.0f;
int32_t acf_HUD_type = HUD_KIND_NONE;
int32_t auto_fea_EQ = 0, battery_EQ = 0, avionics_EQ = 0;
int32_t generator_EQ = 0, inverter_eq = 0, fuel_pump_EQ = 0;
int32_t has_view_bitmap[ACF_VIEW_BITMAPS];
acf_sound_calls acf_sounds = {SOUND_load_wav, SOUND_start_stop_loops};

namespace {

constexpr int PANEL_WIDTH = 1024;
constexpr int PANEL_HEIGHT = 768;
constexpr int COMPOSE_OFFSET = 5000;      // the loader takes positions offset by this much
constexpr int COMPOSE_PICTURE_BASE = 500; // pictures composed onto the panel use numbers from 500

const char* const view_suffixes[ACF_VIEW_BITMAPS] = {
    "_PANEL.BMP", "_PANEL_RF.BMP", "_PANEL_R.BMP", "_PANEL_RB.BMP", "_PANEL_B.BMP",
    "_PANEL_LB.BMP", "_PANEL_L.BMP", "_PANEL_LF.BMP", "_PANEL_LIT.BMP",
};

const char* const built_in_panels[ACF_COCKPIT_TYPES_BUILT_IN] = {
    "PANELS:PANEL_GENERAL.BMP",  "PANELS:PANEL_AIRLINER.BMP", "PANELS:PANEL_FIGHTER.BMP",
    "PANELS:PANEL_GLIDER.BMP",   "PANELS:PANEL_HELO.BMP",     "PANELS:PANEL_AUTOGYRO.BMP",
    "PANELS:PANEL_GENERAL_IFR.BMP", "PANELS:PANEL_AUTOGYRO_TWIN.BMP",
};

// Instrument types drawn entirely by the panel pass: no picture is composed
// and no equipment follows from them.
bool drawn_by_panel_pass(int t)
{
    return t == ACF_INS_EMPTY || t == INS_EFIS_EL_HORIZON || t == INS_EFIS_EL_HSI_SEMI_CIRCLE ||
           t == INS_EFIS_EL_HSI_FULL_CIRCLE || t == INS_EFIS_EL_LOC || t == INS_EFIS_EL_GS ||
           t == INS_EFIS_EL_DME_1 || t == INS_EFIS_EL_DME_2 || t == INS_EFIS_EL_GPS_TIME;
}

int lever_column(int t)
{
    // Throttles, propellers, mixtures and heats come as a vernier and a linear type.
    if (INS_in(t, INS_HAN_SLIDER_THRO_VERNIER, INS_HAN_SLIDER_CHEAT_LIN)) return (t - INS_HAN_SLIDER_THRO_VERNIER) / 2;
    if (t == INS_HAN_SLIDER_COWL) return 4;
    return -1;
}

// Composes the picture of instrument slot k onto the panel in the pixel
// buffer. The position code the loader takes (x * 10000 + y, each offset by
// 5000) is worked out in 64 bits. An instrument too far off the panel for the
// code to carry it is skipped: its code would overflow the loader's integer
// (or its y would spill into the x digits) and put the picture at a wrong place
// on the panel. One lying wholly off the panel is skipped too, which leaves the
// same panel as composing it would.
void compose_instrument(const acf_struct& a, int k)
{
    const double size = a.acf_ins_size[k];
    const double w = a.acf_ins_delx[k] * size, h = a.acf_ins_dely[k] * size;
    const double fx = a.acf_ins_x[k] - w * 0.5 + COMPOSE_OFFSET;
    const double fy = a.acf_ins_y[k] - h * 0.5 + COMPOSE_OFFSET;
    if (!std::isfinite(fx) || !std::isfinite(fy) || !std::isfinite(w) || !std::isfinite(h)) return;
    if (fx < 0.0 || fy < 0.0 || fx >= 200000.0 || fy > 9999.0) return;
    const int64_t xi = static_cast<int64_t>(fx), yi = static_cast<int64_t>(fy);
    const int64_t left = xi - COMPOSE_OFFSET, bottom = yi - COMPOSE_OFFSET;
    const double right = static_cast<double>(left) + std::fabs(w), top = static_cast<double>(bottom) + std::fabs(h);
    if (right <= 0.0 || top <= 0.0 || left >= PANEL_WIDTH || bottom >= PANEL_HEIGHT) return;
    const int64_t code = xi * 10000 + yi;
    if (code > INT32_MAX) return;
    int width = 0, height = 0;
    OGL_load_tex_file(LOAD_BITMAP, COMPOSE_PICTURE_BASE + k, static_cast<int>(code),
                      CORE_instrument_picture(a.acf_ins_type[k]), width, height);
}

}  // namespace

void ACF_setup_panel(int slot)
{
    if (slot != 0) return;
    acf_struct& a = pln[slot];

    // Display values; a record without maximum mass (never one that passed the
    // checks) gives 0 instead of a division by zero.
    visibility_scale = a.acf_m_max > 0.0f ? 2.0f * std::sqrt(a.acf_size_x * a.acf_size_x + a.acf_size_z * a.acf_size_z) /
                                                (units.g_conv * a.acf_m_max)
                                          : 0.0f;
    // A file that leaves the head-up display's centre unset (0, 0) would put
    // the box where a click hands the yoke to the pointer, and the pointer's
    // neutral point, in the window's bottom left corner: any pointer position
    // would then roll right and push the nose down to the stops. Such an
    // aircraft centres them in the window.
    if (a.acf_HUD_cntrx == 0.0f && a.acf_HUD_cntry == 0.0f) {
        a.acf_HUD_cntrx = UNSET_HUD_CENTRE_X;
        a.acf_HUD_cntry = UNSET_HUD_CENTRE_Y;
    }
    a.acf_HUD_cntry += 0.5f * screen.ui_top_margin;
    // The aircraft file gives the head-up display's box but not its kind. An
    // aircraft with a box has the kind whose symbols stand over the picture:
    // on an approach its localizer and glide-slope bars guide the pilot in
    // every forward view, and they are the only guidance in the views without
    // the panel. (The world-symbol kind would leave the bars out for runway
    // outlines and approach brackets drawn only within a few miles of the
    // runway; the synthetic-vision instrument draws those for any aircraft.)
    acf_HUD_type = a.acf_HUD_delx > 0.0f && a.acf_HUD_dely > 0.0f ? HUD_KIND_SYMBOLS : HUD_KIND_NONE;

    // Equipment and lever columns start empty; the panel draws at its own origin meanwhile.
    auto_fea_EQ = battery_EQ = avionics_EQ = generator_EQ = inverter_eq = fuel_pump_EQ = 0;
    float* levers = sim_cockpit_misc.lever_gang_x;
    for (int c = 0; c < 5; ++c) levers[c] = 0.0f;
    const int saved_left = static_cast<int>(screen.screen_area_left);
    const int saved_bottom = static_cast<int>(screen.screen_area_bottom);
    screen.screen_area_left = 0.0f;
    screen.screen_area_bottom = 0.0f;

    char path[ACF_TEXT_SIZE];
    std::memcpy(path, a.acf_file_path, ACF_TEXT_SIZE);
    path[ACF_TEXT_SIZE - 1] = 0;
    const std::size_t len = std::strlen(path);
    const std::string stem(path, len >= 4 ? len - 4 : 0);

    // The pixel buffer is cleared before each view's picture; a view without
    // a picture of its own keeps a cleared image. Clearing and copying nine
    // views of nothing is most of the work here, so the buffer is cleared only
    // when something was put into it, and a view image already clear is left
    // as it is (never written, its memory need not even be taken): every view
    // image ends the same as clearing and copying for every view would leave it.
    bool buffer_clear = false;
    for (int v = 0; v < ACF_VIEW_BITMAPS; ++v) {
        has_view_bitmap[v] = 0;
        if (!buffer_clear) std::memset(pixel_buffer, 0, PIXEL_BUFFER_BYTES);
        buffer_clear = true;
        const std::string file = stem + view_suffixes[v];
        int width = 0, height = 0;
        // A name longer than the loader's path would be cut short there and could name another file.
        if (file.size() < ACF_TEXT_SIZE)
            has_view_bitmap[v] = OGL_load_tex_file(LOAD_CUSTOM_PANEL, 0, TEX_KEY, file.c_str(), width, height);
        // The loader leaves its placeholder behind a file it could not read.
        if (!has_view_bitmap[v]) std::memset(pixel_buffer, 0, OGL_PLACEHOLDER_BYTES);
        if (has_view_bitmap[v]) buffer_clear = false;
        if (v == 0) {
            if (!has_view_bitmap[0]) {
                // A type beyond the table (bounded by the reader too) would read
                // past the built-in panels; it takes the general panel.
                const int type = a.acf_cockpit_type >= 0 && a.acf_cockpit_type < ACF_COCKPIT_TYPES_BUILT_IN
                                     ? a.acf_cockpit_type
                                     : 0;
                OGL_load_tex_file(LOAD_PANEL, 0, TEX_KEY, built_in_panels[type], width, height);
                buffer_clear = false;
            }
            for (int k = 0; k < ACF_INS_SLOTS; ++k) {
                const int t = a.acf_ins_type[k];
                if (drawn_by_panel_pass(t)) continue;
                // Without engines (a glider with a lever on its panel) the share
                // x / 0 would put the lever column at infinity; it stays at 0.
                const int column = lever_column(t);
                if (column >= 0 && a.acf_num_engines > 0)
                    levers[column] += a.acf_ins_x[k] / static_cast<float>(a.acf_num_engines);
                if (t == INS_BUT_AUTOFEATHER) auto_fea_EQ = 1;
                if (t == INS_BUT_BATTERY) battery_EQ = 1;
                if (t == INS_BUT_AVIONICS) avionics_EQ = 1;
                if (t == INS_BUT_GENERATOR) generator_EQ = 1;
                if (t == INS_BUT_INVERTER) inverter_eq = 1;
                if (t == INS_BUT_FUELPUMP) fuel_pump_EQ = 1;
                if (!has_view_bitmap[0]) {
                    compose_instrument(a, k);
                    buffer_clear = false;
                }
            }
        }
        if (!buffer_clear)
            std::memcpy(view_image_buffers[v], pixel_buffer, VIEW_IMAGE_BYTES);
        else if (!UTIL_all_zero(view_image_buffers[v], VIEW_IMAGE_BYTES))
            std::memset(view_image_buffers[v], 0, VIEW_IMAGE_BYTES);
    }
    screen.screen_area_left = static_cast<float>(saved_left);
    screen.screen_area_bottom = static_cast<float>(saved_bottom);
}

void ACF_setup_sounds(int slot)
{
    if (slot != 0) return;
    const acf_struct& a = pln[slot];
    static const char* const fixed[] = {
        "REV_THRUST.WAV", "RUMBLE.WAV", "WIND.WAV", "RAIN.WAV", "HAIL.WAV", "THUNDER.WAV", "STAL.WAV",
        "ENG_START.WAV", "FLAP.WAV", "DESC.WAV", "CLIM.WAV", "GEAR.WAV", "LRUN.WAV", "LWET.WAV", "LOFF.WAV",
        "LWAT.WAV", "BOOM.WAV", "HAIL_IMPACT.WAV", "SINK.WAV", "PULL.WAV", "GWRN.WAV", "GLID.WAV", "MINI.WAV",
        "WSHR.WAV", "CAUT.WAV", "1000FT.WAV", "500FT.WAV", "400FT.WAV", "300FT.WAV", "200FT.WAV", "100FT.WAV",
        "50FT.WAV", "40FT.WAV", "30FT.WAV", "20FT.WAV", "10FT.WAV", "MDOT.WAV", "MDAS.WAV", "DASH_OUTER.WAV",
        "DOT_MIDDLE.WAV", "DASH_MIDDLE.WAV", "DOT_INNER.WAV", "TCAS.WAV",
    };
    static_assert(sizeof fixed / sizeof fixed[0] == ACF_FIXED_SOUNDS);
    acf_sounds.start_stop_loops(0);
    for (int e = 0; e < ACF_MAX_ENGINES; ++e) {
        if (e < a.acf_num_engines && ACF_part_not_failed_or_hidden(slot, e)) {
            const char* name = nullptr;
            switch (a.acf_en_type[e]) {
            case 0: case 1: name = "ENGINE_RECIP.WAV"; break;
            case 2: case 8: name = "ENGINE_TURBO.WAV"; break;
            case 3: name = "ENGINE_ELEC.WAV"; break;
            case 4: name = "ENGINE_LO_JET.WAV"; break;
            case 5: name = "ENGINE_HI_JET.WAV"; break;
            case 6: case 7: name = "ENGINE_ROC.WAV"; break;
            default: break;
            }
            if (name) acf_sounds.load_wav(e, name);
        }
        if (ACF_part_in_service(slot, e)) {
            const char* name = nullptr;
            switch (a.acf_prop_type[e]) {
            case 0: case 1: case 2: case 4: case 5: name = "PROP_PLANE.WAV"; break;
            case 3: name = "ROTOR_GYRO.WAV"; break;
            case 6: name = "ROTOR_LIFTFAN.WAV"; break;
            case 7: name = "ROTOR_HELO.WAV"; break;
            default: break;
            }
            if (name) acf_sounds.load_wav(ACF_PROP_SOUND_FIRST + e, name);
        }
    }
    for (int k = 0; k < ACF_FIXED_SOUNDS; ++k) acf_sounds.load_wav(ACF_FIXED_SOUND_FIRST + k, fixed[k]);
    acf_sounds.start_stop_loops(1);
}
