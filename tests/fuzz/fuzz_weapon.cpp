// The weapon file reader over a file of arbitrary bytes in the program's
// weapon folder, read into the four stations of an aircraft that names it as
// the aircraft's load reads them, with the masses that follow; then flown a
// few frames with every arming switch on and the trigger held, so the
// weapons are released and fly. The aircraft itself is loaded and set up
// once (its panel set-up alone would take most of each input's time) and
// given back to the user's plane before each input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_setup.h"
#include "aircraft/wpn_file.h"
#include "core/input.h"
#include "core/simvars/cockpit.h"
#include "core/weapon_kinds.h"
#include "flightmodel/weapons/weapons.h"
#include "tests/fuzz/fuzz_aircraft.h"
#include "tests/support/minimal_aircraft.h"

namespace {

constexpr int STATIONS = 4;

// Once per process: the least aircraft that passes the checks (no engines,
// no wings, a fuselage), naming the weapon file on four stations, written
// to the aircraft folder and loaded (no weapon file there yet), its records
// kept.
struct loaded_carrier {
    acf_struct a;
    flt_struct f;
};
const loaded_carrier& carrier(const std::string& folder)
{
    acf_struct& a = pln[0];
    test_aircraft::make_minimal(a);
    const std::string path = folder + "AIRCRAFT:CARRIER.ACF";
    UTIL_strcpy(path.c_str(), a.acf_file_path);
    UTIL_strcpy("OV-WPN", a.acf_tailnum);
    a.acf_Vne = 300.0f;
    a.acf_m_empty = 5000.0f;
    a.acf_m_max = 9000.0f;
    for (int w = 0; w < STATIONS; ++w) {
        UTIL_strcpy("FUZZ.WPN", a.wpn_name + w * ACF_WPN_NAME_SIZE);
        a.acf_Xwpn_att[w] = w % 2 ? 3.0f : -3.0f;   // mirrored pairs either side of the fuselage
        a.acf_Ywpn_att[w] = -1.0f;
    }
    ACF_read_write(ACF_MODE_WRITE, 0, 0);
    fuzz_aircraft::reset_world();
    UTIL_strcpy(path.c_str(), a.acf_file_path);
    ACF_load_and_setup(0);
    static loaded_carrier loaded;
    loaded = {pln[0], flt[0]};
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzz_aircraft::program_folder_laid_out();
    static const loaded_carrier& aircraft = carrier(folder);
    static const std::string file = folder + "WEAPONS:FUZZ.WPN";
    return fuzz_read_file(file, data, size, [] {
        fuzz_aircraft::reset_world();
        pln[0] = aircraft.a;
        flt[0] = aircraft.f;
        char path[ACF_TEXT_SIZE];
        for (int w = 0; w < STATIONS; ++w) WPN_read(ACF_MODE_READ, 0, w, "FUZZ.WPN", path, 0);
        ACF_setup_initial_masses(0);
        sim_cockpit_weapons.guns_armed = sim_cockpit_weapons.rockets_armed = 1;
        sim_cockpit_weapons.missiles_armed = sim_cockpit_weapons.bombs_armed = 1;
        sim_cockpit_weapons.firing_mode = WPN_FIRING_SALVO;   // every bomb at once
        key_hold_command = 1;
        fuzz_aircraft::fly(5);
        key_hold_command = 0;
    });
}
