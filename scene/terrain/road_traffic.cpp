// The road-traffic step of ROADS_draw_traffic: each car the tile placed on a
// highway runs along its span in its lane, turns back at the ends of the
// highway, and is queued as a light each frame its cell is in view.
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "core/simvars/operation.h"
#include "scene/lights_model.h"
#include "scene/terrain/ground_cells.h"
#include "scene/terrain/roads.h"
#include "world/segments.h"

namespace {

constexpr int LIST_HIGHWAYS = 0;
constexpr float METRES_TO_REPEATS = 0.01389f;   // a highway element's texture repeat is 72 m

// The heading truncated to whole degrees, an index into the 361-entry sine
// and cosine tables. A heading from the tile outside 0..360 (or not a number)
// would index outside the tables: it is held to their ends.
int whole_degrees(float heading)
{
    if (!(heading >= 0.0f)) return 0;
    if (heading >= static_cast<float>(DEGREE_TABLE_SIZE - 1)) return DEGREE_TABLE_SIZE - 1;
    return static_cast<int>(heading);
}

}  // namespace

car_lane ROADS_car_lane(float dir)
{
    if (dir >= 1.0f) return {24.3f, false};
    if (dir <= -1.0f) return {11.7f, true};
    if (dir < 0.0f) return {8.5f, true};
    return {27.5f, false};
}

void ROADS_move_cars()
{
    const float s = CAR_BASE_SPEED_MPS * sim_operation_misc.frame_rate_period * METRES_TO_REPEATS;
    terrain_window_record w;
    if (!GROUND_hold_window(terrain_window, w)) return;
    for (int i = w.first_column; i <= w.last_column; ++i)
        for (int j = w.first_row; j <= w.last_row; ++j) {
            if (!GROUND_cell_visible(i, j)) continue;
            const std::vector<traffic_record>* found = SEG_traffic(i, j);
            const std::vector<segment_point>* road = SEG_list(LIST_HIGHWAYS, i, j);
            if (!found || found->empty() || !road) continue;
            std::vector<traffic_record>& cars = SEG_traffic_for_writing(i, j);
            const long n = static_cast<long>(road->size());
            for (size_t c = 0; c < cars.size(); ++c) {
                traffic_record& car = cars[c];
                const long k = car.seg;
                if (k < 0 || k + 1 >= n) continue;   // no span: neither shown nor moved
                const segment_point& p = (*road)[static_cast<size_t>(k)];
                const segment_point& q = (*road)[static_cast<size_t>(k + 1)];

                const car_lane lane = ROADS_car_lane(car.dir);
                const int h = whole_degrees(p.heading);
                const float x = p.x + car.frac * (q.x - p.x) + lane.offset_m * degree_cos[h];
                const float y = p.y + car.frac * (q.y - p.y);
                const float z = p.z + car.frac * (q.z - p.z) + lane.offset_m * degree_sin[h];
                LIGHTS_add(static_cast<int>(c), x, y, z, p.heading + (lane.reversed ? 180.0f : 0.0f), 1, 0, 1);

                // A span of no length with no step (frame period 0 or a car at
                // rest) gives 0 / 0: the position would become not-a-number and
                // the car would be lost for good, so it stays where it is.
                const float step = s * car.dir / p.tex_len;
                if (std::isnan(step)) continue;
                car.frac += step;
                if (car.frac > 1.0f) {
                    // On to the next span while the highway goes on.
                    if (k + 1 < n && (*road)[static_cast<size_t>(k + 1)].span_flag > 0.0f) {
                        car.seg = static_cast<int32_t>(k + 1);
                        car.frac = 0.0f;
                    } else {
                        car.dir = -car.dir;
                        car.frac = 1.0f;
                    }
                } else if (car.frac < 0.0f) {
                    if (k - 1 >= 0 && (*road)[static_cast<size_t>(k - 1)].span_flag > 0.0f) {
                        car.seg = static_cast<int32_t>(k - 1);
                        car.frac = 1.0f;
                    } else {
                        car.dir = -car.dir;
                        car.frac = 0.0f;
                    }
                }
            }
        }
}
