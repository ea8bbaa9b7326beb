// The receive pass: once a frame (twice on a display slave) every datagram of
// the receive ring is checked, put into this machine's byte order and handed
// to its label's handler through the one label table below.
#include "links/net_receive.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/simvars/operation.h"
#include "links/network.h"

stat_block net_stat_rcv{};
plane_state_record net_snap_rcv{};
net_onep_record net_onep_rcv{};
net_allp_record net_allp_rcv{};
net_iset_record net_iset_rcv{};
net_trai_record net_trai_rcv{};
net_cust_record net_cust_rcv{};
net_text_record net_text_rcv{};
float net_gset_rcv = 0.0f;
char net_mess_rcv[NET_MESS_SIZE] = {};
data_record net_data_rcv[NET_DATA_ROWS] = {};
int32_t net_fix_table[NET_FIX_ENTRIES][3] = {};
net_needle_entry net_needle_table[NET_NEEDLE_ENTRIES] = {};
net_text_entry net_text_table[NET_TEXT_ENTRIES] = {};
float net_panel_origin_x = 0.0f, net_panel_origin_y = 0.0f;

namespace {

constexpr int ANY_SIZE = -1;
constexpr int TO_END = -1;
constexpr int NEVER = -1;

// One known label: the payload size it must have (or any), which of its bytes
// a sender of the other byte order wrote as 4-byte words ([swap_from,
// swap_to), NEVER for text payloads) and its handler (none: no action).
struct label_entry {
    char label[5];
    int size;
    int swap_from;
    int swap_to;
    void (*handle)(net_datagram&);
};

// Texts travel as bytes and are never turned; "FIRE", "MMLO", "STA1" and
// "ATA1" keep their leading bytes in the sender's order; "ISET" turns only its
// flag word and "TEXT" only the four words ahead of its text.
constexpr label_entry label_table[] = {
    {"CUST", 36, 0, TO_END, NET_handle_CUST_datagram},
    {"TEXT", 172, 0, 16, NET_handle_TEXT_datagram},
    {"STAT", STAT_BLOCK_BYTES, 0, TO_END, NET_handle_STAT_datagram},
    {"SNAP", PLANE_STATE_BYTES, 0, TO_END, NET_handle_SNAP},
    {"FIX_", 12, 0, TO_END, NET_handle_FIX},
    {"ONEP", 32, 0, TO_END, NET_handle_ONEP},
    {"ALLP", 248, 0, TO_END, NET_handle_ALLP},
    {"GSET", 4, 0, TO_END, NET_handle_GSET_datagram},
    {"ISET", 28, 24, 28, NET_handle_ISET},
    {"TRAI", 16, 0, TO_END, NET_handle_TRAI},
    {"PATH", ANY_SIZE, NEVER, NEVER, NET_handle_PATH},
    {"MESS", ANY_SIZE, NEVER, NEVER, NET_handle_MESS},
    {"CHAR", ANY_SIZE, NEVER, NEVER, NET_handle_CHAR},
    {"DATA", ANY_SIZE, 0, TO_END, NET_handle_DATA},
    {"FAIL", ANY_SIZE, NEVER, NEVER, NET_handle_FAIL},
    {"RECO", ANY_SIZE, NEVER, NEVER, NET_handle_RECO},
    {"DSEL", ANY_SIZE, 0, TO_END, NET_handle_selection},
    {"USEL", ANY_SIZE, 0, TO_END, NET_handle_selection},
    {"DCOC", ANY_SIZE, 0, TO_END, NET_handle_selection},
    {"UCOC", ANY_SIZE, 0, TO_END, NET_handle_selection},
    {"MOUS", ANY_SIZE, NEVER, NEVER, NET_handle_MOUS},
    {"KSTM", ANY_SIZE, NEVER, NEVER, NET_handle_KSTM},
    {"FIRE", ANY_SIZE, 36, TO_END, nullptr},
    {"MMLO", ANY_SIZE, 20, TO_END, nullptr},
    {"STA1", ANY_SIZE, 152, TO_END, nullptr},
    {"ATA1", ANY_SIZE, 20, TO_END, nullptr},
};

const label_entry* find_label(const uint8_t* head)
{
    for (const label_entry& e : label_table)
        if (std::memcmp(head, e.label, 4) == 0) return &e;
    return nullptr;
}

// The label as a printable text (bytes outside the printable range shown as '?').
void printable_label(const uint8_t* head, char out[5])
{
    for (int k = 0; k < 4; ++k) out[k] = (head[k] >= 32 && head[k] < 127) ? static_cast<char>(head[k]) : '?';
    out[4] = 0;
}

void log_line(const char* text)
{
    if (!error_log.is_open()) return;
    error_log << text << '\n';
    error_log.flush();
}

void explain_bad_head(const uint8_t* slot, int len)
{
    char label[5];
    printable_label(slot, label);
    char line[400];
    std::snprintf(line, sizeof line,
                  "Dropped a datagram with a bad head: its payload size is %d (at least 1 byte is needed), "
                  "label    [0->3]=%s (the label), index    [4   ]=%d (the index byte), "
                  "0/1 check[5   ]=%d (48 or 49, the sender's byte order).",
                  len - NET_HEAD_BYTES, label, slot[4], slot[5]);
    log_line(line);
}

void swap_words(uint8_t* p, int from, int to)
{
    for (int k = from; k < to; k += 4) {
        std::swap(p[k], p[k + 3]);
        std::swap(p[k + 1], p[k + 2]);
    }
}

// One occupied ring slot.
void handle_slot(uint8_t* slot, int len)
{
    char label[5];
    printable_label(slot, label);
    if (len >= NET_PACKET_MAX) {
        char line[200];
        std::snprintf(line, sizeof line, "Dropped a datagram (label %s) of %d bytes: a datagram must stay under %d bytes.",
                      label, len, NET_PACKET_MAX);
        log_line(line);
        return;
    }
    const uint8_t mark = slot[5];
    if ((mark != '0' && mark != '1') || len - NET_HEAD_BYTES <= 0) {
        explain_bad_head(slot, len);
        return;
    }
    const int index = slot[4];
    const int size = len - NET_HEAD_BYTES;
    if (sim_operation_misc.debug_network && error_log.is_open()) {
        error_log << "time=" << frame_clock << " received label=" << label << " length=" << len << " index=" << index
                  << ".\n";
        error_log.flush();
    }
    const label_entry* entry = find_label(slot);

    net_datagram d{};
    std::memcpy(d.label, slot, 4);
    d.label[4] = 0;
    d.index = index;
    d.payload = slot;
    d.size = size;
    // The payload moves to the slot's start and is followed by zero bytes (a
    // text payload reads as a terminated text; a last partial word turns zeros).
    std::memmove(slot, slot + NET_HEAD_BYTES, static_cast<size_t>(size));
    std::memset(slot + size, 0, NET_HEAD_BYTES);

    if (entry && mark != static_cast<uint8_t>(NET_OWN_MARK) && entry->swap_from != NEVER) {
        const int to = entry->swap_to == TO_END ? size : std::min(size, entry->swap_to);
        swap_words(slot, entry->swap_from, to);
    }
    if (!entry || !entry->handle) return;
    if (entry->size != ANY_SIZE && size != entry->size) {
        char why[120];
        std::snprintf(why, sizeof why, "its payload is %d bytes, the label needs %d", size, entry->size);
        NET_refuse(d, why);
        return;
    }
    entry->handle(d);
}

}  // namespace

