// The shared-memory area and the state record written into it.
#include "links/shared_memory.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/engine_types.h"
#include "core/simvars/flightmodel.h"
#include "flightmodel/flt.h"

std::unique_ptr<SHMEM_area> shmem_area;

namespace {

std::string area_name_override;

// Engine n turns a propeller or rotor for the record's speed words.
bool propeller_engine(int n)
{
    const acf_struct& a = pln[0];
    if (FLT_slot_failed(0, FAIL_SLOT_ENGINE_BASE + n)) return false;
    if (a.acf_hide_prop_at_90_vect && a.acf_vect_cant[n] >= 90.0f) return false;
    if (n < a.acf_num_engines) return ENGINE_type_drives_prop(a.acf_en_type[n]) || a.acf_en_type[n] == 7;
    return n < a.acf_num_thrustpoints;
}

// A gear leg as a whole number, truncated: 1 only when fully down. A deploy
// ratio of no number or beyond the int range has no defined conversion (the
// reader would see anything): no number reads 0, the rest is held in range
// first (which changes no ratio of a real leg).
int32_t whole_leg(float deploy)
{
    if (!std::isfinite(deploy)) return 0;
    return static_cast<int32_t>(std::clamp(deploy, -1.0e9f, 1.0e9f));
}

}  // namespace

// A named area on this system outlives the program until its name is removed,
// where the system the area was made for drops it with the last handle at the
// program's end. A holder destroyed without a close therefore closes itself,
// so that no stale area is left behind.
SHMEM_area::~SHMEM_area() { SHMEM_close(); }

void* SHMEM_area::SHMEM_open(unsigned int size, const char* name)
{
    // An area this holder already has open is closed first: opened over, its
    // mapping would be lost to the holder and never unmapped or closed.
    SHMEM_close();
    return PLAT_shm_open(area_, name, size);
}

bool SHMEM_area::SHMEM_close()
{
    const bool had = area_.view != nullptr;
    PLAT_shm_close(area_, true);
    return had;
}

void SHMEM_set_area_name(const char* name) { area_name_override = name ? name : ""; }
const char* SHMEM_area_name() { return area_name_override.empty() ? SHMEM_AREA_NAME : area_name_override.c_str(); }

void SHMEM_static_init()
{
    if (shmem_area) return;
    shmem_area = std::make_unique<SHMEM_area>();
    shmem_area->SHMEM_open(sizeof(shmem_state_record), SHMEM_area_name());
}

void SHMEM_fill_record(shmem_state_record& r)
{
    const acf_struct& a = pln[0];
    const flt_struct& f = flt[0];
    r = shmem_state_record{};
    r.app_mode = app_mode;
    r.theta = f.theta;
    r.phi = f.phi;
    r.indicated_airspeed = f.indicated_airspeed;
    r.g_axil = f.g_axil;
    r.g_side = f.g_side;
    r.g_nrml = f.g_nrml;
    for (int n = 0; n < 8; ++n) {
        const bool prop = propeller_engine(n);
        r.engine_speed[n] = prop ? f.POINT_tacrad[n] : f.ENGN_N1_[n];
        r.engine_accel[n] = prop ? f.POINT_omegadot[n] : f.ENGN_thro_use[n];
        r.engine_type[n] = a.acf_en_type[n];
    }
    for (int g = 0; g < 6; ++g) r.gear_down[g] = whole_leg(a.acf_gear_deploy[FLT_FIRST_GEAR_PART + g]);
    r.onground_any = f.onground_any;
    r.ground_type = ground_type_word;
    r.flaprat = f.flaprat;
    r.sbrkrqst = f.sbrkrqst;
    for (int s = 0; s < ACF_WPN_SLOTS; ++s) r.weapon_released[s] = a.acf_wpn_slot[s].wpn_released;
    r.spare = 0;
}

void SHMEM_write_record()
{
    if (!shmem_area || !shmem_area->view()) return;
    shmem_state_record r;
    SHMEM_fill_record(r);
    std::memcpy(shmem_area->view(), &r, sizeof r);
}

void SHMEM_release() { shmem_area.reset(); }
