// Screens 16 and 17: the recorded flight as a 3-D line over the loaded
// area's ground, seen by a camera gliding to new angles, and the planet as a
// turning globe with its airports, the flown path and the user's plane, where
// a click starts at an airport or over a region.
//
// Reads the replay ring, the planes, the airport table, the view keys' targets
// (view_orbit_heading, view_orbit_pitch, last_view_key_time,
// screen_settings.preview_zoom: the heading, pitch and zoom targets and the
// key time that the view keys share, by the names the shell's keys give
// them); writes the screens' own camera and globe
// turn, and on a globe click the start selection, lat_ref, lon_ref and the
// placement block (situation_start_state).
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "aircraft/situation_start.h"
#include "core/app_mode.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/numeric.h"
#include "core/random.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/screen.h"
#include "core/hooks.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "core/ui_text.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "graphics/widget.h"
#include "scene/drawers.h"
#include "scene/scene_state.h"
#include "screens/screen_layout.h"
#include "screens/screen_state.h"
#include "screens/setup.h"
#include "world/apt_scene.h"
#include "world/navdb.h"
#include "world/scenery_area.h"
#include "world/sky_colors.h"

path_view_state path_view;
ORVELL_RESET_RECORD(SETUP_flight_path_3d_reset, path_view, program);
globe_screen_state globe_screen;
ORVELL_RESET_RECORD(SETUP_globe_reset, globe_screen, program);

namespace {

// The globe's view, shared by its drawing and the pick under the pointer: the
// frustum -1..1 at the near plane over this divisor, the globe (radius 1)
// this far ahead at zoom 1.
constexpr float GLOBE_FRUSTUM_DIVISOR = 6.0f;
constexpr float GLOBE_DISTANCE = 10.0f;

int planet() { return sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH; }

// The horizon colour of the clear-day sky state (0 the Earth, 8 Mars): the
// sky and fog colour of these screens.
const float* sky_colour() { return sky_gradient_table[planet() == PLANET_MARS ? 8 : 0][0]; }

// Into [low, low + span) by whole spans. A value that is not finite (a NaN
// target) has no place in the span and would stay a NaN for good: it takes
// the middle.
float within(float v, float low, float span)
{
    return std::isfinite(v) ? UTIL_wrap_from(v, low, span) : low + span / 2.0f;
}

// A frame period that is not a number would leave the camera a NaN for good
// (the screen blank from then on): such a frame does not move the camera.
float frame_dt()
{
    const float dt = sim_operation_misc.frame_rate_period;
    return std::isfinite(dt) ? dt : 0.0f;
}

float uniform() { return static_cast<float>(UTIL_rand()) / 32767.0f; }

void set_fog(float start, float end)
{
    const float* c = sky_colour();
    const GLfloat colour[4] = {c[0], c[1], c[2], 1.0f};
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_START, start);
    glFogf(GL_FOG_END, end);
}

void set_light(float ambient, float diffuse, const GLfloat position[4])
{
    const GLfloat a[4] = {ambient, ambient, ambient, 1.0f}, d[4] = {diffuse, diffuse, diffuse, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, a);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, d);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHT0);
}

// A latitude and longitude on the unit sphere, scaled by k.
void sphere_vertex(double lat_deg, double lon_deg, double k = 1.0)
{
    const double p = lat_deg * DEG_TO_RAD_DOUBLE, l = lon_deg * DEG_TO_RAD_DOUBLE;
    glVertex3d(k * std::cos(p) * std::cos(l), k * std::sin(p), -k * std::cos(p) * std::sin(l));
}

void path_camera_follow(path_view_state& v)
{
    const float dt = frame_dt();
    auto follow = [dt](float& value, float& rate, float error) {
        rate += ((error * 10.0f - rate * 5.0f) - rate) * dt;
        value += rate * dt;
    };
    follow(v.pitch, v.pitch_rate, within(view_orbit_pitch - v.pitch, -PI_FLOAT, TWO_PI_FLOAT));
    follow(v.heading, v.heading_rate, within(view_orbit_heading - v.heading, -PI_FLOAT, TWO_PI_FLOAT));
    follow(v.zoom, v.zoom_rate, screen_settings.preview_zoom - v.zoom);
    v.pitch = within(v.pitch, -PI_FLOAT / 2.0f, PI_FLOAT);
    v.heading = within(v.heading, 0.0f, TWO_PI_FLOAT);
    // A target that is not a number (set through the shared view targets)
    // would leave the camera a NaN for good and the screen blank: the zoom
    // starts again at the whole area and the rates at rest.
    if (!std::isfinite(v.zoom) || !std::isfinite(v.zoom_rate)) v.zoom = 1.0f, v.zoom_rate = 0.0f;
    if (!std::isfinite(v.pitch_rate)) v.pitch_rate = 0.0f;
    if (!std::isfinite(v.heading_rate)) v.heading_rate = 0.0f;
}

