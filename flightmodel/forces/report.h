// The force-and-moment report: one frame's trace of the build-up written to
// the report stream ("ORVELL.OUT") while dump_next_cycle is set. Each stage
// calls its block as it runs, so the report follows the computation. Rules
// are runs of the byte 0xA5.
//
// Reads: flt[0], pln[0], fm_state, the atmosphere, the frame counter, the
// UI text table (part names). Writes: report_log only.
#pragma once

#include <ostream>

// True while a report is requested for this frame.
bool FM_reporting();

// A rule of n bytes 0xA5 and a line end.
void FM_report_rule(int n = 100);
// Three bytes 0xA5, the title, and 0xA5 bytes up to `total` characters in all, a line end.
void FM_report_heading(const char* title, int total = 100);
// A number with field width w and p digits after the point.
std::ostream& FM_num(float v, int p, int w);

// The three running-total blocks (written whenever called).
void FM_report_aero_totals();
void FM_report_prop_totals();
void FM_report_gear_totals();

// The build-up's own blocks.
void FM_report_header();
void FM_report_element(int p, int e, float x, float y, float z, float lift, float drag, float axial, float side,
                       float normal);
void FM_report_torque_trim();
void FM_report_grand_totals();
