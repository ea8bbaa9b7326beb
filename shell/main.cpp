#include "shell/main.h"

#include <cstdlib>
#include <cstring>

#include "aircraft/acf_choose.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "flightmodel/systems/logbook.h"
#include "links/hardware.h"
#include "links/joystick.h"
#include "links/movie.h"
#include "links/net_receive.h"
#include "links/network.h"
#include "links/plugin_host.h"
#include "links/shared_memory.h"
#include "links/sound.h"
#include "platform/plat_window.h"
#include "scene/scene_driver.h"
#include "scene/scene_origin_shift.h"
#include "core/datafile.h"
#include "shell/defaults.h"
#include "shell/display.h"
#include "core/folders.h"
#include "shell/cycle.h"
#include "shell/frame.h"
#include "core/geo.h"
#include "shell/modes.h"
#include "shell/prefs.h"
#include "core/replay.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "shell/startup.h"
#include "shell/startup_clock.h"
#include "shell/world_textures.h"
#include "world/apt_scene.h"
#include "world/objects.h"
#include "world/atc.h"
#include "world/landuse_grid.h"
#include "world/navdb.h"
#include "world/nav_lookup.h"
#include "graphics/loading_screen.h"
#include "core/alert.h"
#include "core/hooks.h"
#include "panel/instrument_pictures.h"
#include "panel/panel.h"
#include "scene/aircraft/acf_textures.h"
#include "scene/plane_range.h"
#include "scene/view_effects.h"
#include "shell/wndproc.h"
#include "shell/commands.h"
#include "shell/lang.h"
#include "shell/menus.h"
#include "shell/keys.h"
#include "shell/alert_box.h"
#include "shell/browser.h"

void* instance_handle = nullptr;
int32_t show_command = 0;
const char* startup_program_path = nullptr;
item_list terrain_list_table[TERRAIN_LIST_ROWS][TERRAIN_LISTS_PER_ROW];

namespace {

struct main_state_record {
    bool started = false;     // the start-up read the preferences and the logbook
    bool running = false;     // the main loop has begun
    bool quitting = false;    // the shut-down has begun
};
main_state_record main_state;

// The progress messages of the loaders.
constexpr const char* LOADING_DEFAULTS = "Setting up the simulation...";
constexpr const char* LOADING_PREFERENCES = "Reading the preferences...";
constexpr const char* LOADING_PILOT = "Reading the pilot preferences...";
constexpr const char* LOADING_AIRCRAFT = "Loading the aircraft...";
constexpr const char* LOADING_NAVIGATION = "Loading the navigation data...";
constexpr const char* LOADING_START_AIRPORT = "Finding the start airport...";
constexpr const char* LOADING_LOGBOOK = "Reading the logbook...";
constexpr const char* LOADING_JOYSTICKS = "Looking for joysticks...";
constexpr const char* LOADING_HARDWARE = "Opening the cockpit hardware...";
constexpr const char* LOADING_WORLD = "Loading the world textures...";
constexpr const char* LOADING_AIRPORTS = "Building the airports...";
constexpr const char* LOADING_FLIGHT = "Starting the flight...";


// The scenery tables an earlier start-up in this process loaded (a first
// start finds them empty): the objects, the airport scene and its lists, the
// land use of the terrain grid.
void clear_loaded_scenery()
{
    OBJ_clear_table();
    APT_scene_reset();
    std::memset(landuse_grid, 0, sizeof landuse_grid);
}

// The plane count comes from the preferences and the plug-ins. A count above the
// aircraft table's size would load past its last slot; the loop stops at the last slot.
void load_aircraft()
{
    ACF_load_and_setup(0);
    for (int i = 1; i < ACF_SLOTS && i < PLUGIN_call_num_planes(sim_graphics_settings.draw_aircrafts, 1); ++i)
        ACF_choose_and_load(i);
}

void preset_radios()
{
    sim_cockpit_radios.nav1_freq_hz = 11170;
    sim_cockpit_radios.nav2_freq_hz = 11170;
    sim_cockpit_radios.adf1_freq_hz = 210;
    sim_cockpit_radios.com1_freq_hz = 12100;
    sim_cockpit_radios.com2_freq_hz = 12100;
}

// Whether live weather reports are at hand: "metar.rwx" in the program folder,
// opened on input slot 0 and left open there.
void probe_live_weather()
{
    char path[TEXT_SIZE];
    UTIL_strcat3(program_folder, "metar.rwx", path);
    file_use_slot& slot = file_slots[0];
    slot.in.clear();
    if (slot.binary_buf.is_open()) slot.binary_buf.close();
    if (slot.text_buf.is_open()) slot.text_buf.close();
    slot.binary = 0;
    const bool opened = PLAT_open_filebuf(slot.binary_buf, path, std::ios::in);
    slot.in.rdbuf(&slot.binary_buf);
    if (!opened) slot.in.setstate(std::ios::failbit);
    sim_weather.has_real_weather_bool = opened ? 1 : 0;
}

}  // namespace

