// The road vehicles of the scenery: the road-traffic and terrain passes queue
// every vehicle near the camera; the queue is drawn once a frame as small
// textured bodies within a nautical mile and, at night, as head, tail, brake,
// turn and roof lights.
//
// Reads: the camera and view heading, percent_lights_on, the interval ticks,
// the random table. Writes: the light queue, the vehicle models and the blink
// flags below.
#pragma once

#include <cstdint>
#include <vector>

// One queued vehicle.
struct light_record {
    int32_t kind;           // body model and light pattern: 0-7 ordinary, 8 blue roof flasher, 9 long, red flashers
    float x, y, z;          // centre at road level, local metres
    float heading;          // degrees; the front points along (sin h, 0, -cos h)
    float dist_sq;          // squared horizontal distance from the camera when queued, m^2
    uint8_t lit;            // shows lights (and is culled at the far limit)
    uint8_t brake;          // tail lights at full brightness
    uint8_t turn;           // 0 the left tail light blinks, 2 the right one, else none
};
extern std::vector<light_record> light_queue;
extern int32_t light_count;   // records queued this frame; those beyond are stale

// Squared culling limits, m^2: one nautical mile, and 25 at night for lit vehicles.
constexpr float LIGHTS_NEAR_LIMIT_SQ = 3429904.0f;
constexpr float LIGHTS_FAR_LIMIT_SQ = 2143689984.0f;
extern float light_near_limit_sq;
extern float light_far_limit_sq;

// Twelve body models (kinds 0-11) of two rows of 20 vertices (x, y, z, s, t).
constexpr int VEHICLE_KINDS = 12;
constexpr int VEHICLE_MODEL_FLOATS = 200;
extern float vehicle_models[VEHICLE_KINDS][VEHICLE_MODEL_FLOATS];

// Blink flags, each flipped by LIGHTS_draw on the frames of its tick.
struct vehicle_blink_record {
    int32_t side;     // 0.2 s: the flashers change sides
    int32_t pulse;    // 0.05 s: the flashers' sizes
    int32_t wigwag;   // 0.1 s: an emergency vehicle's headlights alternate
    int32_t turn;     // 0.5 s: the turn signal
};
extern vehicle_blink_record vehicle_blink;

// The bodies of the last LIGHTS_draw, placed in the world, as drawn from one
// client-side array: two quad strips (sides, roof) per body.
struct vehicle_vertex {
    float x, y, z;      // world position, m
    float nx, ny, nz;   // normal
    float s, t;         // texture coordinate in the cars' texture
};
struct vehicle_batch_record {
    std::vector<vehicle_vertex> vertices;   // storage, kept from frame to frame
    int32_t vertex_count = 0;               // vertices used this frame
    std::vector<int32_t> firsts;   // first vertex of each strip
    std::vector<int32_t> counts;   // its vertex count
};
extern vehicle_batch_record vehicle_batch;

// Start-up: builds the twelve models.
void LIGHTS_build_model();
// One model of a kind 0-11 into 200 floats.
void LIGHTS_fill_model(float* model, int kind);
// Start of the frame's world drawing: the queue empty, the limits for the light of the day.
void LIGHTS_fraction();
// Queues one vehicle unless it is too far; the kind comes from the code
// (emergency kinds 8 and 9 only for about four codes in ten).
void LIGHTS_add(int code, float x, float y, float z, float heading, uint8_t lit, uint8_t brake, uint8_t turn);
// Draws the queue: bodies within a nautical mile, all in one batch, light
// points at night; bodies and lights wholly off the view are left out.
void LIGHTS_draw();
// Emits one model's sides and roof in the current matrix.
void LIGHTS_draw_model(const float* model);

// Start-up: the queue and the batch empty, the blink flags clear.
void LIGHTS_reset();
