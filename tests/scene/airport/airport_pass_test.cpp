// The airport pass as a whole: the plug-in phases, the snow drift, signs and
// the parked aircraft.
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "aircraft/acf_struct.h"
#include "core/draw_phases.h"
#include "flightmodel/flt.h"
#include "links/plugin_host.h"
#include "tests/scene/airport/airport_fixture.h"

namespace {

int phase_taken = -1;   // the drawing phase a test plug-in manager takes

class AirportPass : public AirportScene {
protected:
    // A 1,600 x 40 m runway from z = 0 north, sections every 40 m.
    int runway_geometry() { return add_geometry(std::vector<int>(41, TEX_SLOT_LINE_ASPHALT), 40.0f, 40.0f); }
};

// Sign cells seen in the feedback, by the half of the runway they stand in
// (0: the north end, 1: the south end).
std::map<int, std::set<int>> sign_cells(const std::vector<fb_item>& items)
{
    std::map<int, std::set<int>> cells;
    for (const fb_item& p : items) {
        if (p.token != GL_POLYGON_TOKEN) continue;
        float s = 0, t = 0, y = 0;
        for (const auto& v : p.v) s += v.s, t += v.t, y += v.y;
        const float n = static_cast<float>(p.v.size());
        s /= n, t /= n, y /= n;
        if (s < 0.5f || s >= 0.75f || t >= 0.5f) continue;
        cells[y > 384.0f ? 0 : 1].insert(static_cast<int>((s - 0.5f) / 0.0625f) + 4 * static_cast<int>(t / 0.125f));
    }
    return cells;
}

}  // namespace

// A plug-in that takes phase 4 leaves only the lights to the pass.
TEST_F(AirportPass, Phase4TakenLeavesOnlyTheLights)
{
    const int g = runway_geometry();
    runway_geometry_table[static_cast<size_t>(g)].lights = {{110, 0.0f, 0.0f, 0.0f}};
    add_airport({runway("18", g)});
    near_airport_light_state[0] = 3;
    flt[0].local_z = -100.0f;
    wind_vector[0] = 3.0f;
    sim_operation_misc.frame_rate_period = 1.0f;
    for (const int taken : {4, -1}) {
        phase_taken = taken;
        plugin_host.entries.drawing = [](int phase) { return phase == phase_taken ? 0 : 1; };
        rec.binds.clear();
        rec.lights.clear();
        WORLDOBJ_draw_objects();
        EXPECT_EQ(rec.bound_slot(TEX_SLOT_LINE_ASPHALT, 0), taken != 4);
        EXPECT_EQ(worldobj_state.snow_drift_x, taken != 4 ? 3.0f : 0.0f);
        EXPECT_EQ(rec.lights.size(), 1u);
    }
}

// The drift stays within 9,999 m; a wind that is no number moves nothing.
TEST_F(AirportPass, SnowDriftWraps)
{
    sim_operation_misc.frame_rate_period = 1.0f;
    const struct {
        float start, wind, after;
    } cases[] = {{9999.0f, 1.0f, -9998.0f}, {9998.0f, 1.0f, 9999.0f}, {-9999.0f, -1.0f, 9998.0f}, {5.0f, NAN, 5.0f},
                 {0.0f, 1.0e30f, 0.0f}};
    for (const auto& c : cases) {
        worldobj_state.snow_drift_x = c.start;
        wind_vector[0] = c.wind;
        WORLDOBJ_draw_objects();
        const float d = worldobj_state.snow_drift_x;
        EXPECT_TRUE(d >= -9999.0f && d <= 9999.0f) << c.start;
        if (c.wind < 1.0e29f) {
            EXPECT_FLOAT_EQ(d, c.after) << c.start << " " << c.wind;
        }
    }
}

