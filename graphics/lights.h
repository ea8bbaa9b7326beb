// Light points of the world, drawn in batches: begin, optionally a frame (the
// origin and orientation of an object that carries lights), one call per
// light, end. A light is a camera-facing sprite from the light atlas
// (TEX_SLOT_LIGHTS) that grows with distance, or a plain OpenGL point while textured lights
// are off. The shared random table decides which flash-indexed lights are lit
// and how bright each one is.
//
// Beside them, the small 3-D emitters that scene code calls inside its own
// glBegin blocks: a line, three quads with a computed face normal, a textured
// box and the specular light set-up.
#pragma once

#include <cstdint>

constexpr int LIGHT_TYPE_SECOND = 106;  // the second sprite picture
constexpr int LIGHT_TYPE_SPLASH = 107;  // an ordinary sprite with a ground splash when near
constexpr float LIGHT_SPLASH_RANGE_SQ = 150000.0f;   // squared metres (about 387 m)

// The state of the open batch.
struct light_batch_state {
    int32_t sprite_mode;        // 1 sprites, 0 GL points
    float last_point_size;      // -999 at the start of a batch
    float size_factor;          // 0.02 / view zoom
    float frame_offset[3];      // frame origin minus the camera
    float frame_angles[3];      // pitch, heading, roll (degrees)
    int32_t turned;             // some frame angle is not 0
};
extern light_batch_state light_batch;
void OGL_lights_reset();

// Opens a batch: sprites when textured lights are on or force is non-zero.
void OGL_lights_begin(int force);
// Sets the frame for the following lights (sprite batches only).
void OGL_lights_frame(float x, float y, float z, float pitch, float heading, float roll);
// One light at (x, y, z) relative to the frame origin; flash index < 0 is
// always lit; type 106 draws the second sprite, 107 adds a ground splash.
void OGL_draw_light(float x, float y, float z, float r, float g, float b, float a, float size, int flash_index,
                    int phase_index, int type);
void OGL_lights_end();

// Half size of a sprite at squared distance d2 (the sprite grows with distance
// to the power 0.7).
float OGL_light_half_size(float size_factor, float d2, float size);
// Whether a flash-indexed light is lit, and the brightness of a phase index.
bool OGL_light_is_lit(int flash_index);
float OGL_light_brightness(int phase_index);

// Specular light and material of the given brightness.
void OGL_set_specular(float brightness);

// Emitters for the caller's glBegin block.
void OGL_line_3d(float x1, float y1, float z1, float x2, float y2, float z2);
void OGL_quad_3d(const float* p0, const float* p1, const float* p2, const float* p3);
void OGL_quad_3d_tex(const float* p0, const float* p1, const float* p2, const float* p3, float s1, float t1,
                     float s2, float t2);
void OGL_quad_3d_uv(const float* p0, const float* p1, const float* p2, const float* p3, float x0, float z0,
                    float width, float depth, float s1, float t1, float s2, float t2);
// A quad in the z = 0 plane of the current frame, half_w by half_h about its
// origin, its corners from the lower left round taking the texture's s0..s1
// and t0..t1; in its own glBegin block.
void OGL_flat_quad_tex(float half_w, float half_h, float s0, float t0, float s1, float t1);
// A box standing on y = 0, turned by the heading, with its own glBegin blocks.
void OGL_draw_box_3d(float x, float y, float z, float width, float height, float length, float s1, float s2,
                     float t1, float t2, float heading);
// The same box as six quads inside the caller's GL_QUADS block, its corners
// turned and placed here instead of by the matrix.
void OGL_box_3d_quads(float x, float y, float z, float width, float height, float length, float s1, float s2,
                      float t1, float t2, float heading);
