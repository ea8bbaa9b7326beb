// Failure slots: the entries of a plane's failure-state table (the table
// itself is the flight model's; its lookup is FLT_failure_state). Each slot is
// one failable component; its state says how it is set to fail, and state 6
// means failed. The slots grouped per engine are a base plus the engine index
// 0..7; the parts of an aircraft have a slot each (see FLT_failure_slot_of_part).
#pragma once

#include <cstdint>

constexpr int FAILURE_SLOTS = 174;             // slots 0..173
constexpr int FAILURE_PUBLISHED_SLOTS = 137;   // slots 0..136 carry a published name

// States of a slot.
constexpr int32_t FAILURE_STATE_MTBF = 0;         // random, at the mean time between failures
constexpr int32_t FAILURE_STATE_MEAN_MINUTES = 1; // random, at a mean time in minutes
constexpr int32_t FAILURE_STATE_AT_TIME = 2;      // minutes from now
constexpr int32_t FAILURE_STATE_ABOVE_SPEED = 3;  // above an indicated airspeed
constexpr int32_t FAILURE_STATE_ABOVE_ALTITUDE = 4;
constexpr int32_t FAILURE_STATE_ON_COMMAND = 5;
constexpr int32_t FAILURE_STATE_FAILED = 6;       // failed and inoperative

// Single slots.
constexpr int FAIL_SLOT_VACUUM = 0;
constexpr int FAIL_SLOT_ATTITUDE_GYRO = 2;
constexpr int FAIL_SLOT_TURN_INDICATOR = 4;    // failed: the turn needles are driven towards 0
constexpr int FAIL_SLOT_HEADING_GYRO = 5;
constexpr int FAIL_SLOT_NAV1 = 9;
constexpr int FAIL_SLOT_NAV2 = 10;
constexpr int FAIL_SLOT_ADF1 = 11;
constexpr int FAIL_SLOT_ADF2 = 12;
constexpr int FAIL_SLOT_GPS = 13;
constexpr int FAIL_SLOT_DME = 14;
constexpr int FAIL_SLOT_LOCALIZER = 15;
constexpr int FAIL_SLOT_GLIDESLOPE = 16;
// The control jams: each keeps its control on one side of centre.
constexpr int FAIL_SLOT_ROLL_JAM_RIGHT = 17;   // roll kept in 0..1
constexpr int FAIL_SLOT_ROLL_JAM_LEFT = 18;    // roll kept in -1..0
constexpr int FAIL_SLOT_PITCH_JAM_DOWN = 19;   // pitch kept in -1..0
constexpr int FAIL_SLOT_PITCH_JAM_UP = 20;     // pitch kept in 0..1
constexpr int FAIL_SLOT_YAW_JAM_RIGHT = 21;    // yaw kept in 0..1
constexpr int FAIL_SLOT_YAW_JAM_LEFT = 22;     // yaw kept in -1..0
constexpr int FAIL_SLOT_AILERON_TRIM = 23;     // the trims run back to 0
constexpr int FAIL_SLOT_ELEVATOR_TRIM = 24;
constexpr int FAIL_SLOT_RUDDER_TRIM = 25;
constexpr int FAIL_SLOT_LEFT_FLAP_DRIVE = 26;  // the flaps of one side stay retracted
constexpr int FAIL_SLOT_RIGHT_FLAP_DRIVE = 27;
constexpr int FAIL_SLOT_LEFT_FLAP = 28;        // the flaps of one side torn off
constexpr int FAIL_SLOT_RIGHT_FLAP = 29;
constexpr int FAIL_SLOT_SLATS = 30;
constexpr int FAIL_SLOT_THROTTLE = 31;
constexpr int FAIL_SLOT_ANTI_ICE = 42;
constexpr int FAIL_SLOT_ELECTRICAL = 44;
constexpr int FAIL_SLOT_HYDRAULICS = 45;
constexpr int FAIL_SLOT_STABILITY_AUGMENTATION = 46;
constexpr int FAIL_SLOT_AUTOTHROTTLE = 47;
constexpr int FAIL_SLOT_TAIL_ROTOR = 48;
constexpr int FAIL_SLOT_AUTO_FEATHER = 49;

// Slot groups: the first slot, plus the gear, engine or part index.
constexpr int FAIL_SLOT_GEAR_BASE = 32;        // + k, gear k = 0..5 (part 67 + k): a failed gear does not move
constexpr int FAIL_SLOT_TYRE_BASE = 37;        // + k, tyre of gear k burst (slot 37 is also gear 5)
constexpr int FAIL_SLOT_ENGINE_FIRE_BASE = 50; // + e, engine e chip or fire
constexpr int FAIL_SLOT_ENGINE_BASE = 58;      // + e, engine e failed; nacelle part p (53..60) uses p + 5
constexpr int FAIL_SLOT_CLUTCH_BASE = 66;      // + e, the clutch between engine e and its shaft
constexpr int FAIL_SLOT_REVERSER_BASE = 74;    // + e, engine e's thrust reverser
constexpr int FAIL_SLOT_OIL_BASE = 98;         // + e
constexpr int FAIL_SLOT_FUEL_PUMP_BASE = 106;  // + e, engine e's engine-driven fuel pump
constexpr int FAIL_SLOT_GENERATOR_BASE = 114;  // + e
constexpr int FAIL_SLOT_INVERTER_BASE = 122;   // + e, engine e's inverter
constexpr int FAIL_SLOT_FADEC_BASE = 130;      // + e, engine e's FADEC (slots 130..137)
constexpr int FAIL_SLOT_SURFACE_BASE = 130;    // + p, wing or control surface part p = 8..43 failed
