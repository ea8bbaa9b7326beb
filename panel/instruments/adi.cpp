// The attitude indicators: the glass ball (types 91-93 and the EFIS rose and
// head-up types 166 and 188) and the mechanical ball with its face plate
// (90 on the vacuum gyro; 448 and 460 on the electric one, 460 with a
// warning flag), both with the flight-director cue and the aircraft symbol
// whose height a knob sets. They show what the gyro shows, not the attitude.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/simvars.h"
#include "flightmodel/control/autopilot_modes.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/gyros.h"
#include "flightmodel/systems/weather.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "panel/instruments/flight_instruments.h"
#include "panel/panel_art.h"
#include "panel/panel_kit.h"

adi_memory adi_mem;

namespace {

constexpr float GLASS_PITCH_SCALE = 1.6333f;
constexpr float MECH_PITCH_SCALE = 1.05f;
constexpr int FACE_SLOT = 450;

float finite_or_0(float v) { return std::isfinite(v) ? v : 0.0f; }

// A textured quad given about the current GL matrix (already at the slot
// centre): the screen origin is not added again. Drawn with transparency on
// unless the caller asks for the opaque state.
void quad_here(int slot, int row, float x1, float y1, float x2, float y2, float u1, float v1, float u2, float v2,
               float texel, int transparency = STATE_BLEND)
{
    const tex_quad_corner c[4] = {{x1, y1, u1 * texel, v1 * texel}, {x1, y2, u1 * texel, v2 * texel},
                                  {x2, y2, u2 * texel, v2 * texel}, {x2, y1, u2 * texel, v1 * texel}};
    const PANEL_origin_in_matrix at_matrix;
    OGL_draw_tex_quad(slot, row, PANEL_alpha(), c, 1, transparency);
}

// A sprite of the second sheet: x range u1..u2, rows bottom/reference/top,
// anchored at (x, y) about the current matrix.
void sprite(int row, float x, float y, float u1, float u2, float bottom, float ref, float top)
{
    const float s = panel_ins_scale, hw = (u2 - u1) * 0.5f * s;
    quad_here(OGL_font2_tex(), row, x - hw, y - (ref - bottom) * s, x + hw, y + (top - ref) * s, u1, bottom, u2, top,
              PANEL_TEXEL);
}

void push_at_centre()
{
    glPushMatrix();
    glTranslatef(screen.screen_area_left, screen.screen_area_bottom, 0.0f);
}

}  // namespace

