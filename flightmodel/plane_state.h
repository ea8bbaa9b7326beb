// Packing and unpacking of the plane state record (core/plane_state_record.h):
// a plane slot into a snapshot, a blend of two snapshots back into a slot.
//
// Integer words are made of decimal digit fields (see plane_state.cpp for the
// layout of each); float words are IEEE singles copied unchanged.
#pragma once

#include <cstdint>

#include "core/plane_state_record.h"

// Word k (0..49) of a record as its raw 32 bits, and the reverse; for byte
// swapping and for the files that store records word by word. An index
// outside 0..49 reads 0 and writes nothing.
uint32_t PLANE_state_word(const plane_state_record& rec, int k);
void PLANE_set_state_word(plane_state_record& rec, int k, uint32_t bits);

// Fills the record from plane slot p (its flt and pln records) and the
// simulation-wide values (network clock, reference point, the user's radios,
// the ships). A slot outside 0..9 leaves the record zeroed.
void PLANE_pack_state(plane_state_record& rec, int p);

// Writes the blend of records a and b (frac 0 gives a, 1 gives b) into plane
// slot p and the simulation-wide values (frac is kept within 0..1; NaN counts
// as 0). mode 0: replay or restore; mode 1:
// a record from the network. Every value read from a record is bounded before
// use, so any bit pattern is safe; a slot outside 0..9 is ignored.
constexpr int PLANE_UNPACK_REPLAY = 0;
constexpr int PLANE_UNPACK_NETWORK = 1;
void PLANE_unpack_state(plane_state_record a, plane_state_record b, float frac, int mode, int p);

// Re-expresses the local position (x, y, z), taken about the reference point
// (lat_ref_in, lon_ref_in), about the current lat_ref / lon_ref, and sets
// lat_ref_in / lon_ref_in to the current reference.
void PLANE_rebase_position(float& x, float& y, float& z, float& lat_ref_in, float& lon_ref_in);

// Re-expresses a local place and heading taken in the frame centred at
// (from_lat, from_lon) in the frame centred at (to_lat, to_lon), degrees: the
// same point of the globe, the heading pointing the same way there.
void PLANE_carry_pose(double from_lat, double from_lon, double to_lat, double to_lon, float& x, float& y, float& z,
                      float& psi);
