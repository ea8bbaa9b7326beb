// Aircraft files of versions 600 and 626: the part renumbering, a synthetic
// old body with a distinct value in every field of the old layout (both byte
// orders), the rules and defaults of the conversion, old files through the
// reader, and the trainer written as a version-626 file and loaded back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "aircraft/acf_old_file.h"
#include "core/engine_types.h"
#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

namespace {

// The old layout's table, as the converter reads it.
enum old_layout : uint8_t { OLD_WORDS, OLD_BY_PART, OLD_BY_ELEMENT, OLD_BY_BODY, OLD_BYTES_BY_PART, OLD_BYTE };
struct old_field {
    uint32_t old_offset;
    old_layout layout;
    uint32_t count;
    std::size_t offset;
};
constexpr old_field old_fields[] = {
#include "aircraft/acf_old_table.inc"
};

// Calls f(old offset, record offset, width in bytes of the old value) for every
// value of the table, each old part at its current place.
template <class F>
void for_each_value(F&& f)
{
    for (const old_field& r : old_fields) {
        switch (r.layout) {
        case OLD_WORDS:
            for (uint32_t i = 0; i < r.count; ++i) f(r.old_offset + 4 * i, r.offset + 4 * i, 4);
            break;
        case OLD_BY_PART:
            for (int q = 0; q < ACF_OLD_PARTS; ++q) f(r.old_offset + 4 * q, r.offset + 4 * ACF_remap_part_index(q), 4);
            break;
        case OLD_BY_ELEMENT:
            for (int q = 0; q < ACF_OLD_PARTS; ++q)
                for (int i = 0; i < 10; ++i)
                    f(r.old_offset + 4 * (10 * q + i), r.offset + 4 * (10 * ACF_remap_part_index(q) + i), 4);
            break;
        case OLD_BY_BODY:
            for (int q = 0; q < ACF_OLD_PARTS; ++q)
                for (int k = 0; k < 360; ++k)
                    f(r.old_offset + 4 * (360 * q + k), r.offset + 4 * (360 * ACF_remap_part_index(q) + k), 4);
            break;
        case OLD_BYTES_BY_PART:
            for (int q = 0; q < ACF_OLD_PARTS; ++q) f(r.old_offset + q, r.offset + 4 * ACF_remap_part_index(q), 1);
            break;
        case OLD_BYTE: f(r.old_offset, r.offset, 1); break;
        }
    }
}

// An old body in memory, written to the staging record or to a file.
struct old_body {
    std::vector<uint8_t> b = std::vector<uint8_t>(ACF_OLD_RECORD_SIZE, 0);
    void put_f(std::size_t off, float v) { std::memcpy(&b[off], &v, 4); }
    void put_i(std::size_t off, int32_t v) { std::memcpy(&b[off], &v, 4); }
    void text(std::size_t off, const char* t) { std::memcpy(&b[off], t, std::strlen(t) + 1); }
    // The body as a machine of the other byte order writes it: every word
    // reversed except the texts and byte fields, and a non-zero byte-order word.
    std::vector<uint8_t> other_order() const
    {
        std::vector<uint8_t> o = b;
        for (std::size_t i = 0; i < 4; ++i) o.at(ACF_OLD_BYTE_ORDER + i) = i == 3 ? 1 : 0;
        auto keep = [](std::size_t off) {
            if (off < 1040) return true;   // tail number, author, description
            for (std::size_t base : ACF_OLD_AFL_NAMES)
                if (off >= base && off < base + 57 * 40) return true;
            if (off >= 432440 && off < 432500) return true;   // gear-steering bytes
            return off >= ACF_OLD_WPN_NAMES && off < ACF_OLD_WPN_NAMES + 24 * 500;
        };
        for (std::size_t i = 0; i < o.size(); i += 4)
            if (!keep(i) && i != ACF_OLD_BYTE_ORDER) std::swap(o[i], o[i + 3]), std::swap(o[i + 1], o[i + 2]);
        return o;
    }
    void stage(const std::vector<uint8_t>& bytes) const { std::memcpy(acf_old_record.bytes, bytes.data(), bytes.size()); }
};

std::string file_of(char letter, int version, const std::vector<uint8_t>& body)
{
    uint32_t v = static_cast<uint32_t>(version);
    if (letter == 'a') v = FILE_swap32(v);
    const std::size_t n = version == 600 ? ACF_OLD_BODY_SIZE_600 : ACF_OLD_RECORD_SIZE;
    return std::string(1, letter) + std::string(reinterpret_cast<const char*>(&v), 4) +
           std::string(reinterpret_cast<const char*>(body.data()), n);
}

// Record offsets that the rules and defaults of the conversion (or its
// clamps of empty values) rewrite after the copy.
std::set<std::size_t> rewritten_offsets()
{
    std::set<std::size_t> s;
    auto field = [&](std::size_t off, std::size_t words) {
        for (std::size_t i = 0; i < words; ++i) s.insert(off + 4 * i);
    };
    field(offsetof(acf_struct, acf_mac), 730);
    field(offsetof(acf_struct, acf_num_thrustpoints), 1);
    field(offsetof(acf_struct, acf_num_engines), 1);
    field(offsetof(acf_struct, acf_prop_type), 8);
    field(offsetof(acf_struct, acf_cgZ_fwd), 1);
    field(offsetof(acf_struct, acf_cgZ_aft), 1);
    field(offsetof(acf_struct, acf_ins_type), 200);
    field(offsetof(acf_struct, acf_num_tanks), 1);
    field(offsetof(acf_struct, acf_tank_Z), 1);
    field(offsetof(acf_struct, acf_stall_warn_alpha), 1);
    field(offsetof(acf_struct, acf_lanlite_the), 1);
    field(offsetof(acf_struct, acf_ail2vmax), 1);
    field(offsetof(acf_struct, acf_cockpit_type), 1);
    field(offsetof(acf_struct, acf_draw_geo_frnt_views), 1);
    field(offsetof(acf_struct, acf_draw_geo_side_views), 1);
    return s;
}

class OldFile : public ::testing::Test {
protected:
    program_folder_fixture fx;
    void SetUp() override { clear_alerts(); }
};

}  // namespace