// The designation signs show the number of their end: group 0 at the north
// (last-section) end the other end's number and letter, group 1 the
// designator's; the distance signs 1, 2 and 3 on both.
TEST_F(AirportPass, SignsShowTheirEndsNumbers)
{
    const struct {
        const char* number;
        std::set<int> north, south;
    } cases[] = {{"09L", {2, 7, 11, 12, 13, 14}, {0, 9, 10, 12, 13, 14}},
                 {"36", {1, 8, 15, 12, 13, 14}, {3, 6, 15, 12, 13, 14}}};
    look_down(0.0f, -800.0f, 0.4f);
    for (const auto& c : cases) {
        airport_table.clear();
        local_airport_last = -1;
        runway_record r = runway(c.number, runway_geometry());
        r.distance_signs = 1;
        add_airport({r});
        auto cells = sign_cells(capture([&] { WORLDOBJ_draw_objects(); }));
        EXPECT_EQ(cells[0], c.north) << c.number;
        EXPECT_EQ(cells[1], c.south) << c.number;
        // Signs stand only at the selected airport.
        start_selection.airport_index = -1;
        EXPECT_TRUE(sign_cells(capture([&] { WORLDOBJ_draw_objects(); })).empty());
    }
    // Nor beside a strip whose first section is unpaved (slots 162..169).
    airport_table.clear();
    local_airport_last = -1;
    std::vector<int> helipad(41, TEX_SLOT_LINE_ASPHALT);
    helipad[0] = 169;
    runway_record r = runway("09", add_geometry(helipad, 40.0f, 40.0f));
    r.distance_signs = 1;
    add_airport({r});
    EXPECT_TRUE(sign_cells(capture([&] { WORLDOBJ_draw_objects(); })).empty());
}

// The distance signs stand 3 m beside the runway's edges (a quarter of the
// width more with a shoulder) every 1,000 ft (304.8 m) back from each end of
// the 1,600-m runway: at z -1600 + 304.8 k from the north end, -304.8 k from
// the south one. Each place goes through latitude and longitude (single
// floats) and back, which moves it by up to a few decimetres.
TEST_F(AirportPass, DistanceSignsStandBesideTheEdgesEveryThousandFeet)
{
    const float at_z[6] = {-1295.2f, -990.4f, -685.6f, -304.8f, -609.6f, -914.4f};
    look_down(0.0f, -800.0f, 0.4f);
    for (const auto& [shoulder, side_x] : {std::pair{0, 23.0f}, std::pair{1, 33.0f}}) {
        airport_table.clear();
        local_airport_last = -1;
        runway_record r = runway("09L", runway_geometry());
        r.distance_signs = 1;
        r.shoulder_code = shoulder;
        add_airport({r});
        std::set<std::pair<int, int>> places;
        for (const fb_item& p : capture([] { WORLDOBJ_draw_objects(); })) {
            if (p.token != GL_POLYGON_TOKEN) continue;
            float s = 0, t = 0, x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;   // the face's box centre
            for (const auto& v : p.v)
                s += v.s, t += v.t, x0 = std::min(x0, v.x), x1 = std::max(x1, v.x), y0 = std::min(y0, v.y), y1 = std::max(y1, v.y);
            const float n = static_cast<float>(p.v.size());
            if (s / n < 0.5f || s / n >= 0.6875f || t / n < 0.375f || t / n >= 0.5f) continue;   // cells 12..14
            const float mx = (0.5f * (x0 + x1) - 512.0f) / 0.4f, mz = -800.0f - (0.5f * (y0 + y1) - 384.0f) / 0.4f;
            EXPECT_NEAR(std::fabs(mx), side_x, 0.5f) << shoulder;
            int k = 0;
            while (k < 5 && std::fabs(mz - at_z[k]) > 0.5f) ++k;
            EXPECT_NEAR(mz, at_z[k], 0.5f) << shoulder;
            places.insert({mx > 0.0f, k});
        }
        EXPECT_EQ(places.size(), 12u) << shoulder;
    }
}