void NET_refuse(const net_datagram& d, const char* why)
{
    char label[5];
    printable_label(reinterpret_cast<const uint8_t*>(d.label), label);
    char line[400];
    std::snprintf(line, sizeof line, "Dropped a \"%s\" datagram (index %d): %s.", label, d.index, why ? why : "");
    log_line(line);
}

bool NET_fits_int(float v) { return std::isfinite(v) && std::fabs(v) < 2.0e9f; }

bool NET_all_finite(const float* v, int count)
{
    for (int k = 0; k < count; ++k)
        if (!std::isfinite(v[k])) return false;
    return true;
}

void NET_clear_tables()
{
    std::memset(net_needle_table, 0, sizeof net_needle_table);
    std::memset(net_text_table, 0, sizeof net_text_table);
    std::memset(net_fix_table, 0, sizeof net_fix_table);
}

void NET_clear_receive_copies()
{
    net_stat_rcv = stat_block{};
    net_snap_rcv = plane_state_record{};
    net_onep_rcv = net_onep_record{};
    net_allp_rcv = net_allp_record{};
    net_iset_rcv = net_iset_record{};
    net_trai_rcv = net_trai_record{};
    net_cust_rcv = net_cust_record{};
    net_text_rcv = net_text_record{};
    net_gset_rcv = 0.0f;
    std::memset(net_mess_rcv, 0, sizeof net_mess_rcv);
    std::memset(net_data_rcv, 0, sizeof net_data_rcv);
}

void NET_receive()
{
    for (int k = 0; k < NET_RING_SLOTS; ++k) {
        uint8_t* slot = net_link.net_ring[k];
        if (slot[0] == 0) continue;
        if (app_mode != MODE_ALERT) handle_slot(slot, net_link.net_ring_len[k]);
        std::memset(slot, 0, NET_RING_BYTES);
    }
}
