// Screen 3: the data-output table and the network connections.
#include "screens/network_screen.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/simvars/network.h"
#include "core/ui_text.h"
#include "graphics/button.h"
#include "graphics/font.h"
#include "graphics/list.h"
#include "graphics/widget.h"
#include "links/dataout.h"
#include "links/net_peer_settings.h"
#include "links/net_slots.h"
#include "links/network.h"
#include "screens/screen_layout.h"
#include "screens/setup.h"

network_screen_state network_screen;

const char* const network_role_names[NETWORK_SCREEN_ROLES] = {
    "multiplayer",
    "monitor 1",
    "monitor 2",
    "monitor 3",
    "monitor 4",
    "monitor 5",
    "master machine, is external view",
    "master machine, is external cockpit",
    "master machine, is external anything",
    "master machine, is external IOS",
    "IOS",
    "motion platform",
    "data output sender",
};

ORVELL_RESET_RECORD(SETUP_network_reset, network_screen, program);

namespace {

constexpr int LABEL_COLOUR = 45;
constexpr int LABEL_FONT = 103;
constexpr int REFUSED_COLOUR = 51;        // light red
constexpr int ADDRESS_RANGE_TEXT = 550;   // what an address field takes
constexpr int PORT_RANGE_TEXT = 551;      // what a port field takes
constexpr int GRAPH_NOTE_TEXT = 552;      // what to tick for the data graph
constexpr int PEER_SLOT_TEXT = 553;           // a destination a peer switched on
constexpr int PEER_SLOTS_UNSHOWN_TEXT = 554;  // those of them without a row

// The four columns of the data table: first group, last group, x, and the
// groups after which a spacer row follows.
struct table_column {
    int first, last;
    float x;
    int spacers[8];
    int spacer_count;
};
constexpr table_column columns[4] = {
    {0, 22, 60.0f, {2, 5, 8, 11, 14, 18, 20}, 7},
    {23, 52, 300.0f, {30, 37, 43, 48}, 4},
    {53, 81, 540.0f, {55, 57, 59, 64, 70, 72, 78}, 7},
    {82, 106, 780.0f, {90, 92, 94, 97}, 4},
};
// The first row of the table.
constexpr float TABLE_TOP_Y = 680.0f;
// The element-table switches, below the last column.
constexpr float ELEMENT_TABLE_TOP_Y = 86.0f;

float role_row_y(int i)
{
    if (i == 0) return 600.0f;
    if (i <= 5) return 550.0f - 20.0f * static_cast<float>(i - 1);
    return 430.0f - 40.0f * static_cast<float>(i - 6);
}

void data_table()
{
    const char* title = LANG_ui_text(255);
    const float tx = SCREEN_width() / 2.0f - 3.0f * static_cast<float>(std::strlen(title));
    OGL_draw_string(LABEL_COLOUR, tx, 10.0f, title, 9999.0f, LABEL_FONT);

    sim_network_dataout_block& d = sim_network_dataout;
    int32_t* selections[4] = {d.data_to_internet, d.data_to_disk, d.data_to_graph, d.data_to_screen};

    for (const table_column& c : columns) {
        for (int g = c.first; g <= c.last; ++g) {
            int row = g - c.first;
            for (int s = 0; s < c.spacer_count; ++s)
                if (c.spacers[s] < g) ++row;
            const float x = c.x, y = TABLE_TOP_Y - 18.0f * static_cast<float>(row);
            for (int b = 0; b < 4; ++b) BTN_check_box(x + 18.0f * b, y, &selections[b][g], LANG_ui_text(533 + b), 1);
            if (g < 100)
                OGL_draw_string_fmt(LABEL_COLOUR, x - 24.0f, y, static_cast<float>(g), 2, 0, 0, LABEL_FONT);
            else
                OGL_draw_string_fmt(LABEL_COLOUR, x - 30.0f, y, static_cast<float>(g), 3, 0, 0, LABEL_FONT);
            DATAOUT_group(8, g, static_cast<int>(x + 68.0f) * 1000 + static_cast<int>(y));
        }
    }
    SETUP_network_limit_selections();
    bool graphed = false;
    for (int32_t g : d.data_to_graph) graphed = graphed || g != 0;
    if (network_screen.graph_note && !graphed) {
        const char* note = LANG_ui_text(GRAPH_NOTE_TEXT);
        const float nx = SCREEN_width() / 2.0f - 3.0f * static_cast<float>(std::strlen(note));
        OGL_draw_string(REFUSED_COLOUR, nx, 28.0f, note, 9999.0f, LABEL_FONT);
    }
    const struct {
        int32_t* value;
        int entry;
    } elements[3] = {{&d.dump_parts_props, 113}, {&d.dump_parts_wings, 114}, {&d.dump_parts_vstabs, 115}};
    for (int e = 0; e < 3; ++e)
        BTN_check_box(780.0f, ELEMENT_TABLE_TOP_Y - 18.0f * static_cast<float>(e), elements[e].value,
                      LANG_ui_text(elements[e].entry), 1);
}

void connections()
{
    SCREEN_place_box(34.0f, 15, 200.0f, 10.0f, -1.0f, 612.0f, "");
    SCREEN_place_box(34.0f, 15, 10.0f, frame_next_y, -1.0f, -1.0f, "");
    BTN_draw_label(20.0f, 680.0f, 1, LANG_ui_text(256));
    BTN_draw_label(20.0f, 670.0f, 1, LANG_ui_text(257));
    BTN_draw_label(20.0f, 660.0f, 1, LANG_ui_text(258));
    BTN_draw_label(300.0f, 660.0f, 1, net_link.net_own_ip);

    bool address_refused = false, port_refused = false;
    for (int i = 0; i < NETWORK_SCREEN_ROLES; ++i) {
        const float y = role_row_y(i);
        BTN_draw_label(215.0f, y, 1, LANG_ui_text(266 + i));
        if (i == 0) BTN_draw_label(233.0f, y - 10.0f, 1, LANG_ui_text(700));
        if (i >= 5) BTN_draw_label(233.0f, y - 10.0f, 1, LANG_ui_text(700 + i - 4));
        if (net_slot_enabled[i]) {
            // Plain text fields would take a port above 65535, which the link
            // takes modulo 65536 and so sends to another port without a word,
            // and an address part above 255, which leaves the role silently
            // unusable. These fields refuse such a key, keep the value from
            // before the typing and say under the fields what they take.
            address_refused |= BTN_text_field_checked(20.0f, y, net_ip_text[i], NET_IP_TEXT_SIZE, i, "",
                                                      SETUP_network_address_check, network_screen.kept_ip[i]);
            port_refused |= BTN_text_field_checked(130.0f, y, net_port_text[i], NET_PORT_TEXT_SIZE, 20 + i, "",
                                                   SETUP_network_port_check, network_screen.kept_port[i]);
        }
        if (BTN_check_box(185.0f, y, &net_slot_enabled[i], LANG_ui_text(709), 1)) SETUP_network_role_clicked(i);
        // A destination a peer switched on is the peer's choice of address,
        // for this flight only: marked after the role's name.
        if (NET_slot_set_by_peer(i)) {
            const float after = 215.0f + 6.0f * static_cast<float>(std::strlen(LANG_ui_text(266 + i))) + 12.0f;
            OGL_draw_string(REFUSED_COLOUR, after, y, LANG_ui_text(PEER_SLOT_TEXT), 9999.0f, LABEL_FONT);
        }
        // An address keeps only its digits and points: the text ends at any other character.
        for (char& ch : net_ip_text[i])
            if (!((ch >= '0' && ch <= '9') || ch == '.')) ch = 0;
    }
    // A refused address or port: the range the field takes, under the fields.
    if (address_refused) OGL_draw_string(REFUSED_COLOUR, 20.0f, 160.0f, LANG_ui_text(ADDRESS_RANGE_TEXT), 165.0f, LABEL_FONT);
    if (port_refused) OGL_draw_string(REFUSED_COLOUR, 20.0f, 125.0f, LANG_ui_text(PORT_RANGE_TEXT), 165.0f, LABEL_FONT);
    // Slots without a row here that a peer switched on: named in one line.
    std::string unshown;
    for (int i = NETWORK_SCREEN_ROLES; i < NET_SLOT_COUNT; ++i)
        if (NET_slot_set_by_peer(i)) unshown += (unshown.empty() ? " " : ", ") + std::to_string(i);
    if (!unshown.empty()) {
        const std::string line = LANG_ui_text(PEER_SLOTS_UNSHOWN_TEXT) + unshown;
        OGL_draw_string(REFUSED_COLOUR, 215.0f, role_row_y(NETWORK_SCREEN_ROLES - 1) - 24.0f, line.c_str(), 9999.0f,
                        LABEL_FONT);
    }
    if (net_slot_enabled[11] || net_slot_enabled[12])
        BTN_digit_field(100.0f, 65.0f, &sim_network_dataout.network_data_rate, 2, 0, 1.0f, 50.0f, LANG_ui_text(116));

    for (int i = 0; i < NETWORK_SCREEN_ROLES; ++i) {
        char line[TEXT_SIZE];
        if (SETUP_network_status_line(i, line, sizeof line))
            BTN_draw_label(215.0f, 140.0f - 10.0f * static_cast<float>(i), 1, line);
    }
    NET_init();
}

}  // namespace

