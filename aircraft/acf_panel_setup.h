// What the user's aircraft brings to the cockpit: display values, the panel
// equipment that depends on which instruments the panel carries, the panel
// images of the nine cockpit views and the engine, propeller and warning
// sounds. Run by the aircraft set-up for slot 0 only, after the textures.
//
// Reads pln[0]: acf_file_path, acf_size_x, acf_size_z, acf_m_max,
// acf_cockpit_type, the 200 instrument slots, acf_num_engines, acf_en_type,
// acf_prop_type, acf_HUD_delx, acf_HUD_dely. Writes: visibility_scale,
// acf_HUD_type, acf_HUD_cntrx and acf_HUD_cntry
// (the window's centre when the file leaves them at 0, 0), the six equipment
// flags, sim_cockpit_misc.lever_gang_x, has_view_bitmap, the view images
// (view_image_buffers, through the shared pixel buffer), sound slots 0..58.
#pragma once

#include <cstdint>

constexpr int ACF_VIEW_BITMAPS = 9;
constexpr int ACF_COCKPIT_TYPES_BUILT_IN = 8;   // built-in forward panels, by acf_cockpit_type
constexpr int ACF_PROP_SOUND_FIRST = 8;         // sound slots 8..15: propellers of engines 0..7
constexpr int ACF_FIXED_SOUND_FIRST = 16;       // sound slots 16..58: the fixed sounds
constexpr int ACF_FIXED_SOUNDS = 43;
// The head-up display's centre of an aircraft whose file leaves it unset: the
// middle of the 1024 x 768 interface area.
constexpr float UNSET_HUD_CENTRE_X = 512.0f;
constexpr float UNSET_HUD_CENTRE_Y = 384.0f;

extern float visibility_scale;                         // aircraft size per weight, for the view distance
extern int32_t auto_fea_EQ, battery_EQ, avionics_EQ;   // equipment present on the panel (0 or 1)
extern int32_t generator_EQ, inverter_eq, fuel_pump_EQ;
extern int32_t has_view_bitmap[ACF_VIEW_BITMAPS];      // the aircraft's own bitmap of the view was loaded

// The kinds of head-up display (acf_HUD_type): none; one whose symbols stand
// over the picture, with the deviation bars; one that also draws lines on the
// world (runway outlines, approach brackets, the terrain ahead) in place of
// the bars.
constexpr int32_t HUD_KIND_NONE = 0;
constexpr int32_t HUD_KIND_SYMBOLS = 1;
constexpr int32_t HUD_KIND_WORLD = 2;
extern int32_t acf_HUD_type;                           // the user's aircraft's head-up display kind

// Display values, equipment flags, lever columns and the nine panel images.
void ACF_setup_panel(int slot);
// The engine and propeller sounds of the engines in service and the 43 fixed
// sounds, between stopping and restarting the looping sounds.
void ACF_setup_sounds(int slot);

// The sound calls the set-up makes (the sound layer's by default; tests put a
// recorder in their place).
struct acf_sound_calls {
    void (*load_wav)(int slot, const char* file_name);
    void (*start_stop_loops)(int on);
};
extern acf_sound_calls acf_sounds;
