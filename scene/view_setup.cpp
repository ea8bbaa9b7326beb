#include "scene/view_setup.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>

#include "core/alert.h"
#include "core/camera.h"
#include "core/geo.h"
#include "core/numeric.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/units.h"
#include "flightmodel/ground/terrain_query.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "scene/scene_state.h"

#ifndef GL_FOG_DISTANCE_MODE_NV
#define GL_FOG_DISTANCE_MODE_NV 0x855A
#endif
#ifndef GL_EYE_RADIAL_NV
#define GL_EYE_RADIAL_NV 0x855B
#endif

namespace {

constexpr float CONE_MARGIN_DEG = 5.0f;     // the culling cone is the diagonal field of view plus this
constexpr float DIP_DISTANCE_M = 150.0f * UNIT.nm_to_mtrs;
constexpr float WINDOW_INSET_DEG = 0.1f;    // the terrain window's corners stay this far inside the area

struct trig {
    float s, c;
};
trig trig_of_deg(float deg)
{
    const float r = deg * DEG_TO_RAD_FLOAT;
    return {std::sin(r), std::cos(r)};
}
trig trig_of_rad(float r) { return {std::sin(r), std::cos(r)}; }

// Turns v by roll, then pitch, then heading.
void turn(float v[3], trig pitch, trig heading, trig roll)
{
    float o[3];
    PHYS_turn_to_local(v[0], v[1], v[2], &o[0], &o[1], &o[2], pitch.s, pitch.c, heading.s, heading.c, roll.s, roll.c);
    v[0] = o[0], v[1] = o[1], v[2] = o[2];
}

void view_angles(float offset_heading_rad, float offset_pitch_rad)
{
    const sim_private_camera_block& cam = sim_private_camera;
    sim_graphics_view_block& v = sim_graphics_view;
    const trig the = trig_of_deg(cam.the), psi = trig_of_deg(cam.psi), phi = trig_of_deg(cam.phi);
    camera_trig = {the.s, the.c, psi.s, psi.c, phi.s, phi.c};
    const trig off_pitch = trig_of_rad(view_offset_pitch * DEG_TO_RAD_FLOAT + offset_pitch_rad);
    const trig off_heading = trig_of_rad(view_offset_heading * DEG_TO_RAD_FLOAT + offset_heading_rad);
    const trig off_roll = trig_of_deg(view_offset_roll);
    const trig ref_the = trig_of_deg(v.elumens_ref_the), ref_psi = trig_of_deg(v.elumens_ref_psi),
               ref_phi = trig_of_deg(v.elumens_ref_phi);

    float forward[3] = {0.0f, 0.0f, -1.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    for (float* vec : {forward, up}) {
        turn(vec, off_pitch, off_heading, off_roll);
        turn(vec, the, psi, phi);
        turn(vec, ref_the, ref_psi, ref_phi);
    }

    float heading = std::atan2(forward[0], -forward[2]) * RAD_TO_DEG_FLOAT;
    if (heading < 0.0f) heading += 360.0f;
    const float pitch = std::atan2(forward[1], std::hypot(forward[0], forward[2])) * RAD_TO_DEG_FLOAT;
    // The roll is measured against the axes of the previous pass's heading and pitch.
    const float sh = v.view_heading_sin, ch = v.view_heading_cos, sp = v.view_pitch_sin, cp = v.view_pitch_cos;
    const float along_right = up[0] * ch + up[2] * sh;
    const float along_up = -up[0] * sp * sh + up[1] * cp + up[2] * sp * ch;
    const float roll = std::atan2(along_right, along_up) * RAD_TO_DEG_FLOAT;

    // A camera angle of no number would publish no-number view angles, and the
    // octant, footprint and every drawer's culling after them would fail: such
    // an angle is published as 0.
    v.view_heading = std::isfinite(heading) ? heading : 0.0f;
    v.view_pitch = std::isfinite(pitch) ? pitch : 0.0f;
    v.view_roll = std::isfinite(roll) ? roll : 0.0f;
    const trig h = trig_of_deg(v.view_heading), p = trig_of_deg(v.view_pitch), r = trig_of_deg(v.view_roll);
    v.view_heading_sin = h.s, v.view_heading_cos = h.c;
    v.view_pitch_sin = p.s, v.view_pitch_cos = p.c;
    v.view_roll_sin = r.s, v.view_roll_cos = r.c;
    view_octant = VIEW_octant_of(v.view_heading);
}

// Of two candidates for one coordinate, the one farther from the camera.
float larger(float a, float b) { return std::fabs(a) >= std::fabs(b) ? a : b; }

void footprint(float half_cone_deg, float reach, float terrain_visibility, float aspect)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    const float H = v.view_heading;
    const trig hd = trig_of_deg(H), left = trig_of_deg(H - half_cone_deg), right = trig_of_deg(H + half_cone_deg);
    const float f[2] = {hd.s, -hd.c}, r[2] = {hd.c, hd.s};
    const float half = half_cone_deg * DEG_TO_RAD_FLOAT;
    const float far_r = terrain_visibility / std::cos(half);
    const float W = std::tan(half) * reach * aspect, D = std::tan(half) * reach;
    const float cP = std::cos(UTIL_clamp(v.view_pitch, -90.0f, 0.0f) * DEG_TO_RAD_FLOAT);
    const float sQ = std::sin(UTIL_clamp(-v.view_pitch, 0.0f, 90.0f) * DEG_TO_RAD_FLOAT);

    const ground_point wedge[4] = {{cP * left.s, -cP * left.c},
                                   {far_r * cP * left.s, -far_r * cP * left.c},
                                   {far_r * cP * right.s, -far_r * cP * right.c},
                                   {cP * right.s, -cP * right.c}};
    const float across[4] = {-W, -W, W, W}, along[4] = {-D, D, D, -D};
    for (int k = 0; k < 4; ++k) {
        const float rx = sQ * (across[k] * r[0] + along[k] * f[0]);
        const float rz = sQ * (across[k] * r[1] + along[k] * f[1]);
        view_footprint[k].x = larger(wedge[k].x, rx) + v.view_x;
        view_footprint[k].z = larger(wedge[k].z, rz) + v.view_z;
    }
}

// The cell that holds a ground point, the point first held 0.1 degree inside
// the loaded area; the probe starts from (and writes back) the given cell.
void probe_corner(float x, float z, int32_t& column, int32_t& row, const char* tag)
{
    const int p = WORLD_planet();
    const double lat0 = lat_ref + reference_lat_offset[p], lon0 = lon_ref + reference_lon_offset[p];
    const geo_point g = GEO_local_to_latlon_about(lat0, lon0, x, 0.0, z);
    const double south = static_cast<double>(lat_ref) + WINDOW_INSET_DEG;
    const double north = static_cast<double>(lat_ref) + WORLD_AREA_LAT_SPAN[p] - WINDOW_INSET_DEG;
    const double west = static_cast<double>(lon_ref) + WINDOW_INSET_DEG;
    const double east = static_cast<double>(lon_ref) + WORLD_AREA_LON_SPAN[p] - WINDOW_INSET_DEG;
    // A footprint corner of no number would pass the clamp as no number and
    // send the probe nowhere: it is taken at the area's centre.
    const double lat = std::clamp(std::isfinite(g.lat) ? g.lat : lat0, south, north);
    const double lon = std::clamp(std::isfinite(g.lon) ? g.lon : lon0, west, east);
    double px, py, pz;
    GEO_latlon_to_local_about(lat0, lon0, {lat, lon, 0.0}, px, py, pz);
    float scratch[3];
    int c = column, r = row;
    TERRAIN_height_at(static_cast<float>(px), static_cast<float>(pz), &scratch[0], &scratch[1], &scratch[2], &c, &r, 0,
                      tag);
    column = c;
    row = r;
}

void window_from_footprint()
{
    const int p = WORLD_planet();
    float min_x = view_footprint[0].x, max_x = min_x, min_z = view_footprint[0].z, max_z = min_z;
    for (const ground_point& g : view_footprint) {
        min_x = std::min(min_x, g.x), max_x = std::max(max_x, g.x);
        min_z = std::min(min_z, g.z), max_z = std::max(max_z, g.z);
    }
    terrain_window_record& w = terrain_window;
    probe_corner(min_x, max_z, w.first_column, w.first_row, "viewpoint extremes 1");
    probe_corner(max_x, min_z, w.last_column, w.last_row, "viewpoint extremes 2");
    const int columns = SCENE_GRID_COLUMNS[p], rows = SCENE_GRID_ROWS[p];
    w.first_column = util_clamp_int(std::min(w.first_column, camera_cell.column) - 1, 0, columns - 1);
    w.last_column = util_clamp_int(std::max(w.last_column, camera_cell.column), 0, columns - 1);
    w.first_row = util_clamp_int(std::min(w.first_row, camera_cell.row) - 1, 0, rows - 1);
    w.last_row = util_clamp_int(std::max(w.last_row, camera_cell.row), 0, rows - 1);
}

void modelview()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    glRotatef(v.elumens_ref_the, -1.0f, 0.0f, 0.0f);
    glRotatef(v.elumens_ref_psi, 0.0f, 1.0f, 0.0f);
    glRotatef(v.elumens_ref_phi, 0.0f, 0.0f, 1.0f);
    glRotatef(view_offset_pitch, -1.0f, 0.0f, 0.0f);
    glRotatef(view_offset_heading, 0.0f, 1.0f, 0.0f);
    glRotatef(view_offset_roll, 0.0f, 0.0f, 1.0f);
    VIEW_turn_to_camera();
}

