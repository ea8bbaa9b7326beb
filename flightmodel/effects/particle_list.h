// The particle list: smoke, spray, dust and exhaust puffs the flight model,
// the ground contact, the weapons and the fires spawn. The simulation only
// adds records; the scene's particle pass (scene/effects/particles.h) ages,
// moves and draws them once a frame and clears the list at start-up.
//
// Reads: the random generator. Writes: the particle list.
#pragma once

#include <cstdint>
#include <vector>

// Colour rows with a meaning of their own.
constexpr int32_t PARTICLE_COLOR_UNSEEN_UNTIL_FLOOR = 6;   // drawn and rising as row 0 once it touches its floor
constexpr int32_t PARTICLE_COLOR_WATER = 13;               // falls and puts out fires within 100 m

// One particle. A record lives while `active` is 1; free records are reused
// first, so the list never shrinks.
struct particle_record {
    uint8_t active;
    float x, y, z;          // m
    float vx, vy, vz;       // m/s (the local wind is added when moving)
    float floor_y;          // the ground under the particle; y stays at least floor_y + size
    float size;             // half the side of the drawn square, m
    float growth;           // increase of size per second
    float life;             // s
    int32_t color;          // colour-table row (6 and 13 above)
    float opacity;          // alpha at age 0
    float angle;            // spin of the square, degrees
    float age;              // s
    int32_t heavy_drag;     // 0: velocity decays by 1 - 3 dt a frame, else 1 - 4 dt
};
extern std::vector<particle_record> particle_list;
// Start-up: no particles.
void PARTICLE_list_reset();

// Creates one particle unless life is below 1.0: position and velocity, the
// floor under it, its size, growth and life (varied by a random factor
// 0.85..1.15 each, the growth also by 0.1..0.2 of the size), its colour row,
// opacity and drag selector; a random starting angle.
void PARTICLE_spawn(float x, float y, float z, float vx, float vy, float vz, float floor_y, float size, float growth,
                    float life, int color, float opacity, int heavy_drag);
