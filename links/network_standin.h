// What the stand-in of the UDP socket keeps: every datagram it would have sent.
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
};

extern std::vector<net_sent_datagram> net_sent_log;
void NET_standin_clear();
