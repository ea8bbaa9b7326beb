// The settings screens (one frame each, modes 1 to 24), the operator panel
// and the planet constants.
#pragma once

void SETUP_credits();
// The fifteen lines of the credits page.
constexpr int CREDIT_LINE_COUNT = 15;
const char* const* SETUP_credit_lines();
// The date, time, weather and airport body of screens 2, 8, 9 and 13 (`id`).
void SETUP_date_weather_airport(int id);
void SETUP_airport_select();
void SETUP_network();
void SETUP_joystick_equipment();
void SETUP_sound();
void SETUP_rendering_language();
void SETUP_movie();
void SETUP_weather();
void SETUP_date_time();
void SETUP_weight_fuel();
// Hours the fuel in the tanks lasts at the engines' cruise burn (999.9 when
// the engines burn nothing).
float ENGN_fuel_endurance();
void SETUP_failures();
// One row of the failures screen: the state pop-up of failure slot `failure`
// at (x, y) with the row's caption, and the trigger value for states 1 to 4.
// Returns what the last widget drawn returned.
int setfailsit(int failure, float x, float y, const char* caption);
void SETUP_operation_prefs();
void SETUP_time_weather_airport();
void SETUP_aircraft_paths();
// The name an aircraft path shows in its field: the text after the last '\'
// or ':' past the path's first character (the whole path when there is none).
void SETUP_display_name_of_path(const char* path, char* out);
void SETUP_flight_path_3d();
void SETUP_globe();
void SETUP_data_graph();
void SETUP_logbook();
void SETUP_text_pages();
void SETUP_planet();
void SETUP_flight_plan();
// The flight plan's cruise speed (knots): Vne x 0.67 by the first engine's kind.
int SETUP_flight_plan_cruise_speed();
// The flight-plan message the flight plan screen shows (TEXT_SIZE bytes).
void SETUP_flight_plan_message(char* text);

// Draws and polls the operator button panel; -999 is its per-frame call for
// screens 15, 18 and 23; the map keys call it with 0..3 to pan north, south,
// west or east and 4, 5 to zoom in or out.
void OPERATOR_panel(int command);

// PLANET_set_constants, which the planet screen's presets run, is core's
// (core/constants.h).
