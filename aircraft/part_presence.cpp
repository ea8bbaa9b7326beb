// The part presence rule and the span points of lifting parts.
#include "aircraft/part_presence.h"

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_struct.h"
#include "core/engine_types.h"
#include "core/failure_slots.h"
#include "flightmodel/flt.h"

namespace {

bool indices_ok(int plane, int part)
{
    return plane >= 0 && plane < ACF_SLOTS && part >= 0 && part < ACF_NUM_PARTS;
}

// The engine clause of a propeller part: fitted as a propeller (or tip
// rockets) below the engine count, as an extra thrust point above it.
bool prop_fitted(int plane, int part)
{
    const acf_struct& a = pln[plane];
    if (part < a.acf_num_engines)
        return ACF_engine_has_prop(plane, part) || a.acf_en_type[part] == ENGINE_TIP_ROCKET;
    return part < a.acf_num_thrustpoints;
}

}  // namespace

bool ACF_part_not_failed_or_hidden(int plane, int part)
{
    if (!indices_ok(plane, part)) return false;
    if (part <= PART_PROP_LAST) {
        if (FLT_slot_failed(plane, FAIL_SLOT_ENGINE_BASE + part)) return false;
        const acf_struct& a = pln[plane];
        return !(a.acf_hide_prop_at_90_vect != 0 && a.acf_vect_cant[part] >= 90.0f);
    }
    // Nacelles share their engine's entry; lifting surfaces have their own.
    const bool has_entry = (part >= PART_ENGINE_BODY_FIRST && part <= PART_ENGINE_BODY_LAST) ||
                           (part >= PART_WING_PAIR_FIRST && part <= PART_WING_MORE_LAST);
    return !(has_entry && FLT_slot_failed(plane, FLT_failure_slot_of_part(part)));
}

bool ACF_part_fitted(int plane, int part)
{
    if (!indices_ok(plane, part)) return false;
    if (part <= PART_PROP_LAST) return prop_fitted(plane, part);
    return pln[plane].acf_part_eq[part] != 0;
}

bool ACF_part_in_service(int plane, int part)
{
    return ACF_part_not_failed_or_hidden(plane, part) && ACF_part_fitted(plane, part);
}

bool ACF_part_present(int plane, int part) { return ACF_part_in_service(plane, part); }

bool ACF_part_present_thrust(int plane, int part)
{
    if (!ACF_part_not_failed_or_hidden(plane, part)) return false;
    if (part <= PART_PROP_LAST) return part < pln[plane].acf_num_thrustpoints;
    return pln[plane].acf_part_eq[part] != 0;
}

acf_span_xyz ACF_span_point(int plane, int part, float station)
{
    if (!indices_ok(plane, part)) return {0.0f, 0.0f, 0.0f};
    return {ACF_point_on_element(plane, part, station, 'X'), ACF_point_on_element(plane, part, station, 'Y'),
            ACF_point_on_element(plane, part, station, 'Z')};
}
