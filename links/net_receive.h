// The receive side of the UDP link: the per-frame pass over the receive ring
// and what each label does. The pass checks every datagram's head and size,
// puts its numbers into this machine's byte order and hands it to its label's
// handler through one table (links/net_receive.cpp).
//
// Nothing a sender puts in a datagram ends the program or reaches outside a
// slot, table or record: a datagram that cannot be applied whole (a value
// outside its range, links/net_ranges.h, among the reasons) is dropped and
// none of it is applied. Refusals are counted by label and reason and written
// to "ERROR.OUT" at most once a second: the datagram's own explanation when it
// was the only one, else one summary line with the counts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/plane_state_record.h"
#include "core/stat_record.h"
#include "links/dataout.h"

constexpr int NET_MESS_SIZE = 150;        // 149 characters and the terminator
constexpr int NET_FIX_ENTRIES = 32;
constexpr int NET_NEEDLE_ENTRIES = 500;
constexpr int NET_TEXT_ENTRIES = 250;
constexpr int NET_TEXT_CHARS = 152;       // 151 characters and the terminator
constexpr int NET_NEEDLE_TEXTURE = 453;   // texture slot of the needle pictures
constexpr float NET_TEXT_SHOW_SEC = 1.0f;
constexpr int NET_PLANES = 10;            // plane slots a datagram may name

// "ONEP": one plane's position and attitude (index byte: the plane slot).
struct net_onep_record {
    float local_x, local_y, local_z;
    float psi, theta, phi;
    float latitude, longitude;
};
static_assert(sizeof(net_onep_record) == 32);

// "ALLP": planes 0..index-1 (index byte: the count).
struct net_allp_record {
    float local_x[NET_PLANES], local_y[NET_PLANES], local_z[NET_PLANES];
    float psi[NET_PLANES], theta[NET_PLANES], phi[NET_PLANES];
    float latitude, longitude;
};
static_assert(sizeof(net_allp_record) == 248);

// "ISET": one destination slot (index byte: the slot).
struct net_iset_record {
    char ip[16];
    char port[8];
    int32_t enabled;
};
static_assert(sizeof(net_iset_record) == 28);
static_assert(offsetof(net_iset_record, enabled) == 24);

// "TRAI": a runway or approach start at an airport.
struct net_trai_record {
    int32_t kind;       // 401 take-off, 402 and 403 the approaches
    int32_t airport;
    int32_t runway;
    int32_t backwards;  // 0 or 1
};
static_assert(sizeof(net_trai_record) == 16);

// "CUST": one needle of the panel overlay.
struct net_cust_record {
    int32_t index;      // needle slot 0..499
    int32_t kind;       // 0 off, 1 turning needle, 2 fixed picture
    float x, y, angle;
    float s0, t0, s1, t1;   // source rectangle in texels of texture slot 453
};
static_assert(sizeof(net_cust_record) == 36);

// "TEXT": one string of the panel overlay.
struct net_text_record {
    int32_t font;
    int32_t color;
    float x, y;
    char text[156];
};
static_assert(sizeof(net_text_record) == 172);

struct net_needle_entry {
    int32_t kind;
    float x, y, angle;
    float s0, t0, s1, t1;
};

struct net_text_entry {
    int32_t font;       // 0 marks a free entry
    int32_t color;
    float x, y;
    char text[NET_TEXT_CHARS];
    float timeout;      // frame-clock seconds until which it shows
};
static_assert(sizeof(net_text_entry) == 172);

// The last datagram of each label, as the handler received it.
extern stat_block net_stat_rcv;
extern plane_state_record net_snap_rcv;
extern net_onep_record net_onep_rcv;
extern net_allp_record net_allp_rcv;
extern net_iset_record net_iset_rcv;
extern net_trai_record net_trai_rcv;
extern net_cust_record net_cust_rcv;
extern net_text_record net_text_rcv;
extern float net_gset_rcv;
extern char net_mess_rcv[NET_MESS_SIZE];
extern data_record net_data_rcv[NET_DATA_ROWS];