TEST(OldPartIndex, RenumberedByTheTable)
{
    const std::pair<int, int> cases[] = {{0, 0},   {19, 19}, {20, 28}, {36, 44}, {37, 53}, {44, 60}, {45, 45},
                                         {46, 46}, {47, 61}, {51, 65}, {52, 67}, {56, 71}, {57, 57}, {-1, -1}};
    for (auto [old_part, part] : cases) EXPECT_EQ(ACF_remap_part_index(old_part), part) << old_part;
}

TEST_F(OldFile, EveryOldValueLandsAtItsNewOffsetAndPartInBothByteOrders)
{
    // A distinct value in every word the table lists (whole numbers from 1000
    // up, as floats), distinct bytes in the byte fields, texts in the text fields.
    old_body body;
    int n = 0;
    for_each_value([&](std::size_t old_off, std::size_t, int width) {
        if (width == 1)
            body.b[old_off] = static_cast<uint8_t>(1 + n++ % 250);
        else
            body.put_f(old_off, 1000.0f + static_cast<float>(n++));
    });
    body.put_i(ACF_OLD_BYTE_ORDER, 0);
    body.text(ACF_OLD_TAILNUM, "OV-OLD");
    body.text(ACF_OLD_AUTHOR, "Old author");
    body.text(ACF_OLD_DESCRIP, "An aircraft of the old layout");
    body.text(ACF_OLD_AFL_NAMES[0] + 40 * 8, "root of old part 8.afl");
    body.text(ACF_OLD_AFL_NAMES[3] + 40 * 40, "tip of old part 40.afl");
    body.text(ACF_OLD_WPN_NAMES + 500 * 23, "last store.wpn");

    const std::set<std::size_t> rewritten = rewritten_offsets();
    for (char letter : {'i', 'a'}) {
        const std::vector<uint8_t> bytes = letter == 'i' ? body.b : body.other_order();
        body.stage(bytes);
        ACF_swap_old_record();
        ACF_set_defaults(3);
        const uint8_t* rec = reinterpret_cast<const uint8_t*>(&pln[3]);
        int checked = 0;
        for_each_value([&](std::size_t old_off, std::size_t off, int width) {
            if (old_off == ACF_OLD_BYTE_ORDER || rewritten.count(off)) return;
            ++checked;
            if (width == 1) {
                int32_t v;
                std::memcpy(&v, rec + off, 4);
                EXPECT_EQ(v, body.b[old_off]) << letter << " old offset " << old_off;
            } else {
                EXPECT_EQ(std::memcmp(rec + off, &body.b[old_off], 4), 0) << letter << " old offset " << old_off;
            }
        });
        EXPECT_GT(checked, 30000);
        // A handful at the old offsets of the format, written out here: rows of
        // the table swapped with each other would still agree with it above.
        const acf_struct& c = pln[3];
        const std::pair<std::size_t, const float*> by_hand[] = {
            {1092, &c.acf_Vso}, {1096, &c.acf_Vs}, {1108, &c.acf_Vne}, {6332 + 4 * 3, &c.acf_SFC[3]},
            {16932 + 4 * 47, &c.acf_Xarm[61]}, {18300 + 4 * 40, &c.acf_Croot[56]},
            {22404 + 4 * (10 * 20 + 3), &c.acf_s[ACF_el(28, 3)]}, {428484 + 4 * 52, &c.acf_gear_leglen[67]},
            {179964 + 4 * (360 * 52 + 100), &c.acf_body_X[360 * 67 + 100]}, {453140, &c.acf_tow_hook_Z}};
        for (const auto& [old_off, field] : by_hand)
            EXPECT_EQ(std::memcmp(field, &body.b[old_off], 4), 0) << letter << " old offset " << old_off;
        EXPECT_STREQ(pln[3].acf_tailnum, "OV-OLD") << letter;
        EXPECT_STREQ(pln[3].acf_author, "Old author");
        EXPECT_STREQ(pln[3].acf_descrip, "An aircraft of the old layout");
        EXPECT_STREQ(pln[3].acf_Rafl0 + 40 * 8, "root of old part 8.afl");
        EXPECT_STREQ(pln[3].acf_Tafl1 + 40 * 56, "tip of old part 40.afl");
        EXPECT_STREQ(pln[3].wpn_name + 500 * 23, "last store.wpn");
        EXPECT_EQ(pln[3].acf_byte_order != 0, letter == 'a');
        // Both chord ratios of a control surface take the one old ratio.
        EXPECT_EQ(pln[3].acf_ail1_crat, pln[3].acf_ail1_crat2);
        EXPECT_EQ(pln[3].acf_flap_crat, pln[3].acf_flap_crat2);
    }
}

