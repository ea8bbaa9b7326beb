// The operator panel's own words (in the program's font encoding) and the
// "map placement" command text it sends.
#pragma once

constexpr const char* OPERATOR_AIRPORT_LABEL = "Airport ID";
constexpr const char* OPERATOR_AIRPORT_HINT = "Type the ID of an airport of the scenery for its runway starts.";
constexpr const char* OPERATOR_RUNWAY_SUFFIX[3] = {"T/O", "3nm", "10nm"};
constexpr const char* OPERATOR_LOWER_PLATFORM = "Lower Platform";

// "map placement  " and five zero-padded fields: (longitude + 500) x 10000 in
// 7 digits, (latitude + 500) x 10000 in 7, heading in 3, altitude (m) in 6,
// speed (m/s) in 5; each rounded half away from zero and held to what its
// width shows. `out` holds OPERATOR_PLACEMENT_BYTES + 1 bytes.
constexpr int OPERATOR_PLACEMENT_BYTES = 43;
void OPERATOR_placement_text(float lat, float lon, float heading, float altitude_m, float speed_mps, char* out);
