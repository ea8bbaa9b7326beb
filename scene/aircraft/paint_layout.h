// Where each part of an aircraft lies on its paint bitmaps: the one layout
// table that the paint coordinates follow and that the paint generator
// (tools/gen_aircraft_paint) paints by.
//
// Paint bitmap 1 is 1024 x 1024 texels, paint bitmap 2 1024 x 256. A part
// owns the rectangle s0..s1 across and t0..t1 up its bitmap, in texels of the
// uploaded texture (t = 0 is the bitmap's bottom row); s0 > s1 or t0 > t1
// mirrors the picture, and parts of one row of the table share one picture.
//  - Lifting surfaces and propellers are mapped as a top view: chord across
//    (leading edge at s0), span up (root at t0). The fins 18 and 19 carry
//    their lower side PAINT_FIN_LOWER_SHIFT texels further across.
//  - Bodies are unrolled round their section from the waterline (t0 the
//    lowest point, t1 the highest) and stretched along their length (nose at
//    s0); both sides share one picture, except that the fuselage 44 and the
//    nacelles carry their second side (points N/2 and on) lower down the
//    bitmap by PAINT_FUSELAGE_SECOND_SIDE and PAINT_NACELLE_SECOND_SIDE texels.
//    The gear fairings 61..66 are turned: their length runs up the bitmap.
//  - A weapon has a bitmap of its own: its body's length across the left
//    part (s 0..WPN_PAINT_LENGTH), the first side of its section in the upper
//    part (t WPN_PAINT_SIDE_SPLIT..1), the second below; fin pair f in the
//    column WPN_FIN_S_LO + f x WPN_FIN_STEP .. WPN_FIN_S_HI + f x WPN_FIN_STEP,
//    its two faces in the two halves of the height.
#pragma once

#include "aircraft/acf_struct.h"

constexpr int PAINT_W = 1024;           // width of both paint bitmaps
constexpr int PAINT1_H = 1024;          // height of paint bitmap 1
constexpr int PAINT2_H = 256;           // height of paint bitmap 2
constexpr int PAINT_FIN_LOWER_SHIFT = 252;
constexpr int PAINT_FUSELAGE_SECOND_SIDE = 252;
constexpr int PAINT_NACELLE_SECOND_SIDE = 126;
constexpr int PAINT_FIN_FIRST = 18;     // the fins whose lower side has its own picture
constexpr int PAINT_FIN_LAST = 19;
constexpr int PAINT_FIN_LOWER_FIRST_POINT = 7;
constexpr int PAINT_FUSELAGE = 44;
constexpr int PAINT_TURNED_FIRST = 61;  // gear fairings: length up the bitmap

constexpr float WPN_PAINT_LENGTH = 0.5078125f;     // s of a weapon body's far end
constexpr float WPN_PAINT_SIDE = 0.484375f;        // t span of one side of its section
constexpr float WPN_PAINT_SIDE_SPLIT = 0.515625f;  // t where its first side begins
constexpr int WPN_PAINT_SECOND_SIDE_POINT = 9;     // first point of a weapon ring's second side
constexpr float WPN_FIN_S_LO = 0.5137f;            // fin pair 0's column
constexpr float WPN_FIN_S_HI = 0.5898f;
constexpr float WPN_FIN_STEP = 42.0f / 512.0f;     // from one fin pair's column to the next
constexpr int WPN_FIN_PAIRS = 4;

struct paint_rect {
    int bitmap;             // 1 or 2
    int s0, s1, t0, t1;     // texels
};

// The layout table: one row per group of parts.
struct paint_layout_row {
    int first, last;
    paint_rect rect;
};
inline constexpr paint_layout_row PAINT_LAYOUT[] = {
    {0, 7, {1, 16, 0, 261, 389}},        {8, 9, {1, 774, 1024, 0, 393}},
    {10, 11, {1, 522, 772, 0, 259}},     {12, 13, {1, 522, 646, 261, 393}},
    {14, 15, {1, 648, 772, 261, 393}},   {16, 17, {1, 774, 1024, 522, 772}},
    {18, 18, {1, 18, 268, 0, 259}},      {19, 19, {1, 18, 268, 261, 520}},
    {20, 20, {2, 0, 128, 129, 256}},     {21, 21, {2, 127, 256, 129, 256}},
    {22, 22, {2, 255, 384, 129, 256}},   {23, 23, {2, 383, 512, 129, 256}},
    {24, 24, {2, 511, 640, 129, 256}},   {25, 25, {2, 639, 768, 129, 256}},
    {26, 26, {2, 767, 896, 129, 256}},   {27, 27, {2, 895, 1024, 129, 256}},
    {28, 35, {1, 774, 1024, 458, 520}},  {36, 43, {1, 774, 1024, 395, 456}},
    {44, 44, {1, 0, 772, 774, 1024}},    {45, 46, {1, 522, 772, 395, 520}},
    {47, 47, {2, 255, 384, 0, 127}},     {48, 48, {2, 383, 512, 0, 127}},
    {49, 49, {2, 511, 640, 0, 127}},     {50, 50, {2, 639, 768, 0, 127}},
    {51, 51, {2, 767, 896, 0, 127}},     {52, 52, {2, 895, 1024, 0, 127}},
    {53, 60, {1, 774, 1024, 900, 1024}}, {61, 65, {1, 392, 520, 16, 0}},
    {66, 72, {1, 0, 0, 0, 0}},
};

// The row of the table that holds part `part` (0..72); a part outside the
// table gets the empty rectangle of the last row.
constexpr const paint_layout_row& paint_layout_row_of(int part)
{
    for (const paint_layout_row& row : PAINT_LAYOUT)
        if (part >= row.first && part <= row.last) return row;
    return PAINT_LAYOUT[sizeof PAINT_LAYOUT / sizeof PAINT_LAYOUT[0] - 1];
}
constexpr paint_rect paint_layout_of(int part) { return paint_layout_row_of(part).rect; }
constexpr int paint_bitmap_height(int bitmap) { return bitmap == 2 ? PAINT2_H : PAINT1_H; }

// The paint coordinates of plane `plane`: part_texcoord of every fitted part
// with a grid, then weapon_texcoord of every loaded weapon slot. The meshes
// (scene/aircraft/part_mesh.h) must be built first.
void ACF_paint_coordinates(int plane);
