// Stand-in of the settings screens until they are built: each call is recorded.
#include "screens/setup.h"

#include <string>

#include "screens/calls_standin.h"

void SETUP_airport_select() { screens_standin_calls.push_back("SETUP_airport_select()"); }
void SETUP_rendering_language() { screens_standin_calls.push_back("SETUP_rendering_language()"); }
void SETUP_weather() { screens_standin_calls.push_back("SETUP_weather()"); }
void SETUP_date_time() { screens_standin_calls.push_back("SETUP_date_time()"); }
void SETUP_weight_fuel() { screens_standin_calls.push_back("SETUP_weight_fuel()"); }
void SETUP_failures() { screens_standin_calls.push_back("SETUP_failures()"); }
void SETUP_operation_prefs() { screens_standin_calls.push_back("SETUP_operation_prefs()"); }
void SETUP_time_weather_airport() { screens_standin_calls.push_back("SETUP_time_weather_airport()"); }
void SETUP_aircraft_paths() { screens_standin_calls.push_back("SETUP_aircraft_paths()"); }
void SETUP_flight_path_3d() { screens_standin_calls.push_back("SETUP_flight_path_3d()"); }
void SETUP_globe() { screens_standin_calls.push_back("SETUP_globe()"); }
void SETUP_logbook() { screens_standin_calls.push_back("SETUP_logbook()"); }
void SETUP_text_pages() { screens_standin_calls.push_back("SETUP_text_pages()"); }
void SETUP_planet() { screens_standin_calls.push_back("SETUP_planet()"); }
void SETUP_flight_plan() { screens_standin_calls.push_back("SETUP_flight_plan()"); }

void OPERATOR_panel(int page) { screens_standin_calls.push_back("OPERATOR_panel(" + std::to_string(page) + ")"); }
