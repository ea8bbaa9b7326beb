// Stand-in of the road-vehicle lights until the airport furniture and its
// vehicles are drawn: the queue is kept frame by frame as the drawers fill
// it, and nothing of it is drawn.
#include "scene/light_queue.h"

#include "core/constants.h"
#include "core/simvars.h"
#include "scene/drawers.h"

std::vector<light_record> light_queue;
int32_t light_count = 0;
float light_near_limit_sq = 3429904.0f;
float light_far_limit_sq = 3429904.0f;

namespace {

constexpr float NEAR_LIMIT_SQ = 3429904.0f;          // one nautical mile, squared
constexpr float FAR_LIMIT_SQ = 2143689984.0f;        // 25 nautical miles, squared
constexpr float NIGHT_SHARE = 0.3f;

}  // namespace

void LIGHTS_fraction()
{
    light_count = 0;
    light_far_limit_sq = sim_graphics_scenery.percent_lights_on > NIGHT_SHARE ? FAR_LIMIT_SQ : NEAR_LIMIT_SQ;
    light_near_limit_sq = NEAR_LIMIT_SQ;
}

void LIGHTS_draw() {}

void LIGHTS_add(int code, float x, float y, float z, float heading, uint8_t lit, uint8_t brake, uint8_t turn)
{
    int kind = code % 10;
    if (kind == 8 || kind == 9) {
        int r = code % RANDOM_TABLE_SIZE;
        if (r < 0) r += RANDOM_TABLE_SIZE;
        if (random_table[r] > 0.4f) kind = code % 8;
    }
    const float dz = z - sim_graphics_view.view_z, dx = x - sim_graphics_view.view_x;
    const float d = dz * dz + dx * dx;
    if (lit ? d > light_far_limit_sq : d > light_near_limit_sq) return;
    ++light_count;
    if (static_cast<size_t>(light_count) > light_queue.size()) light_queue.push_back(light_record{});
    light_queue[static_cast<size_t>(light_count) - 1] = {kind, x, y, z, heading, d, lit, brake, turn};
}
