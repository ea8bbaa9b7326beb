// Engine and propeller types: the values of acf_en_type and acf_prop_type,
// one small integer per engine (per thrust point for the propeller).
#pragma once

#include <cstdint>

// Engine types (acf_en_type).
constexpr int32_t ENGINE_PISTON_CARBURETTED = 0;
constexpr int32_t ENGINE_PISTON_INJECTED = 1;
constexpr int32_t ENGINE_TURBINE_FREE = 2;     // turbine driving a propeller through a free turbine
constexpr int32_t ENGINE_ELECTRIC = 3;
constexpr int32_t ENGINE_JET_LOW_BYPASS = 4;
constexpr int32_t ENGINE_JET_HIGH_BYPASS = 5;
constexpr int32_t ENGINE_ROCKET = 6;
constexpr int32_t ENGINE_TIP_ROCKET = 7;       // rockets at the blade tips: the engine carries blades
constexpr int32_t ENGINE_TURBINE_FIXED = 8;    // turbine driving a propeller on its own shaft
constexpr int32_t ENGINE_TYPE_LAST = ENGINE_TURBINE_FIXED;

// Power-rated engines with manifold pressure.
constexpr bool ENGINE_type_is_piston(int32_t t) { return t == ENGINE_PISTON_CARBURETTED || t == ENGINE_PISTON_INJECTED; }
// Thrust-rated air-breathing engines.
constexpr bool ENGINE_type_is_jet(int32_t t) { return t == ENGINE_JET_LOW_BYPASS || t == ENGINE_JET_HIGH_BYPASS; }
// Thrust-rated rocket engines.
constexpr bool ENGINE_type_is_rocket(int32_t t) { return t == ENGINE_ROCKET || t == ENGINE_TIP_ROCKET; }
// Engines that drive a propeller (any type above the last one gives false).
constexpr bool ENGINE_type_drives_prop(int32_t t)
{
    return ENGINE_type_is_piston(t) || t == ENGINE_TURBINE_FREE || t == ENGINE_ELECTRIC || t == ENGINE_TURBINE_FIXED;
}

// Propeller types (acf_prop_type).
constexpr int32_t PROP_FIXED_PITCH = 0;
constexpr int32_t PROP_CONSTANT_SPEED = 1;     // the propeller lever sets the speed, the pitch follows
constexpr int32_t PROP_MANUAL_PITCH = 2;       // the propeller lever sets the blade pitch
constexpr int32_t PROP_COLLECTIVE_ROTOR = 3;   // a rotor whose blade pitch is set by the collective
constexpr int32_t PROP_AUTO_PITCH = 4;         // variable pitch set by the model itself
constexpr int32_t PROP_TAIL_ROTOR = 5;
constexpr int32_t PROP_LIFT_FAN = 6;
constexpr int32_t PROP_MAIN_ROTOR = 7;         // a governed helicopter rotor
constexpr int32_t PROP_JET = 8;                // no propeller: the thrust point of a jet
constexpr int32_t PROP_TYPE_LAST_CHOSEN = PROP_MAIN_ROTOR;   // 0..7 are chosen in the file; 8 is derived

// The propeller speed lever sets a speed that a governor holds.
constexpr bool PROP_type_is_governed(int32_t t) { return t == PROP_CONSTANT_SPEED || t == PROP_MAIN_ROTOR; }
// The propeller speed lever sets the blade pitch.
constexpr bool PROP_type_lever_sets_pitch(int32_t t) { return t == PROP_MANUAL_PITCH || t == PROP_COLLECTIVE_ROTOR; }
// The blade pitch moves towards its request at a limited rate.
constexpr bool PROP_type_pitch_is_slewed(int32_t t)
{
    return t == PROP_CONSTANT_SPEED || t == PROP_AUTO_PITCH || t == PROP_MAIN_ROTOR;
}
// Blades whose pitch can change (they need a pitch range).
constexpr bool PROP_type_has_pitch_range(int32_t t)
{
    return PROP_type_is_governed(t) || PROP_type_lever_sets_pitch(t) || t == PROP_AUTO_PITCH;
}
