// The air-traffic-control radio: the pilot's request window, the controllers'
// answers, the clearances and hand-offs of a flight plan, the carrier's
// landing-signal calls, and the phrase builders they are assembled from.
// Every controller text is handed to SOUND_speak with its show flag.
//
// Texts are 500-byte buffers (at most 499 characters and a terminator); every
// builder appends with that bound.
#pragma once

#include "world/atc/atc_state.h"

// The request window: click 0 draws its contents (2-D projection, 1024 x 768
// layout), click non-zero acts on the highlighted row or entry.
void ATC_request_menu(int click);
// Answers one pilot request ("REQUEST VEC" + airport name, "WIN", "TAN", ...).
void ATC_handle_request(const char* request);
// The flight plan's controller phases; pilot_call 1 when the pilot checks in.
void ATC_clearance_and_handoffs(int pilot_call);
// The landing-signal officer's calls on a carrier approach (every 5 s).
void ATC_carrier_lso();
// The airport information broadcast of an airport into out.
void ATC_atis(int airport, char letter, char* out, int use_real_weather);
// The broadcast heard on the COM radio the audio panel selects (COM 2, or
// else COM 1): tuned to the ATIS frequency of an airport of the loaded area,
// the nearest such airport's ATIS, spoken and shown as a controller's text,
// and again each time the last text has been shown through (once a second).
void ATC_tuned_atis();

// Phrase builders.
void ATC_spell_char(char c, char* out);
void ATC_type_name(char* out, float altitude_ft);
void ATC_frequency_words(char* out, int whole_mhz, int hundredths);
void ATC_heading_words(char* out, int angle_deg, int step_deg);
void ATC_active_runway(int airport, int& runway, int& end, int& localizer_found, int& localizer_index,
                       int use_real_weather);
void ATC_runway_name(char* out, int airport, int use_real_weather);
void ATC_wind_phrase(char* out, int direction_deg, int speed_kt, int variation_deg, int gust_kt);
void ATC_callsign(char* out, int for_user);
int ATC_traffic_advisory(int allow_user, int allow_user_handoff);