// A sign whose place lies on another runway is left out; a runway without
// length draws none.
TEST_F(AirportPass, SignsClearOfOtherRunways)
{
    runway_record r = runway("09L", runway_geometry());
    r.distance_signs = 1;
    // A runway across the south-west designation sign's place (23 m left of the threshold).
    runway_record across = runway("27", add_geometry({160, 160}, 20.0f, 20.0f, -30.0f, 0.0f, 10.0f));
    add_airport({r, across});
    look_down(0.0f, -800.0f, 0.4f);
    auto count_cell = [&](int cell) {
        int n = 0;
        for (const fb_item& p : capture([&] { WORLDOBJ_draw_objects(); })) {
            if (p.token != GL_POLYGON_TOKEN) continue;
            float s = 0, t = 0;
            for (const auto& v : p.v) s += v.s / static_cast<float>(p.v.size()), t += v.t / static_cast<float>(p.v.size());
            if (s >= 0.5f && s < 0.75f && t < 0.5f &&
                static_cast<int>((s - 0.5f) / 0.0625f) + 4 * static_cast<int>(t / 0.125f) == cell)
                ++n;
        }
        return n;
    };
    const int with = count_cell(10);   // the south end's letter, on one side only now
    airport_table.back().runways[1].number[0] = 'x';   // a taxiway does not hide it
    const int without = count_cell(10);
    EXPECT_GT(with, 0);
    EXPECT_EQ(without, 2 * with);
    airport_table.back().runways[0].length = 0.0f;
    EXPECT_EQ(count_cell(10), 0);
}

// The signs' places are kept between frames and follow their runway when the
// origin shifts: every point of the runway's geometry moves by the shift.
TEST_F(AirportPass, KeptSignsFollowTheirRunwayWhenTheOriginShifts)
{
    const int g = runway_geometry();
    runway_record r = runway("09L", g);
    r.distance_signs = 1;
    add_airport({r});
    look_down(0.0f, -800.0f, 0.4f);   // 0.4 pixels a metre, east to the right
    // The window x of every sign face, in drawing order.
    const auto sign_x = [&] {
        std::vector<float> xs;
        for (const fb_item& p : capture([&] { WORLDOBJ_draw_objects(); })) {
            float s = 0, t = 0, x = 0;
            for (const auto& v : p.v) s += v.s, t += v.t, x += v.x;
            const float n = static_cast<float>(p.v.size());
            if (p.token == GL_POLYGON_TOKEN && s / n >= 0.5f && t / n < 0.5f) xs.push_back(x / n);
        }
        return xs;
    };
    const std::vector<float> before = sign_x();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(sign_x(), before);
    for (runway_section& c : runway_geometry_table[static_cast<size_t>(g)].sections) c.left[0] += 50.0f, c.right[0] += 50.0f;
    const std::vector<float> after = sign_x();
    ASSERT_EQ(after.size(), before.size());
    for (size_t k = 0; k < after.size(); ++k) EXPECT_NEAR(after[k] - before[k], 20.0f, 0.01f) << k;
}

// Blowing snow below 0 degrees C while it precipitates: one repeat every
// 50 m from the first left edge (x -20, z 0) of the 40-m wide runway.
TEST_F(AirportPass, BlowingSnowBelowFreezingRepeatsEveryFiftyMetres)
{
    add_airport({runway("18", runway_geometry())});
    landing_splash_on = 0;
    look_down(0.0f, -800.0f, 0.4f);
    const float was = sim_weather.temperature_sealevel_c;
    sim_weather.rain_percent = 0.5f;
    for (const float temperature : {0.0f, -1.0f}) {
        sim_weather.temperature_sealevel_c = temperature;
        const std::vector<fb_item> snow = drawn_with(capture([&] { WORLDOBJ_draw_objects(); }), TEX_SLOT_BLOWING_SNOW);
        EXPECT_EQ(snow.empty(), temperature == 0.0f);
        float s_lo = 1e9f, s_hi = -1e9f, t_lo = 1e9f;
        for (const fb_item& p : snow)
            for (const auto& v : p.v) s_lo = std::min(s_lo, v.s), s_hi = std::max(s_hi, v.s), t_lo = std::min(t_lo, v.t);
        if (temperature < 0.0f) {
            EXPECT_NEAR(s_lo, 0.0f, 1e-4f);
            EXPECT_NEAR(s_hi, 0.8f, 1e-4f);
            EXPECT_NEAR(t_lo, -32.0f, 1e-3f);
        }
    }
    sim_weather.rain_percent = 0.0f;
    sim_weather.temperature_sealevel_c = was;
}