// Written by "FIX_" (entry n holds n and its two words); read by nothing else.
extern int32_t net_fix_table[NET_FIX_ENTRIES][3];
// The panel overlay: needles never time out; a text shows for a second after
// its last datagram.
extern net_needle_entry net_needle_table[NET_NEEDLE_ENTRIES];
extern net_text_entry net_text_table[NET_TEXT_ENTRIES];

// Zeroes the needle, text and FIX_ tables (the first NET_init does).
void NET_clear_tables();
// Zeroes the receive copies above.
void NET_clear_receive_copies();

// One received datagram, its payload in this machine's byte order and followed
// by a zero byte.
struct net_datagram {
    char label[5];
    int index;           // the index byte
    uint8_t* payload;
    int size;            // payload bytes
};

struct net_range_miss;

// Refuses a datagram: counted under its label and `why` (its first 159
// characters, copied); `detail`, when given, is what the datagram's own
// explanation says instead. A refused plane state or position also counts
// against the peer's plane it was for (NET_plane_data_refused).
void NET_refuse(const net_datagram& d, const char* why);
void NET_refuse_detail(const net_datagram& d, const char* why, const char* detail);
// Refuses a datagram for a value outside its range.
void NET_refuse_range(const net_datagram& d, const net_range_miss& miss);
// Refuses the datagram being handled now for `why`, through the
// same counted summary: for the spine's checks of what a peer asks for (a
// start choice, a situation's name). Outside a handler it is counted as a
// "KSTM" command, the only way those requests arrive.
void NET_refuse_command(const char* why);
// The one rule for what a peer's command would show in a box (the alert
// routine asks it before any notice): while a peer's command, click or key is
// handled the notice is refused through the link, counted with the others
// under its first line and logged with `detail` (all its lines), and 1 is
// returned; the user's own gets its box (0). A box stops the flight until
// someone at this machine dismisses it.
int NET_refuse_notice_of_peer(const char* line, const char* detail);

// Set while a command a peer sent runs, and while a peer's click ("MOUS") or
// key ("CHAR") is handled: what it would show in a box is counted with the
// refusals through NET_refuse_command instead (a box stops the flight until
// someone at this machine dismisses it), and a numbered command it sets off
// is the peer's (NET_run_peer_command).
extern int net_command_from_peer;
// Sets net_command_from_peer for its life and puts the value before it back
// however the scope ends (a start that cannot read its aircraft throws).
struct net_peer_scope {
    int outer = net_command_from_peer;
    explicit net_peer_scope(int from_peer = 1) { net_command_from_peer = from_peer; }
    ~net_peer_scope() { net_command_from_peer = outer; }
    net_peer_scope(const net_peer_scope&) = delete;
    net_peer_scope& operator=(const net_peer_scope&) = delete;
};
// Runs a numbered command a peer's click or key set off (a menu item, a key's
// command) as the peer's "menu selection " runs: held for the end of the pass
// under the label of the datagram that set it off, then run through the
// peer's refusals and limits (CORE_run_remote_command), wherever in the
// program the click or key reached it. Outside a datagram's handler, or while
// a held command runs, it runs at once.
void NET_run_peer_command(int32_t command);
// A peer's plane whose states keep being refused: after NET_PLANE_REFUSED_SEC
// of refusals with none taken in between, one line (spoken and shown) names
// the plane and why, and the plane is hidden from the view until a state of
// it is taken again: drawn where its last state left it, it would stand for a
// plane that is elsewhere.
constexpr float NET_PLANE_REFUSED_SEC = 3.0f;
void NET_plane_data_refused(int plane, const char* why);
void NET_plane_data_taken(int plane);
// False while the plane is hidden so (planes outside 0..9 are never hidden).
bool NET_plane_shown(int plane);
// Writes what was refused since the last line now (the link's close does).
void NET_report_refusals();