// c = centre + (1 - zoom) (plane - centre), held between the two. A plane
// position that is not a number would make the camera one: the centre stands in.
float camera_axis(float centre, float plane, float zoom)
{
    if (!std::isfinite(plane)) return centre;
    const float c = centre + (1.0f - zoom) * (plane - centre);
    return std::clamp(c, std::min(centre, plane), std::max(centre, plane));
}

bool filled(int k) { return replay_ring[k].network_time_sec > 0.01f; }

}  // namespace

void SETUP_flight_path_3d()
{
    const float w = SCREEN_width(), h = SCREEN_height();
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    BTN_screen_frame(1, 15);
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    const float* sky = sky_colour();
    glColor4f(sky[0], sky[1], sky[2], 1.0f);
    glBegin(GL_QUADS);   // clockwise, the front face of the kit
    glVertex2f(ox + 20.0f, oy + 20.0f);
    glVertex2f(ox + 20.0f, oy + h - 38.0f);
    glVertex2f(ox + w - 20.0f, oy + h - 38.0f);
    glVertex2f(ox + w - 20.0f, oy + 20.0f);
    glEnd();

    path_view_state& v = path_view;
    if (interval_ticks[INTERVAL_TEN_SECONDS] && frame_clock - last_view_key_time > 10.0f) {
        view_orbit_pitch = (5.0f + 25.0f * uniform()) * DEG_TO_RAD_FLOAT;
        view_orbit_heading = 360.0f * uniform() * DEG_TO_RAD_FLOAT;
        screen_settings.preview_zoom = 1.0f;
    }
    path_camera_follow(v);

    const scenery_area_record& a = scenery_area;
    const float cx = camera_axis((a.x0 + a.x1) / 2.0f, flt[0].local_x, v.zoom);
    const float cz = camera_axis((a.z0 + a.z1) / 2.0f, flt[0].local_z, v.zoom);
    const float cy = camera_axis(sim_graphics_view.view_y + 4000.0f, flt[0].local_y, v.zoom);
    const float distance = (a.z1 - a.z0) * 0.75f * v.zoom;
    const float far_m = 1.75f * std::hypot(a.x1 - a.x0, a.z1 - a.z0);

    OGL_set_projection(PROJECTION_3D, -1.0f, -1.0f, 1.0f, 1.0f, ox + 20.0f, oy + 20.0f, ox + w - 20.0f, oy + h - 38.0f,
                       1000.0f, 1000.0f, far_m, 1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -distance);
    glRotatef(-v.pitch * RAD_TO_DEG_FLOAT, -1.0f, 0.0f, 0.0f);
    glRotatef(v.heading * RAD_TO_DEG_FLOAT, 0.0f, 1.0f, 0.0f);
    glTranslatef(-cx, -cy, -cz);

    set_fog(0.2f * far_m, far_m);
    const GLfloat light_dir[4] = {-0.55f, 0.55f, -0.55f, 0.0f};
    set_light(0.5f, 0.5f, light_dir);
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);

    const terrain_window_record saved = terrain_window;
    const bool mars = planet() == PLANET_MARS;
    // All cells of the grid, 450 x 400 (384 x 320 on Mars). The window's last
    // column and row are cells, both included: set to 450 and 400 themselves,
    // the last cell's far corners would be read from column 451, past the
    // grid's 451 x 401 points, so the last cells are 449 and 399.
    terrain_window = {0, 0, (mars ? 384 : 450) - 1, (mars ? 320 : 400) - 1};   // columns along i, rows along j
    SURFACE_draw_patch(terrain_vertex_grid, 3, -999, 0);
    terrain_window = saved;

    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    glBegin(GL_LINES);
    for (int i = 0; i + 1 < REPLAY_RING_SIZE; ++i) {
        if (!filled(i) || !filled(i + 1)) continue;
        const plane_state_record &p = replay_ring[i], &q = replay_ring[i + 1];
        OGL_apply_color(i % 3 == 0 ? 70 : 65, 1.0f);
        glVertex3f(p.local_x, p.local_y, p.local_z);
        glVertex3f(q.local_x, q.local_y, q.local_z);
    }
    glEnd();

    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    OGL_draw_string(SCREEN_TEXT_COLOUR, 60.0f, 76.0f, LANG_ui_text(288), SCREEN_NO_WRAP, SCREEN_TEXT_FONT);
}