text_entry_state SETUP_network_address_check(const char* text)
{
    int parts = 1, digits = 0, value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c == '.') {
            if (digits == 0 || ++parts > 4) return TEXT_ENTRY_REFUSED;
            digits = value = 0;
        } else if (*c >= '0' && *c <= '9') {
            value = value * 10 + (*c - '0');
            if (++digits > 3 || value > 255) return TEXT_ENTRY_REFUSED;
        } else {
            return TEXT_ENTRY_REFUSED;
        }
    }
    return parts == 4 && digits > 0 ? TEXT_ENTRY_COMPLETE : TEXT_ENTRY_PARTIAL;
}

text_entry_state SETUP_network_port_check(const char* text)
{
    long value = 0;
    int digits = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return TEXT_ENTRY_REFUSED;
        value = value * 10 + (*c - '0');
        if (++digits > 5 || value > 65535) return TEXT_ENTRY_REFUSED;
    }
    return value >= 1 ? TEXT_ENTRY_COMPLETE : TEXT_ENTRY_PARTIAL;
}

bool SETUP_network_status_line(int slot, char* out, int size)
{
    if (size > 0) out[0] = 0;
    if (slot < 0 || slot >= NETWORK_SCREEN_ROLES || !net_peer_heard[slot]) return false;
    std::snprintf(out, static_cast<size_t>(size), "Got a test transmission from someone talking to a %s %4.1f seconds ago.",
                  network_role_names[slot], static_cast<double>(frame_clock - net_peer_heard_time[slot]));
    return true;
}

