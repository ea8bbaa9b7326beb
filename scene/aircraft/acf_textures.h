// Everything the aircraft drawers need of a plane slot once its aircraft
// record is filled: the part meshes with their normals and hinge lines, their
// paint coordinates, the paint, panel and weapon textures, and the shadow
// with the plane's shadow extents. Nothing is kept between calls: each call
// redoes every step for the plane.
//
// Reads: pln[plane] (the whole aircraft and its weapon slots), flt[plane]
// sweep and dihedral sines and cosines and the failures; rendering_res.
// Writes: the plane's part geometry arrays, acf_has_litemap_tex, acf_size_x,
// acf_size_z; texture slots 400 + 4n .. 403 + 4n (paint 1, lit paint 1,
// paint 2, lit paint 2), for plane 0 the panel bitmaps 446..453, the weapon
// bitmaps 4701 + 24n + w, the shadow 178 + n.
#pragma once

// Texture files beside the aircraft file "<base>.acf":
//   "<base>_PAINT.BMP", "<base>_PAINT_LIT.BMP", "<base>_PAINT2.BMP",
//   "<base>_PAINT2_LIT.BMP" (a missing one leaves the loader's placeholder;
//   a missing lit paint 1 sets acf_has_litemap_tex 0), and for plane 0 the
//   panel bitmaps "<base>_TEST_NEAREST.BMP" ... "<base>_CUSTOM.BMP", each
//   falling back on the program's "PANEL_..." bitmap of the same name.
// A weapon's bitmap is its weapon file's path with ".BMP" in place of the
// extension. The first three arguments are not used (the callers' reload
// flag and two zeros); `plane` is the plane slot 0..9 (others do nothing).
void ACF_load_textures(int reload, int a, int b, int plane);

// The steps of the preparation that draw nothing and load no file: the part
// meshes, the bodies, the normals (weapons' included) and the paint
// coordinates of plane `plane`. The paint generator runs them on its own.
void ACF_prepare_model(int plane);
