// The labels whose handling is short: chat text, a key, data records, one
// failure, data-group selections, a click, one destination slot and the
// "FIX_" table.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/folders.h"
#include "core/input.h"
#include "core/hooks.h"
#include "core/simvars/network.h"
#include "core/simvars/operation.h"
#include "core/text_util.h"
#include "flightmodel/flt.h"
#include "links/net_peer_settings.h"
#include "links/net_ranges.h"
#include "links/net_receive.h"
#include "links/net_slots.h"
#include "links/speech.h"

namespace {

constexpr int LAST_FAILURE = FAILURE_SLOTS - 1;   // 173
constexpr int SELECTION_LIMIT = 200;               // entries of a selection list and rows of the table

int32_t word_at(const uint8_t* p, int offset)
{
    int32_t v;
    std::memcpy(&v, p + offset, sizeof v);
    return v;
}

void set_failure(const net_datagram& d, int32_t state)
{
    const int f = std::min(static_cast<int>(d.payload[0]), LAST_FAILURE);
    flt[0].failures[f] = state;
}

// A bounded text of at most `width` payload bytes from `offset` (fewer when
// the payload ends first).
void field_text(const net_datagram& d, int offset, int width, char* out)
{
    int k = 0;
    for (; k < width && offset + k < d.size && d.payload[offset + k]; ++k) out[k] = static_cast<char>(d.payload[offset + k]);
    out[k] = 0;
}

}  // namespace

void NET_handle_MESS(net_datagram& d)
{
    const int n = static_cast<int>(strnlen(reinterpret_cast<const char*>(d.payload), static_cast<size_t>(d.size)));
    const int take = std::min(n, NET_MESS_SIZE - 1);
    std::memcpy(net_mess_rcv, d.payload, static_cast<size_t>(take));
    net_mess_rcv[take] = 0;
    SOUND_speak(net_mess_rcv, 1);
}

// A peer's key and click are the peer's: what they set off meets the peer's
// refusals and limits (links/net_receive.h), not the user's freedom. On a
// screen or box the user has open they are refused whole.
void NET_handle_CHAR(net_datagram& d)
{
    const net_peer_scope peer;
    if (CORE_peer_input_refused()) return;
    CORE_run_key(0, d.payload[0]);
}

void NET_handle_DATA(net_datagram& d)
{
    const int n = std::min(d.size / DATA_RECORD_BYTES, NET_DATA_ROWS);
    // Every record's values lie in their ranges, or none of the datagram is
    // applied: a value far outside (a position 3e9 m away, a NaN) would put the
    // plane where no scenery can load or turn the flight model's numbers to NaN.
    for (int i = 0; i < n; ++i) {
        data_record r;
        std::memcpy(&r, d.payload + static_cast<size_t>(i) * DATA_RECORD_BYTES, sizeof r);
        net_range_miss miss;
        if (!DATAOUT_input_in_range(r, miss)) return NET_refuse_range(d, miss);
    }
    std::memcpy(net_data_rcv, d.payload, static_cast<size_t>(n) * DATA_RECORD_BYTES);
    for (int i = 0; i < n; ++i) {
        const data_record& r = net_data_rcv[i];
        std::copy(std::begin(r.values), std::end(r.values), dataout_input_row);
        if (sim_operation_misc.debug_network && error_log.is_open()) {
            error_log << "Received data record, group index=" << r.group << "\n";
            error_log << "Its values:";
            for (float v : r.values) error_log << " " << v;
            error_log << "\n";
            error_log.flush();
        }
        DATAOUT_group(0, r.group, 0);
    }
}

void NET_handle_FAIL(net_datagram& d) { set_failure(d, FAILURE_STATE_FAILED); }
void NET_handle_RECO(net_datagram& d) { set_failure(d, 0); }

