// A known state for the flight start and plane step tests: the Earth's
// constants, empty plane slots and tables, no network, no scenery objects,
// the sounds recorded through the sound layer's seam.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "aircraft/acf_struct.h"
#include "aircraft/launch_flags.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/ui_text.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/aural_warnings.h"
#include "flightmodel/derived_data.h"
#include "flightmodel/control/own_physics.h"
#include "flightmodel/flt.h"
#include "flightmodel/forces/forces.h"
#include "flightmodel/ground/contact.h"
#include "flightmodel/ground/ground_stages.h"
#include "flightmodel/propulsion/propulsion.h"
#include "flightmodel/systems.h"
#include "links/net_slots.h"
#include "links/sound_seam.h"
#include "world/fires.h"
#include "scene/effects/particles.h"
#include "world/ships.h"
#include "flightmodel/ground/surface_state.h"
#include "tests/support/fleet_flight_kit.h"
#include "tests/support/terrain_support.h"
#include "tests/support/test_support.h"
#include "world/airport_state.h"
#include "world/atc.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/objects.h"
#include "world/scenery_area.h"
#include "world/terrain_grid.h"

// The live particles of a colour row (nothing ages them while no scene is drawn).
inline int live_particles(int color)
{
    return static_cast<int>(std::count_if(particle_list.begin(), particle_list.end(),
                                          [color](const particle_record& p) { return p.active && p.color == color; }));
}

// Every sound slot started or stopped and every text spoken.

struct flight_sound_log : sound_recorder {
    struct play {
        int slot, looping;
        float a, b;
    };
    std::vector<play> plays;
    std::vector<int> stops;
    std::vector<std::pair<std::string, int>> spoken_texts;
    void played(int slot, int looping, float a, float b) override { plays.push_back({slot, looping, a, b}); }
    void stopped(int slot) override { stops.push_back(slot); }
    void spoken(const char* text, int show) override { spoken_texts.emplace_back(text, show); }
    int count(int slot) const
    {
        return static_cast<int>(std::count_if(plays.begin(), plays.end(), [slot](const play& p) { return p.slot == slot; }));
    }
    void clear() { *this = flight_sound_log{}; }
};

class FlightState : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_area_ = scenery_area;
        // The published records and every module's kept values (every stage of
        // the own-plane step among them) at rest, whatever flew before.
        RESET_all();
        CONST_fill_constants();
        PLANET_set_constants(PLANET_EARTH);
        lat_ref = 33.0f;
        lon_ref = -119.0f;
        for (flt_struct& f : flt) f = flt_struct{};
        for (int s = 0; s < 4; ++s) std::memset(static_cast<void*>(&pln[s]), 0, sizeof pln[s]);
        // The built data folder is the program folder: the loads a start asks
        // for find the fleet there, and the default trainer in its place. Every
        // slot names an aircraft, so the reset at a start point loads none.
        FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
        UTIL_strcpy("AIRCRAFT:GENERAL AVIATION:ORVELL TRAINER:ORVELL TRAINER.ACF", default_aircraft_path);
        UTIL_strcpy("ORVELL TRAINER.ACF", default_aircraft_name);
        for (acf_struct& a : pln) UTIL_strcpy("TEST.ACF", a.acf_file_name);
        clear_world_around_the_flight();
        sim_operation_misc.frame_rate_period = 0.05f;
        // The air and gravity the systems step keeps at the plane.
        sim_physics.g_sealevel = sim_physics.earth_mu / (sim_physics.earth_radius_m * sim_physics.earth_radius_m);
        sim_weather.speed_of_sound_ms = 340.0f;
        sim_weather.rho = 1.225f;
        sim_weather.sigma = 1.0f;
        sim_graphics_settings.draw_aircrafts = 1;
        sounds.clear();
        SOUND_install_recorder(&sounds);
    }

    void TearDown() override
    {
        SOUND_install_recorder(nullptr);
        scenery_area = saved_area_;
        airport_table.clear();
        navaid_table.clear();
    }

    // One airport with one runway at (lat, lon), heading and length, and one start position.
    static int add_airport(const char* id, float lat, float lon, float heading, float length, float elevation)
    {
        airport_record a{};
        std::strncpy(a.id, id, APT_ID_SIZE - 1);
        a.elevation = elevation;
        runway_record rw{};
        rw.lat = lat;
        rw.lon = lon;
        std::strcpy(rw.number, "06");
        rw.heading = heading;
        rw.length = length;
        a.runways.push_back(rw);
        a.starts.push_back(start_position_record{lat + 0.002f, lon, 123.0f, {}});
        airport_table.push_back(a);
        return static_cast<int>(airport_table.size()) - 1;
    }

    // A small aircraft on fixed wheels.
    static void trainer_like(acf_struct& a)
    {
        a.acf_num_engines = a.acf_num_thrustpoints = 1;
        a.acf_gear_type[PART_GEAR_FIRST] = 1;
        a.acf_h_eqlbm = 1.2f;
        a.acf_the_eqlbm = 2.0f;
        a.acf_est_Vs = 25.0f;
        a.acf_m_max = 1100.0f;
        a.acf_RSC_idlespeed_eng = a.acf_RSC_idlespeed_prp = 60.0f;
        a.acf_RSC_redline_eng = a.acf_RSC_redline_prp = 280.0f;
        std::strcpy(a.acf_file_name, "ORVELL TRAINER.ACF");
    }

    static bool all_finite(const flt_struct& f)
    {
        const float* w = reinterpret_cast<const float*>(&f);
        const size_t words = sizeof f / sizeof(float);
        for (size_t k = 0; k < words; ++k) {
            // Int words read as floats are finite unless their bits say otherwise; the
            // doubles are checked on their own.
            if (reinterpret_cast<const char*>(&w[k]) >= reinterpret_cast<const char*>(&f.local_x_d) &&
                reinterpret_cast<const char*>(&w[k]) < reinterpret_cast<const char*>(&f.local_z_d) + sizeof(double))
                continue;
            if (!std::isfinite(w[k])) return false;
        }
        return std::isfinite(f.local_x_d) && std::isfinite(f.local_y_d) && std::isfinite(f.local_z_d);
    }

    flight_sound_log sounds;
    scenery_area_record saved_area_{};
};