TEST_F(OldFile, UnterminatedTextsEndAtTheirLastByte)
{
    old_body body;
    std::memset(&body.b[ACF_OLD_TAILNUM], 'N', 40);
    std::memset(&body.b[ACF_OLD_DESCRIP], 'D', 500);
    std::memset(&body.b[ACF_OLD_AFL_NAMES[2]], 'a', 57 * 40);
    std::memset(&body.b[ACF_OLD_WPN_NAMES], 'w', 24 * 500);
    body.stage(body.b);
    ACF_set_defaults(1);
    EXPECT_EQ(strnlen(pln[1].acf_tailnum, 40), 39u);
    EXPECT_EQ(strnlen(pln[1].acf_descrip, 500), 499u);
    EXPECT_EQ(strnlen(pln[1].acf_Tafl0 + 40 * 71, 40), 39u);
    EXPECT_EQ(strnlen(pln[1].wpn_name + 500 * 23, 500), 499u);
}

TEST_F(OldFile, CockpitTypeOfTheUsersAircraftOnly)
{
    old_body body;
    body.put_i(1064, 9);
    body.stage(body.b);
    ACF_set_defaults(3);
    EXPECT_EQ(pln[3].acf_cockpit_type, 9);
    EXPECT_EQ(pln[3].acf_draw_geo_frnt_views, 0);
    body.stage(body.b);
    ACF_set_defaults(0);
    EXPECT_EQ(pln[0].acf_cockpit_type, 1);
    EXPECT_EQ(pln[0].acf_draw_geo_frnt_views, 1);
    EXPECT_EQ(pln[0].acf_draw_geo_side_views, 1);
}

