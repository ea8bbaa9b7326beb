// The link's receive pass over datagrams an outside sender chose: the input
// is a run of datagrams, each a two-byte length (least significant first)
// and its bytes, put in the receive ring as the socket notification does,
// then handled by one receive pass. A refusal is the right answer to a bad
// datagram; a crash, an out-of-bounds access or undefined behaviour is not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/app_mode.h"
#include "links/network.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz_program_folder();
    app_mode = MODE_FLYING;
    int slot = 0;
    size_t at = 0;
    while (at + 2 <= size && slot < NET_RING_SLOTS) {
        const size_t length = static_cast<size_t>(data[at]) | static_cast<size_t>(data[at + 1]) << 8;
        at += 2;
        const size_t take = std::min({length, size - at, static_cast<size_t>(NET_RING_BYTES)});
        std::memset(net_link.net_ring[slot], 0, NET_RING_BYTES);
        std::memcpy(net_link.net_ring[slot], data + at, take);
        // As the socket reports it: the datagram's true length, even when
        // the slot holds only its start.
        net_link.net_ring_len[slot] = static_cast<int32_t>(std::min(length, size - at));
        at += std::min(length, size - at);
        ++slot;
    }
    try {
        NET_receive();
    } catch (const fuzz_fatal_alert&) {
    }
    return 0;
}
