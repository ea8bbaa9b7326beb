// The receive pass over a full ring: 100 mixed datagrams (data records, plane
// states, positions, shared state, settings, panel needles and texts, slot
// settings, failures, heartbeats, selections and a big-endian sender's
// records), handled as one frame's pass.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/geo.h"
#include "core/simvars/graphics.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "flightmodel/plane_state.h"
#include "links/net_receive.h"
#include "links/network.h"

namespace {

int alerts_seen = 0;
void count_alert(int, const char* const[4], int) { ++alerts_seen; }

std::vector<uint8_t> datagram(const char* label, int index, char mark, const void* payload, size_t size)
{
    std::vector<uint8_t> d(6 + size);
    std::memcpy(d.data(), label, 4);
    d[4] = static_cast<uint8_t>(index);
    d[5] = static_cast<uint8_t>(mark);
    std::memcpy(d.data() + 6, payload, size);
    return d;
}

template <class T>
T turned(T v)
{
    auto* b = reinterpret_cast<uint8_t*>(&v);
    for (size_t k = 0; k + 3 < sizeof v; k += 4) {
        std::swap(b[k], b[k + 3]);
        std::swap(b[k + 1], b[k + 2]);
    }
    return v;
}

std::vector<std::vector<uint8_t>> mixed_ring()
{
    std::vector<std::vector<uint8_t>> ring;
    data_record records[10];
    for (int i = 0; i < 10; ++i) records[i] = data_record{8 + i, {0.1f, -999, -999, -999, -999, -999, -999, -999}};
    plane_state_record snap{};
    PLANE_pack_state(snap, 1);
    stat_block stat{};
    stat.draw_aircrafts = 2;
    stat.zulu_time_sec = 3600.0f;
    stat.cloud_tops_msl_m[0] = 2000.0f;
    stat.cloud_base_msl_m[0] = 1000.0f;
    const stat_block big_stat = turned(stat);   // from a big-endian sender
    const net_onep_record onep{10, 20, 30, 90, 0, 0, 46.5f, -122.5f};
    const int32_t selections[4] = {1, 2, 3, 4};
    for (int k = 0; k < 10; ++k) {
        ring.push_back(datagram("DATA", 0, '0', records, sizeof records));
        ring.push_back(datagram("SNAP", 1, '0', &snap, sizeof snap));
        ring.push_back(datagram("ONEP", 1, '0', &onep, sizeof onep));
        ring.push_back(k % 2 ? datagram("STAT", 0, '0', &stat, sizeof stat) : datagram("STAT", 0, '1', &big_stat, sizeof stat));
        const net_cust_record needle{k, 1, 100.0f, 100.0f, 30.0f, 0, 0, 8, 40};
        ring.push_back(datagram("CUST", 0, '0', &needle, sizeof needle));
        const net_text_record text{100, 45, 10.0f * k, 20.0f, "network text"};
        ring.push_back(datagram("TEXT", 0, '0', &text, sizeof text));
        const float fov = 60.0f;
        ring.push_back(datagram("GSET", 24, '0', &fov, 4));
        const uint8_t failure = static_cast<uint8_t>(k);
        ring.push_back(datagram(k % 2 ? "FAIL" : "RECO", 0, '0', &failure, 1));
        ring.push_back(datagram("KSTM", 3, '0', "I am sending!  ", 15));
        ring.push_back(datagram("DSEL", 0, '0', selections, sizeof selections));
    }
    return ring;
}

void BM_net_receive_full_ring(benchmark::State& state)
{
    MACIBM_set_alert_handler(count_alert);
    CONST_fill_constants();
    PLANET_set_constants(PLANET_EARTH);
    for (acf_struct& a : pln) std::strcpy(a.acf_file_name, "TEST.ACF");
    sim_graphics_settings.draw_aircrafts = 2;
    lat_ref = 45.0f;
    lon_ref = -124.0f;
    weather_seed = 0;
    const std::vector<std::vector<uint8_t>> ring = mixed_ring();
    for (auto _ : state) {
        state.PauseTiming();
        for (int k = 0; k < NET_RING_SLOTS; ++k) {
            std::memcpy(net_link.net_ring[k], ring[static_cast<size_t>(k)].data(), ring[static_cast<size_t>(k)].size());
            net_link.net_ring_len[k] = static_cast<int32_t>(ring[static_cast<size_t>(k)].size());
        }
        state.ResumeTiming();
        NET_receive();
    }
    state.counters["alerts"] = alerts_seen;
    state.counters["datagrams/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * NET_RING_SLOTS, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_net_receive_full_ring)->Unit(benchmark::kMicrosecond);

}  // namespace