// A ring of quads in the vertical plane of the view heading, from below the
// horizon over the top to behind the camera, in the sky bands' colours.
void sky_backdrop(float ring_radius)
{
    const sim_graphics_view_block& v = sim_graphics_view;
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    glDepthFunc(GL_ALWAYS);
    const float T = 2.0f * std::tan(0.5f * v.field_of_view_deg * DEG_TO_RAD_FLOAT);
    // An elevation of no number would give a dip of no number and put the ring's
    // fine steps nowhere: the clamp takes it as the lowest dip, -30.
    const float dip = UTIL_clamp_nan_low(-std::atan(v.view_elevation_m_msl / DIP_DISTANCE_M) * RAD_TO_DEG_FLOAT,
                                         -30.0f, 30.0f);
    float angles[17] = {-180.0f, -135.0f, -90.0f, -45.0f};
    for (int i = 0; i < 10; ++i) angles[4 + i] = dip + 5.0f * static_cast<float>(i);
    angles[14] = 90.0f, angles[15] = 135.0f, angles[16] = 180.0f;

    const float f[3] = {v.view_heading_sin, 0.0f, -v.view_heading_cos};
    const float r[3] = {v.view_heading_cos, 0.0f, v.view_heading_sin};
    const float R = ring_radius;
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < 17; ++i) {
        const float* band = sky_ramp[std::clamp(i - 4, 0, SKY_BANDS - 1)];
        glColor4f(band[0] * gload_dim_factor, band[1] * gload_dim_factor, band[2] * gload_dim_factor, 1.0f);
        const trig a = trig_of_deg(angles[i]);
        for (const float side : {1.0f, -1.0f})
            glVertex3f(R * (a.c * f[0] + side * T * r[0]), R * a.s, R * (a.c * f[2] + side * T * r[2]));
    }
    glEnd();
    glDepthFunc(GL_LEQUAL);
}