// The gyro outputs that the instrument names ind_gyro_pitch, ind_gyro_roll
// and gyro_supply are the flight model's gyro_pitch, gyro_roll and gyro_power;
// its microburst_warning is the weather's microburst_active.
void PANEL_flight_director(const acf_struct& a, int glass, int gyro, float pitch_scale, float symbol_offset)
{
    const sim_cockpit_autopilot_block& ap = sim_cockpit_autopilot;
    const float s = panel_ins_scale;
    const float dt = sim_operation_misc.frame_rate_period;
    const bool override_fd = sim_operation_override.override_flightdir != 0;
    const float g_roll = finite_or_0(gyro_roll[gyro]), g_pitch = finite_or_0(gyro_pitch[gyro]);

    float roll_target = 0.0f, pitch_target = 0.0f;
    if ((ap.autopilot_mode > 0 && (ap.heading_mode != AP_OFF || ap.hnav_mode == AP_COURSE_CAPTURED)) || override_fd)
        roll_target = std::clamp(finite_or_0(ap.flight_director_roll) - g_roll, -45.0f, 45.0f);
    if ((ap.autopilot_mode > 0 && (ap.altitude_mode != AP_OFF || ap.vnav_mode == AP_GLIDESLOPE_CAPTURED)) || override_fd)
        pitch_target = std::clamp(finite_or_0(ap.flight_director_pitch) - g_pitch, -20.0f, 20.0f);
    if (ap.autopilot_mode == 0 && a.acf_has_SC_fd != 0) pitch_target += 70.0f * s;

    const float k = std::isfinite(dt) ? 2.0f * dt : 0.0f;
    adi_mem.fd_roll_bar = k * roll_target + (1.0f - k) * adi_mem.fd_roll_bar;
    adi_mem.fd_pitch_bar = k * pitch_target + (1.0f - k) * adi_mem.fd_pitch_bar;
    if (!std::isfinite(adi_mem.fd_roll_bar)) adi_mem.fd_roll_bar = 0.0f;
    if (!std::isfinite(adi_mem.fd_pitch_bar)) adi_mem.fd_pitch_bar = 0.0f;

    const int row = glass ? 49 : 0;
    if (a.acf_has_SC_fd != 0) {
        glPushMatrix();
        glRotatef(-adi_mem.fd_roll_bar, 0.0f, 0.0f, 1.0f);
        glTranslatef(0.0f, adi_mem.fd_pitch_bar * pitch_scale, 0.0f);
        if (glass) sprite(row, 0.0f, 0.0f, 80, 156, 181, 190, 191);
        else sprite(row, 0.0f, 0.0f, 80, 156, 212, 222, 223);
        glPopMatrix();
    }
    if (a.acf_has_DC_fd != 0) {
        // The needles add the screen origin themselves: draw them outside the slot matrix.
        glPushMatrix();
        glTranslatef(-screen.screen_area_left, -screen.screen_area_bottom, 0.0f);
        PANEL_draw_needle(adi_mem.fd_roll_bar, -34.0f, 0.0f, 54);
        PANEL_draw_needle(-34.0f, adi_mem.fd_pitch_bar, 90.0f, 54);
        glPopMatrix();
    }
    const float y = symbol_offset * s;
    if (glass) {
        if (a.acf_has_SC_fd != 0) sprite(row, 0.0f, y, 80, 156, 169, 179, 180);
        else sprite(row, 0.0f, y, 0, 77, 169, 180, 185);
    } else {
        if (a.acf_has_SC_fd != 0) sprite(row, 0.0f, y, 80, 156, 200, 210, 211);
        else sprite(row, 0.0f, y, 0, 77, 193, 222, 224);
    }
}

void PANEL_slip_ball(const flt_struct& f, float y)
{
    PANEL_draw_control(-finite_or_0(f.slip) * panel_ins_scale, y, 0);
}

