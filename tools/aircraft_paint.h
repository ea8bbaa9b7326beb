// The paint of the project's aircraft and weapons, drawn by code.
//
// An aircraft's paint follows the paint layout (scene/aircraft/paint_layout.h):
// the generator prepares the aircraft's model with the simulator's own mesh
// and layout code, so it knows where each part's texels land, and paints
// there. The colours come from the aircraft's description ("paint_..." keys,
// see read_scheme).
//
// Library of the command tools/gen_aircraft_paint (run by the data build) and
// of the tests, which also use its template mode: every layout rectangle in a
// flat colour of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "aircraft/wpn_slot.h"

namespace aircraft_paint {

struct rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const rgb&) const = default;
};

// A bitmap being painted: width x height texels; column s from the left, row t
// from the bottom (as the texture's s and t run and as a BMP file stores its rows).
class picture {
public:
    picture(int width, int height, rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int s, int t) const { return s >= 0 && t >= 0 && s < width_ && t < height_; }
    rgb get(int s, int t) const;
    void set(int s, int t, rgb c);
    // The texels s0 <= s < s1, t0 <= t < t1 (clipped to the picture).
    void fill(int s0, int t0, int s1, int t1, rgb c);
    const std::vector<rgb>& texels() const { return texels_; }

private:
    int width_, height_;
    std::vector<rgb> texels_;
};

// The colours of one aircraft, from the keys of its description:
//   paint_body, paint_wing, paint_trim (the cheatline), paint_detail
//   (propellers, hinge lines, the registration), paint_window: "r g b", 0..255;
//   paint_lit = 1 gives the aircraft lit paint (windows and logo light at night).
struct scheme {
    rgb body{236, 236, 232};
    rgb wing{222, 224, 226};
    rgb trim{30, 70, 160};
    rgb detail{48, 50, 56};
    rgb window{34, 44, 62};
    bool lit = false;
};

// Reads the aircraft's name (its "name" key) and its paint keys from the
// description at `path`; other keys are the aircraft's own and are passed
// over. False, with a message naming the line, for a bad paint value.
bool read_scheme(const std::string& path, std::string& name, scheme& out, std::string& error);

// Where a part's paint coordinates land: half-open texel boxes (s0 <= s < s1,
// t0 <= t < t1) on its bitmap (1 or 2). Its layout rectangle, the fuselage's
// and the nacelles' second side, the fins' lower side; none for a part whose
// rectangle is empty.
struct texel_box {
    int bitmap;
    int s0, t0, s1, t1;
};
std::vector<texel_box> part_boxes(int part);

// Template mode: black, with every part's boxes in the colour of its row of
// the layout table (one colour per row, all different).
rgb template_colour(int part);
void paint_template(picture& paint1, picture& paint2);

// Paint bitmaps 1 (1024 x 1024) and 2 (1024 x 256) of the aircraft in plane
// slot `plane`, whose model has been prepared (ACF_prepare_model): the
// scheme's colours by part, a cheatline at the fuselage's waterline with a
// darker belly, cockpit and cabin windows, hinge lines of the control
// surfaces, propeller tips, and the registration acf_tailnum on the aft
// fuselage, reading from left to right on both sides.
void paint_aircraft(int plane, const scheme& colours, picture& paint1, picture& paint2);
// The lit paint of the same bitmaps: black, the windows lit, and the fin
// lit by its logo light.
void paint_lit(int plane, picture& lit1, picture& lit2);

// A weapon's bitmap, WEAPON_SIDE texels square: its body's length across the
// left part, the first side of its section above, the second below, its fin
// pairs in their columns; colours by the weapon's kind.
constexpr int WEAPON_SIDE = 512;
void paint_weapon(const wpn_slot_record& weapon, picture& out);

// Writes the picture as a 24-bit BMP through the project's writer (a whole
// file or none); true when the file is in place.
bool write_bitmap(const std::string& path, const picture& p);

// The generator: in the program folder `folder` (ending in '/'), for each
// description the aircraft file it names is loaded and set up in plane slot 1
// as the simulator loads it, and its paint (and lit paint when the scheme asks
// for it; otherwise any old lit paint is removed) is written beside it; then
// every weapon file that a described aircraft names or that the program's
// weapon folder holds gets its bitmap. With `template_mode` the aircraft get
// template paint instead. Messages go to stderr; returns 0 when everything
// was written.
int run(const std::string& folder, const std::vector<std::string>& descriptions, bool template_mode);

}  // namespace aircraft_paint
