// A loopback peer for the UDP link: slot s points at 127.0.0.(s+1) on a port
// the test process owns, so every datagram the program sends to a slot can be
// read back byte for byte, in the order it was sent and with the slot it went
// to; and a sender that puts datagrams on the program's own port as an
// outside program would. Only datagrams from the program's own socket are
// taken: whatever else reaches the port is dropped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct net_sent_datagram {
    int slot = 0;
    std::vector<uint8_t> bytes;   // the whole datagram: label, index, mark, payload

    std::string label() const { return bytes.size() >= 4 ? std::string(bytes.begin(), bytes.begin() + 4) : ""; }
    int index() const { return bytes.size() >= 5 ? bytes[4] : -1; }
    std::vector<uint8_t> payload() const
    {
        return bytes.size() > 6 ? std::vector<uint8_t>(bytes.begin() + 6, bytes.end()) : std::vector<uint8_t>{};
    }
    std::string payload_text() const
    {
        const std::vector<uint8_t> p = payload();
        return std::string(p.begin(), p.end());
    }
};

// Starts the link when it has no socket yet (on a port this process owns),
// opens the peer's sockets once, points every slot's address and port at them (the
// enabled and valid flags are left alone; a slot the test enables sends to
// the peer) and forgets what was received so far.
void net_peer_attach();

// Every datagram the program sent to the peer since the last clear, in the
// order they were sent.
std::vector<net_sent_datagram>& net_peer_log();
// Only the datagrams of one label.
std::vector<net_sent_datagram> net_peer_sent(const std::string& label);
void net_peer_clear();

// The port slot s points at (the same for every slot).
int net_peer_port(int slot);

// Puts one datagram on the program's own port, from outside; returns false
// when it could not be sent.
bool net_peer_send(const void* bytes, size_t length);
bool net_peer_send(const std::string& label, int index, char mark, const void* payload, size_t length);
// Reads the datagrams waiting on the program's socket into its receive ring,
// as the message pump's notifications would: waits until `expected` of them
// were read, then takes whatever else waits (up to a full ring). Returns the
// number read.
int net_peer_deliver(int expected = 1);

// The two cloud layers the shared-state tests send and expect: type 4 from
// 1,000 to 2,000 m and type 2 from 5,000 to 6,000 m, in the weather record or
// in a record laid out like it (the shared-state block).
template <class Weather>
void net_two_cloud_layers(Weather& w)
{
    constexpr int type[2] = {4, 2};
    constexpr float base_m[2] = {1000.0f, 5000.0f}, tops_m[2] = {2000.0f, 6000.0f};
    for (int k = 0; k < 2; ++k) {
        w.cloud_type[k] = type[k];
        w.cloud_base_msl_m[k] = base_m[k];
        w.cloud_tops_msl_m[k] = tops_m[k];
    }
}
