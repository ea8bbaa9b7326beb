// Drawing the aircraft in 3-D: every aircraft the scene shows (the user's,
// traffic, peers, parked and plug-in aircraft), the weapons they carry and the
// preview of the user's aircraft on a settings screen.
//
// Callers place an aircraft first: the model-view matrix maps aircraft
// coordinates (metres, reference point at the origin, x right, y up, z aft)
// into the scene (translate to local_x, local_y, local_z, then turn by -psi
// about (0, 1, 0), -theta about (-1, 0, 0) and -phi about (0, 0, 1)). Every
// drawer here leaves the model-view matrix, its stack depth and the front-face
// winding as it found them: the rest of the scene culls with the program's
// default clockwise front faces, so the model sets its own winding per part
// and gives the caller's back.
//
// Reads: pln[n] (the record, its part geometry arrays, lights, gear, doors,
// engines, weapon slots), flt[n] (controls, incidences, failures, engines,
// propellers, gear, light switches and phases, position and attitude); the
// scene's light share, light colour and view values; PANEL_has_power.
// Writes nothing, except ACF_draw_preview, which poses plane 0 for its
// picture and puts every value it changed back before it returns.
//
// A plane outside 0..9, a part outside 0..72 or a weapon slot outside 0..23
// draws nothing; element counts are held to 0..10 and blade counts to 0..100;
// an angle that is not a number draws as 0.
#pragma once

// Part p of plane n in the current frame (propellers 0..7 as turning blades
// up to 15 rad/s, lifting surfaces 8..43 with their moving controls, bodies
// 44..60, landing gear 67..72 with its fairing 61..66 and wheels).
void ACF_draw_part(int n, int p);

// Plane n: mode 1 the whole aircraft (parts, gear doors, lights, propeller
// discs and flames), mode 0 (and any other mode) only its lights; for plane 0
// the force overlay follows in either mode while visibility_math_level >= 1.
void ACF_draw_plane(int n, int mode);

// One exhaust flame whose nozzle centre is at (x, y, z), pointing along +z
// after the turns by pitch about (-1, 0, 0) and yaw about (0, 1, 0), with
// the flame texture `slot`. For a tip-rocket engine e (type 7) of plane n
// the flame sits at the tip of the blade turned by `roll`; e = -1 is a flame
// of no engine (the take-off rocket). Strength 0..1 scales its alpha. Leaves
// the flame's GL state set and face culling on.
void ACF_draw_flame(int slot, int n, int e, float x, float y, float z, float pitch, float yaw, float roll,
                    float length, float radius, float strength);

// One force of the user's aircraft in newtons at (x, y, z): for an engine
// (p < 8) one line, for wing element e of part p its three components in the
// element's frame turned by its angle of attack.
void ACF_draw_force_vector(float x, float y, float z, float fx, float fy, float fz, int p, int e, bool highlight);

// The weapon of slot w of plane n at its own position and attitude in the
// scene; with in_aircraft_frame non-zero the current matrix is plane n's
// aircraft frame and is first taken back to the scene. Uses the caller's
// GL state.
void ACF_draw_weapon(int n, int w, int in_aircraft_frame);

// Plane 0 alone, gear down, inside the screen rectangle (x1, y1)..(x2, y2)
// (interface units) with its own projection, light and fog; the 2-D screen
// projection is restored afterwards.
void ACF_draw_preview(float x1, float y1, float x2, float y2);