void NET_handle_selection(net_datagram& d)
{
    const int n = d.size / 4;
    // Too many entries or a row of 200 or more is refused (a fatal alert would
    // let any sender end the program); the rows are checked before any is set.
    if (n >= SELECTION_LIMIT) {
        char why[100];
        std::snprintf(why, sizeof why, "it lists %d data rows, at most %d are taken", n, SELECTION_LIMIT - 1);
        return NET_refuse_detail(d, "too many selections", why);
    }
    for (int i = 0; i < n; ++i)
        if ((word_at(d.payload, 4 * i) & 0xFF) >= SELECTION_LIMIT)
            return NET_refuse(d, "it names a data row of 200 or more");
    int32_t* target = nullptr;
    int32_t value = 0;
    if (std::memcmp(d.label, "DSEL", 4) == 0) target = sim_network_dataout.data_to_internet, value = 1;
    if (std::memcmp(d.label, "USEL", 4) == 0) target = sim_network_dataout.data_to_internet, value = 0;
    if (std::memcmp(d.label, "DCOC", 4) == 0) target = sim_network_dataout.data_to_screen, value = 1;
    if (std::memcmp(d.label, "UCOC", 4) == 0) target = sim_network_dataout.data_to_screen, value = 0;
    if (!target) return;
    for (int i = 0; i < n; ++i) target[word_at(d.payload, 4 * i) & 0xFF] = value;
}

void NET_handle_MOUS(net_datagram& d)
{
    const net_peer_scope peer;
    if (CORE_peer_input_refused()) return;
    char x[5], y[5];
    field_text(d, 0, 4, x);
    field_text(d, 4, 4, y);
    mouse.mouse_x = static_cast<float>(UTIL_text_to_int(x));
    mouse.mouse_y = static_cast<float>(UTIL_text_to_int(y));
    CORE_click(0);
}

void NET_handle_ISET(net_datagram& d)
{
    if (d.index >= NET_SLOT_COUNT) return NET_refuse(d, "there are only destination slots 0 to 19");
    net_iset_record r;
    std::memcpy(&r, d.payload, sizeof r);
    // A role in which this copy takes the user's plane from the network (a
    // master's display or instructor station, slots 6..9, or a station that
    // instructs it, slot 10) is the user's to switch on: switched on by a
    // datagram, any sender could go on to place the user's plane.
    if (NET_slot_follows(d.index) && r.enabled && !net_slot_enabled[d.index])
        return NET_refuse(d, "it switches on a role in which this copy follows another");
    net_iset_rcv = r;
    const int s = d.index;
    // The slot lasts for the flight: the preferences keep the user's own.
    const NET_peer_setting_write address_kept(net_ip_text[s], NET_IP_TEXT_SIZE, s);
    const NET_peer_setting_write port_kept(net_port_text[s], NET_PORT_TEXT_SIZE, s);
    const NET_peer_setting_write enabled_kept(&net_slot_enabled[s], sizeof net_slot_enabled[s], s);
    const size_t ip = strnlen(net_iset_rcv.ip, NET_IP_TEXT_SIZE - 1);
    std::memset(net_ip_text[s], 0, NET_IP_TEXT_SIZE);
    std::memcpy(net_ip_text[s], net_iset_rcv.ip, ip);
    const size_t port = strnlen(net_iset_rcv.port, NET_PORT_TEXT_SIZE - 1);
    std::memset(net_port_text[s], 0, NET_PORT_TEXT_SIZE);
    std::memcpy(net_port_text[s], net_iset_rcv.port, port);
    net_slot_enabled[s] = net_iset_rcv.enabled;
}

void NET_handle_FIX(net_datagram& d)
{
    const int32_t n = word_at(d.payload, 0);
    if (n < 0 || n >= NET_FIX_ENTRIES) return NET_refuse(d, "its entry is outside 0..31");
    net_fix_table[n][0] = n;
    net_fix_table[n][1] = word_at(d.payload, 4);
    net_fix_table[n][2] = word_at(d.payload, 8);
}
