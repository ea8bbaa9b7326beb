// Writes the magnetic-variation table of the systems step
// (flightmodel/systems/magvar_table.cpp) from the spherical-harmonic
// coefficients of the international geomagnetic reference field for the
// epoch 2000.0 (degrees 1 to 8, nanotesla), evaluated on the ground of the
// WGS84 ellipsoid every 5 degrees of latitude and longitude.
//
// The table holds the value that turns a true heading into a magnetic one
// (magnetic = true + value), so it is the declination with its sign changed.
//
// A few cells hold fixed values that the simulator has always used: the start
// of the South Pole row and of the equator row. The field model is drawn onto
// them: the whole pole row turns by the same angle (at the pole the value is
// the longitude plus one constant, so every cell keeps its 5-degree step) and
// the equator cells take their fixed values; both corrections fade out over
// the next rows and columns so the table stays smooth.
//
// Usage: gen_magvar OUTPUT.cpp
#include <cmath>
#include <cstdio>
#include <numbers>

#include "tools/tool_args.h"

namespace {

constexpr int DEGREE = 8;
constexpr double REFERENCE_RADIUS_KM = 6371.2;
constexpr double WGS84_A_KM = 6378.137;
constexpr double WGS84_B_KM = 6356.7523142;

struct coefficient {
    int n, m;
    double g, h;
};

// Epoch 2000.0.
constexpr coefficient COEFFICIENTS[] = {
    {1, 0, -29619.4, 0.0},  {1, 1, -1728.2, 5186.1}, {2, 0, -2267.7, 0.0},   {2, 1, 3068.4, -2481.6},
    {2, 2, 1670.9, -458.0}, {3, 0, 1339.6, 0.0},     {3, 1, -2288.0, -227.6}, {3, 2, 1252.1, 293.4},
    {3, 3, 714.5, -491.1},  {4, 0, 932.3, 0.0},      {4, 1, 786.8, 272.6},    {4, 2, 250.0, -231.9},
    {4, 3, -403.0, 119.8},  {4, 4, 111.3, -303.8},   {5, 0, -218.8, 0.0},     {5, 1, 351.4, 43.8},
    {5, 2, 222.3, 171.9},   {5, 3, -130.4, -133.1},  {5, 4, -168.6, -39.3},   {5, 5, -12.9, 106.3},
    {6, 0, 72.3, 0.0},      {6, 1, 68.2, -17.4},     {6, 2, 74.2, 63.7},      {6, 3, -160.9, 65.1},
    {6, 4, -5.9, -61.2},    {6, 5, 16.9, 0.7},       {6, 6, -90.4, 43.8},     {7, 0, 79.0, 0.0},
    {7, 1, -74.0, -64.6},   {7, 2, 0.0, -24.2},      {7, 3, 33.3, 6.2},       {7, 4, 9.1, 24.0},
    {7, 5, 6.9, 14.8},      {7, 6, 7.3, -25.4},      {7, 7, -1.2, -5.8},      {8, 0, 24.4, 0.0},
    {8, 1, 6.6, 11.9},      {8, 2, -9.2, -21.5},     {8, 3, -7.9, 8.5},       {8, 4, -16.6, -21.5},
    {8, 5, 9.1, 15.5},      {8, 6, 7.0, 8.9},        {8, 7, -7.9, -14.9},     {8, 8, -7.0, -2.1},
};

// Schmidt semi-normalised associated Legendre functions P[n][m](cos theta)
// and their derivatives by theta.
void legendre(double theta, double P[DEGREE + 1][DEGREE + 1], double dP[DEGREE + 1][DEGREE + 1])
{
    const double c = std::cos(theta), s = std::sin(theta);
    for (int n = 0; n <= DEGREE; ++n)
        for (int m = 0; m <= DEGREE; ++m) P[n][m] = dP[n][m] = 0.0;
    P[0][0] = 1.0;
    for (int n = 1; n <= DEGREE; ++n) {
        // The diagonal.
        const double k = n == 1 ? 1.0 : std::sqrt((2.0 * n - 1.0) / (2.0 * n));
        P[n][n] = k * s * P[n - 1][n - 1];
        dP[n][n] = k * (s * dP[n - 1][n - 1] + c * P[n - 1][n - 1]);
        // Below the diagonal.
        for (int m = 0; m < n; ++m) {
            const double a = (2.0 * n - 1.0) / std::sqrt(static_cast<double>(n * n - m * m));
            const double b = n - 1 > m ? std::sqrt(static_cast<double>((n - 1) * (n - 1) - m * m)) /
                                             std::sqrt(static_cast<double>(n * n - m * m))
                                       : 0.0;
            P[n][m] = a * c * P[n - 1][m] - (n - 1 > m ? b * P[n - 2][m] : 0.0);
            dP[n][m] = a * (c * dP[n - 1][m] - s * P[n - 1][m]) - (n - 1 > m ? b * dP[n - 2][m] : 0.0);
        }
    }
}

// Declination (degrees, east positive) on the ground at a geodetic position.
double declination(double lat_deg, double lon_deg)
{
    const double lat = lat_deg * std::numbers::pi / 180.0, lon = lon_deg * std::numbers::pi / 180.0;
    // Geodetic to geocentric, on the ellipsoid's surface.
    const double a2 = WGS84_A_KM * WGS84_A_KM, b2 = WGS84_B_KM * WGS84_B_KM;
    const double sl = std::sin(lat), cl = std::cos(lat);
    const double rho = std::sqrt(a2 * cl * cl + b2 * sl * sl);
    const double z = b2 * sl / rho, p = a2 * cl / rho;
    const double r = std::sqrt(p * p + z * z);
    const double geocentric = std::atan2(z, p);
    const double theta = std::numbers::pi / 2.0 - geocentric;

    double P[DEGREE + 1][DEGREE + 1], dP[DEGREE + 1][DEGREE + 1];
    legendre(theta, P, dP);
    const double st = std::sin(theta);
    double north = 0.0, east = 0.0, down = 0.0;
    for (const coefficient& k : COEFFICIENTS) {
        const double ratio = std::pow(REFERENCE_RADIUS_KM / r, k.n + 2);
        const double cm = std::cos(k.m * lon), sm = std::sin(k.m * lon);
        north += ratio * (k.g * cm + k.h * sm) * dP[k.n][k.m];
        east += ratio * k.m * (k.g * sm - k.h * cm) * P[k.n][k.m] / st;
        down -= (k.n + 1) * ratio * (k.g * cm + k.h * sm) * P[k.n][k.m];
    }
    // Back to the geodetic frame (the east component does not change).
    const double tilt = geocentric - lat;
    const double north_geodetic = north * std::cos(tilt) + down * std::sin(tilt);
    return std::atan2(east, north_geodetic) * 180.0 / std::numbers::pi;
}

// The fixed cells: the South Pole row begins -152.3 (then -147.3, -142.3,
// which the pole's 5-degree step gives); the equator row begins -10.2,
// -10.0, -9.6.
constexpr double SOUTH_POLE_START = -152.3;
constexpr double EQUATOR_START[3] = {-10.2, -10.0, -9.6};
constexpr int ROWS = 37, COLS = 73, EQUATOR_ROW = 18, FADE = 4;

double fade(int steps) { return steps >= FADE ? 0.0 : 1.0 - static_cast<double>(steps) / FADE; }

void draw_onto_fixed_cells(double table[ROWS][COLS])
{
    const double turn = SOUTH_POLE_START - table[0][0];
    for (int row = 0; row < FADE; ++row)
        for (int col = 0; col < COLS; ++col) table[row][col] += turn * fade(row);

    // Corrections by column along the equator; column 72 is column 0's meridian.
    double shift[COLS] = {};
    for (int col = 0; col < 3; ++col) shift[col] = EQUATOR_START[col] - table[EQUATOR_ROW][col];
    for (int col = 3; col < COLS - 1; ++col) {
        const int east_of_fixed = col - 2, west_of_start = COLS - 1 - col;
        shift[col] = shift[2] * fade(east_of_fixed) + shift[0] * fade(west_of_start);
    }
    shift[COLS - 1] = shift[0];
    for (int row = EQUATOR_ROW - FADE + 1; row < EQUATOR_ROW + FADE; ++row)
        for (int col = 0; col < COLS; ++col)
            table[row][col] += shift[col] * fade(row > EQUATOR_ROW ? row - EQUATOR_ROW : EQUATOR_ROW - row);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 1, "gen_magvar OUTPUT.cpp")) return 2;
    FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "gen_magvar: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out, "// The magnetic variation every 5 degrees, written by tools/gen_magvar.cpp:\n"
                      "// rows from latitude -90 up, columns from longitude -180 east; magnetic\n"
                      "// heading = true heading + value.\n"
                      "#include \"flightmodel/systems/environment.h\"\n\n"
                      "const float magvar_table[MAGVAR_ROWS][MAGVAR_COLS] = {\n");
    static double table[ROWS][COLS];
    for (int row = 0; row < ROWS; ++row) {
        // The poles themselves have no direction north: just off them.
        double lat = -90.0 + 5.0 * row;
        if (row == 0) lat = -89.999;
        if (row == ROWS - 1) lat = 89.999;
        for (int col = 0; col < COLS; ++col) table[row][col] = -declination(lat, -180.0 + 5.0 * col);
    }
    draw_onto_fixed_cells(table);
    for (int row = 0; row < ROWS; ++row) {
        std::fprintf(out, "    {");
        for (int col = 0; col < COLS; ++col) {
            // Keep the value within -180..180 (a pole-row turn can push a cell past it).
            double value = table[row][col];
            if (value > 180.0) value -= 360.0;
            if (value <= -180.0) value += 360.0;
            std::fprintf(out, "%s%.1ff", col == 0 ? "" : (col % 8 == 0 ? ",\n     " : ", "), value);
        }
        std::fprintf(out, "}%s\n", row == ROWS - 1 ? "" : ",");
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