TEST_F(OldFile, RulesAndDefaultsOfTheConversion)
{
    old_body body;
    body.put_f(431840, 2.0f);    // centre of gravity z
    body.put_f(18300 + 4 * 8, 6.0f);   // root chord of old part 8
    body.put_i(433336, 0);       // no fuel tanks
    body.put_f(431032, 3.0f);    // pitch at equilibrium
    body.put_i(6064, 2);         // two engines
    body.put_i(6172 + 4, ENGINE_TURBINE_FIXED);
    body.put_i(6236, PROP_COLLECTIVE_ROTOR);
    body.put_f(6116, 2.0f);      // one gear ratio
    body.put_i(1052, 2);         // a rotor machine
    body.put_f(6168, 4.0f);
    for (int s = 0; s < 200; ++s) body.put_i(1256 + 4 * s, -1);
    body.put_i(1256 + 4 * 10, 48);
    body.put_i(1256 + 4 * 30, 48);
    body.put_f(428712 + 4 * 52, 1.0f);   // tyre radius of old part 52 (gear 67)
    body.put_i(450856 + 4 * 85, 3);      // whole-number chord of old part 8, element 5
    body.put_i(430936, 1);
    body.put_i(430964, 3);       // three flap detents, their deflections not in the old layout
    body.stage(body.b);
    ACF_set_defaults(2);
    const acf_struct& a = pln[2];

    EXPECT_EQ(a.acf_num_tanks, 1);
    EXPECT_EQ(a.acf_tank_rat[0], 1.0f);
    EXPECT_EQ(a.acf_tank_Z[0], 2.0f);
    EXPECT_FLOAT_EQ(a.acf_cgZ_fwd, 2.0f - 0.9f);
    EXPECT_FLOAT_EQ(a.acf_cgZ_aft, 2.0f + 0.9f);
    EXPECT_EQ(a.acf_Vle, 1000.0f);
    EXPECT_EQ(a.acf_roll_co, 0.025f);
    EXPECT_EQ(a.acf_brake_co, 0.75f);
    EXPECT_EQ(a.acf_stall_warn_alpha, 10.0f);
    EXPECT_EQ(a.acf_lanlite_the, -7.0f);
    EXPECT_EQ(a.acf_ail2vmax, 9999.0f);
    EXPECT_EQ(a.acf_splr_vmax, 9999.0f);
    EXPECT_EQ(a.acf_vect_rate, 15.0f);
    EXPECT_EQ(a.acf_flap_vect_hi, 120.0f);
    EXPECT_EQ(a.acf_unpub_625320, 1);
    EXPECT_EQ(a.acf_idle_rat_lo, 1.0f);
    EXPECT_EQ(a.acf_battery_cap, 1.0f);
    EXPECT_EQ(a.acf_unpub_2248, 20.0f);
    EXPECT_EQ(a.acf_flap_dn[1], 10.0f);
    EXPECT_EQ(a.acf_flap_dn[3], 30.0f);
    EXPECT_EQ(a.acf_phase_tvect_out_at_90, 1);
    EXPECT_EQ(a.acf_tvec_hdng_at_00, 1);

    // A rotor machine has two thrust points; engine 1's turbine becomes a lift fan.
    EXPECT_EQ(a.acf_num_thrustpoints, 2);
    EXPECT_EQ(a.acf_prop_type[1], PROP_LIFT_FAN);
    EXPECT_EQ(a.acf_num_engines, 1);
    EXPECT_EQ(a.acf_props_linked, 1);
    EXPECT_EQ(a.acf_eng_clutch[7], 1);
    EXPECT_EQ(a.acf_prop_gear_rat[0], 0.5f);   // a rotor's gear ratio divided down
    EXPECT_EQ(a.acf_prop_gear_rat[3], 2.0f);
    // The collective rotor takes the last lever of type 48 as its collective.
    EXPECT_EQ(a.acf_ins_type[10], 48);
    EXPECT_EQ(a.acf_ins_type[30], 60);
    EXPECT_FLOAT_EQ(a.acf_gear_tirwid[67], 0.35f);
    EXPECT_EQ(a.acf_mac[ACF_el(8, 5)], 3.0f);
    EXPECT_EQ(a.acf_inc_elev[ACF_el(16, 9)], 1);
    EXPECT_EQ(a.acf_inc_elev[ACF_el(18, 0)], 0);
    for (int p = 20; p <= 27; ++p) {
        EXPECT_STREQ(a.acf_Rafl0 + 40 * p, "NACA 0009 (symmetrical).afl");
        EXPECT_STREQ(a.acf_Tafl1 + 40 * p, "NACA 0009 (symmetrical).afl");
    }
}