void sun_and_fog()
{
    const sim_graphics_view_block& v = sim_graphics_view;
    glTranslatef(-v.view_x, -v.view_y, -v.view_z);
    glPushMatrix();
    glRotatef(sun_angles[0], 1.0f, 0.0f, 0.0f);
    glRotatef(sun_angles[1], 0.0f, 0.0f, 1.0f);
    glRotatef(sun_angles[2], 1.0f, 0.0f, 0.0f);
    const float position[4] = {0.0f, 1.0f, 0.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, sun_ambient_rgba);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, sun_diffuse_rgba);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glPopMatrix();
    sun_tangents[0] = std::tan(sun_angles[1] * DEG_TO_RAD_FLOAT);
    sun_tangents[1] = std::tan(sun_angles[2] * DEG_TO_RAD_FLOAT);

    const float colour[4] = {sky_ramp[0][0] * gload_dim_factor, sky_ramp[0][1] * gload_dim_factor,
                             sky_ramp[0][2] * gload_dim_factor, 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_START, fog_start);
    glFogf(GL_FOG_END, fog_end);
    if (has_dis_fog) glFogi(GL_FOG_DISTANCE_MODE_NV, GL_EYE_RADIAL_NV);
}

}  // namespace

void VIEW_turn_to_camera()
{
    const sim_private_camera_block& c = sim_private_camera;
    if (view_quarter_turn_neg) glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    if (view_quarter_turn_pos) glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(c.phi, 0.0f, 0.0f, 1.0f);
    glRotatef(c.the, -1.0f, 0.0f, 0.0f);
    glRotatef(c.psi, 0.0f, 1.0f, 0.0f);
}

int32_t VIEW_octant_of(float heading_deg)
{
    for (int32_t k = 1; k < 8; ++k)
        if (heading_deg < 45.0f * static_cast<float>(k)) return k;
    return 8;
}

void VIEW_setup_scene(float ring_radius, float offset_heading_rad, float offset_pitch_rad, float terrain_visibility,
                      float camera_height)
{
    const int32_t planet = sim_graphics_scenery.current_planet;
    if (planet != PLANET_EARTH && planet != PLANET_MARS) {
        MACIBM_nuke_alert(0, "The scene was asked to draw a planet it does not know.",
                          "Only the Earth and Mars can be drawn; the simulator has to stop.", "", "", ALERT_FATAL);
        return;
    }

    const sim_graphics_view_block& v = sim_graphics_view;
    float reach = 0.0f;
    if (terrain_visibility >= 0.0f) reach = camera_height + 100.0f < terrain_visibility ? camera_height + 100.0f : terrain_visibility;
    const float w = 1024.0f + 2.0f * screen.ui_side_margin, h = 768.0f + screen.ui_top_margin;
    // A field of view of no number would make the cone and every footprint
    // corner no number: the clamp takes it as 0.
    const float diagonal = UTIL_clamp_nan_low(v.field_of_view_deg * std::sqrt(w * w + h * h) / w, 0.0f, 160.0f);
    const float half_cone = 0.5f * (diagonal + CONE_MARGIN_DEG);

    view_angles(offset_heading_rad, offset_pitch_rad);
    footprint(half_cone, reach, terrain_visibility, w / h);
    window_from_footprint();
    modelview();
    sky_backdrop(ring_radius);
    sun_and_fog();
}
