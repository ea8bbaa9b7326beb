// The part meshes of a plane slot: the airfoil grids of its propeller blades
// and lifting surfaces with their hinge lines, the body rings, and a unit
// normal for every point, the weapon bodies' included. Built whenever the
// aircraft is prepared for drawing; every fitted part is built, failed or not,
// so a part that is repaired later shows its own shape.
//
// Reads: pln[plane] part fitting, acf_els, chords, thickness ratios of the
// airfoils (afl_t_rat), incidences, control flags and chord ratios,
// acf_flap_type, acf_dihed1, acf_side_sign, acf_semilen_SEG, acf_prop_dir,
// acf_bladesweep, the body arrays, the weapon slots' kinds; flt[plane] the
// cached sines and cosines of each part's sweep and dihedral.
// Writes: the part geometry arrays part_vertex, part_normal, element_hinge,
// element_hinge_axis and weapon_normal of the plane.
#pragma once

// Wing-type parts and propellers (0..43): their airfoil grids, hinge points
// and hinge axes.
void ACF_build_surface_meshes(int plane);

// Bodies (44..66): their rings copied from the body arrays.
void ACF_copy_body_rows(int plane);

// Normals of every fitted part, then of every loaded weapon's body.
void ACF_build_normals(int plane);
