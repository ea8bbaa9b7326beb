// The flight-plan reader over a file of arbitrary bytes, opened through the
// file browser as the pilot opens one, against a small navigation database;
// the plan read is then flown as the navigation computer flies it: the route
// pass moving the destination on past every entry, the radios' pass (the GPS
// on the plan's destination) at each, and the plan saved again.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/datafile.h"
#include "core/hooks.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/flight_plan.h"
#include "flightmodel/systems/radios.h"
#include "panel/glass/glass.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/navdb.h"

namespace {

std::string plan_file;

int chosen(int, int, char* name, char* path)
{
    std::strncpy(path, plan_file.c_str(), TEXT_SIZE - 1);
    std::strncpy(name, "FUZZ.FMS", TEXT_SIZE - 1);
    return 1;
}

// One airport, one VOR, one NDB and one fix near the plan the seeds hold.
void fill_database()
{
    NAV_clear_tables();
    airport_record a{};
    std::strncpy(a.id, "KSBD", APT_ID_SIZE - 1);
    runway_record r{};
    r.lat = 34.095f, r.lon = -117.235f, r.heading = 60.0f, r.length = 3000.0f, r.width = 45.0f;
    std::strncpy(r.number, "06", 3);
    a.runways.push_back(r);
    airport_table.push_back(a);
    airport_id_index.emplace(NAV_id_key("KSBD"), 0);
    navaid_record v{};
    v.kind = NAV_VOR, v.lat = 33.92f, v.lon = -117.53f, v.frequency = 11170;
    std::strncpy(v.id, "PDZ", APT_ID_SIZE - 1);
    navaid_table.push_back(v);
    navaid_record n{};
    n.kind = NAV_NDB, n.lat = 34.2f, n.lon = -117.4f, n.frequency = 338;
    std::strncpy(n.id, "SB", APT_ID_SIZE - 1);
    navaid_table.push_back(n);
    fix_record f{};
    f.lat = 34.0f, f.lon = -117.0f;
    std::strncpy(f.id, "HDF", FIX_ID_SIZE - 1);
    fix_table.push_back(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (plan_file.empty()) {
        plan_file = fuzz_program_folder() + "FUZZ.fms";
        core_hooks.UI_open_file_browser = chosen;
        fill_database();
    }
    return fuzz_read_file(plan_file, data, size, [] {
        fms_plan = fms_plan_record{};
        fms_page = fms_page_state{};
        flt[0] = flt_struct{};
        flt[0].latitude = 34.0f, flt[0].longitude = -117.3f, flt[0].groundspeed = 60.0f;
        FMS_file_open_save(FMS_OPEN);
        for (int i = 0; i < FMS_ENTRIES; ++i) {
            fms_page.leg_start = i;
            FMS_route_pass();
            SYSTEMS_radio_receivers();
        }
        FMS_file_open_save(FMS_SAVE);
    });
}
