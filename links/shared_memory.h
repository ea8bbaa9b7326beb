// The shared-memory area other programs on the machine read: a named area
// holding the state record of the user's plane, rewritten on every joystick
// poll. There is no lock: a reader may see a record written half-way.
//
// Reads: app_mode, flt[0] attitude, speeds, loads, engines, failures,
// controls and ground contact, pln[0] engine types, gear legs and weapon
// slots, ground_type_word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/plat_shm.h"

// The area's name, Orvell_Shared_Memory_Area, in the form this system's named
// shared memory takes: with a leading '/', by which outside readers open it.
constexpr const char* SHMEM_AREA_NAME = "/Orvell_Shared_Memory_Area";

// The record: 66 little-endian 32-bit words.
struct shmem_state_record {
    int32_t app_mode;
    float theta;                 // pitch, degrees
    float phi;                   // roll, degrees
    float indicated_airspeed;    // knots
    float g_axil;
    float g_side;
    float g_nrml;
    float engine_speed[8];       // propeller engines: rotor or propeller speed, rad/s; others N1
    float engine_accel[8];       // propeller engines: its rotation acceleration; others the throttle applied
    int32_t engine_type[8];
    int32_t gear_down[6];        // 1 only when the leg is fully down
    int32_t onground_any;
    int32_t ground_type;
    float flaprat;
    float sbrkrqst;
    int32_t weapon_released[24];
    int32_t spare;               // 0
};
static_assert(sizeof(shmem_state_record) == 264);
static_assert(offsetof(shmem_state_record, engine_speed) == 7 * 4);
static_assert(offsetof(shmem_state_record, engine_type) == 23 * 4);
static_assert(offsetof(shmem_state_record, gear_down) == 31 * 4);
static_assert(offsetof(shmem_state_record, onground_any) == 37 * 4);
static_assert(offsetof(shmem_state_record, weapon_released) == 41 * 4);
static_assert(offsetof(shmem_state_record, spare) == 65 * 4);

// The holder of the area: the mapping and its view (null when the area could
// not be made or mapped; the writer then writes nothing).
class SHMEM_area {
public:
    SHMEM_area() = default;
    ~SHMEM_area();
    SHMEM_area(const SHMEM_area&) = delete;
    SHMEM_area& operator=(const SHMEM_area&) = delete;
    void* SHMEM_open(unsigned int size, const char* name);
    // Unmaps the view and removes the name; true when there was one.
    bool SHMEM_close();
    void* view() const { return area_.view; }

private:
    plat_shm area_;
};
extern std::unique_ptr<SHMEM_area> shmem_area;

// Creates the holder and the area (at start-up; test programs call it
// themselves). Nothing happens while a holder exists.
void SHMEM_static_init();
// The area's name: SHMEM_AREA_NAME unless a test gives its own ("" puts it back).
void SHMEM_set_area_name(const char* name);
const char* SHMEM_area_name();
// Fills a record from the user's plane.
void SHMEM_fill_record(shmem_state_record& r);
// Rewrites the record in the area (nothing without one).
void SHMEM_write_record();
// Unmaps and removes the area and frees its holder.
void SHMEM_release();