// The latitude and longitude under the pointer of the globe screen: the ray
// from the eye through the pointer, met with the globe as it is drawn (the
// frustum, the distance and the turn of SETUP_globe), and turned back into
// the globe's own frame. Off the globe, the point of its rim nearest the ray.
// A straight map of the pointer across the area onto 180 degrees of latitude
// and longitude is right only at the globe's centre: a click near its edge
// started the flight far from the point drawn under the pointer.
void GLOBE_point_under_mouse(float& lat, float& lon)
{
    lat = 0.0f, lon = -90.0f;
    const double w = SCREEN_width(), h = SCREEN_height() - 20.0f;
    // The pointer across the area, -1..1; an empty area (a division by 0) or
    // a pointer that is no number would make the ray, and the start placed
    // from it, no number: they give the middle.
    const bool area = w > 0.0 && h > 0.0;
    const double nx = area && std::isfinite(mouse.mouse_x) ? 2.0 * mouse.mouse_x / w - 1.0 : 0.0;
    const double ny = area && std::isfinite(mouse.mouse_y) ? 2.0 * mouse.mouse_y / h - 1.0 : 0.0;
    // The frustum spans -1..1 at the near plane (distance 1) over the divisor,
    // the height scaled by the area's shape.
    double dx = nx / GLOBE_FRUSTUM_DIVISOR;
    double dy = ny * (area ? h / w : 1.0) / GLOBE_FRUSTUM_DIVISOR;
    double dz = -1.0;
    const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
    dx /= len, dy /= len, dz /= len;
    const float zoom = screen_settings.preview_zoom;
    // The centre at (0, 0, -D); a zoom of no number (from the shared view
    // targets) would leave no point to meet: the globe's own distance stands in.
    const double D = GLOBE_DISTANCE * (std::isfinite(zoom) ? zoom : 1.0f);
    // Along the ray, t from the eye: the nearest approach to the centre at
    // t = b, the sphere met at b -+ sqrt(1 - m2), m2 the squared miss.
    const double b = -dz * D;
    const double m2 = D * D - b * b;
    double t = b;
    if (m2 <= 1.0) {
        const double half = std::sqrt(1.0 - m2);
        t = b - half >= 0.0 ? b - half : b + half;   // the near side, or the far one from inside the globe
    }
    double px = t * dx, py = t * dy, pz = t * dz + D;
    const double r = std::sqrt(px * px + py * py + pz * pz);
    if (!(r > 0.0)) return;   // the point at the globe's centre has no direction: 0 / 0
    px /= r, py /= r, pz /= r;
    // Undo the turn: the globe was turned by its pitch about x after its heading about y.
    const double p = globe_screen.pitch_deg * DEG_TO_RAD_DOUBLE, hd = globe_screen.heading_deg * DEG_TO_RAD_DOUBLE;
    const double y1 = py * std::cos(p) + pz * std::sin(p), z1 = -py * std::sin(p) + pz * std::cos(p);
    const double x2 = px * std::cos(hd) - z1 * std::sin(hd), z2 = px * std::sin(hd) + z1 * std::cos(hd);
    const double la = std::asin(std::clamp(y1, -1.0, 1.0)) * RAD_TO_DEG_DOUBLE;
    const double lo = std::atan2(-z2, x2) * RAD_TO_DEG_DOUBLE;
    // A turn of no number would hand the click a start of no number.
    if (!std::isfinite(la) || !std::isfinite(lo)) return;
    lat = static_cast<float>(la);
    lon = static_cast<float>(lo);
}

