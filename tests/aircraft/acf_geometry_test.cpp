// Span efficiency, body areas and element points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "aircraft/acf_geometry.h"
#include "aircraft/acf_report.h"
#include "core/ui_text.h"
#include "tests/aircraft/acf_test_util.h"

using namespace acf_test;

TEST(AcfGeometry, SpanEfficiencyTableCornersInterpolationAndEdges)
{
    EXPECT_FLOAT_EQ(ACF_e_search(1, 0, -40, 0), 0.941f);
    EXPECT_FLOAT_EQ(ACF_e_search(60, 5, 70, 1), 0.801f);
    EXPECT_NEAR(ACF_e_search(7.5f, 0, 0, 0.45f), 0.99475f, 0.0001f);
    // Beyond an axis: its edge value, no extrapolation.
    EXPECT_FLOAT_EQ(ACF_e_search(0.5f, 0, 0, 0.45f), ACF_e_search(1, 0, 0, 0.45f));
    EXPECT_NEAR(ACF_e_search(0.5f, 0, 0, 0.45f), 0.983f, 1e-6f);
    EXPECT_FLOAT_EQ(ACF_e_search(100, 0, 0, 0.45f), ACF_e_search(60, 0, 0, 0.45f));
    EXPECT_FLOAT_EQ(ACF_e_search(5, -3, -90, -1), ACF_e_search(5, 0, -40, 0));
    EXPECT_FLOAT_EQ(ACF_e_search(5, 9, 120, 3), ACF_e_search(5, 5, 70, 1));

    // Every node of the table, read in thousandths: their sum, and their sum
    // weighted by position (1 for the first node, 720 for the last), from the
    // published table.
    const float ar[] = {1, 5, 10, 25, 60}, wash[] = {0, 2, 5}, sweep[] = {-40, -25, 0, 25, 40, 70},
                taper[] = {0, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.7f, 1.0f};
    long long sum = 0, weighted = 0, k = 0;
    for (float a : ar)
        for (float w : wash)
            for (float s : sweep)
                for (float t : taper) {
                    const long long m = std::lround(ACF_e_search(a, w, s, t) * 1000.0f);
                    sum += m;
                    weighted += ++k * m;
                }
    EXPECT_EQ(sum, 655482);
    EXPECT_EQ(weighted, 228720342);
}

namespace {

// Body part p of slot 1 with `stations` circular stations of radius r, 1 m apart;
// points 0..8 from the top down the right side, 22.5 degrees apart.
void circular_body(int p, int stations, float r)
{
    acf_struct& a = pln[1];
    std::memset(&a, 0, sizeof a);
    for (int s = 0; s < stations; ++s)
        for (int k = 0; k < ACF_BODY_POINTS; ++k) {
            const double ang = k * 22.5 * M_PI / 180.0;
            const int e = (p * ACF_BODY_STATIONS + s) * ACF_BODY_POINTS + k;
            a.acf_body_X[e] = static_cast<float>(r * std::sin(ang));
            a.acf_body_Y[e] = static_cast<float>(r * std::cos(ang));
            a.acf_body_Z[e] = static_cast<float>(s);
        }
}

struct areas {
    float front = 0, side = 0, top = 0, cx = -1, cy = -1, cz = -1, surface = 0, yz = 0, xz = 0, xy = 0;
    void of(int slot, int part, float x0, float y0, float z0, int weapon = 0)
    {
        ACF_body_areas(slot, part, weapon, x0, y0, z0, front, side, top, cx, cy, cz, surface, yz, xz, xy);
    }
};

}  // namespace