TEST_F(OldFile, TankRatiosThatDoNotAddUpAreShared)
{
    old_body body;
    body.put_i(433336, 2);
    body.put_f(433240, 0.6f);
    body.put_f(433244, 0.6f);
    body.put_f(433248, 0.9f);   // the third tank is not in use
    body.stage(body.b);
    ACF_set_defaults(1);
    EXPECT_EQ(pln[1].acf_tank_rat[0], 0.5f);
    EXPECT_EQ(pln[1].acf_tank_rat[1], 0.5f);
    EXPECT_EQ(pln[1].acf_tank_rat[2], 0.9f);
    body.put_f(433244, 0.4f);
    body.stage(body.b);
    ACF_set_defaults(1);
    EXPECT_EQ(pln[1].acf_tank_rat[0], 0.6f);
    EXPECT_EQ(pln[1].acf_tank_rat[1], 0.4f);
}

// A tail-rotor machine (old kind 1) divides only its tail rotor's gear ratio;
// a centre-of-gravity range given at one end only is kept as it is.
TEST_F(OldFile, TailRotorGearRatioAndAOneSidedCentreOfGravityRange)
{
    old_body body;
    body.put_i(6064, 2);                    // two engines
    body.put_i(6236, PROP_TAIL_ROTOR);
    body.put_i(6236 + 4, PROP_COLLECTIVE_ROTOR);
    body.put_f(6116, 3.0f);                 // one gear ratio
    body.put_i(1052, 1);                    // a tail-rotor machine
    body.put_f(6168, 2.0f);
    body.put_f(431840, 2.0f);               // centre of gravity z
    body.put_f(18300 + 4 * 8, 6.0f);        // root chord of old part 8
    body.put_f(432400, 1.5f);               // forward limit given, aft limit not
    body.stage(body.b);
    ACF_set_defaults(1);
    const acf_struct& a = pln[1];
    EXPECT_EQ(a.acf_prop_gear_rat[0], 1.5f);
    EXPECT_EQ(a.acf_prop_gear_rat[1], 3.0f);
    EXPECT_EQ(a.acf_num_thrustpoints, 2);
    EXPECT_EQ(a.acf_cgZ_fwd, 1.5f);
    EXPECT_EQ(a.acf_cgZ_aft, 0.0f);
}

// Propellers are linked only for a reason: vectored thrust, a rotor machine,
// fewer engines than thrust points or a pre-rotate button (type 15) on the
// panel. The old rudder flag marks every element of both fins. A panel that
// has its collective lever (type 60) keeps its throttles.
TEST_F(OldFile, LinkedPropellersRudderFinsAndAnExistingCollective)
{
    for (int button : {0, 1}) {
        old_body body;
        body.put_i(6064, 2);   // two engines, not a rotor machine
        for (int s = 0; s < 200; ++s) body.put_i(1256 + 4 * s, -1);
        if (button) body.put_i(1256 + 4 * 7, 15);
        body.stage(body.b);
        ACF_set_defaults(1);
        EXPECT_EQ(pln[1].acf_props_linked, button) << button;
        EXPECT_EQ(pln[1].acf_eng_clutch[0], button) << button;
    }

    old_body body;
    body.put_i(6064, 1);
    body.put_i(6236, PROP_COLLECTIVE_ROTOR);
    for (int s = 0; s < 200; ++s) body.put_i(1256 + 4 * s, -1);
    body.put_i(1256 + 4 * 10, 48);
    body.put_i(1256 + 4 * 20, 60);
    body.put_i(430940, 1);
    body.stage(body.b);
    ACF_set_defaults(1);
    const acf_struct& a = pln[1];
    EXPECT_EQ(a.acf_ins_type[10], 48);
    EXPECT_EQ(a.acf_ins_type[20], 60);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(a.acf_inc_rudd[ACF_el(18, i)], 1) << i;
        EXPECT_EQ(a.acf_inc_rudd[ACF_el(19, i)], 1) << i;
        EXPECT_EQ(a.acf_inc_rudd[ACF_el(17, i)], 0) << i;
        EXPECT_EQ(a.acf_inc_elev[ACF_el(16, i)], 0) << i;
    }
}

namespace {

// The least an old aircraft needs to pass the checks (the old layout's copy of make_minimal).
old_body minimal_old()
{
    old_body body;
    body.text(ACF_OLD_TAILNUM, "OV-OLD");
    body.put_f(1108, 160.0f);     // Vne
    body.put_f(431856, 1500.0f);  // empty mass
    body.put_f(431864, 2400.0f);  // maximum mass
    body.put_f(431028, 4.0f);     // equilibrium height
    body.put_f(6072, 1.0f);       // forward throttle limit
    for (int s = 0; s < 200; ++s) body.put_i(1256 + 4 * s, -1);
    for (int k = 0; k < 20; ++k)  // the fuselage: old part 36
        for (int j = 0; j < 18; ++j) body.put_f(344124 + 4 * ((36 * 20 + k) * 18 + j), 2.0f * k);
    return body;
}

}  // namespace

