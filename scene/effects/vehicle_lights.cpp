// Road vehicles: the light queue, the body models and their lights.
#include "scene/lights_model.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/simvars.h"
#include "core/texture_slots.h"
#include "graphics/lights.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"

std::vector<light_record> light_queue;
int32_t light_count = 0;
float light_near_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
float light_far_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
float vehicle_models[VEHICLE_KINDS][VEHICLE_MODEL_FLOATS] = {};
vehicle_blink_record vehicle_blink{};

namespace {

constexpr float DEG = 0.017453292f;
constexpr float NIGHT_FRACTION = 0.3f;

// Per station (0 = front): lower stations, lower heights, upper stations,
// upper heights, lower widths, upper widths. Shape 0 is in drawing units
// (stations over 50.4, heights over 13.5), the others in fractions.
constexpr float vehicle_shapes[4][6][10] = {
    {{0, 6, 8, 11.5f, 13.1f, 37.4f, 39, 42.5f, 44.5f, 50.4f},
     {2.5f, 2, 0, 0, 1.6f, 1.6f, 0, 0, 2, 2.6f},
     {0.9f, 8, 18.9f, 23.4f, 29.2f, 36, 42, 47, 48.6f, 50.1f},
     {5.2f, 8.5f, 9, 11.6f, 13.5f, 13.3f, 11.7f, 9.8f, 9.7f, 9.6f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f}},
    {{0, 0.1f, 0.15f, 0.22f, 0.27f, 0.63f, 0.68f, 0.75f, 0.8f, 1},
     {0.2f, 0.2f, 0, 0, 0.2f, 0.2f, 0, 0, 0.2f, 0.2f},
     {0, 0.05f, 0.31f, 0.31f, 0.35f, 0.35f, 0.8f, 0.9f, 0.9f, 1},
     {0.5f, 1, 1, 0.3f, 0.3f, 0.9f, 0.9f, 0.9f, 0.3f, 0.3f},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
    {{0, 0.05f, 0.15f, 0.28f, 0.38f, 0.62f, 0.72f, 0.85f, 0.95f, 1},
     {0.2f, 0.2f, 0, 0, 0.2f, 0.2f, 0, 0, 0.2f, 0.2f},
     {0, 0.03f, 0.04f, 0.2f, 0.45f, 0.55f, 0.8f, 0.85f, 0.95f, 1},
     {0.3f, 0.3f, 0.6f, 0.67f, 0.7f, 1, 1, 0.7f, 0.7f, 0.3f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f},
     {0.9f, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f}},
    {{0, 0.15f, 0.3f, 0.45f, 0.55f, 0.6f, 0.75f, 0.76f, 0.95f, 1},
     {0.5f, 0.25f, 0.1f, 0, 0, 0, 0, 0, 0, 0},
     {0, 0.15f, 0.3f, 0.45f, 0.55f, 0.6f, 0.75f, 0.76f, 0.95f, 1},
     {0.5f, 0.6f, 0.65f, 0.65f, 1, 0.6f, 0.6f, 0.7f, 0.7f, 0},
     {0, 0.4f, 0.7f, 0.9f, 1, 1, 1, 1, 0.9f, 0.8f},
     {0, 0.4f, 0.7f, 0.9f, 1, 1, 1, 1, 0.9f, 0.8f}},
};

// Length, width, height (m) and the texture strip of each kind (-1: the whole texture).
struct vehicle_size {
    float length, width, height;
    int strip;
};
constexpr vehicle_size car = {4.56438f, 1.86944f, 1.21158f, 0};
constexpr vehicle_size vehicle_sizes[VEHICLE_KINDS] = {
    {car.length, car.width, car.height, 0}, {car.length, car.width, car.height, 1},
    {car.length, car.width, car.height, 2}, {car.length, car.width, car.height, 3},
    {car.length, car.width, car.height, 0}, {car.length, car.width, car.height, 1},
    {car.length, car.width, car.height, 2}, {car.length, car.width, car.height, 3},
    {car.length, car.width, car.height, 4}, {11.0f, 2.4f, 2.5f, 5},
    {5.0f, 2.4f, 2.5f, 6},                  {8.0f, 2.0f, 1.5f, -1},
};

int shape_of(int kind) { return kind == 9 ? 1 : kind == 10 ? 2 : kind == 11 ? 3 : 0; }

float random_entry(int index)
{
    int i = index % RANDOM_TABLE_SIZE;
    if (i < 0) i += RANDOM_TABLE_SIZE;
    return random_table[i];
}

void emit(const float* model, int row, int j)
{
    const float* v = model + 100 * row + 5 * j;
    glTexCoord2f(v[3], v[4]);
    glVertex3f(v[0], v[1], v[2]);
}

void light(const float p[3], float r, float g, float b, float a, float size, int index)
{
    OGL_draw_light(p[0], p[1], p[2], r, g, b, a, size, -1, index, 105);
}

// P + a R + b F + c U.
void offset(float out[3], const light_record& q, const float R[3], const float F[3], float a, float b, float c)
{
    out[0] = q.x + a * R[0] + b * F[0];
    out[1] = q.y + c;
    out[2] = q.z + a * R[2] + b * F[2];
}

void vehicle_lights(const light_record& q, int index)
{
    const vehicle_blink_record& k = vehicle_blink;
    const float s = std::sin(q.heading * DEG), c = std::cos(q.heading * DEG);
    const float F[3] = {s, 0.0f, -c}, R[3] = {c, 0.0f, s};
    float p[3];
    if (q.kind == 9) {
        const bool front_big = k.side == 0 ? k.pulse != 0 : k.pulse == 0;
        offset(p, q, R, F, k.side == 0 ? 0.8f : -0.8f, 3.0f, 3.0f);
        light(p, 1.0f, 0.2f, 0.2f, 1.0f, front_big ? 3.0f : 1.0f, index);
        offset(p, q, R, F, k.side == 0 ? -0.8f : 0.8f, -4.5f, 3.0f);
        light(p, 1.0f, 0.2f, 0.2f, 1.0f, front_big ? 1.0f : 3.0f, index);
    }
    if (q.kind == 8) {
        offset(p, q, R, F, k.side == 0 ? 0.8f : -0.8f, -1.0f, 2.0f);
        light(p, 0.5f, 0.5f, 1.0f, 1.0f, k.pulse ? 3.0f : 1.0f, index);
    }
    const float a = std::fabs(std::remainder(q.heading - sim_graphics_view.view_heading, 360.0f));
    if (a <= 90.0f) {
        const float f = q.kind == 9 ? 6.0f : 4.0f;
        const float alpha = q.brake ? 1.0f : 0.5f;
        offset(p, q, R, F, -0.8f, -f, 1.0f);
        light(p, 1.0f, 0.0f, 0.0f, k.turn && q.turn == 0 ? 0.0f : alpha, 1.0f, index);
        offset(p, q, R, F, 0.8f, -f, 1.0f);
        light(p, 1.0f, 0.0f, 0.0f, k.turn && q.turn == 2 ? 0.0f : alpha, 1.0f, index);
    } else {
        const float f = q.kind == 9 ? 6.0f : 3.0f;
        const bool wigwag = q.kind == 8 || q.kind == 9;
        if (!wigwag || k.wigwag) {
            offset(p, q, R, F, 0.8f, f, 1.0f);
            light(p, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, index);
        }
        if (!wigwag || !k.wigwag) {
            offset(p, q, R, F, -0.8f, f, 1.0f);
            light(p, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, index);
        }
    }
}

}  // namespace

void LIGHTS_reset()
{
    light_queue.clear();
    light_count = 0;
    vehicle_blink = vehicle_blink_record{};
    light_near_limit_sq = light_far_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
}

void LIGHTS_fill_model(float* model, int kind)
{
    if (kind < 0 || kind >= VEHICLE_KINDS) return;
    const float(&shape)[6][10] = vehicle_shapes[shape_of(kind)];
    const bool drawing_units = shape_of(kind) == 0;
    const vehicle_size& d = vehicle_sizes[kind];
    const float L = d.length, W = d.width, H = d.height;
    const float t0 = d.strip < 0 ? 0.0f : 34.0f * d.strip / 256.0f;
    const float t1 = d.strip < 0 ? 1.0f : (34.0f * d.strip + 33.0f) / 256.0f;
    for (int row = 0; row < 2; ++row) {
        const float* stations = shape[row == 0 ? 0 : 2];
        const float* heights = shape[row == 0 ? 1 : 3];
        const float* widths = shape[row == 0 ? 4 : 5];
        for (int j = 0; j < 20; ++j) {
            const int i = j <= 9 ? j : 19 - j;
            const float side = j <= 9 ? 0.5f : -0.5f;
            const float station = drawing_units ? stations[i] / 50.4f : stations[i];
            const float height = drawing_units ? heights[i] / 13.5f : heights[i];
            float* v = model + 100 * row + 5 * j;
            v[0] = W * widths[i] * side;
            v[1] = H * height;
            v[2] = (station - 0.5f) * L;
            v[3] = L != 0.0f ? (v[2] + L / 2.0f) / L : 0.5f;
            v[4] = H != 0.0f ? t0 + (t1 - t0) * v[1] / H : (t0 + t1) / 2.0f;
        }
    }
}

void LIGHTS_build_model()
{
    for (int k = 0; k < VEHICLE_KINDS; ++k) LIGHTS_fill_model(vehicle_models[k], k);
}

void LIGHTS_fraction()
{
    light_count = 0;
    light_far_limit_sq = sim_graphics_scenery.percent_lights_on <= NIGHT_FRACTION ? LIGHTS_NEAR_LIMIT_SQ : LIGHTS_FAR_LIMIT_SQ;
    light_near_limit_sq = LIGHTS_NEAR_LIMIT_SQ;
}

void LIGHTS_add(int code, float x, float y, float z, float heading, uint8_t lit, uint8_t brake, uint8_t turn)
{
    int kind = code % 10;
    if ((kind == 8 || kind == 9) && random_entry(code) > 0.4f) kind = code % 8;
    const double dz = z - sim_graphics_view.view_z, dx = x - sim_graphics_view.view_x;
    const float d = static_cast<float>(dz * dz + dx * dx);
    if (!(d <= (lit ? light_far_limit_sq : light_near_limit_sq))) return;   // too far (or a position that is no number)
    ++light_count;
    if (static_cast<size_t>(light_count) > light_queue.size()) light_queue.emplace_back(light_record{});
    light_queue[static_cast<size_t>(light_count) - 1] = {kind, x, y, z, heading, d, lit, brake, turn};
}

void LIGHTS_draw_model(const float* model)
{
    glBegin(GL_QUAD_STRIP);
    for (int n = 0; n <= 20; ++n) {
        const int j = n % 20;
        if (n == 0 || n == 20) glNormal3f(1.0f, 0.0f, 0.0f);
        if (n == 9) glNormal3f(0.0f, 0.0f, 1.0f);
        if (n == 10) glNormal3f(-1.0f, 0.0f, 0.0f);
        if (n == 18) glNormal3f(0.0f, 0.0f, -1.0f);
        emit(model, 1, j);
        emit(model, 0, j);
    }
    glEnd();
    constexpr int roof_order[20] = {19, 0, 18, 1, 17, 2, 16, 3, 15, 4, 14, 5, 13, 6, 12, 7, 11, 8, 10, 9};
    glBegin(GL_QUAD_STRIP);
    for (int j : roof_order) {
        if (j == 19 || j == 14 || j == 11) glNormal3f(0.0f, 1.0f, 0.0f);
        if (j == 16) glNormal3f(0.0f, 0.7f, -0.7f);
        if (j == 13) glNormal3f(0.0f, 0.7f, 0.7f);
        emit(model, 1, j);
    }
    glEnd();
}

void LIGHTS_draw()
{
    vehicle_blink_record& k = vehicle_blink;
    if (interval_ticks[INTERVAL_FIFTH_SECOND]) k.side = !k.side;
    if (interval_ticks[INTERVAL_TWENTIETH_SECOND]) k.pulse = !k.pulse;
    if (interval_ticks[INTERVAL_TENTH_SECOND]) k.wigwag = !k.wigwag;
    if (interval_ticks[INTERVAL_HALF_SECOND]) k.turn = !k.turn;

    const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(std::max(light_count, 0)), light_queue.size()));
    OGL_set_state(STATE_FOG_ON, 1, STATE_LIGHTING_ON, STATE_OPAQUE, STATE_DEPTH_TEST_ON, STATE_DEPTH_WRITE_ON);
    OGL_bind_tex(TEX_SLOT_CARS, 0);
    for (int n = 0; n < count; ++n) {
        const light_record& q = light_queue[static_cast<size_t>(n)];
        if (!(q.dist_sq < LIGHTS_NEAR_LIMIT_SQ) || q.kind < 0 || q.kind >= VEHICLE_KINDS) continue;
        glPushMatrix();
        glTranslatef(q.x, q.y, q.z);
        glRotatef(q.heading, 0.0f, -1.0f, 0.0f);
        LIGHTS_draw_model(vehicle_models[q.kind]);
        glPopMatrix();
    }
    if (sim_graphics_scenery.percent_lights_on <= NIGHT_FRACTION) return;
    OGL_lights_begin(0);
    OGL_lights_frame(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    for (int n = 0; n < count; ++n) {
        const light_record& q = light_queue[static_cast<size_t>(n)];
        if (q.lit) vehicle_lights(q, n);
    }
    OGL_lights_end();
}