TEST(AcfGeometry, BodyAreasOfCircularStationsAndOfDegenerateBodies)
{
    const float r = 0.8f;
    circular_body(44, 12, r);
    areas b;
    b.of(1, 44, 0.5f, 1.0f, 2.0f);
    EXPECT_NEAR(b.front, 8.0f * r * r * std::sin(22.5f * static_cast<float>(M_PI) / 180.0f), 1e-4f);
    EXPECT_FLOAT_EQ(b.cx, 0.5f);
    EXPECT_NEAR(b.side, 2.0f * r * 11.0f, 1e-3f);       // the full height over 11 m of stations
    EXPECT_NEAR(b.top, 2.0f * r * 11.0f, 1e-3f);        // out to the widest point and back, over 11 m
    EXPECT_GT(b.surface, 0.0f);
    EXPECT_NEAR(b.cy, 1.0f, 1e-4f);                       // symmetric above and below its axis
    EXPECT_NEAR(b.cz, 2.0f + 5.5f, 1e-3f);

    // The frontal area only grows; the other outputs add up over calls.
    const areas first = b;
    b.front = 100.0f;
    b.of(1, 44, 0.5f, 1.0f, 2.0f);
    EXPECT_EQ(b.front, 100.0f);
    EXPECT_NEAR(b.surface, 2.0f * first.surface, 1e-3f);

    // Stations laid out towards the nose: the side strips come out negative and
    // are not counted, the top strips count by their size.
    for (int e = 44 * ACF_BODY_STATIONS * ACF_BODY_POINTS; e < 45 * ACF_BODY_STATIONS * ACF_BODY_POINTS; ++e)
        pln[1].acf_body_Z[e] = -pln[1].acf_body_Z[e];
    areas back;
    back.of(1, 44, 0.5f, 1.0f, 2.0f);
    EXPECT_EQ(back.side, 0.0f);
    EXPECT_NEAR(back.top, 2.0f * r * 11.0f, 1e-3f);

    // All points on the centre line: no areas, and without surface the
    // centroid is the reference point.
    std::memset(&pln[1], 0, sizeof pln[1]);
    areas flat;
    flat.of(1, 45, 1.0f, 2.0f, 3.0f);
    EXPECT_EQ(flat.front, 0.0f);
    EXPECT_EQ(flat.side, 0.0f);
    EXPECT_EQ(flat.top, 0.0f);
    EXPECT_EQ(flat.cy, 2.0f);
    EXPECT_EQ(flat.cz, 3.0f);
}

