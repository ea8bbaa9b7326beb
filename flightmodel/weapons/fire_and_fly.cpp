// The weapons' pass of each force build-up, in its fixed order: firing,
// forces and guidance, shooting, projectile flight. Also the kept values and
// their reset, and the re-basing of weapons and projectiles when the loaded
// area moves.
#include "flightmodel/weapons/weapons.h"

#include <algorithm>

#include "core/frame_clock.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/reset_registry.h"
#include "core/simvars/graphics.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons_internal.h"
#include "links/plugin_host.h"

wpn_fire_state_record wpn_fire_state{};
wpn_smoke_state_record wpn_smoke_state{};

wpn_smoke_state_record::wpn_smoke_state_record()
{
    for (auto& plane : last_puff) std::fill(std::begin(plane), std::end(plane), -1.0f);
}

// The plug-in host's count of planes; one beyond the plane table would read past it.
int WPN_planes_in_use()
{
    return std::clamp(PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0), 0, ACF_SLOTS);
}

bool WPN_smoke_due(float& last_puff)
{
    if (last_puff == frame_clock) return false;
    last_puff = frame_clock;
    return true;
}

void WPN_fire_and_fly()
{
    WPN_fire_step();        // 1
    // A weapon that ended its flight ends the whole pass for this frame: the
    // remaining weapons' forces, the shots and the projectiles wait for the next.
    if (WPN_force_step()) return;   // 2
    WPN_shoot_step();       // 3
    WPN_projectile_step();  // 4
}

void WPN_reset()
{
    wpn_fire_state = wpn_fire_state_record{};
    wpn_smoke_state = wpn_smoke_state_record{};
}
ORVELL_RESET(WPN_reset, flight);

namespace {

// A local point and a local velocity taken about the old reference, about the new one.
struct rebase_frame {
    double old_lat, old_lon, new_lat, new_lon;

    void point(float* p) const
    {
        const geo_point g = GEO_local_to_latlon_about(old_lat, old_lon, p[0], p[1], p[2]);
        double x, y, z;
        GEO_latlon_to_local_about(new_lat, new_lon, g, x, y, z);
        p[0] = static_cast<float>(x), p[1] = static_cast<float>(y), p[2] = static_cast<float>(z);
    }
    // A velocity turns with the frame: its end point, less the old origin, both re-based.
    void vector(float* v) const
    {
        float origin[3] = {0.0f, 0.0f, 0.0f};
        point(origin);
        point(v);
        for (int k = 0; k < 3; ++k) v[k] -= origin[k];
    }
};

}  // namespace

void WPN_rebase(float old_lat_ref, float old_lon_ref)
{
    const int planet = sim_graphics_scenery.current_planet == PLANET_MARS ? PLANET_MARS : PLANET_EARTH;
    const rebase_frame f{old_lat_ref + reference_lat_offset[planet], old_lon_ref + reference_lon_offset[planet],
                         lat_ref + reference_lat_offset[planet], lon_ref + reference_lon_offset[planet]};
    for (projectile_record& r : projectile_list.rec) {
        if (r.proj_kind == 0) continue;
        f.point(r.proj_pos);
        f.vector(r.proj_vel);
        // The direction turns with the velocity: its thrust acts along it, and
        // left in the old axes a rocket in flight would be pushed off its path
        // by the angle between the two frames' north (a degree of longitude
        // away, about a degree times the sine of the latitude).
        f.vector(r.proj_dir);
    }
    const int planes = WPN_planes_in_use();
    for (int p = 0; p < planes; ++p)
        for (wpn_slot_record& w : pln[p].acf_wpn_slot) {
            if (!WPN_valid_and_released(w)) continue;
            f.point(w.wpn_pos);
            f.vector(w.wpn_vel);
        }
}