// Fifteen large aprons of the selected airport show aircraft, the 16th none:
// aprons 17 down to 1 (apron 11 too small to count), the 16th is apron 1.
// Apron r shows the aircraft of slot r mod 10, never the user's own (slot 0,
// apron 10).
TEST_F(AirportPass, OnlyFifteenApronsShowAircraft)
{
    screen_settings.draw_apron_aircraft = 1;
    sim_graphics_settings.draw_aircrafts = 10;
    std::vector<runway_record> runways = {runway("18", runway_geometry())};
    for (int r = 1; r <= 17; ++r)
        runways.push_back(runway("xxx", add_geometry({160, 160, 160}, 100.0f, 200.0f, 600.0f), TEX_SLOT_LINE_CONCRETE,
                                 200.0f, r == 11 ? 50.0f : 200.0f));
    add_airport(runways);
    WORLDOBJ_draw_objects();
    EXPECT_TRUE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST + 2));    // apron 2, the 15th
    EXPECT_FALSE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST + 1));   // apron 1, the 16th
    EXPECT_FALSE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST + 0));   // apron 10: the user's aircraft
}

TEST_F(AirportPass, ParkedAircraftLeavesThePlaneAsItWas)
{
    screen_settings.draw_apron_aircraft = 1;
    sim_graphics_settings.draw_aircrafts = 10;
    const int apron = add_geometry({160, 160, 160}, 100.0f, 200.0f, 600.0f);
    add_airport({runway("18", runway_geometry()), runway("xxx", apron, TEX_SLOT_LINE_CONCRETE, 200.0f, 200.0f)});
    const int p = 1;   // apron 1 parks plane 1 mod 10
    flt_struct& f = flt[p];
    f.sbrkrqst = 1.0f;
    f.theta = 7.0f;
    f.local_x = 1234.0f;
    for (int e = 0; e < 8; ++e) f.ENGN_burning[e] = 1;
    pln[p].acf_num_engines = 2;
    pln[p].acf_h_eqlbm = 2.0f;
    pln[p].acf_size_x = 5.0f, pln[p].acf_size_z = 20.0f;
    for (int k = 0; k < 73; ++k) pln[p].acf_sweep1[k] = 3.0f;
    const flt_struct flt_before = f;
    std::vector<unsigned char> pln_before(sizeof(acf_struct));
    std::memcpy(pln_before.data(), &pln[p], sizeof(acf_struct));
    const std::vector<fb_item> items = capture([] { WORLDOBJ_draw_objects(); });
    EXPECT_TRUE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST + p));
    // Parked on runway 1 of its airport, it heads 10 degrees: along its
    // shadow's left edge the nose corner (texture t 1) lies 10 degrees east
    // of north of the tail corner.
    fb_item::vertex nose{}, tail{};
    for (const fb_item& poly : drawn_with(items, TEX_SLOT_SHADOW_FIRST + p))
        for (const auto& v : poly.v)
            if (v.s < 0.5f) (v.t > 0.5f ? nose : tail) = v;
    EXPECT_NEAR(std::atan2(nose.x - tail.x, nose.y - tail.y) * 57.29578f, 10.0f, 0.01f);
    EXPECT_FALSE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST));
    EXPECT_EQ(std::memcmp(&f, &flt_before, sizeof f), 0);
    EXPECT_EQ(std::memcmp(&pln[p], pln_before.data(), sizeof(acf_struct)), 0);
    // Not below the number of aircraft drawn less one: no aircraft, but the apron still counts.
    sim_graphics_settings.draw_aircrafts = 2;
    rec.binds.clear();
    WORLDOBJ_draw_objects();
    EXPECT_FALSE(rec.bound_slot(TEX_SLOT_SHADOW_FIRST + p));
}