namespace {

void glass_adi(const panel_records& r, int t)
{
    const float s = panel_ins_scale, h = 64.0f * s;
    const int gyro = GYRO_ELECTRIC;
    const float roll = finite_or_0(gyro_roll[gyro]), pitch = finite_or_0(gyro_pitch[gyro]);
    push_at_centre();
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_scissor_on(-h, -h, 2.0f * h, 2.0f * h);
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
    const float tc = 384.0f + pitch * GLASS_PITCH_SCALE;
    // The ball opaque, the bank ring over it with transparency on.
    quad_here(OGL_font2_tex(), 49, -h, -h, h, h, 448 - 64, tc - 64, 448 + 64, tc + 64, PANEL_TEXEL, STATE_OPAQUE);
    quad_here(OGL_font2_tex(), 49, -h, -h, h, h, 192 - 64, 448 - 64, 192 + 64, 448 + 64, PANEL_TEXEL);
    glRotatef(-roll, 0.0f, 0.0f, 1.0f);
    PANEL_flight_director(r.acf, 1, gyro, GLASS_PITCH_SCALE, adi_mem.adi_symbol_offset);
    quad_here(OGL_font_tex(), 49, -h, -h, h, h, 406 - 64, 449 - 64, 406 + 64, 449 + 64, PANEL_TEXEL);
    OGL_scissor_off();
    // The wind-shear warning of an aircraft with warning equipment, across the ball.
    // The matrix already stands at the slot centre, so the string drawer must
    // not add the screen origin again (the text would land at twice the
    // slot's offset, off the ball).
    if (weather_stage.microburst_active && sim_operation_prefs.warn_bb && (r.acf.acf_warn1EQ || r.acf.acf_warn2EQ)) {
        const PANEL_origin_in_matrix at_matrix;
        OGL_draw_string(59, -32.0f, 0.0f, "MICROBURST", 999.0f, 110);
    }
    glPopMatrix();
    if (INS_in(t, INS_HORIZGLASS_GA, INS_HORIZGLASS_HM)) PANEL_slip_ball(r.flt, -75.0f * s);
}

void mechanical_adi(const panel_records& r, int t)
{
    const float s = panel_ins_scale;
    const int gyro = t == INS_ARTHORIZON_GA_VACUUM ? GYRO_VACUUM : GYRO_ELECTRIC;
    const float roll = finite_or_0(gyro_roll[gyro]), pitch = finite_or_0(gyro_pitch[gyro]);
    screen.screen_area_left -= 2.0f;
    screen.screen_area_bottom += 2.0f;
    push_at_centre();
    glRotatef(roll, 0.0f, 0.0f, 1.0f);
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(OGL_font2_tex(), 0);
    OGL_apply_color(0, PANEL_alpha());
    const float tc = 384.0f + pitch * MECH_PITCH_SCALE;
    // Wound clockwise, as the kit's quads are.
    static constexpr float oct[8][2] = {{-32, -64}, {-64, -32}, {-64, 32}, {-32, 64},
                                        {32, 64},   {64, 32},   {64, -32}, {32, -64}};
    glBegin(GL_POLYGON);
    for (const auto& p : oct) {
        glTexCoord2f((320.0f + p[0]) * PANEL_TEXEL, (tc + p[1]) * PANEL_TEXEL);
        glVertex2f(p[0] * s, p[1] * s);
    }
    glEnd();
    quad_here(OGL_font2_tex(), 0, -64 * s, -64 * s, 64 * s, 64 * s, 0, 384, 128, 512, PANEL_TEXEL);
    glRotatef(-roll, 0.0f, 0.0f, 1.0f);
    quad_here(FACE_SLOT, 33, -64 * s, -54 * s, 64 * s, 64 * s, 0, 64 - 54, 128, 128, 1.0f / 128.0f);
    if (t == INS_ARTHORIZON_GA_FLAGGED) {
        const float dt = std::isfinite(sim_operation_misc.frame_rate_period) ? sim_operation_misc.frame_rate_period : 0.0f;
        const float target = gyro_power[GYRO_ELECTRIC] < 0.25f ? 20.0f : -45.0f;
        adi_mem.adi_flag_angle = dt * target + (1.0f - dt) * adi_mem.adi_flag_angle;
        glPopMatrix();
        OGL_scissor_on(-84.0f * s + 5.0f, -81.0f * s + 5.0f, 168.0f * s - 10.0f, 162.0f * s - 10.0f);
        PANEL_draw_needle(-60.0f, -40.0f, adi_mem.adi_flag_angle, 66);
        OGL_scissor_off();
        push_at_centre();
    }
    PANEL_flight_director(r.acf, 0, gyro, MECH_PITCH_SCALE, adi_mem.adi_symbol_offset);
    quad_here(OGL_font_tex(), 0, -84 * s, -81 * s, 84 * s, 81 * s, 254 - 84, 430 - 81, 254 + 84, 430 + 81,
              PANEL_TEXEL);
    glPopMatrix();
}

}  // namespace

void PANEL_adi(const panel_records& r)
{
    const int t = panel_ins_type;
    // The mechanical face moves the centre for the rest of the slot; the
    // caller's origin comes back at the end.
    const float left = screen.screen_area_left, bottom = screen.screen_area_bottom;
    const bool glass =
        INS_in(t, INS_HORIZGLASS_GA, INS_HORIZGLASS_HM) || t == INS_EFIS_EL_HORIZON || t == INS_EFIS_ORBITER_PRIM;
    if (glass) {
        if (!PANEL_glass_alive()) return;
        glass_adi(r, t);
    } else {
        mechanical_adi(r, t);
    }
    const float drag = PANEL_drag_spot(50.0f, -50.0f, 10.0f, 1.0f, 10.0f, 1);
    adi_mem.adi_symbol_offset = std::clamp(adi_mem.adi_symbol_offset + drag, -5.0f, 5.0f);
    screen.screen_area_left = left;
    screen.screen_area_bottom = bottom;
}

ORVELL_RESET_RECORD(FLIGHT_INSTRUMENTS_reset, adi_mem, panel);
