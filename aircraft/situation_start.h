// The start-position block: where and how the next flight starts. The map
// placement, the navaid and random-start commands, the situation and movie
// files (through the preference reader) and the network fill it before they
// start a flight; codes 800 and 203 place the plane at its position, heading
// and speed, and codes 203 and 206 also restore its controls, fuel, masses,
// engine settings and failure states.
#pragma once

#include <cstdint>

#include "core/failure_slots.h"

constexpr int SITUATION_ENGINES = 8;
constexpr int SITUATION_FAILURE_SLOTS = FAILURE_SLOTS;

struct situation_start_record {
    // Position (sim/flightmodel/position/).
    float latitude;
    float longitude;
    float elevation;          // m above sea level (situation files store the plane's local y here)
    float psi;                // heading, degrees true
    float groundspeed;        // m/s
    // Controls (sim/flightmodel/controls/).
    float flaprat;
    float flaprqst;
    float elv_trim;
    float rud_trim;
    float ail_trim;
    // Weights (sim/flightmodel/weight/).
    float m_fuel1;
    float m_fuel2;
    float m_fuel3;
    float m_jettison;
    float m_fixed;
    // Engines.
    int32_t ignition_on[SITUATION_ENGINES];
    float ENGN_thro[SITUATION_ENGINES];
    float ENGN_prop[SITUATION_ENGINES];
    float POINT_pitch_deg[SITUATION_ENGINES];
    float ENGN_mixt[SITUATION_ENGINES];
    float POINT_tacrad[SITUATION_ENGINES];   // the one stored engine speed, rad/s
    // Failure states (0..6) and the failure times beside them.
    int32_t failures[SITUATION_FAILURE_SLOTS];
    float failure_param[SITUATION_FAILURE_SLOTS];
};

extern situation_start_record situation_start_state;