TEST_F(OldFile, OldFilesThroughTheReaderAndAVersion600AfterA626)
{
    old_body body = minimal_old();
    body.text(ACF_OLD_WPN_NAMES + 500 * 2, "carried.wpn");
    fx.dir.write("AIRCRAFT/O626.acf", file_of('a', 626, body.other_order()));
    fx.dir.write("AIRCRAFT/O600.acf", file_of('i', 600, body.b));

    std::memset(&pln[4], 0, sizeof pln[4]);
    set_path(pln[4], fx.aircraft_path("O626.acf"), "O626.acf");
    ASSERT_EQ(ACF_read_write(ACF_MODE_READ, 4, 0), 1);
    EXPECT_STREQ(pln[4].wpn_name + 500 * 2, "carried.wpn");
    EXPECT_STREQ(pln[4].acf_tailnum, "OV-OLD");
    EXPECT_EQ(pln[4].acf_Vne, 160.0f);
    EXPECT_STREQ(pln[4].acf_file_name, "O626.acf");

    set_path(pln[4], fx.aircraft_path("O600.acf"), "O600.acf");
    ASSERT_EQ(ACF_read_write(ACF_MODE_READ, 4, 0), 1);
    EXPECT_STREQ(pln[4].wpn_name + 500 * 2, "");   // the 600 body ends before the weapon names
    EXPECT_EQ(pln[4].acf_m_max, 2400.0f);
    EXPECT_TRUE(recorded_alerts.empty());
}

TEST_F(OldFile, DamagedOldFilesAreRefusedLikeVersion700Files)
{
    old_body body = minimal_old();
    const std::string good = file_of('i', 626, body.b);
    old_body many = minimal_old();
    many.put_i(6064, 9);   // more engines than the record holds
    old_body elements = minimal_old();
    elements.put_i(16704 + 4 * 30, 11);   // old part 30 with eleven elements
    const std::pair<const char*, std::string> cases[] = {
        {"short.acf", good.substr(0, good.size() - 4)},
        {"short600.acf", file_of('i', 600, body.b).substr(0, 1000)},
        {"engines.acf", file_of('i', 626, many.b)},
        {"elements.acf", file_of('i', 626, elements.b)},
    };
    for (const auto& [name, bytes] : cases) {
        clear_alerts();
        fx.dir.write(std::string("AIRCRAFT/") + name, bytes);
        std::memset(&pln[4], 0, sizeof pln[4]);
        set_path(pln[4], fx.aircraft_path(name), name);
        EXPECT_EQ(ACF_read_write(ACF_MODE_READ, 4, 0), 0) << name;
        ASSERT_EQ(recorded_alerts.size(), 1u) << name;
        EXPECT_EQ(recorded_alerts[0].code, ALERT_NOTICE);
        EXPECT_EQ(recorded_alerts[0].lines[1], fx.aircraft_path(name));
        EXPECT_EQ(pln[4].acf_Vne, 0.0f);
    }
}

namespace {

// The old body a version-626 file of the record would carry: every value of
// the table at its old place, the texts, and the old values the rules read.
old_body old_body_of(const acf_struct& a)
{
    old_body body;
    const uint8_t* rec = reinterpret_cast<const uint8_t*>(&a);
    for_each_value([&](std::size_t old_off, std::size_t off, int width) {
        if (width == 1)
            body.b[old_off] = rec[off];
        else
            std::memcpy(&body.b[old_off], rec + off, 4);
    });
    std::memcpy(&body.b[ACF_OLD_TAILNUM], a.acf_tailnum, 40);
    std::memcpy(&body.b[ACF_OLD_AUTHOR], a.acf_author, 500);
    std::memcpy(&body.b[ACF_OLD_DESCRIP], a.acf_descrip, 500);
    const char* names[4] = {a.acf_Rafl0, a.acf_Rafl1, a.acf_Tafl0, a.acf_Tafl1};
    for (int n = 0; n < 4; ++n)
        for (int q = 0; q < ACF_OLD_PARTS; ++q)
            std::memcpy(&body.b[ACF_OLD_AFL_NAMES[n] + 40 * q], names[n] + 40 * ACF_remap_part_index(q), 40);
    std::memcpy(&body.b[ACF_OLD_WPN_NAMES], a.wpn_name, sizeof a.wpn_name);
    body.put_f(6116, a.acf_prop_gear_rat[0]);
    for (int k = 0; k < 3; ++k) body.put_f(433240 + 4 * k, a.acf_tank_rat[k]);
    body.put_i(ACF_OLD_BYTE_ORDER, 0);
    return body;
}

}  // namespace