// Commands from outside that rebuild the scene or restart the flight do not
// take effect in their handler: the handler, once it has checked the
// datagram, calls NET_hold_world_command, which keeps a copy and returns true
// (a later one of the same label and command for the same `target`, a plane
// slot or command number, replaces it and takes its turn at the back of the
// queue; with 16 other ones waiting it is refused). At the end of the receive
// pass the oldest one kept runs its
// handler again, this time with NET_hold_world_command returning false, so
// the handler acts. One runs per pass at most, and only once the time since
// the last one is at least (1 / NET_WORLD_COMMAND_SHARE - 1) times as long as
// that one took: rebuilds take at most that share of the running time,
// whatever a sender sends. Those not yet due wait for a later pass.
constexpr double NET_WORLD_COMMAND_SHARE = 0.2;
bool NET_hold_world_command(const net_datagram& d, void (*handler)(net_datagram&), int target);
// World commands waiting, and those that took effect since the start.
int NET_world_commands_waiting();
// The payload of the held command of a label other than "KSTM" (nullptr: none waits).
const uint8_t* NET_held_payload(const char* label);
extern uint64_t net_world_commands_run;

// Datagrams since the start: read from the socket, handled by the receive
// pass (a dropped alert-time datagram is not handled) and refused.
struct net_counter_record {
    uint64_t read = 0;
    uint64_t handled = 0;
    uint64_t refused = 0;
};
extern net_counter_record net_counters;
// Forgets the counts and the refusals not yet written.
void NET_receive_log_reset();

// The handlers (links/net_simple.cpp, net_state.cpp, net_panel.cpp, net_commands.cpp).
void NET_handle_MESS(net_datagram& d);
void NET_handle_CHAR(net_datagram& d);
void NET_handle_DATA(net_datagram& d);
void NET_handle_FAIL(net_datagram& d);
void NET_handle_RECO(net_datagram& d);
void NET_handle_selection(net_datagram& d);   // DSEL, USEL, DCOC, UCOC
void NET_handle_MOUS(net_datagram& d);
void NET_handle_ISET(net_datagram& d);
void NET_handle_FIX(net_datagram& d);
void NET_handle_STAT_datagram(net_datagram& d);
void NET_handle_GSET_datagram(net_datagram& d);
void NET_handle_SNAP(net_datagram& d);
void NET_handle_ONEP(net_datagram& d);
void NET_handle_ALLP(net_datagram& d);
void NET_handle_PATH(net_datagram& d);
void NET_handle_TRAI(net_datagram& d);
void NET_handle_CUST_datagram(net_datagram& d);
void NET_handle_TEXT_datagram(net_datagram& d);
void NET_handle_KSTM(net_datagram& d);

// Applies the "STAT" copy (net_stat_rcv).
void NET_handle_STAT();
// Applies the "GSET" value (net_gset_rcv) to setting n.
void NET_handle_GSET(int n);
// Moves the scenery reference tile when (lat, lon) left the current one, and
// holds the origin for the network from then on. Called only with the user's
// plane's position from a source this copy follows (a master it shows, a
// station that instructs it); a peer's plane is placed about the tile this
// copy has, and a position or state for the user's plane from any other
// sender is refused.
void NET_handle_planes(float lat, float lon);
// Makes (a, b), whole degrees, the scenery reference tile: a move by one tile
// shifts the loaded tiles, any other move rebuilds the scene there, the same
// tile changes nothing. The local coordinates stay: whatever stood at a place
// of the loaded area stands at that place of the new one. A move is held as
// a world command (NET_hold_world_command) and made at the end of the pass.
void NET_move_reference_tile(int a, int b);
// The reference tile, whole degrees: the one a held move goes to, else the current one.
void NET_reference_tile_wanted(int& a, int& b);
// Mode 0 stores the needle or text just received (the copies above), mode 1
// draws the table (the panel pass calls TEXT(1), then CUST(1)).
void NET_handle_CUST(int mode);
void NET_handle_TEXT(int mode);

// Helpers shared by the handlers.
// True for a finite value that an int can hold once cut toward zero.
bool NET_fits_int(float v);
