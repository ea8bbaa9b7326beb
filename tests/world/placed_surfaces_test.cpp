// The surfaces of the placed world a plane stands on: a hard roof strictly
// inside its corners and turned with its object, and a road span of the
// plane's own cell.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "world/objects.h"
#include "world/placed_surfaces.h"
#include "world/segments.h"

namespace {

class PlacedSurfaces : public ::testing::Test {
protected:
    void SetUp() override { SEG_clear_lists(); }
    void TearDown() override
    {
        SEG_clear_lists();
        object_table.resize(objects_before_);
    }

    // An object whose one level holds `items`.
    static int make_object(std::vector<object_primitive> items)
    {
        object_table.push_back({});
        object_table.back().groups.push_back(lod_group{0, 0, 0.0f, 1.0e8f, std::move(items)});
        return static_cast<int>(object_table.size()) - 1;
    }

    // A highway running north through cell (200, 200), 36 m wide: cross
    // sections at the given z with their flags, the last one ending the polyline.
    static void highway(std::initializer_list<std::pair<float, float>> z_and_marker)
    {
        std::vector<segment_point>& h = SEG_list_for_writing(0, 200, 200);
        h.clear();
        for (const auto& [z, marker] : z_and_marker) {
            segment_point p{};
            p.x = -18.0f, p.z = z, p.edge_x = 18.0f, p.edge_z = z, p.span_flag = marker;
            h.push_back(p);
        }
    }

    size_t objects_before_ = object_table.size();
};

}  // namespace

TEST_F(PlacedSurfaces, AHardRoofCarriesStrictlyInsideAndTurnsWithItsObject)
{
    // A 24 x 18 m roof 5 m up at its first corner (6 m at the others: the
    // first corner gives the deck height), corners clockwise from above.
    auto vertex = [](float x, float y, float z) { return object_primitive{OBJ_VERTEX, {x, y, z, 0, 0, 0}}; };
    const int shop = make_object({{OBJ_QUAD_HARD, {}}, {OBJ_NORMAL, {0, 1, 0}}, vertex(-12, 5, -9), vertex(12, 6, -9),
                                  vertex(12, 6, 9), vertex(-12, 6, 9), {OBJ_END, {}}});
    const struct {
        float px, pz, heading;
        bool on;
    } rows[] = {{100.0f, 200.0f, 0, true}, {111.9f, 208.9f, 0, true}, {112.0f, 200.0f, 0, false},
                {100.0f, 210.0f, 0, false}, {100.0f, 210.0f, 90, true}, {110.0f, 200.0f, 90, false}};
    for (const auto& r : rows) {
        float height = 0.0f;
        EXPECT_EQ(OBJ_hard_quad_under(shop, 0, 0, 100.0f, 20.0f, 200.0f, r.heading, r.px, r.pz, height), r.on)
            << r.px << " " << r.pz << " " << r.heading;
        EXPECT_EQ(height, r.on ? 25.0f : 0.0f);
    }
    // A roof whose corners the list lacks gives no contact and reads nothing past the list.
    const int broken = make_object({{OBJ_QUAD_HARD, {}}, {OBJ_NORMAL, {0, 1, 0}}, vertex(-12, 5, -9)});
    float height = 0.0f;
    EXPECT_FALSE(OBJ_hard_quad_under(broken, 0, 0, 100.0f, 20.0f, 200.0f, 0.0f, 100.0f, 200.0f, height));
}

TEST_F(PlacedSurfaces, APlaneOnASpanOfItsOwnCellIsOnTheRoad)
{
    highway({{40.0f, SEG_ON_LAND}, {-40.0f, SEG_END}});
    const struct {
        float x, z;
        int i, j;
        bool on;
    } rows[] = {{0, 0, 200, 200, true},      {17.9f, 39.9f, 200, 200, true}, {18.0f, 0, 200, 200, false},
                {0, 40.0f, 200, 200, false}, {0, 0, 201, 200, false},        {0, 0, 200, 201, false},
                {30.0f, 0, 200, 200, false}};
    for (const auto& r : rows)
        EXPECT_EQ(SEG_on_road(r.i, r.j, r.x, r.z), r.on) << r.x << " " << r.z << " " << r.i << " " << r.j;
    // The last element's flag above 0: its span has no next point and is not tested, the one before is.
    highway({{40.0f, SEG_ON_LAND}, {-40.0f, SEG_ON_LAND}});
    EXPECT_TRUE(SEG_on_road(200, 200, 0.0f, 0.0f));
}
