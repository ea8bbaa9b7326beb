// The situation start state: the user plane's state as a saved situation or
// movie holds it. The preference reader fills it; the flight start applies it
// when the situation starts.
#pragma once

#include <cstdint>

constexpr int SITUATION_ENGINES = 8;
constexpr int SITUATION_FAILURE_SLOTS = 174;

struct situation_start_record {
    // Position (sim/flightmodel/position/).
    float latitude;
    float longitude;
    float local_y;
    float psi;
    float groundspeed;
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
    float POINT_tacrad[SITUATION_ENGINES];
    // Failure states (0..6) and the failure times beside them.
    int32_t failures[SITUATION_FAILURE_SLOTS];
    float failure_param[SITUATION_FAILURE_SLOTS];
};

extern situation_start_record situation_start_state;