void LIST_construct(item_list& list)
{
    list.reserved = 0;
    list.count = 0;
    list.items = nullptr;
}

void LIST_clear(item_list& list) { list.count = 0; }

void LIST_destroy(item_list& list)
{
    list.count = 0;
    std::free(list.items);
    list.items = nullptr;
}

void TERRAIN_LISTS_destroy_all()
{
    for (int r = TERRAIN_LIST_ROWS - 1; r >= 0; --r)
        for (int k = TERRAIN_LISTS_PER_ROW - 1; k >= 0; --k) LIST_destroy(terrain_list_table[r][k]);
}

void TERRAIN_LISTS_static_init()
{
    for (auto& row : terrain_list_table)
        for (item_list& list : row) LIST_construct(list);
}

namespace {
// Builds the lists before the entry runs and releases their storage when the process ends.
struct terrain_lists_lifetime {
    terrain_lists_lifetime() { TERRAIN_LISTS_static_init(); }
    ~terrain_lists_lifetime() { TERRAIN_LISTS_destroy_all(); }
};
terrain_lists_lifetime terrain_lists_owner;
}  // namespace

bool APPLICATION_running() { return main_state.running; }
bool APPLICATION_started() { return main_state.started; }

void APPLICATION_install_hooks()
{
    // Every entry of the table from the target it names; a default argument
    // of a target (the panel's controls on the user's plane) is taken as the
    // call takes it.
#define CORE_HOOK_INSTALL(name, result, parameters, arguments, target) \
    core_hooks.name = [] parameters -> result { return target arguments; };
    CORE_HOOKS(CORE_HOOK_INSTALL)
#undef CORE_HOOK_INSTALL
    if (const char* empty = CORE_hook_left_empty()) CORE_hook_empty(empty);
}

void APPLICATION_start_up()
{
    // Every module's kept state at rest, as a first start in a fresh process
    // finds it (the registry's groups), before anything is loaded.
    RESET_all();
    main_state = main_state_record{};
    APPLICATION_install_hooks();

    clear_loaded_scenery();
    for (auto& row : terrain_list_table)
        for (item_list& list : row) LIST_clear(list);

    // A start-up after another in this process is timed from here. Its many
    // short loads show their progress a few times a second, not at each one.
    STARTUP_clock_begin();
    LOADING_pace_draws(true);
    STARTUP_clock_stage("init");
    APPLICATION_init();

    STARTUP_clock_stage("defaults");
    MACIBM_loading_screen(LOADING_DEFAULTS);
    SIM_init_defaults();
    MACIBM_loading_screen(LOADING_PREFERENCES);
    PREFS_read_write(PREFS_KIND_GENERAL, PREFS_READ, pref_path_general);
    MACIBM_loading_screen(LOADING_PILOT);
    PREFS_read_write(PREFS_KIND_PILOT, PREFS_READ, pref_path_pilot);
    STARTUP_clock_stage("aircraft");
    MACIBM_loading_screen(LOADING_AIRCRAFT);
    load_aircraft();
    if (screen_settings.preset_radios_option != 0) preset_radios();
    STARTUP_clock_stage("navigation");
    MACIBM_loading_screen(LOADING_NAVIGATION);
    NAV_load_databases();
    STARTUP_clock_stage("start airport");
    MACIBM_loading_screen(LOADING_START_AIRPORT);
    APT_find_start_airport();
    STARTUP_clock_stage("logbook and devices");
    MACIBM_loading_screen(LOADING_LOGBOOK);
    LOGBOOK_read();
    MACIBM_loading_screen(LOADING_JOYSTICKS);
    JOY_init();
    MACIBM_loading_screen(LOADING_HARDWARE);
    HARDWARE_open();
    STARTUP_clock_stage("world textures");
    MACIBM_loading_screen(LOADING_WORLD);
    WORLD_load_textures();
    STARTUP_clock_stage("scene");
    MACIBM_loading_screen(LOADING_AIRPORTS);
    APT_build_scene(1);

    STARTUP_clock_stage("flight");
    // The flight starts on the runway or on the ramp; the message shows before either.
    MACIBM_loading_screen(LOADING_FLIGHT);
    if (sim_operation_prefs.startup_on_ramp == 0) FLIGHT_init_situation(SIT_AIRPORT, SIT_RUNWAY);
    MACIBM_loading_screen(LOADING_FLIGHT);
    if (sim_operation_prefs.startup_on_ramp != 0) FLIGHT_init_situation(SIT_AIRPORT, SIT_RAMP);

    probe_live_weather();
    NET_init();

    STARTUP_clock_stage("first frames");
    if (screen_settings.show_start_screen != 0) app_mode = MODE_START_SCREEN;
    LOADING_pace_draws(false);
    APPLICATION_set_mode(app_mode, "ready to go");
    main_state.started = true;
}

