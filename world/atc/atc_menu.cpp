// The ATC request window: the main page of what the pilot can say, and the
// pick lists of airports and approach navaids of the loaded area.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "aircraft/acf_struct.h"
#include "core/app_mode.h"
#include "core/geo.h"
#include "core/input.h"
#include "core/random.h"
#include "core/hooks.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "links/speech.h"
#include "world/atc.h"
#include "world/atc/atc_internal.h"

namespace {

constexpr int COLOUR_PLAIN = 48;
constexpr int COLOUR_HIGHLIGHT = 86;
constexpr int MENU_FONT = 106;
constexpr float NO_WRAP = 9999.0f;
constexpr float ROW_TOP_Y = 737.0f;
constexpr float ROW_HEIGHT = 10.0f;
constexpr float COLUMN_WIDTH = 170.0f;
constexpr int LIST_COLUMNS = ATC_LIST_COLUMNS;
constexpr size_t LIST_NAME_CHARS = 27;
constexpr size_t PAR_NAME_CHARS = 8;
constexpr double LANDING_LIST_RADIUS = NM_TO_M_DOUBLE * 0.3;

float row_y(int row) { return ROW_TOP_Y - ROW_HEIGHT * static_cast<float>(row); }

// The start selection's airport, or null when its index is outside the table.
const airport_record* chosen_airport() { return atc_airport(start_selection.airport_index); }

void chosen_name(char* out)
{
    out[0] = 0;
    if (const airport_record* a = chosen_airport()) atc_copy_name(a->name, APT_NAME_SIZE, out);
}

void destination_name(char* out)
{
    out[0] = 0;
    if (const airport_record* a = atc_airport(atc_state.atc_dest_airport)) atc_copy_name(a->name, APT_NAME_SIZE, out);
}

void tail_number(char* out) { atc_copy_name(pln[0].acf_tailnum, static_cast<int>(sizeof pln[0].acf_tailnum), out); }

void track_highlight()
{
    atc_state_block& s = atc_state;
    const float x = mouse.mouse_x, y = mouse.mouse_y;
    if (!(std::isfinite(x) && std::isfinite(y))) return;
    if (std::fabs(x - atc_menu.atc_last_mouse[0]) > 0.5f || std::fabs(y - atc_menu.atc_last_mouse[1]) > 0.5f) {
        atc_menu.atc_last_mouse[0] = x;
        atc_menu.atc_last_mouse[1] = y;
        s.atc_hover_col = atc_trunc(std::floor((x - 6.0) / COLUMN_WIDTH));
        s.atc_hover_row = atc_trunc(std::floor((ROW_TOP_Y - y + 7.0) / ROW_HEIGHT));
    }
}

// The 29 row states and texts of the main page.
void build_rows(int states[ATC_MENU_ROWS], char texts[ATC_MENU_ROWS][TEXT_SIZE])
{
    const atc_state_block& s = atc_state;
    char t[TEXT_SIZE], here[TEXT_SIZE], dest[TEXT_SIZE];
    tail_number(t);
    chosen_name(here);
    destination_name(dest);
    for (int r = 0; r < ATC_MENU_ROWS; ++r) {
        states[r] = 0;
        texts[r][0] = 0;
    }
    auto with_tail = [&](int r, const char* rest) { UTIL_strcat3(t, rest, texts[r]); };
    const bool on_ground = flt[0].onground_all != 0;
    const bool filed = s.atc_plan_filed != 0, active = s.atc_plan_active != 0;

    UTIL_strcpy("FILE FLIGHT PLAN", texts[0]);
    states[0] = filed ? 0 : 2;
    UTIL_strcpy("AMEND FLIGHT PLAN", texts[1]);
    states[1] = filed ? 1 : 0;
    UTIL_strcpy("GET ATIS...", texts[2]);
    states[2] = 1;
    UTIL_strcpy("GET AWOS...", texts[3]);
    states[3] = 1;
    with_tail(5, " WOULD LIKE TO PICK UP MY FLIGHT PLAN.");
    states[5] = filed && !active ? 2 : 0;
    with_tail(6, " WOULD LIKE TO CLOSE MY FLIGHT PLAN.");
    states[6] = filed && active ? 1 : 0;

    char* c = texts[7];
    switch (s.atc_phase) {
    case 4: UTIL_strcpy(here, c); UTIL_strcat(c, " DEPARTURE "); UTIL_strcat(c, t); UTIL_strcat(c, " WITH YOU."); break;
    case 5: UTIL_strcpy("CENTER, ", c); UTIL_strcat(c, t); UTIL_strcat(c, " WITH YOU."); break;
    case 6: UTIL_strcpy(dest, c); UTIL_strcat(c, " APPROACH "); UTIL_strcat(c, t); UTIL_strcat(c, " WITH YOU INBOUND."); break;
    case 7: UTIL_strcpy(dest, c); UTIL_strcat(c, " TOWER "); UTIL_strcat(c, t); UTIL_strcat(c, " WITH YOU INBOUND."); break;
    case 9: UTIL_strcpy(dest, c); UTIL_strcat(c, " GROUND "); UTIL_strcat(c, t); UTIL_strcat(c, " CLEAR ACTIVE."); break;
    default: UTIL_strcpy(t, c); UTIL_strcat(c, " WITH YOU."); break;
    }
    states[7] = s.atc_checkin_expected ? (filed ? 2 : 1) : 0;
    with_tail(8, " SAY AGAIN PLEASE.");
    states[8] = speech_text[0] ? 1 : 0;

    const airport_record* a = chosen_airport();
    const int ground_state = on_ground && a && a->tower_flag ? (filed && s.atc_phase == 3 ? 2 : 1) : 0;
    with_tail(10, " REQUEST TAXI TO ACTIVE ");
    UTIL_strcat(texts[10], here);
    states[10] = ground_state;
    with_tail(11, " REQUEST TAKE OFF ");
    UTIL_strcat(texts[11], here);
    states[11] = ground_state;

    const char* airborne_rows[] = {" REQUEST VECTORS...", " REQUEST LANDING...", " REQUEST I L S...",
                                   " REQUEST LOCALIZER...", " REQUEST PRECISION APPROACH RADAR APPROACH..."};
    for (int k = 0; k < 5; ++k) {
        with_tail(12 + k, airborne_rows[k]);
        states[12 + k] = on_ground ? 0 : 1;
    }
    with_tail(18, " WIND CHECK PLEASE!");
    states[18] = 1;
    with_tail(19, " GOING MISSED APPROACH.");
    states[19] = on_ground ? 0 : 1;
    with_tail(20, " DECLARING AN EMERGENCY, REQUEST VECTORS NEAREST FIELD!");
    states[20] = on_ground ? 0 : 1;
    const char* always_rows[] = {" REQUEST VECTORS TO CARRIER!", " REQUEST VECTORS TO FRIGATE!",
                                 " REQUEST VECTORS TO TANKER!", " REQUEST YOU BRING THE LITES UP PLEASE!",
                                 " REQUEST YOU BRING THE LITES DOWN PLEASE!"};
    for (int k = 0; k < 5; ++k) {
        with_tail(22 + k, always_rows[k]);
        states[22 + k] = 1;
    }
}

void main_page(int click)
{
    atc_state_block& s = atc_state;
    s.atc_hover_row = std::clamp(s.atc_hover_row, 0, ATC_MENU_ROWS - 1);
    const int row = s.atc_hover_row;
    if (click == 0) {
        static char texts[ATC_MENU_ROWS][TEXT_SIZE];
        build_rows(atc_menu.atc_row_state, texts);
        for (int r = 0; r < ATC_MENU_ROWS; ++r)
            if (atc_menu.atc_row_state[r] > 0)
                OGL_draw_string(atc_menu.atc_row_state[r] == 2 ? COLOUR_HIGHLIGHT : COLOUR_PLAIN, 6.0f, row_y(r),
                                texts[r], NO_WRAP, MENU_FONT);
        OGL_draw_rect_outline(atc_menu.atc_row_state[row] == 2 ? COLOUR_HIGHLIGHT : COLOUR_PLAIN, 1.0f, 4.0f,
                              735.0f - ROW_HEIGHT * static_cast<float>(row), 340.0f, 10.0f);
        return;
    }
    if (atc_menu.atc_row_state[row] == 0) {
        s.atc_window_open = 0;
        return;
    }
    char t[TEXT_SIZE], here[TEXT_SIZE], text[TEXT_SIZE];
    tail_number(t);
    chosen_name(here);
    switch (row) {
    case 0:
        s.atc_window_open = 0;
        std::memset(s.atc_plan_from_id, 0, sizeof s.atc_plan_from_id);
        if (const airport_record* a = chosen_airport()) std::memcpy(s.atc_plan_from_id, a->id, APT_ID_SIZE);
        CORE_set_mode(MODE_FLIGHT_PLAN, "FRAM ATC");
        break;
    case 1:
        s.atc_window_open = 0;
        CORE_set_mode(MODE_FLIGHT_PLAN, "FRAM ATC");
        break;
    case 2: s.atc_page = 1; break;
    case 3: s.atc_page = 2; break;
    case 5:
        s.atc_window_open = 0;
        s.atc_plan_active = 1;
        s.atc_phase = 0;
        break;
    case 6:
        s.atc_window_open = 0;
        s.atc_plan_filed = s.atc_plan_active = s.atc_request_pending = 0;
        UTIL_strcat3(t, " FLIGHT PLAN CLOSED. SQUAWK 1 2 0 0. GOOD DAY.", text);
        atc_speak(text);
        break;
    case 7:
        s.atc_window_open = 0;
        s.atc_checkin_expected = 0;
        ATC_clearance_and_handoffs(1);
        break;
    case 8: {
        s.atc_window_open = 0;
        char again[TEXT_SIZE];
        UTIL_strcpy(speech_text, again);
        atc_speak(again);
        break;
    }
    case 10:
    case 11:
        s.atc_window_open = 0;
        s.atc_request_pending = 0;
        UTIL_strcat3(row == 10 ? "REQUEST TAX" : "REQUEST TAK", here, text);
        ATC_handle_request(text);
        break;
    case 12: case 13: case 14: case 15: case 16:
        s.atc_page = row - 9;
        s.atc_plan_active = s.atc_plan_filed = s.atc_request_pending = 0;
        break;
    case 18: case 19: case 20: case 22: case 23: case 24: case 25: case 26: {
        static const char* const keys[] = {"WIN", "MIS", "DEC", "", "CAR", "FRI", "TAN", "BRI", "DIM"};
        s.atc_window_open = 0;
        ATC_handle_request(keys[row - 18]);
        break;
    }
    default: s.atc_window_open = 0; break;
    }
}

bool on_page(int page, size_t index)
{
    if (page <= 4) {
        const airport_record& a = airport_table[index];
        if (!a.local) return false;
        if (page == 1) return a.tower_flag != 0;
        if (page == 2) return a.tower_flag == 0;
        if (page == 3) return true;
        if (!a.tower_flag || a.runways.empty()) return false;
        return std::hypot(flt[0].latitude - a.runways[0].lat, flt[0].longitude - a.runways[0].lon) < LANDING_LIST_RADIUS;
    }
    const navaid_record& n = navaid_table[index];
    const int kind = page == 5 ? NAV_ILS_LOC : (page == 6 ? NAV_LOC : NAV_GLIDESLOPE);
    return n.local && n.kind == kind;
}

// The name of an airport (pages 1-4) or navaid (pages 5-7) of the tables.
void entry_name(int page, size_t k, char* name)
{
    atc_copy_name(page <= 4 ? airport_table[k].name : navaid_table[k].name, APT_NAME_SIZE, name);
}

void pick_list(int page, int click)
{
    atc_state_block& s = atc_state;
    atc_menu_record& m = atc_menu;
    s.atc_hover_col = std::clamp(s.atc_hover_col, 0, LIST_COLUMNS - 1);
    s.atc_hover_row = std::clamp(s.atc_hover_row, 0, ATC_MENU_ROWS - 1);
    if (click == 0)
        OGL_draw_rect_outline(COLOUR_PLAIN, 1.0f, 4.0f + COLUMN_WIDTH * static_cast<float>(s.atc_hover_col),
                              735.0f - ROW_HEIGHT * static_cast<float>(s.atc_hover_row), 168.0f, 10.0f);
    else
        s.atc_window_open = 0;

    // A click picks the entry the pilot saw under the highlight: the one the
    // last drawing pass put in that slot. Walked afresh, the list can stand
    // otherwise by the click (the airports and navaids of the loaded area
    // change as the plane flies on and the scenery moves with it), and the
    // answer was for another airport than the one picked.
    const int count = static_cast<int>(page <= 4 ? airport_table.size() : navaid_table.size());
    const int picked = click != 0 && m.atc_list_page == page ? m.atc_list_entry[s.atc_hover_col][s.atc_hover_row] - 1 : -1;

    m.atc_list_page = page;
    for (auto& column : m.atc_list_entry)
        for (int32_t& slot : column) slot = 0;
    int row = -1, col = 0;
    float x = 6.0f;
    for (int k = 0; k < count; ++k) {
        if (!on_page(page, static_cast<size_t>(k))) continue;
        if (++row == ATC_MENU_ROWS) {
            ++col;
            x += COLUMN_WIDTH;
            row = 0;
        }
        if (col < LIST_COLUMNS) m.atc_list_entry[col][row] = k + 1;
        char name[TEXT_SIZE];
        entry_name(page, static_cast<size_t>(k), name);
        name[page == 7 ? PAR_NAME_CHARS : LIST_NAME_CHARS] = 0;
        OGL_draw_string(COLOUR_PLAIN, x, row_y(row), name, NO_WRAP, MENU_FONT);
    }

    if (picked < 0 || picked >= count) return;   // an empty slot, or a table that has since shrunk
    char text[TEXT_SIZE] = {};
    if (page <= 2) {
        const char letter = UTIL_glyph_to_char(11 + UTIL_rand() * 26 / 32768);
        ATC_atis(picked, letter, text, 1);
        atc_speak(text);
    } else {
        // The request carries the whole name, not the cut one shown.
        static const char* const keys[] = {"REQUEST VEC", "REQUEST LAN", "REQUEST ILS", "REQUEST LOC", "REQUEST PAR"};
        char name[TEXT_SIZE];
        entry_name(page, static_cast<size_t>(picked), name);
        UTIL_strcat3(keys[page - 3], name, text);
        ATC_handle_request(text);
    }
}

}  // namespace

void ATC_request_menu(int click)
{
    track_highlight();
    const int page = atc_state.atc_page;
    if (page <= 0 || page >= ATC_PAGE_COUNT)
        main_page(click);
    else
        pick_list(page, click);
}
