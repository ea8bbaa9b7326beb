// Local coordinates about the scenery reference point, and the start airport.
//
// The local frame: x east, y up, z south, metres, origin on the planet's
// surface at (lat_ref + latitude offset, lon_ref + longitude offset).
#pragma once

#include <cstdint>

void GEO_latlon_to_local(float& x, float& y, float& z, double latitude, double longitude, double elevation);
void GEO_local_to_latlon(float& latitude, float& longitude, float& elevation, double x, double y, double z);

// The same conversions about an explicit frame centre (degrees), in double
// precision throughout. A longitude comes back within half a turn of the
// centre's, on the point's own side of the polar axis (it is not brought into
// -180..180). A point at the planet's centre has no direction: it reports the
// frame centre at elevation minus the planet's radius.
struct geo_point {
    double lat, lon, elev;   // degrees, degrees, metres
};
geo_point GEO_local_to_latlon_about(double centre_lat, double centre_lon, double x, double y, double z);
void GEO_latlon_to_local_about(double centre_lat, double centre_lon, const geo_point& g, double& x, double& y,
                               double& z);
int GEO_round(float value);
// Degrees between true north and the local frame's north at a position: the
// longitude distance from the frame centre times the sine of the latitude.
float GEO_grid_convergence(float lat, float lon);
// The unit normal of a x b; a zero cross product gives straight up (0, 1, 0).
void UTIL_cross_normalize(const float a[3], const float b[3], float out[3]);
// Whether the circle (cx, cz, r) reaches the inner side of the directed edge
// (x1, z1) -> (x2, z2), the side of its normal (-dz, dx); strict, so a point
// on the edge is outside, and an edge of zero length rejects everything. Four
// calls over a convex quadrilateral's edges, corners in order, test it.
bool GEO_circle_inside_edge(float x1, float z1, float x2, float z2, float cx, float cz, float r);

// The start selection: the start airport's 4-character id (not terminated
// inside the four bytes), the selected airport index and the start index.
struct start_selection_record {
    char airport_id[5];   // four characters and a terminator
    int32_t airport_index;
    int32_t start_index;
};
extern start_selection_record start_selection;

// The south-west corner, in whole degrees, of the scenery area about which
// local coordinates are taken ("sim/flightmodel/position/lat_ref", "lon_ref").
extern float lat_ref;
extern float lon_ref;
// Set by the network once a peer or an outside program places planes (with
// the scenery tile that goes with them); while set the simulation's frame does
// not re-centre the local origin on the user's plane by itself. Never cleared.
extern int32_t net_origin_by_network;
// The local y of the water surface (still water), metres.
extern float water_level_m;
