// The force-and-moment report: one frame's trace of the build-up written to
// the report stream ("ORVELL.OUT") while dump_next_cycle is set. Each stage
// writes its block as it runs, so the report follows the computation. Rules
// are runs of the byte 0xA5; every number has a field width and a count of
// digits after the point.
//
// Reads: flt[0], pln[0], fm_state, the atmosphere, the flying-frame counter,
// the terrain height, the UI text table (part names). Writes: report_log only.
#pragma once

#include <iomanip>
#include <ostream>

#include "core/folders.h"

// True while a report is requested for this frame.
bool FM_reporting();

// A rule of n bytes 0xA5 and a line end.
void FM_report_rule(int n = 100);
// Three bytes 0xA5, the title, and 0xA5 bytes up to `total` characters in all, a line end.
void FM_report_heading(const char* title, int total = 100);
// Writes a number with p digits after the point in a field of width w; returns the stream.
std::ostream& FM_num(float v, int p, int w);
// A report line: the label, the number (p, w) and the ending text.
void FM_line(const char* label, float v, int p, int w, const char* end);

// The three running-total blocks (written whenever called).
void FM_report_aero_totals();
void FM_report_prop_totals();
void FM_report_gear_totals();

// The flight-condition header (stage 2).
void FM_report_header();

// An element block: its heading, centroid and incidence before the element
// forces; its forces and the aero running totals after them.
void FM_report_element_begin(int p, int e, float x, float y, float z);
void FM_report_element_end(int p, float lift, float drag, float axial, float side, float normal);

// A body block, before and after its drag lines.
struct fm_body_report {
    float x, y, z;             // centroid
    float air[3];              // air on the body (right, up, aft)
    float air_wash[3];         // the same with the propwash
    float speed;
    float aoa_deg, slip_deg, total_deg;
    float front, side, top;    // areas
};
void FM_report_body_begin(int part, const fm_body_report& r);
void FM_report_body_end(float cd, float cl_side, float cl_vert, float drag, float side, float lift);

// A landing-gear drag block.
struct fm_gear_report {
    float deploy;
    float strut_area, tyre_area, door_area;
    float strut_cd, tyre_cd, door_cd;
    float strut_drag, tyre_drag, door_drag;
    float x, y, z;
};
void FM_report_gear(int gear, const fm_gear_report& r);
void FM_report_speedbrakes(float drag);

// The grand totals at the end of the build-up.
void FM_report_grand_totals();
