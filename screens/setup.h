// The settings screens (one frame each, modes 1 to 24), the operator panel
// and the planet constants.
#pragma once

void SETUP_credits();
// The fifteen lines of the credits page.
constexpr int CREDIT_LINE_COUNT = 15;
const char* const* SETUP_credit_lines();
void SETUP_airport_select();
void SETUP_network();
void SETUP_joystick_equipment();
void SETUP_sound();
void SETUP_rendering_language();
void SETUP_movie();
void SETUP_weather();
void SETUP_date_time();
void SETUP_weight_fuel();
void SETUP_failures();
void SETUP_operation_prefs();
void SETUP_time_weather_airport();
void SETUP_aircraft_paths();
void SETUP_flight_path_3d();
void SETUP_globe();
void SETUP_data_graph();
void SETUP_logbook();
void SETUP_text_pages();
void SETUP_planet();
void SETUP_flight_plan();

// Draws and polls the operator button panel; -999 is its per-frame call for
// screens 15, 18 and 23; 0..5 select its page.
void OPERATOR_panel(int page);

// Selects the planet (0 the Earth, 1 Mars) and loads its physical constants.
void PLANET_set_constants(int planet);