namespace {

void globe_click(float lat, float lon)
{
    const bool mars = planet() == PLANET_MARS;
    const float half_lat = reference_lat_offset[planet()], half_lon = reference_lon_offset[planet()];
    // The nearest airport that has a position (a first runway).
    int best = -1;
    float best_d = 0.0f;
    for (size_t i = 0; i < airport_table.size(); ++i) {
        const airport_record& a = airport_table[i];
        if (a.runways.empty()) continue;
        const float d = std::hypot(a.runways[0].lat - lat, a.runways[0].lon - lon);
        if (!std::isfinite(d)) continue;   // a runway of no position (a damaged file) is never the nearest
        if (best < 0 || d < best_d) best = static_cast<int>(i), best_d = d;
    }
    if (best >= 0) start_selection.airport_index = best;
    const float half_diagonal = mars ? std::sqrt(25.0f + 36.0f) / 2.0f : std::sqrt(4.0f + 9.0f) / 2.0f;
    if (best >= 0 && best_d < half_diagonal) {
        CORE_set_mode(MODE_FLYING, "select airport");
        return;
    }
    lat_ref = std::round(lat - half_lat);
    lon_ref = std::round(lon - half_lon);
    situation_start_record& b = situation_start_state;
    b.latitude = lat_ref + half_lat;
    b.longitude = lon_ref + half_lon;
    b.elevation = 30000.0f * UNIT.ft_to_mtrs;
    b.psi = 0.0f;
    const float rho = sim_physics.rho_sea_level;
    // An air density of 0 (a planet set by a plug-in) would start the flight at an endless speed.
    b.groundspeed = pln[0].acf_est_Vs * 4.0f * (rho > 0.0f ? std::sqrt(1.225f / rho) : 1.0f);
    CORE_set_mode(MODE_FLYING, "planet region");
}

}  // namespace