void SETUP_network_role_clicked(int slot)
{
    const bool monitor_or_ios = (slot >= 1 && slot <= 5) || slot == 10;
    const bool master_kind = slot >= 6 && slot <= 9;
    if (monitor_or_ios)
        for (int s = 6; s <= 9; ++s) net_slot_enabled[s] = 0;
    if (master_kind) {
        for (int s = 1; s <= 5; ++s) net_slot_enabled[s] = 0;
        net_slot_enabled[10] = 0;
        for (int s = 6; s <= 9; ++s)
            if (s != slot) net_slot_enabled[s] = 0;
    }
}

void SETUP_network_limit_selections()
{
    auto limit = [](int32_t* sel, int most) {
        int count = 0;
        for (int g = 0; g < DATAOUT_GROUPS; ++g) count += sel[g] != 0;
        if (count <= most) return;
        for (int g = 0; g < DATAOUT_GROUPS; ++g)
            if (sel[g]) {
                sel[g] = 0;
                return;
            }
    };
    limit(sim_network_dataout.data_to_graph, NETWORK_GRAPH_LIMIT);
    limit(sim_network_dataout.data_to_screen, NETWORK_SCREEN_GROUP_LIMIT);
}

void SETUP_network()
{
    BTN_screen_frame(1, 1);
    BTN_tab(0, 0, &network_screen.network_tab, LANG_ui_text(372));
    BTN_tab(1, 0, &network_screen.network_tab, LANG_ui_text(373));
    if (network_screen.network_tab == 0)
        data_table();
    else
        connections();
}