void APPLICATION_run_frames()
{
    main_state.running = true;
    while (quit_flag == 0) MACIBM_do_frame();
}

bool APPLICATION_pacing_wanted()
{
    const char* off = std::getenv(NO_PACING_VARIABLE);
    return !(off && *off && std::strcmp(off, "0") != 0);
}

int APPLICATION_main(void* instance, void* previous_instance, const char* command_line, int show)
{
    (void)command_line;
    instance_handle = instance;
    show_command = show;
    if (previous_instance != nullptr) return 0;

    PLAT_set_frame_pacing(APPLICATION_pacing_wanted());

    // Outside programs may read the shared-memory area from the start.
    SHMEM_static_init();
    APPLICATION_start_up();
    APPLICATION_run_frames();
    MACIBM_quit();
    return 0;
}

void MACIBM_quit()
{
    // A fatal alert raised during the shut-down calls it again; running it a
    // second time would re-enter the steps that raised the alert without end.
    // The second call returns at once.
    if (main_state.quitting) return;
    main_state.quitting = true;
    ALERT_set_quitting(true);

    if (movie_recording != 0) MOVIE_finish();
    if (movie_keys_enabled != 0) MOVIE_exit_quicktime();
    PLUGIN_call_shutdown();
    // Without a window the display could not be set up with these preferences.
    // Writing them then would store the resolution that failed, and every later
    // start would fail the same way; the file keeps the reset the start-up wrote,
    // so the next start runs at the default resolution.
    if (PLAT_window_exists()) PREFS_read_write(PREFS_KIND_RESOLUTION, PREFS_WRITE, pref_path_resolution);
    OGL_set_display_mode(0);
    NET_close();
    SOUND_close_speech();
    JOY_close();
    HARDWARE_close(1);
    // The window itself goes with the process; from here on an alert can only
    // go to the message box.
    gl_ready = 0;
    FOLDERS_close_logs();
    main_state.running = false;
    main_state.started = false;   // a later start in this process loads the world anew
}

void MACIBM_fatal_exit()
{
    // The flight's settings and logbook outlive the fault that ends it: exiting
    // without saving them would lose the changed settings and the flight's
    // logbook entry. Before the start-up read them there is nothing of this run
    // to keep, and a quit under way has saved them already. The exit status is
    // a failure: status 0 would report the fatal end as a success.
    if (main_state.started && !main_state.quitting) APPLICATION_save_preferences_and_logbook();
    quit_flag = 1;
    MACIBM_quit();
    std::exit(EXIT_FAILURE);
}

void APPLICATION_abandon_start()
{
    quit_flag = 1;
    MACIBM_quit();
    std::exit(EXIT_SUCCESS);
}
