// The ATC state block, the callsign text and the helpers the ATC modules share.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars/screen_settings.h"
#include "links/speech.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"

atc_state_block atc_state = {};
char atc_callsign_text[TEXT_SIZE] = {};
atc_menu_record atc_menu = {};
atc_request_record atc_request = {};
atc_clearance_record atc_clearance = {0.0, ATC_FAR_FUTURE, 0};
atc_broadcast_record atc_broadcast{};

void ATC_reset_block()
{
    atc_state = atc_state_block{};
    std::memset(atc_callsign_text, 0, sizeof atc_callsign_text);
    atc_menu = atc_menu_record{};
    atc_request = atc_request_record{};
    atc_clearance = atc_clearance_record{0.0, ATC_FAR_FUTURE, 0};
    atc_broadcast = atc_broadcast_record{};
}
ORVELL_RESET(ATC_reset_block, program);

void ATC_reset_for_start()
{
    atc_state.atc_window_open = 0;
    atc_state.atc_request_pending = 0;
    atc_state.atc_plan_filed = 0;
    atc_state.atc_plan_active = 0;
    std::memset(atc_callsign_text, 0, sizeof atc_callsign_text);
}
ORVELL_RESET(ATC_reset_for_start, flight);

void ATC_zero_state_block() { atc_state = atc_state_block{}; }

void ATC_set_start_defaults(const char* aircraft_file_name)
{
    // The other box of each pair is cleared with it: the pairs are exclusive.
    atc_state.atc_plan_option1 = 1;
    atc_state.atc_plan_option2 = 0;
    atc_state.atc_plan_sir = 1;
    atc_state.atc_plan_madam = 0;
    std::memset(atc_state.atc_plan_from_id, 0, sizeof atc_state.atc_plan_from_id);
    std::memset(atc_state.atc_plan_to_id, 0, sizeof atc_state.atc_plan_to_id);
    std::memcpy(atc_state.atc_plan_from_id, "KMMM", 4);
    std::memcpy(atc_state.atc_plan_to_id, "KMMM", 4);
    // The file name less its extension, ended at its first blank.
    std::memset(atc_callsign_text, 0, sizeof atc_callsign_text);
    if (!aircraft_file_name) return;
    size_t n = strnlen(aircraft_file_name, TEXT_MAX_LEN);
    n = n > 4 ? n - 4 : 0;
    size_t k = 0;
    while (k < n && aircraft_file_name[k] != ' ') {
        atc_callsign_text[k] = aircraft_file_name[k];
        ++k;
    }
    atc_callsign_text[k] = 0;
}

int atc_trunc(double x)
{
    if (!std::isfinite(x)) return 0;
    if (x > 1.0e9) return 1000000000;
    if (x < -1.0e9) return -1000000000;
    return static_cast<int>(x);
}

int atc_round(double x)
{
    if (!std::isfinite(x)) return 0;
    return atc_trunc(std::round(x));
}

int atc_random(int n) { return static_cast<int>((static_cast<int64_t>(UTIL_rand()) * n) / 32768); }

double atc_chance() { return static_cast<double>(UTIL_rand()) / 32767.0; }

void atc_append_int(char* out, int value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    UTIL_strcat(out, digits);
}

void atc_append_pressure(char* out, double inhg)
{
    // A non-finite pressure would make the rounding's integer cast undefined; it reads as 0.
    if (!std::isfinite(inhg)) inhg = 0.0;
    // The pressure unit option: non-zero asks for hectopascal.
    if (screen_settings.pressure_units_metric == 0) {
        const int n = atc_round(inhg * 100.0);
        char digits[24];
        std::snprintf(digits, sizeof digits, "%s%d.%02d", n < 0 ? "-" : "", std::abs(n) / 100, std::abs(n) % 100);
        UTIL_strcat(out, "ALTIMETER ");
        UTIL_strcat(out, digits);
    } else {
        UTIL_strcat(out, "AREA QNH ");
        atc_append_int(out, atc_round(inhg * static_cast<double>(UNIT.inhg_to_mb)));
    }
}

void atc_append_squawk(char* out)
{
    for (int k = 0; k < 4; ++k) {
        if (k) UTIL_strcat(out, " ");
        const char d[2] = {static_cast<char>('0' + atc_random(8)), 0};
        UTIL_strcat(out, d);
    }
}

const airport_record* atc_airport(int index)
{
    if (index < 0 || index >= static_cast<int>(airport_table.size())) return nullptr;
    return &airport_table[static_cast<size_t>(index)];
}

const navaid_record* atc_navaid(int index)
{
    if (index < 0 || index >= static_cast<int>(navaid_table.size())) return nullptr;
    return &navaid_table[static_cast<size_t>(index)];
}

bool atc_airport_point(int index, float& lat, float& lon)
{
    const airport_record* a = atc_airport(index);
    if (!a || a->runways.empty()) return false;
    lat = a->runways[0].lat;
    lon = a->runways[0].lon;
    return true;
}

void atc_copy_name(const char* src, int size, char* out)
{
    out[0] = 0;
    if (!src) return;
    const size_t n = strnlen(src, static_cast<size_t>(size < TEXT_SIZE ? size : TEXT_MAX_LEN));
    std::memcpy(out, src, n);
    out[n] = 0;
}

namespace {

// Spelling words whose written name the voice would say wrongly, and the
// spelling it is given instead. The screen shows the names.
struct voice_spelling {
    const char* name;
    const char* spoken;
};
constexpr voice_spelling VOICE_SPELLINGS[] = {{"LIMA", "LEEMA"}, {"ZULU", "ZOOLOO"}};

bool letter(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

void atc_spoken_text(const char* text, char* out)
{
    out[0] = 0;
    if (!text) return;
    const char* t = text;
    size_t n = 0;
    while (*t && n < TEXT_MAX_LEN) {
        const voice_spelling* hit = nullptr;
        if (t == text || !letter(t[-1]))
            for (const voice_spelling& v : VOICE_SPELLINGS) {
                const size_t len = std::strlen(v.name);
                if (std::strncmp(t, v.name, len) == 0 && !letter(t[len])) hit = &v;
            }
        if (hit) {
            for (const char* c = hit->spoken; *c && n < TEXT_MAX_LEN; ++c) out[n++] = *c;
            t += std::strlen(hit->name);
        } else {
            out[n++] = *t++;
        }
    }
    out[n] = 0;
}

void atc_speak(const char* text)
{
    // The voice is given its spelling of the words it would say wrongly; the
    // text shown (and said again on request) keeps their names.
    char spoken[TEXT_SIZE];
    atc_spoken_text(text, spoken);
    SOUND_speak(spoken, 1);
    UTIL_strcpy(text ? text : "", speech_text);
}