// The user's aircraft reports each body: areas in 8 places with 3 decimals,
// centroids in 7 with 2, then their distance from the body's reference
// point. A body of the user's aircraft with a frontal area below 0.0001
// square metres cannot be flown: 0.00005 stops the program, 0.0002 does not.
TEST(AcfGeometry, UsersBodiesAreReportedAndNeedAFrontalArea)
{
    program_folder_fixture fx;
    std::memset(ui_text_table, 0, sizeof ui_text_table);
    std::strcpy(ui_text_table[820 + 44], "FUS");
    {
        logs_folder logs;
        circular_body(44, 12, 0.8f);
        pln[0] = pln[1];
        areas b;
        b.of(0, 44, 0.5f, 1.0f, 2.0f);
        const std::string out = logs.report();
        const char* lines[] = {
            "Фронтальная зона        FUS  =    1.959 кв. м.        \n",
            "Боковая зона            FUS  =   17.600 кв. м.        \n",
            "Поперечный центроид              FUS   =      0.50 метра от ЦТ, то есть            0.00 от опорной",
            "Продольный центроид              FUS   =      7.50 метра от ЦТ, то есть            5.50 метра от опорной",
        };
        for (const char* l : lines) EXPECT_NE(out.find(ACF_cp1251(l)), std::string::npos) << l;
        // On the body's axis: no distance, whichever side the rounding falls.
        const std::string vertical = "Вертикальный центроид            FUS   =      1.00 метра от ЦТ, то есть         ";
        EXPECT_TRUE(out.find(ACF_cp1251((vertical + "   0.00 от").c_str())) != std::string::npos ||
                    out.find(ACF_cp1251((vertical + "  -0.00 от").c_str())) != std::string::npos);
    }
    clear_alerts();
    for (auto [frontal, stops] : {std::pair{0.00005f, true}, {0.0002f, false}}) {
        circular_body(44, 12, std::sqrt(frontal / (8.0f * std::sin(22.5f * static_cast<float>(M_PI) / 180.0f))));
        pln[0] = pln[1];
        areas b;
        if (stops)
            EXPECT_EQ(expect_fatal([&] { b.of(0, 44, 0, 0, 0); }).code, ALERT_FATAL);
        else
            b.of(0, 44, 0, 0, 0);
    }
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

TEST(AcfGeometry, EachKindOfBodyUsesItsOwnStationsAndPoints)
{
    // Unit circles on all 20 stations, 1 m apart: side and top areas count the
    // station gaps used, the frontal area the half outline used.
    const float s = std::sin(22.5f * static_cast<float>(M_PI) / 180.0f), h = std::sqrt(0.5f);
    struct row {
        int part, weapon;
        float side, top, front;
    };
    const row rows[] = {
        {0, 0, 5 * (1 + h), 5 * (2 - h), 6 * s + 0.5f},  // 3 elements: 6 stations, points to 135 degrees
        {44, 0, 22, 22, 8 * s},    {50, 0, 22, 22, 8 * s}, {58, 0, 22, 22, 8 * s},
        {61, 0, 7, 7, 4 * s},      {66, 0, 7, 7, 4 * s},   // 8 stations, points to 90 degrees
        {61, 1, 22, 22, 8 * s},                           // a weapon body: 12 stations, 18 points
        {70, 0, 0, 0, 0},
    };
    for (const row& r : rows) {
        circular_body(r.part, ACF_BODY_STATIONS, 1.0f);
        pln[1].acf_els[0] = 3;
        areas b;
        b.of(1, r.part, 0, 0, 0, r.weapon);
        EXPECT_NEAR(b.side, r.side, 1e-3f) << r.part << " weapon " << r.weapon;
        EXPECT_NEAR(b.top, r.top, 1e-3f) << r.part << " weapon " << r.weapon;
        EXPECT_NEAR(b.front, r.front, 1e-4f) << r.part << " weapon " << r.weapon;
    }

    // A flat 1 m square strip of one element: two triangles of 1 square metre
    // (both halves) with centroids (2/3, 0, 1/3) and (1/3, 0, 2/3), moved by (1, 3, 0).
    std::memset(&pln[1], 0, sizeof pln[1]);
    pln[1].acf_els[0] = 1;
    for (int st = 0; st < 2; ++st)
        for (int k = 0; k < ACF_BODY_POINTS; ++k) {
            const int e = st * ACF_BODY_POINTS + k;
            pln[1].acf_body_X[e] = k == 0 ? 0.0f : 1.0f;
            pln[1].acf_body_Z[e] = static_cast<float>(st);
        }
    areas b;
    b.of(1, 0, 1, 3, 0);
    EXPECT_NEAR(b.surface, 2.0f, 1e-5f);
    EXPECT_NEAR(b.top, 1.0f, 1e-5f);
    EXPECT_NEAR(b.cy, 3.0f, 1e-5f);
    EXPECT_NEAR(b.cz, 0.5f, 1e-5f);
    EXPECT_NEAR(b.yz, 167.0f / 9, 1e-4f);
    EXPECT_NEAR(b.xz, 46.0f / 9, 1e-4f);
    EXPECT_NEAR(b.xy, 203.0f / 9, 1e-4f);
}

TEST(AcfGeometry, PointsAlongWingsAndBlades)
{
    acf_struct& a = pln[2];
    std::memset(&a, 0, sizeof a);
    flt_struct& f = flt[2];
    for (int p : {8, 9}) {
        a.acf_element_len[p] = 2.0f;
        a.acf_els[p] = 5;
        a.acf_Xarm[p] = p == 8 ? -1.0f : 1.0f;
        a.acf_Yarm[p] = -0.5f;
        a.acf_Zarm[p] = 3.0f;
        a.acf_side_sign[p] = p == 8 ? -1.0f : 1.0f;
        f.foil_cos_swe[p] = 1.0f;
        f.foil_sin_swe[p] = 0.0f;
        f.foil_cos_dih[p] = std::cos(0.1f);
        f.foil_sin_dih[p] = std::sin(0.1f);
    }
    EXPECT_FLOAT_EQ(ACF_point_on_element(2, 9, 0.0f, 'X'), 1.0f);
    EXPECT_FLOAT_EQ(ACF_point_on_element(2, 9, 0.0f, 'Z'), 3.0f);
    EXPECT_NEAR(ACF_point_on_element(2, 9, 5.0f, 'X'), 1.0f + 10.0f * std::cos(0.1f), 1e-5f);
    EXPECT_NEAR(ACF_point_on_element(2, 9, 5.0f, 'Y'), -0.5f + 10.0f * std::sin(0.1f), 1e-5f);
    EXPECT_NEAR(ACF_point_on_element(2, 8, 5.0f, 'X'), -ACF_point_on_element(2, 9, 5.0f, 'X'), 1e-5f);

    // A blade of ten elements of 0.3 m, swept 10 degrees: 2.5 elements out.
    a.acf_els[0] = 10;
    a.acf_element_len[0] = 0.3f;
    for (int j = 0; j < 10; ++j) a.acf_bladesweep[j] = 10.0f;
    const float c = std::cos(10.0f * static_cast<float>(M_PI) / 180.0f);
    EXPECT_NEAR(ACF_point_on_element(2, 0, 2.5f, 'X'), 2.5f * 0.3f * c, 1e-5f);
    EXPECT_EQ(ACF_point_on_element(2, 0, 2.5f, 'Y'), 0.0f);
    EXPECT_GT(ACF_point_on_element(2, 0, 2.5f, 'Z'), 0.0f);
    // Far past the tip: the whole blade, never a read past its sweep entries.
    EXPECT_NEAR(ACF_point_on_element(2, 0, 1e30f, 'X'), 10 * 0.3f * c, 1e-4f);
    a.acf_els[0] = 0;
    EXPECT_EQ(ACF_point_on_element(2, 0, 2.5f, 'X'), 0.0f);
}
