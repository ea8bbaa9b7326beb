#include "screens/weather_text.h"

#include <cmath>
#include <cstring>

#include "core/simvars/weather.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "screens/screen_layout.h"

void SETUP_visibility_text(float visibility_nm, char* out)
{
    const float v = std::isfinite(visibility_nm) && visibility_nm > 0.0f ? visibility_nm : 0.0f;
    char digits[TEXT_SIZE];
    UTIL_int_to_text(SCREEN_int(v * 10.0f), digits, 1);
    const size_t n = std::strlen(digits);
    std::memcpy(out, digits, n - 1);
    out[n - 1] = '.';
    out[n] = digits[n - 1];
    out[n + 1] = 0;
    const float bands[] = {0.5f, 1.0f, 2.0f, 3.0f, 5.0f, 7.0f, 10.0f};
    int entry = 224;
    for (int k = 0; k < 7; ++k)
        if (v < bands[k]) {
            entry = 217 + k;
            break;
        }
    UTIL_strcat(out, LANG_ui_text(entry));
}

void SETUP_weather_word(float value, int first, char* out)
{
    int step = 4;
    if (value > 0.8f) step = 0;
    else if (value > 0.6f) step = 1;
    else if (value > 0.4f) step = 2;
    else if (value > WEATHER_SHARE_NONE) step = 3;
    UTIL_strcpy(LANG_ui_text(first + step), out);
}

void SETUP_change_word(float value, char* out)
{
    int entry = 239;
    if (value > 0.5f) entry = 235;
    else if (value > 0.1f) entry = 236;
    else if (value > -0.1f) entry = 237;
    else if (value > -0.5f) entry = 238;
    UTIL_strcpy(LANG_ui_text(entry), out);
}
