#include "shell/world_textures.h"

#include <GL/gl.h>

#include <iterator>
#include <vector>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "graphics/ogl_tex.h"
#include "links/plugin_host.h"
#include "core/alert.h"
#include "shell/modes.h"
#include "core/random.h"
#include "core/screen.h"
#include "core/simvars/graphics.h"
#include "core/text_util.h"
#include "core/texture_slots.h"
#include "world/apt_scene.h"

world_textures_state world_textures;

void WORLD_textures_reset() { world_textures = world_textures_state{}; }

void WORLD_textures_lights_loaded()
{
    world_textures.lights_res = screen.rendering_res;
    world_textures.lights_uploads = texture_uploads[TEX_SLOT_LIGHTS];
}

namespace {

struct slot_file {
    int slot;
    const char* name;
    int type;
};

// The paved runway pictures: slot TEX_SLOT_PAVED_FIRST + 2k under ASPHALT, the next one under CONCRETE.
const char* const paved_names[] = {
    "RWAY_BLAS.BMP", "RWAY_DIS1.BMP", "RWAY_DIS2.BMP", "RWAY_DIS3.BMP", "RWAY_THR1.BMP", "RWAY_THR2.BMP",
    "NUMBERS:RWAY_L.BMP", "NUMBERS:RWAY_C.BMP", "NUMBERS:RWAY_R.BMP", "NUMBERS:RWAY_SPACE.BMP",
    "NUMBERS:RWAY_1.BMP", "NUMBERS:RWAY_2.BMP", "NUMBERS:RWAY_3.BMP", "NUMBERS:RWAY_4.BMP",
    "NUMBERS:RWAY_5.BMP", "NUMBERS:RWAY_6.BMP", "NUMBERS:RWAY_7.BMP", "NUMBERS:RWAY_8.BMP",
    "NUMBERS:RWAY_9.BMP", "NUMBERS:RWAY_10.BMP", "NUMBERS:RWAY_11.BMP", "NUMBERS:RWAY_12.BMP",
    "NUMBERS:RWAY_13.BMP", "NUMBERS:RWAY_14.BMP", "NUMBERS:RWAY_15.BMP", "NUMBERS:RWAY_16.BMP",
    "NUMBERS:RWAY_17.BMP", "NUMBERS:RWAY_18.BMP", "NUMBERS:RWAY_19.BMP", "NUMBERS:RWAY_20.BMP",
    "NUMBERS:RWAY_21.BMP", "NUMBERS:RWAY_22.BMP", "NUMBERS:RWAY_23.BMP", "NUMBERS:RWAY_24.BMP",
    "NUMBERS:RWAY_25.BMP", "NUMBERS:RWAY_26.BMP", "NUMBERS:RWAY_27.BMP", "NUMBERS:RWAY_28.BMP",
    "NUMBERS:RWAY_29.BMP", "NUMBERS:RWAY_30.BMP", "NUMBERS:RWAY_31.BMP", "NUMBERS:RWAY_32.BMP",
    "NUMBERS:RWAY_33.BMP", "NUMBERS:RWAY_34.BMP", "NUMBERS:RWAY_35.BMP", "NUMBERS:RWAY_36.BMP",
    "NUMBERS:RWAY_SEMI.BMP", "RWAY_FDMK.BMP", "RWAY_TDZ1.BMP", "RWAY_TDZ2.BMP", "RWAY_TDZ3.BMP",
    "RWAY_TURN.BMP", "RWAY_PAVE.BMP",
};
static_assert(std::size(paved_names) == 53);

// The other runway pictures, in load order.
const slot_file other_runway_files[] = {
    {TEX_SLOT_LINE_ASPHALT, "RUNWAYS:ASPHALT:RWAY_LINE.BMP", TEX_RGB},
    {TEX_SLOT_LINE_CONCRETE, "RUNWAYS:CONCRETE:RWAY_LINE.BMP", TEX_RGB},
    {TEX_SLOT_LATERAL_BLAST_LEFT_ASPHALT, "RUNWAYS:ASPHALT:RWAY_LAT_L_BLAST.BMP", TEX_RGB},
    {TEX_SLOT_LATERAL_BLAST_LEFT_CONCRETE, "RUNWAYS:CONCRETE:RWAY_LAT_L_BLAST.BMP", TEX_RGB},
    {TEX_SLOT_LATERAL_BLAST_RIGHT_ASPHALT, "RUNWAYS:ASPHALT:RWAY_LAT_R_BLAST.BMP", TEX_RGB},
    {TEX_SLOT_LATERAL_BLAST_RIGHT_CONCRETE, "RUNWAYS:CONCRETE:RWAY_LAT_R_BLAST.BMP", TEX_RGB},
    {TEX_SLOT_LINE_GRASS, "RUNWAYS:GRASS:RWAY_LINE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_LINE_DIRT, "RUNWAYS:DIRT:RWAY_LINE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_LINE_GRAVEL, "RUNWAYS:GRAV:RWAY_LINE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_LINE_LAKEBED, "RUNWAYS:LAKEBED:RWAY_LINE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_THRESHOLD_GRASS, "RUNWAYS:GRASS:RWAY_THR1.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_THRESHOLD_DIRT, "RUNWAYS:DIRT:RWAY_THR1.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_THRESHOLD_GRAVEL, "RUNWAYS:GRAV:RWAY_THR1.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_THRESHOLD_LAKEBED, "RUNWAYS:LAKEBED:RWAY_THR1.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_HELIPAD_ASPHALT, "RUNWAYS:ASPHALT:HELIPAD.BMP", TEX_RGB},
    {TEX_SLOT_HELIPAD_CONCRETE, "RUNWAYS:CONCRETE:HELIPAD.BMP", TEX_RGB},
    {TEX_SLOT_HELIPAD_GRASS, "RUNWAYS:GRASS:HELIPAD.BMP", TEX_KEY},
    {TEX_SLOT_HELIPAD_DIRT, "RUNWAYS:DIRT:HELIPAD.BMP", TEX_KEY},
    {TEX_SLOT_SKIDS, "RUNWAYS:SKIDS.BMP", TEX_BRIGHT},
};

// The world group before the cirrus slot, and after it, in load order.
const slot_file world_files_first[] = {
    {TEX_SLOT_BUILDINGS, "WORLD:BUILDINGS:BUILDINGS.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_BUILDINGS_LIT, "WORLD:BUILDINGS:BUILDINGS_LIT.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_DECK, "WORLD:BUILDINGS:DECK.BMP", TEX_RGB},
    {TEX_SLOT_SURFACES, "WORLD:BUILDINGS:SURFACES.BMP", TEX_RGB},
    {TEX_SLOT_CARS, "WORLD:ROADS:CARS.BMP", TEX_RGB},
    {TEX_SLOT_PERSON, "WORLD:PERSON.BMP", TEX_RGB},
    {TEX_SLOT_HITS_1, "WORLD:HITS1.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_HITS_2, "WORLD:HITS2.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_CHUTE, "WORLD:CHUTE.BMP", TEX_RGB_MIPMAP},
};
const slot_file world_files_second[] = {
    {TEX_SLOT_CUMULUS, "WORLD:CLOUDS:CLD_CUMULUS.BMP", TEX_BRIGHT},
    {TEX_SLOT_FIRE, "WORLD:FIRE:FIRE.BMP", TEX_BRIGHT},
    {TEX_SLOT_FLAME_BURNER_FAST, "WORLD:FIRE:FLAME_BURNER_FAST.BMP", TEX_BRIGHT},
    {TEX_SLOT_FLAME_BURNER_SLOW, "WORLD:FIRE:FLAME_BURNER_SLOW.BMP", TEX_BRIGHT},
    {TEX_SLOT_FLAME_ROCKET_LIQUID, "WORLD:FIRE:FLAME_ROCKET_LIQ.BMP", TEX_BRIGHT},
    {TEX_SLOT_FLAME_ROCKET_SOLID, "WORLD:FIRE:FLAME_ROCKET_SOL.BMP", TEX_BRIGHT},
    {TEX_SLOT_WINDOW_DAMAGE, "WORLD:OVERLAYS:WINDAMAGE.BMP", TEX_BRIGHT_MIPMAP},
    {TEX_SLOT_BLOWING_SNOW, "WORLD:OVERLAYS:BSNOW.BMP", TEX_BRIGHT_MIPMAP},
    {TEX_SLOT_FENCE, "WORLD:OVERLAYS:FENCE.BMP", TEX_BRIGHT_MIPMAP},
    {TEX_SLOT_LIGHTS, "WORLD:OVERLAYS:LIGHTS.BMP", TEX_BRIGHT},
    {TEX_SLOT_PROP_DISC, "WORLD:OVERLAYS:PROP_DISC.BMP", TEX_BRIGHT},
    {TEX_SLOT_SMOKE, "WORLD:OVERLAYS:SMOKE.BMP", TEX_BRIGHT},
    {TEX_SLOT_WAKE, "WORLD:OVERLAYS:WAKE.BMP", TEX_BRIGHT},
    {TEX_SLOT_LANDING_LIGHT, "WORLD:OVERLAYS:LANDING LIGHT.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_ICE, "WORLD:OVERLAYS:ICE.BMP", TEX_BRIGHT},
    {TEX_SLOT_SCRATCHES, "WORLD:OVERLAYS:SCRATCHES.BMP", TEX_BRIGHT},
};
constexpr int MOON_PHASES = TEX_SLOT_MOON_LAST - TEX_SLOT_MOON_FIRST + 1;
const slot_file world_files_third[] = {
    {TEX_SLOT_MOVIE, "WORLD:MOVIE.BMP", TEX_RGB_MIPMAP},
    {TEX_SLOT_HIGHWAY, "WORLD:ROADS:HIGHWAY.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_HIGHWAY_BRIDGE, "WORLD:ROADS:HIGHWAY_BRIDGE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TRAIL, "WORLD:ROADS:TRAIL.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TRAIL_BRIDGE, "WORLD:ROADS:TRAIL_BRIDGE.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_RAILROAD, "WORLD:ROADS:RAILROAD.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_RAILROAD_BRIDGE, "WORLD:ROADS:RAILROAD_BRIDGE.BMP", TEX_KEY_MIPMAP},
};

const slot_file tree_files[] = {
    {TEX_SLOT_TREE_SIDE, "WORLD:TREES:TREE_SIDE.BMP", TEX_BRIGHT_MIPMAP},
    {TEX_SLOT_TREES_FIRST, "WORLD:TREES:TREE1_0_0.BMP", TEX_BRIGHT_MIPMAP},
    {TEX_SLOT_TREES_FIRST + 1, "WORLD:TREES:TREE1_1_0.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TREES_FIRST + 2, "WORLD:TREES:TREE1_2_0.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TREES_FIRST + 3, "WORLD:TREES:TREE1_3_0.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TREES_FIRST + 4, "WORLD:TREES:TREE1_4_0.BMP", TEX_KEY_MIPMAP},
    {TEX_SLOT_TREES_FIRST + 5, "WORLD:TREES:TREE1_5_0.BMP", TEX_KEY_MIPMAP},
};

int load(int slot, const char* name, int type, int& width, int& height)
{
    return OGL_load_tex_file(LOAD_TEXTURE, slot, type, name, width, height);
}

void load(const slot_file& f)
{
    int w = 0, h = 0;
    load(f.slot, f.name, f.type, w, h);
}

// Whether the slot still holds the light sprites the start-up loaded at the
// present resolution (nothing has been uploaded into it since). Such a slot
// is not loaded again: it already holds what the load would put there, so
// the result is the same, and a start-up saves one image.
bool lights_current(int slot)
{
    const world_textures_state& s = world_textures;
    return slot == TEX_SLOT_LIGHTS && s.lights_res == screen.rendering_res &&
           s.lights_uploads == texture_uploads[TEX_SLOT_LIGHTS];
}

template <size_t N>
void load_all(const slot_file (&files)[N])
{
    for (const slot_file& f : files)
        if (!lights_current(f.slot)) load(f);
}

void load_planet_pair(int planet)
{
    int w = 0, h = 0;
    load(TEX_SLOT_PLANET_1, planet == 1 ? "MARS1.BMP" : "EARTH1.BMP", TEX_RGB, w, h);
    load(TEX_SLOT_PLANET_2, planet == 1 ? "MARS2.BMP" : "EARTH2.BMP", TEX_RGB, w, h);
}

void load_runways()
{
    char name[TEXT_SIZE];
    int w = 0, h = 0;
    for (int k = 0; k < static_cast<int>(std::size(paved_names)); ++k) {
        UTIL_strcat3("RUNWAYS:ASPHALT:", paved_names[k], name);
        load(TEX_SLOT_PAVED_FIRST + 2 * k, name, TEX_RGB, w, h);
        UTIL_strcat3("RUNWAYS:CONCRETE:", paved_names[k], name);
        load(TEX_SLOT_PAVED_FIRST + 2 * k + 1, name, TEX_RGB, w, h);
    }
    load_all(other_runway_files);
}

void load_world_group()
{
    load_all(world_files_first);

    // One of four cirrus pictures, chosen anew at every full load.
    world_textures.cirrus_number = UTIL_rand() * 4 / (UTIL_RAND_MAX + 1) + 1;
    char name[TEXT_SIZE];
    char digit[TEXT_SIZE];
    UTIL_int_to_text(world_textures.cirrus_number, digit, 1);
    UTIL_strcat3("WORLD:CLOUDS:CLD_CIRRUS", digit, name);
    UTIL_strcat(name, ".BMP");
    int w = 0, h = 0;
    load(TEX_SLOT_CIRRUS, name, TEX_BRIGHT, w, h);

    load_all(world_files_second);
    for (int n = 1; n <= MOON_PHASES; ++n) {
        UTIL_int_to_text(n, digit, 2);
        UTIL_strcat3("WORLD:MOON:MOON", digit, name);
        UTIL_strcat(name, ".BMP");
        load(TEX_SLOT_MOON_FIRST + n - 1, name, TEX_BRIGHT, w, h);
    }
    load_all(world_files_third);
}

// The riverbank picture, then in its slot the land-use border: a one-channel
// mask made from the picture's alpha.
void load_riverbank_and_border()
{
    int w = 0, h = 0;
    load(TEX_SLOT_RIVERBANK, "WORLD:ROADS:RIVERBANK.BMP", TEX_BRIGHT, w, h);
    if (w > WORLD_RIVERBANK_MAX || h > WORLD_RIVERBANK_MAX) {
        MACIBM_nuke_alert(0, "OOPS!", "RIVERBANK TEXTURE CANNOT EXCEEED 256X256!", "", "", ALERT_FATAL);
        return;
    }
    // A picture that failed to load left no texels to make the mask from.
    if (w < 1 || h < 1) return;

    std::vector<uint8_t> mask(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = pixel_buffer[i * 4 + 3];
    OGL_load_tex("LAND-USE BORDER", TEX_SLOT_RIVERBANK, 0, GL_ALPHA, w, h, mask.data());
    OGL_mini_me("LAND-USE BORDER", TEX_SLOT_RIVERBANK, TEX_RGB_MIPMAP, GL_ALPHA, w, h, mask.data());
}

}  // namespace

void WORLD_load_textures()
{
    world_textures_state& s = world_textures;
    const int32_t res = screen.rendering_res;
    const int32_t planet = sim_graphics_scenery.current_planet;

    if (!s.started) {
        s.previous_res = res;
        s.started = 1;
    }

    if (res != s.previous_res) {
        // Every aircraft is loaded again at the new texture size, and the flight starts again.
        // The plane count comes from the preferences and the plug-ins: a count
        // above the aircraft table's size would load past its last slot.
        const int planes = PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 0);
        for (int i = 0; i < planes && i < ACF_SLOTS; ++i) ACF_load_and_setup(i);
        if (app_mode != MODE_FLYING)
            APPLICATION_set_mode(MODE_FLYING,
                                 "so we initflt to window 0 as needed for flying, notinit with a subwindow up, "
                                 "which would set our background and stuff up for the in-cockpit view with a "
                                 "sub-window still in place!");
        APT_build_scene(1);
        FLIGHT_init_situation(408, 401);
    }

    if (res != s.last_res || planet != s.last_planet) load_planet_pair(planet);

    if (res != s.last_res) {
        load_runways();
        load_world_group();
        int w = 0, h = 0;
        load(TEX_SLOT_TAXILINE, "RUNWAYS:TAXILINE.BMP", TEX_RGB, w, h);
        load_riverbank_and_border();
    }

    if (res != s.last_res || planet != s.last_planet) load_all(tree_files);

    s.last_planet = planet;
    s.last_res = res;
    s.previous_res = res;
}