void SETUP_globe()
{
    const float w = SCREEN_width(), h = SCREEN_height();
    const float ox = screen.screen_area_left, oy = screen.screen_area_bottom;
    globe_screen_state& g = globe_screen;
    if (!g.turned) {
        g.heading_deg = -180.0f + 360.0f * uniform();
        g.pitch_deg = -90.0f + 180.0f * uniform();
        g.turned = 1;
    }
    BTN_screen_frame(1, 15);
    OGL_set_projection(PROJECTION_3D, -1.0f, -1.0f, 1.0f, 1.0f, ox, oy, ox + w, oy + h - 20.0f, 1.0f, 10.0f, 10.0f,
                       GLOBE_FRUSTUM_DIVISOR);
    OGL_scissor_on(46.0f, 58.0f, w - 94.0f, h - 131.0f);
    // The globe is drawn with a depth test: against its own depth only.
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    set_fog(9.0f, 11.0f);
    const GLfloat light_dir[4] = {0.707f, 0.0f, 0.707f, 0.0f};
    set_light(0.25f, 0.75f, light_dir);

    const float dt = frame_dt();
    const float heading_error = within(view_orbit_heading * RAD_TO_DEG_FLOAT - g.heading_deg, -180.0f, 360.0f);
    g.heading_deg = within(g.heading_deg + heading_error * dt * 4.0f, -180.0f, 360.0f);
    // A pitch target of no number would leave the globe's pitch a NaN for good (the screen blank).
    const float pitch_error = std::clamp(view_orbit_pitch * RAD_TO_DEG_FLOAT - g.pitch_deg, -90.0f, 90.0f);
    g.pitch_deg = std::clamp(g.pitch_deg + (std::isfinite(pitch_error) ? pitch_error : 0.0f) * dt * 4.0f, -90.0f, 90.0f);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -GLOBE_DISTANCE * screen_settings.preview_zoom);
    glRotatef(g.pitch_deg, 1.0f, 0.0f, 0.0f);
    glRotatef(g.heading_deg, 0.0f, 1.0f, 0.0f);

    float mouse_lat, mouse_lon;
    GLOBE_point_under_mouse(mouse_lat, mouse_lon);

    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    if (const uint32_t list = APT_globe_screen_list(); list != 0) {
        glCallList(list);
        bound_texture[0] = TEX_SLOT_PLANET_2;   // the list binds its textures itself
    }

    OGL_set_state(STATE_FOG_ON, 0, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_apply_color(49, 0.25f);
    glBegin(GL_POINTS);
    // An airport without a runway has no position; one of no number would be a NaN vertex.
    for (const airport_record& a : airport_table)
        if (!a.runways.empty() && std::isfinite(a.runways[0].lat) && std::isfinite(a.runways[0].lon))
            sphere_vertex(a.runways[0].lat, a.runways[0].lon);
    glEnd();

    // The flown path, each point lifted by its height. A planet radius of 0,
    // or a point at or below the planet's centre, has no place on the sphere
    // (a division by 0): left out.
    const double R = sim_physics.earth_radius_m;
    const double lat0 = static_cast<double>(lat_ref) + reference_lat_offset[planet()];
    const double lon0 = static_cast<double>(lon_ref) + reference_lon_offset[planet()];
    glBegin(GL_POINTS);
    for (int k = 0; k < REPLAY_RING_SIZE && R > 0.0; ++k) {
        if (!filled(k)) continue;
        const plane_state_record& p = replay_ring[k];
        const geo_point g = GEO_local_to_latlon_about(lat0, lon0, p.local_x, p.local_y, p.local_z);
        const double r = R + g.elev;
        if (!(r > 0.0) || !std::isfinite(r) || !std::isfinite(g.lon)) continue;
        OGL_apply_color(k % 2 == 0 ? 10 : 9, 0.5f);
        sphere_vertex(g.lat, g.lon, r / R);
    }
    glEnd();

    // The user's plane: a small square of its shadow texture at its point on
    // the sphere, turned back by the globe's turn so that it faces the viewer,
    // and turned by the plane's heading. A position or heading of no number
    // (written by a plug-in or a datagram) would hand GL a matrix of NaN.
    if (std::isfinite(flt[0].latitude) && std::isfinite(flt[0].longitude)) {
        OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_BLEND, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
        OGL_bind_tex(TEX_SLOT_SHADOW_FIRST, 0);
        glPushMatrix();
        const double phi = flt[0].latitude * DEG_TO_RAD_DOUBLE, lam = flt[0].longitude * DEG_TO_RAD_DOUBLE;
        glTranslatef(static_cast<float>(std::cos(phi) * std::cos(lam)), static_cast<float>(std::sin(phi)),
                     static_cast<float>(-std::cos(phi) * std::sin(lam)));
        glRotatef(-g.heading_deg, 0.0f, 1.0f, 0.0f);
        glRotatef(-g.pitch_deg, 1.0f, 0.0f, 0.0f);
        glRotatef(std::isfinite(flt[0].psi) ? -flt[0].psi : 0.0f, 0.0f, 0.0f, 1.0f);
        OGL_apply_color(87, 0.25f);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex3f(-0.02f, -0.02f, 0.0f);
        glTexCoord2f(0, 1), glVertex3f(-0.02f, 0.02f, 0.0f);
        glTexCoord2f(1, 1), glVertex3f(0.02f, 0.02f, 0.0f);
        glTexCoord2f(1, 0), glVertex3f(0.02f, -0.02f, 0.0f);
        glEnd();
        glPopMatrix();
    }

    // The cross under the pointer.
    OGL_set_state(STATE_FOG_OFF, 0, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    glPushMatrix();
    glRotatef(mouse_lon, 0.0f, 1.0f, 0.0f);
    glRotatef(mouse_lat, 0.0f, 0.0f, 1.0f);
    OGL_apply_color(59, 0.25f);
    glBegin(GL_LINES);
    glVertex3f(1.0f, -0.02f, 0.0f), glVertex3f(1.0f, 0.02f, 0.0f);
    glVertex3f(1.0f, 0.0f, -0.02f), glVertex3f(1.0f, 0.0f, 0.02f);
    glEnd();
    glPopMatrix();
    OGL_scissor_off();
    OGL_set_projection(PROJECTION_2D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    for (int k = 0; k < 5; ++k)
        OGL_draw_string(SCREEN_TEXT_COLOUR, 20.0f, 60.0f - 10.0f * static_cast<float>(k), LANG_ui_text(250 + k),
                        SCREEN_NO_WRAP, SCREEN_TEXT_FONT);
    OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, 200.0f, 30.0f, mouse_lat, 2, 0, 1, SCREEN_TEXT_FONT);
    OGL_draw_string_fmt(SCREEN_TEXT_COLOUR, 200.0f, 20.0f, mouse_lon, 3, 0, 1, SCREEN_TEXT_FONT);

    if (mouse.mouse_down && mouse.mouse_x >= 0.0f && mouse.mouse_x <= w && mouse.mouse_y >= 0.0f &&
        mouse.mouse_y <= h - 20.0f)
        globe_click(mouse_lat, mouse_lon);
}
