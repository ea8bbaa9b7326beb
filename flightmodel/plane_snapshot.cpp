#include "flightmodel/plane_snapshot.h"

#include <cstring>
#include <type_traits>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/random.h"
#include "core/simvars.h"
#include "flightmodel/control/governing.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/effects/particle_list.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems/wind_at_plane.h"
#include "flightmodel/weapons/projectiles.h"
#include "flightmodel/weapons/weapons_internal.h"

using weapon_slots = wpn_slot_record[ACF_WPN_SLOTS];

struct plane_snapshot::records {
    flt_struct plane = flt[0];
    acf_struct aircraft;   // copied bytewise: the record is plain data, 3.4 MB
    weapon_slots others_weapons[ACF_SLOTS - 1];
    forces_state forces = fm_state;
    propulsion_state engines = prop_state;
    contact_state ground_contact = contact;
    ground_stage_state ground_stages = ground_state;
    governing_state governor = governing;
    launch_flags_block launch = launch_flags;
    rope_points_block ropes = rope_points;
    wpn_fire_state_record weapons_fire = wpn_fire_state;
    wpn_smoke_state_record weapons_smoke = wpn_smoke_state;
    projectile_list_record projectiles = projectile_list;
    std::vector<particle_record> particles = particle_list;
    sim_cockpit_engine_block cockpit_engine = sim_cockpit_engine;
    sim_cockpit_switches_block cockpit_switches = sim_cockpit_switches;
    sim_flightmodel_misc_block tests = sim_flightmodel_misc;
    float dim = gload_dim_factor;
    uint32_t random = UTIL_rand_state();
    float period = sim_operation_misc.frame_rate_period;
    float wind[3] = {wind_vector[0], wind_vector[1], wind_vector[2]};
    int32_t report = sim_network_dataout.dump_next_cycle;

    records()
    {
        static_assert(std::is_trivially_copyable_v<acf_struct>);
        std::memcpy(static_cast<void*>(&aircraft), &pln[0], sizeof aircraft);
        for (int p = 1; p < ACF_SLOTS; ++p)
            std::memcpy(others_weapons[p - 1], pln[p].acf_wpn_slot, sizeof(weapon_slots));
    }

    void put_back() const
    {
        flt[0] = plane;
        std::memcpy(static_cast<void*>(&pln[0]), &aircraft, sizeof aircraft);
        for (int p = 1; p < ACF_SLOTS; ++p)
            std::memcpy(pln[p].acf_wpn_slot, others_weapons[p - 1], sizeof(weapon_slots));
        fm_state = forces;
        prop_state = engines;
        contact = ground_contact;
        ground_state = ground_stages;
        governing = governor;
        launch_flags = launch;
        rope_points = ropes;
        wpn_fire_state = weapons_fire;
        wpn_smoke_state = weapons_smoke;
        projectile_list = projectiles;
        particle_list = particles;
        sim_cockpit_engine = cockpit_engine;
        sim_cockpit_switches = cockpit_switches;
        sim_flightmodel_misc = tests;
        gload_dim_factor = dim;
        UTIL_srand(random);
        sim_operation_misc.frame_rate_period = period;
        for (int k = 0; k < 3; ++k) wind_vector[k] = wind[k];
        sim_network_dataout.dump_next_cycle = report;
    }
};

plane_snapshot::plane_snapshot() : kept_(std::make_unique<records>()) {}

plane_snapshot::~plane_snapshot() { kept_->put_back(); }

const flt_struct& plane_snapshot::plane() const { return kept_->plane; }
