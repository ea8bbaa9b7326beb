#include "flightmodel/ground/surface_state.h"

#include "core/reset_registry.h"

surface_state_record surface_state{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE};
surface_found_record surface_found{};

namespace {

// What GROUND_apply_found wrote into the shared words and what they held before.
struct written_record {
    bool flat = false;
    float height = 0.0f;
    bool code = false;
    int32_t flat_before = 0;
    float height_before = 0.0f;
    int32_t code_before = SURFACE_NONE;
};
written_record written;

}  // namespace

void GROUND_apply_found()
{
    surface_state_record& s = surface_state;
    const surface_found_record& f = surface_found;
    if (written.flat && s.flat_surface_on == 1 && s.flat_surface_height == written.height) {
        s.flat_surface_on = written.flat_before;
        s.flat_surface_height = written.height_before;
    }
    if (written.code && s.surface_code == SURFACE_DECK) s.surface_code = written.code_before;
    written = written_record{};

    s.on_carrier = f.on_carrier;
    s.on_frigate = f.on_frigate;
    if (f.flat_on) {
        written.flat = true;
        written.flat_before = s.flat_surface_on;
        written.height_before = s.flat_surface_height;
        s.flat_surface_on = 1;
        s.flat_surface_height = written.height = f.flat_height;
    }
    // A runway found by the scene pass is the surface over a road crossing it.
    if (f.on_deck || (f.on_road && s.runway_under_plane == RUNWAY_NONE)) {
        written.code = true;
        written.code_before = s.surface_code;
        s.surface_code = SURFACE_DECK;
    }
}

void SCENE_surface_reset()
{
    surface_state = surface_state_record{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE};
    written = written_record{};
    GROUND_apply_found();
}

void GROUND_surface_reset()
{
    surface_found = surface_found_record{};
    surface_state = surface_state_record{0, 0.0f, SURFACE_NONE, 0.0f, 0, 0, RUNWAY_NONE};
    written = written_record{};
}
ORVELL_RESET(GROUND_surface_reset);