TEST_F(OldFile, TrainerWrittenAsAVersion626FileLoadsWithItsOwnValues)
{
    namespace fs = std::filesystem;
    const std::string trainer = built_aircraft_file("Orvell Trainer.acf");
    ASSERT_FALSE(trainer.empty()) << "the built data folder has no default trainer";

    // The trainer as the simulator reads it.
    FOLDERS_init_from(ORVELL_DATA_FOLDER "orvell");
    std::memset(&pln[5], 0, sizeof pln[5]);
    set_path(pln[5], trainer, fs::path(trainer).filename().string());
    ASSERT_EQ(ACF_read_write(ACF_MODE_READ, 5, 0), 1);
    auto original = std::make_unique<acf_struct>(pln[5]);

    // Written as a version-626 file below a program folder of our own, with the airfoils beside it.
    FOLDERS_init_from((fx.dir.prefix() + "orvell").c_str());
    fs::create_directories(fx.dir.path() / "AIRFOILS");
    for (const auto& e : fs::directory_iterator(fs::path(ORVELL_DATA_FOLDER) / "Airfoils"))
        fs::copy_file(e.path(), fx.dir.path() / "AIRFOILS" / e.path().filename());
    fx.dir.write("AIRCRAFT/T626.acf", file_of('i', 626, old_body_of(*original).b));
    clear_alerts();
    std::memset(&pln[5], 0, sizeof pln[5]);
    set_path(pln[5], fx.aircraft_path("T626.acf"), "T626.acf");
    ASSERT_EQ(ACF_read_write(ACF_MODE_READ, 5, 0), 1);
    EXPECT_TRUE(recorded_alerts.empty());

    const std::set<std::size_t> rewritten = rewritten_offsets();
    const uint8_t* was = reinterpret_cast<const uint8_t*>(original.get());
    const uint8_t* now = reinterpret_cast<const uint8_t*>(&pln[5]);
    int differ = 0;
    for_each_value([&](std::size_t old_off, std::size_t off, int) {
        if (old_off == ACF_OLD_BYTE_ORDER || rewritten.count(off)) return;
        if (std::memcmp(was + off, now + off, 4) != 0 && ++differ < 10)
            ADD_FAILURE() << "record offset " << off << " (old offset " << old_off << ")";
    });
    EXPECT_EQ(differ, 0);
    EXPECT_STREQ(pln[5].acf_tailnum, original->acf_tailnum);
    EXPECT_STREQ(pln[5].acf_Rafl0 + 40 * 8, original->acf_Rafl0 + 40 * 8);
    // The airfoils loaded: the wing's tables are those of the version-700 read.
    EXPECT_EQ(std::memcmp(&pln[5].afl[8], &original->afl[8], sizeof(afl_block)), 0);
}

TEST_F(OldFile, AnyBytesConvertWithoutLeavingTheRecord)
{
    // Random bodies in both byte orders: every count and index the rules use is
    // taken as it comes, so only the sanitizers and the bounds speak here.
    uint32_t seed = 12345;
    old_body body;
    for (int round = 0; round < 8; ++round) {
        for (size_t i = 0; i < body.b.size(); i += 4) {
            seed = seed * 1664525u + 1013904223u;
            std::memcpy(&body.b[i], &seed, 4);
        }
        if (round % 2) body.put_i(ACF_OLD_BYTE_ORDER, 0);
        body.stage(body.b);
        ACF_swap_old_record();
        ACF_set_defaults(round % 2 ? 0 : 6);
        const acf_struct& a = pln[round % 2 ? 0 : 6];
        EXPECT_LT(strnlen(a.acf_tailnum, 40), 40u);
        EXPECT_LT(strnlen(a.wpn_name + 500 * 23, 500), 500u);
    }
}
