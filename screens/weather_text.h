// The value texts of the weather controls and the zulu time the date screens
// keep in step with the local time.
#pragma once

// Visibility in nautical miles as the slider shows it: the tenths cut toward
// zero with the point before the last digit and no leading zero (0.45 gives
// ".4"), followed by the word for its band (UI texts 217 to 224).
void SETUP_visibility_text(float visibility_nm, char* out);
// The word for a 0..1 value: UI text `first` when above 0.8, first + 1 above
// 0.6, + 2 above 0.4, + 3 above 0.2, else + 4.
void SETUP_weather_word(float value, int first, char* out);
// The word for the rate of change, -1..1 (UI texts 235 to 239).
void SETUP_change_word(float value, char* out);
// The zulu time (seconds, 0..86400) of a local time at a longitude (degrees,
// east positive) with a correction (hours) added to the longitude's zone.
float SETUP_zulu_time(float local_sec, float zone_offset_hours, float longitude_deg);
