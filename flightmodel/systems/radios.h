// The radio receivers of the user's plane (stage 8 of the systems step): six
// receivers 0 NAV1, 1 NAV2, 2 ADF1, 3 ADF2, 4 GPS, 5 the stand-alone DME.
// Every frame each finds the navaid it hears on its frequency (the nearest,
// with a 0.1-degree tolerance that lets a later one of nearly equal distance
// win), then the course deviations, glideslope, bearing needles and DME are
// worked out, and the GPS steers toward its destination.
//
// Reads: the tuned frequencies and courses, HSI_selector, the GPS destination,
// the navaid, fix and airport tables, the flight plan's destination entry,
// flt[0] position and attitude, the failure table, avionics power.
// Writes: the receiver outputs of sim_cockpit_radios and sim_cockpit_gps, the
// station positions and identifiers below, the glideslope warning sound.
#pragma once

#include <cstdint>

#include "core/simvars/cockpit.h"
#include "core/text_util.h"

constexpr int RADIO_NAV1 = 0;
constexpr int RADIO_NAV2 = 1;
constexpr int RADIO_ADF1 = 2;
constexpr int RADIO_ADF2 = 3;
constexpr int RADIO_GPS = 4;
constexpr int RADIO_DME = 5;
constexpr int RADIO_IDENT_CHARS = 5;

// What the receivers found, by receiver (unpublished).
struct radio_station_record {
    float nav_station_pos[RADIO_RECEIVERS][3];   // VOR, localizer, NDB or GPS target, local metres
    float gs_station_pos[RADIO_RECEIVERS][3];
    float gs_station_elev[RADIO_RECEIVERS];      // m
    float dme_station_pos[RADIO_RECEIVERS][3];
    float dme_bias[RADIO_RECEIVERS];             // nautical miles
    char nav_ident_text[RADIO_RECEIVERS][TEXT_SIZE];
};
extern radio_station_record radio_stations;

// Kept from frame to frame.
struct radio_state {
    float best_nav[RADIO_RECEIVERS];
    float best_gs[RADIO_RECEIVERS];
    float best_dme[RADIO_RECEIVERS];
    float best_ndb[RADIO_RECEIVERS];
    int32_t front_course_found[RADIO_RECEIVERS];
    float hdef_dot_target[RADIO_RECEIVERS];
    float vdef_dot_target[RADIO_RECEIVERS];
    int32_t gps_last_type = -1;                  // the destination the GPS course was set for
    int32_t gps_last_index = -1;
    int32_t gps_last_lat_ref = -1;
    int32_t gps_last_lon_ref = -1;
    int32_t gs_warning_armed = 0;
    float gs_warning_last = -1.0e30f;            // running time of the last glideslope warning
};
extern radio_state radios;
void RADIOS_reset();

// Stage 8.
void SYSTEMS_radio_receivers();

// The HSI selector as a receiver: 0 NAV1, 1 NAV2, 2 GPS (any other value counts as 0).
int RADIOS_hsi_source();
