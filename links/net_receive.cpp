// The receive pass: once a frame (twice on a display slave) every datagram of
// the receive ring is checked, put into this machine's byte order and handed
// to its label's handler through the one label table below.
#include "links/net_receive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/app_mode.h"
#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/hooks.h"
#include "core/reset_registry.h"
#include "core/simvars/operation.h"
#include "links/net_ranges.h"
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

namespace {

constexpr int ANY_SIZE = -1;
constexpr int TO_END = -1;
constexpr int NEVER = -1;

// One known label: the payload size it must have (or any), which of its bytes
// a sender of the other byte order wrote as 4-byte words ([swap_from,
// swap_to), NEVER for text payloads), the ranges its fixed record's values
// must lie in (none: its handler checks what it takes) and its handler (none:
// no action).
struct label_entry {
    char label[5];
    int size;
    int swap_from;
    int swap_to;
    const net_field_list* fields;
    void (*handle)(net_datagram&);
};

// Texts travel as bytes and are never turned; "FIRE", "MMLO", "STA1" and
// "ATA1" keep their leading bytes in the sender's order; "ISET" turns only its
// flag word and "TEXT" only the four words ahead of its text. "CHAR", "FAIL",
// "RECO" and "MOUS" are not turned either: their payloads are single bytes and
// digit texts, and turning their first word would move a key or failure
// number out to byte 3 and read a 0 in its place (a big-endian sender's
// "FAIL" 57 would fail item 0), and reverse a click's digits ("0512" to
// "2150"). The ranges of the records' values are in links/net_ranges.cpp.
const label_entry label_table[] = {
    {"CUST", 36, 0, TO_END, &net_fields_CUST, NET_handle_CUST_datagram},
    {"TEXT", 172, 0, 16, &net_fields_TEXT, NET_handle_TEXT_datagram},
    {"STAT", STAT_BLOCK_BYTES, 0, TO_END, &net_fields_STAT, NET_handle_STAT_datagram},
    {"SNAP", PLANE_STATE_BYTES, 0, TO_END, &net_fields_SNAP, NET_handle_SNAP},
    {"FIX_", 12, 0, TO_END, nullptr, NET_handle_FIX},
    {"ONEP", 32, 0, TO_END, &net_fields_ONEP, NET_handle_ONEP},
    {"ALLP", 248, 0, TO_END, &net_fields_ALLP, NET_handle_ALLP},
    {"GSET", 4, 0, TO_END, nullptr, NET_handle_GSET_datagram},
    {"ISET", 28, 24, 28, nullptr, NET_handle_ISET},
    {"TRAI", 16, 0, TO_END, nullptr, NET_handle_TRAI},
    {"PATH", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_PATH},
    {"MESS", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_MESS},
    {"CHAR", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_CHAR},
    {"DATA", ANY_SIZE, 0, TO_END, nullptr, NET_handle_DATA},
    {"FAIL", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_FAIL},
    {"RECO", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_RECO},
    {"DSEL", ANY_SIZE, 0, TO_END, nullptr, NET_handle_selection},
    {"USEL", ANY_SIZE, 0, TO_END, nullptr, NET_handle_selection},
    {"DCOC", ANY_SIZE, 0, TO_END, nullptr, NET_handle_selection},
    {"UCOC", ANY_SIZE, 0, TO_END, nullptr, NET_handle_selection},
    {"MOUS", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_MOUS},
    {"KSTM", ANY_SIZE, NEVER, NEVER, nullptr, NET_handle_KSTM},
    {"FIRE", ANY_SIZE, 36, TO_END, nullptr, nullptr},
    {"MMLO", ANY_SIZE, 20, TO_END, nullptr, nullptr},
    {"STA1", ANY_SIZE, 152, TO_END, nullptr, nullptr},
    {"ATA1", ANY_SIZE, 20, TO_END, nullptr, nullptr},
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

// The label a refusal is counted under: a known label, or "????" for all the
// others (so a sender of random labels fills one line of the summary, not the table).
void counted_label(const uint8_t* head, char out[5])
{
    if (find_label(head)) {
        std::memcpy(out, head, 4);
        out[4] = 0;
    } else {
        std::memcpy(out, "????", 5);
    }
}

// ---------------------------------------------------------------------------
// The refusal log: every refused datagram is counted by its label and reason;
// at the end of a pass, at most once a second, one line goes to "ERROR.OUT":
// the full explanation when one datagram was refused since the last line, a
// summary with the counts when more were. A line for every refused datagram
// would let any sender flooding the port fill the disk with "ERROR.OUT".

constexpr float REPORT_PERIOD_SEC = 1.0f;
constexpr int REFUSAL_KINDS = 24;          // kinds a summary names; later kinds are counted as others
constexpr int SUMMARY_KINDS_SHOWN = 12;    // kinds written out in one line
constexpr int EXPLANATION_SIZE = 1200;     // a refused notice: its lines, a file path among them
constexpr int REASON_SIZE = 160;           // a reason kept for the summary (a longer one is cut)

struct refusal_kind {
    char label[5];
    char reason[REASON_SIZE];   // a copy: a notice's line may live no longer than its call
    net_range range;            // RANGE_ANY when the reason is no range
    uint32_t count;
};

struct refusal_log_state {
    refusal_kind kinds[REFUSAL_KINDS] = {};
    int kind_count = 0;
    uint32_t other_count = 0;
    uint32_t pending = 0;                    // refusals since the last line
    float pending_since = 0.0f;              // frame clock of the first of them
    char explanation[EXPLANATION_SIZE] = {}; // the line that explains the first of them
    bool any_line = false;
    float last_line_time = 0.0f;
};
refusal_log_state refusals;

void log_line(const char* text)
{
    if (!error_log.is_open()) return;
    error_log << text << '\n';
    error_log.flush();
}

// Counts one refusal; `explain` writes the datagram's own line, needed only
// for the first refusal since the last line.
template <class Explain>
void count_refusal(const char label[5], const char* reason, net_range range, Explain explain)
{
    ++net_counters.refused;
    if (refusals.pending == 0) {
        refusals.pending_since = frame_clock;
        explain(refusals.explanation, EXPLANATION_SIZE);
    }
    ++refusals.pending;
    for (int k = 0; k < refusals.kind_count; ++k) {
        refusal_kind& r = refusals.kinds[k];
        if (r.range == range && std::strcmp(r.label, label) == 0 &&
            std::strncmp(r.reason, reason, REASON_SIZE - 1) == 0) {
            ++r.count;
            return;
        }
    }
    if (refusals.kind_count == REFUSAL_KINDS) {
        ++refusals.other_count;
        return;
    }
    refusal_kind& r = refusals.kinds[refusals.kind_count++];
    std::memcpy(r.label, label, 5);
    std::snprintf(r.reason, sizeof r.reason, "%s", reason);
    r.range = range;
    r.count = 1;
}

// Writes what was refused since the last line: due at the end of each pass
// once a second has passed (or at once when `now_anyway`).
void report_refusals(bool now_anyway)
{
    if (refusals.pending == 0) return;
    const float since = refusals.any_line ? refusals.last_line_time : refusals.pending_since;
    const bool due = !refusals.any_line || frame_clock < refusals.last_line_time ||
                     frame_clock - refusals.last_line_time >= REPORT_PERIOD_SEC;
    if (!due && !now_anyway) return;
    if (refusals.pending == 1) {
        log_line(refusals.explanation);
    } else {
        std::string line = "Refused " + std::to_string(refusals.pending) + " datagrams in ";
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s:", std::max(0.0, static_cast<double>(frame_clock - since)));
        line += seconds;
        for (int k = 0; k < refusals.kind_count; ++k) {
            const refusal_kind& r = refusals.kinds[k];
            if (k == SUMMARY_KINDS_SHOWN) {
                uint32_t rest = refusals.other_count;
                for (int j = k; j < refusals.kind_count; ++j) rest += refusals.kinds[j].count;
                line += ", other kinds " + std::to_string(rest);
                break;
            }
            line += k ? ", " : " ";
            line += r.label;
            line += ' ';
            if (r.range != RANGE_ANY) {
                line += net_range_table[r.range].name;
                line += ' ';
            }
            line += r.reason;
            line += ' ';
            line += std::to_string(r.count);
        }
        if (refusals.kind_count < SUMMARY_KINDS_SHOWN && refusals.other_count > 0)
            line += ", other kinds " + std::to_string(refusals.other_count);
        line += '.';
        log_line(line.c_str());
    }
    refusals.any_line = true;
    refusals.last_line_time = frame_clock;
    refusals.pending = 0;
    refusals.kind_count = 0;
    refusals.other_count = 0;
}

// Counts the datagram in `slot` as refused for `reason` under its counted
// label; explain(out, size, shown) writes the log line, `shown` being the
// label as it can be printed.
template <class Explain>
void refuse_datagram(const uint8_t* slot, const char* reason, Explain explain)
{
    char label[5];
    counted_label(slot, label);
    count_refusal(label, reason, RANGE_ANY, [&](char* out, int size) {
        char shown[5];
        printable_label(slot, shown);
        explain(out, static_cast<size_t>(size), shown);
    });
}

void refuse_bad_head(const uint8_t* slot, int len)
{
    refuse_datagram(slot, "bad head", [&](char* out, size_t size, const char* shown) {
        std::snprintf(out, size,
                      "Dropped a datagram with a bad head: its payload size is %d (at least 1 byte is needed), "
                      "label    [0->3]=%s (the label), index    [4   ]=%d (the index byte), "
                      "0/1 check[5   ]=%d (48 or 49, the sender's byte order).",
                      len - NET_HEAD_BYTES, shown, slot[4], slot[5]);
    });
}

void refuse_too_long(const uint8_t* slot, int len)
{
    refuse_datagram(slot, "too long", [&](char* out, size_t size, const char* shown) {
        std::snprintf(out, size, "Dropped a datagram (label %s) of %d bytes: a datagram must stay under %d bytes.",
                      shown, len, NET_PACKET_MAX);
    });
}

// The datagram whose handler runs now (nullptr between handlers).
const net_datagram* handling = nullptr;

// Names the datagram being handled for the scope of its handler (a handler
// that ends in an exception leaves no name behind).
struct handling_scope {
    explicit handling_scope(const net_datagram& d) { handling = &d; }
    ~handling_scope() { handling = nullptr; }
    handling_scope(const handling_scope&) = delete;
    handling_scope& operator=(const handling_scope&) = delete;
};

// ---------------------------------------------------------------------------
// World commands held for the end of the pass (links/net_receive.h).

constexpr int WORLD_COMMANDS_HELD = 16;   // different commands waiting at once
constexpr int COMMAND_TEXT_CHARS = 15;    // a "KSTM" command's text

struct held_world_command {
    char key[4 + COMMAND_TEXT_CHARS + 1];   // label, the command text of a "KSTM"
    int target;                             // the plane slot or command number it addresses
    uint64_t arrival;                       // order of the first of its repeats
    void (*handler)(net_datagram&);
    net_datagram d;                         // payload: points into `bytes`
    std::array<uint8_t, NET_RING_BYTES> bytes;
};

struct world_command_state {
    std::array<held_world_command, WORLD_COMMANDS_HELD> held{};
    int count = 0;
    uint64_t arrivals = 0;
    double next_due = 0.0;   // UTIL_seconds before which no other one runs
    bool running = false;    // a held one's handler runs now
};
world_command_state world_commands;

void world_command_key(const net_datagram& d, char key[4 + COMMAND_TEXT_CHARS + 1])
{
    std::memset(key, 0, 4 + COMMAND_TEXT_CHARS + 1);
    std::memcpy(key, d.label, 4);
    if (std::memcmp(d.label, "KSTM", 4) == 0)
        std::memcpy(key + 4, d.payload, static_cast<size_t>(std::min(d.size, COMMAND_TEXT_CHARS)));
}

// Runs the oldest held command when one is due.
void run_world_command()
{
    world_command_state& w = world_commands;
    if (w.count == 0 || w.running || app_mode == MODE_ALERT) return;
    const double start = UTIL_seconds();
    if (start < w.next_due && w.next_due - start < 3600.0) return;   // a clock set back does not hold them for ever
    int oldest = 0;
    for (int k = 1; k < w.count; ++k)
        if (w.held[k].arrival < w.held[oldest].arrival) oldest = k;
    // Out of the table before it runs: the handler may receive, hold or end.
    static held_world_command now;
    now = w.held[oldest];
    w.held[oldest] = w.held[w.count - 1];
    w.held[oldest].d.payload = w.held[oldest].bytes.data();
    --w.count;
    now.d.payload = now.bytes.data();
    {
        struct running_scope {
            bool& flag;
            ~running_scope() { flag = false; }
        } running{w.running};
        w.running = true;
        const handling_scope named(now.d);
        now.handler(now.d);
    }
    ++net_world_commands_run;
    const double took = std::max(UTIL_seconds() - start, 0.0);
    w.next_due = start + took / NET_WORLD_COMMAND_SHARE;
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
    ++net_counters.handled;
    // Too long a datagram, a wrong size below and the handlers' bad rows and
    // entries are refused with a line in "ERROR.OUT", not a fatal alert: an
    // alert would let any sender on the network end the program (and the
    // user's flight) with one datagram.
    if (len >= NET_PACKET_MAX) return refuse_too_long(slot, len);
    const uint8_t mark = slot[5];
    if ((mark != '0' && mark != '1') || len - NET_HEAD_BYTES <= 0) return refuse_bad_head(slot, len);
    const int index = slot[4];
    const int size = len - NET_HEAD_BYTES;
    if (sim_operation_misc.debug_network && error_log.is_open()) {
        char label[5];
        printable_label(slot, label);
        error_log << "time=" << frame_clock << " received label=" << label << " length=" << len << " index=" << index
                  << ".\n";
        error_log.flush();
    }
    const label_entry* entry = find_label(slot);
    if (!entry) {
        ++net_counters.refused;   // counted in the statistics; nothing else happens
        return;
    }

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

    if (mark != static_cast<uint8_t>(NET_OWN_MARK) && entry->swap_from != NEVER) {
        const int to = entry->swap_to == TO_END ? size : std::min(size, entry->swap_to);
        swap_words(slot, entry->swap_from, to);
    }
    if (!entry->handle) return;
    if (entry->size != ANY_SIZE && size != entry->size) {
        char why[120];
        std::snprintf(why, sizeof why, "its payload is %d bytes, the label needs %d", size, entry->size);
        return NET_refuse_detail(d, "wrong size", why);
    }
    if (entry->fields) {
        net_range_miss miss;
        if (!NET_fields_in_range(*entry->fields, d.payload, d.size, d.index, miss)) return NET_refuse_range(d, miss);
    }
    const handling_scope named(d);
    entry->handle(d);
}

}  // namespace

net_counter_record net_counters{};
uint64_t net_world_commands_run = 0;

void NET_receive_log_reset()
{
    refusals = refusal_log_state{};
    net_counters = net_counter_record{};
    world_commands.count = 0;
    world_commands.arrivals = 0;
    world_commands.next_due = 0.0;
    world_commands.running = false;
    net_world_commands_run = 0;
    handling = nullptr;
}
ORVELL_RESET(NET_receive_log_reset, program);

bool NET_hold_world_command(const net_datagram& d, void (*handler)(net_datagram&), int target)
{
    world_command_state& w = world_commands;
    if (w.running) return false;
    char key[4 + COMMAND_TEXT_CHARS + 1];
    world_command_key(d, key);
    int k = 0;
    while (k < w.count && (w.held[k].target != target || std::memcmp(w.held[k].key, key, sizeof key) != 0)) ++k;
    if (k == w.count) {
        // Every place taken by other commands: this one is refused, the
        // waiting ones keep their turn.
        if (w.count == WORLD_COMMANDS_HELD) {
            NET_refuse(d, "too many commands that rebuild the world are waiting");
            return true;
        }
        ++w.count;
    }
    // A repeat goes to the back of the queue with its new arrival: kept at
    // its first turn, the repeat of a command sent before another would run
    // before that other one, and the last command sent would not stand.
    w.held[k].arrival = w.arrivals++;
    held_world_command& h = w.held[k];
    std::memcpy(h.key, key, sizeof key);
    h.target = target;
    h.handler = handler;
    // The payload and the zero bytes after it, as the handler saw them.
    const size_t size = static_cast<size_t>(std::clamp(d.size, 0, NET_RING_BYTES - NET_HEAD_BYTES));
    h.bytes.fill(0);
    std::memcpy(h.bytes.data(), d.payload, size);
    h.d = d;
    h.d.size = static_cast<int>(size);
    h.d.payload = h.bytes.data();
    return true;
}

int NET_world_commands_waiting() { return world_commands.count; }

const uint8_t* NET_held_payload(const char* label)
{
    for (int k = 0; k < world_commands.count; ++k)
        if (std::memcmp(world_commands.held[k].key, label, 4) == 0) return world_commands.held[k].bytes.data();
    return nullptr;
}

int net_command_from_peer = 0;
void NET_from_peer_reset() { net_command_from_peer = 0; }
ORVELL_RESET(NET_from_peer_reset, program);

namespace {

// A command a peer's click or key set off: its number is the payload's first word.
void peer_input_command(net_datagram& d)
{
    int32_t command;
    std::memcpy(&command, d.payload, sizeof command);
    if (NET_hold_world_command(d, peer_input_command, command)) return;
    CORE_run_remote_command(command);
}

}  // namespace

void NET_run_peer_command(int32_t command)
{
    if (!handling) return CORE_run_remote_command(command);
    std::array<uint8_t, sizeof command + 1> payload{};
    std::memcpy(payload.data(), &command, sizeof command);
    net_datagram d = *handling;
    d.payload = payload.data();
    d.size = static_cast<int>(sizeof command);
    peer_input_command(d);
}

void NET_refuse_command(const char* why)
{
    if (handling) return NET_refuse(*handling, why);
    net_datagram d{};
    std::memcpy(d.label, "KSTM", 5);
    NET_refuse(d, why);
}

int NET_refuse_notice_of_peer(const char* line, const char* detail)
{
    if (!net_command_from_peer) return 0;
    const char* kind = line && line[0] ? line : "its command would open a box";
    const char* why = detail && detail[0] ? detail : kind;
    if (handling) {
        NET_refuse_detail(*handling, kind, why);
    } else {
        net_datagram d{};
        std::memcpy(d.label, "KSTM", 5);
        NET_refuse_detail(d, kind, why);
    }
    return 1;
}

void NET_refuse(const net_datagram& d, const char* why) { NET_refuse_detail(d, why, nullptr); }

namespace {

// A refused plane state or position counts against the peer's plane it was
// for (its index byte). The user's plane is never hidden: its refused
// datagrams came from a sender it does not follow.
void note_refused_plane(const net_datagram& d, const char* why)
{
    if (d.index < 1) return;
    if (std::memcmp(d.label, "SNAP", 4) == 0 || std::memcmp(d.label, "ONEP", 4) == 0)
        NET_plane_data_refused(d.index, why);
}

}  // namespace

void NET_refuse_detail(const net_datagram& d, const char* reason, const char* detail)
{
    char label[5];
    counted_label(reinterpret_cast<const uint8_t*>(d.label), label);
    const char* why = detail ? detail : reason ? reason : "";
    count_refusal(label, reason ? reason : "", RANGE_ANY, [&](char* out, int size) {
        char shown[5];
        printable_label(reinterpret_cast<const uint8_t*>(d.label), shown);
        std::snprintf(out, static_cast<size_t>(size), "Dropped a \"%s\" datagram (index %d): %s.", shown, d.index, why);
    });
    note_refused_plane(d, why);
}

void NET_refuse_range(const net_datagram& d, const net_range_miss& miss)
{
    char label[5];
    counted_label(reinterpret_cast<const uint8_t*>(d.label), label);
    const net_range r = miss.range < RANGE_COUNT_OF_ROWS ? miss.range : RANGE_ANY;
    char field[64];
    if (miss.name[0])
        std::snprintf(field, sizeof field, "%s", miss.name);
    else if (miss.element >= 0)
        std::snprintf(field, sizeof field, "%s[%d]", miss.field ? miss.field : "value", miss.element);
    else
        std::snprintf(field, sizeof field, "%s", miss.field ? miss.field : "value");
    double low, high;
    NET_range_bounds(r, low, high);
    char why[200];
    std::snprintf(why, sizeof why, "its %s is %g, outside the %s range %g to %g", field, miss.value,
                  net_range_table[r].name, low, high);
    count_refusal(label, "out of range", r, [&](char* out, int size) {
        char shown[5];
        printable_label(reinterpret_cast<const uint8_t*>(d.label), shown);
        std::snprintf(out, static_cast<size_t>(size), "Dropped a \"%s\" datagram (index %d): %s.", shown, d.index, why);
    });
    note_refused_plane(d, why);
}

void NET_report_refusals() { report_refusals(true); }

bool NET_fits_int(float v) { return std::isfinite(v) && std::fabs(v) < 2.0e9f; }

void NET_clear_tables()
{
    std::memset(net_needle_table, 0, sizeof net_needle_table);
    std::memset(net_text_table, 0, sizeof net_text_table);
    std::memset(net_fix_table, 0, sizeof net_fix_table);
}
ORVELL_RESET(NET_clear_tables, program);

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
ORVELL_RESET(NET_clear_receive_copies, program);

void NET_receive()
{
    // The ring first (what the notifications read since the last pass), then
    // what still waits on the socket, a ring at a time, up to a bound that
    // keeps the frame going. Emptying only the ring would leave a burst of
    // more than 100 datagrams on the socket, whose buffer then overflows and
    // the system drops the rest; read here, it is handled in the frame it came in.
    int handled = 0;
    for (;;) {
        for (int k = 0; k < NET_RING_SLOTS; ++k) {
            uint8_t* slot = net_link.net_ring[k];
            if (slot[0] == 0) continue;
            if (app_mode != MODE_ALERT) handle_slot(slot, net_link.net_ring_len[k]);
            std::memset(slot, 0, NET_RING_BYTES);
            ++handled;
        }
        // The ring is empty: the next datagram read takes slot 0, so the
        // slots' order is the order of arrival.
        net_link.net_ring_index = NET_RING_SLOTS - 1;
        if (handled >= NET_RECEIVE_MOST_PER_PASS) break;
        if (NET_fill_ring(std::min(NET_RING_SLOTS, NET_RECEIVE_MOST_PER_PASS - handled)) == 0) break;
    }
    run_world_command();
    report_refusals(false);
}
