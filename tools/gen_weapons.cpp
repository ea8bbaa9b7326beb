// Writes the project's weapon files from their readable descriptions.
//
//   gen_weapons <descriptions folder> <program folder>
//
// Every "*.txt" file of the descriptions folder describes one weapon as lines
// of a key and its values ('#' starts a comment). Quantities are in the
// weapon file's units: lengths in feet, masses in pounds, forces in
// pounds-force, the projectile's drag area in square inches, speeds in feet
// per second; counts, rates per second, times in seconds, angles in degrees.
//
//   file NAME.wpn                   the file written into "WEAPONS:"
//   kind K                          the weapon kind (core/weapon_kinds.h)
//   text WORDS...                   its description (155 characters at most)
//   cg X Y Z                        attach point to centre of gravity (a gun gives X only)
//   range R                         fire-line length (line guns)
//   fire_rate N                     projectiles per second (guns, rocket pods)
//   ammo N                          projectiles carried
//   muzzle_speed V  proj_drag_area A
//   fixed_mass M  mass M  fuel M    the station's own mass, the weapon's (or one
//                                   projectile's), a tank's fuel when full
//   cd_base C                       the body's base drag coefficient
//   fin SET ARM ROOT TIP SPAN DIHEDRAL ROLL_A ROLL_B   one fin set (0..3), two fins
//   stage N THRUST BURN             motor stage 1..3
//   aim AZ EL                       travel of an aimable gun
//   radius R                        the body's radius
//   station Z R                     the next station of the round body (12 at most)
//
// The weapon goes into a weapon slot as the reader leaves it, is written with
// the project's weapon-file writer and read back; any alert or a slot that
// does not read back is a failure.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "aircraft/wpn_file.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/units.h"
#include "core/weapon_kinds.h"
#include "tools/tool_setup.h"
#include "tools/tool_args.h"

namespace {

constexpr float FT = UNIT.ft_to_mtrs;
constexpr int BODY_STATIONS = 12;   // the stations a weapon's body is measured over
constexpr int HALF_POINTS = 9;      // points 0..8 down one side, 22.5 degrees apart

struct weapon_description {
    std::string file, text;
    wpn_slot_record slot{};   // in the slot's units
    float radius = 0.0f;
    std::vector<std::pair<float, float>> stations;   // z, radius (m)
};

bool numbers(std::istringstream& in, std::vector<float>& out, size_t count)
{
    out.clear();
    float v;
    while (in >> v) {
        if (!std::isfinite(v)) return false;
        out.push_back(v);
    }
    return in.eof() && out.size() == count;
}

std::string rest_of(std::istringstream& in)
{
    std::string s;
    std::getline(in, s);
    const size_t first = s.find_first_not_of(" \t\r");
    const size_t last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// Reads one description; false after printing what is wrong.
bool parse(const std::string& path, weapon_description& d)
{
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "gen_weapons: cannot read %s\n", path.c_str());
        return false;
    }
    wpn_slot_record& w = d.slot;
    std::string line;
    int number = 0;
    bool have_kind = false;
    while (std::getline(file, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::string key;
        if (!(in >> key)) continue;
        auto bad = [&](const char* what) {
            std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), number, what);
            return false;
        };
        std::vector<float> v;
        auto one = [&](float& out, float factor) {
            if (!numbers(in, v, 1)) return bad("expected one number");
            out = v[0] * factor;
            return true;
        };
        if (key == "file") {
            d.file = rest_of(in);
        } else if (key == "text") {
            d.text = rest_of(in);
            if (d.text.size() >= WPN_TEXT_SIZE) return bad("the text is longer than 155 characters");
        } else if (key == "kind") {
            float k;
            if (!one(k, 1.0f) || k != std::floor(k) || k < 0.0f || k > 99.0f) return bad("expected a kind 0..99");
            w.wpn_type = static_cast<int32_t>(k);
            have_kind = true;
        } else if (key == "cg") {
            if (!numbers(in, v, 3)) return bad("expected x y z");
            for (int k = 0; k < 3; ++k) w.wpn_cg_offset[k] = v[k] * FT;
        } else if (key == "range") {
            if (!one(w.wpn_range, FT)) return false;
        } else if (key == "fire_rate") {
            if (!one(w.wpn_fire_rate, 1.0f)) return false;
        } else if (key == "ammo") {
            if (!one(w.wpn_ammo, 1.0f)) return false;
        } else if (key == "muzzle_speed") {
            if (!one(w.wpn_muzzle_speed, FT)) return false;
        } else if (key == "proj_drag_area") {
            if (!one(w.wpn_proj_drag_area, UNIT.sqft_to_sqm / 144.0f)) return false;
        } else if (key == "fixed_mass") {
            if (!one(w.wpn_fixed_mass, UNIT.lbs_to_kgs)) return false;
        } else if (key == "mass") {
            if (!one(w.wpn_mass, UNIT.lbs_to_kgs)) return false;
        } else if (key == "fuel") {
            if (!one(w.wpn_fuel, UNIT.lbs_to_kgs)) return false;
        } else if (key == "cd_base") {
            if (!one(w.wpn_cd_base, 1.0f)) return false;
        } else if (key == "fin") {
            if (!numbers(in, v, 8) || v[0] < 0.0f || v[0] > 3.0f || v[0] != std::floor(v[0]))
                return bad("expected set arm root tip span dihedral roll roll");
            const int i = static_cast<int>(v[0]);
            w.wpn_fin_arm[i] = v[1] * FT;
            w.wpn_fin_root[i] = v[2] * FT;
            w.wpn_fin_tip[i] = v[3] * FT;
            w.wpn_fin_span[i] = v[4] * FT;
            w.wpn_fin_dihedral[i] = v[5];
            w.wpn_fin_roll[2 * i] = v[6];
            w.wpn_fin_roll[2 * i + 1] = v[7];
        } else if (key == "stage") {
            if (!numbers(in, v, 3) || v[0] < 1.0f || v[0] > 3.0f || v[0] != std::floor(v[0]))
                return bad("expected stage thrust burn");
            const int s = static_cast<int>(v[0]) - 1;
            w.wpn_thrust[s] = v[1] * UNIT.lbf_to_n;
            w.wpn_burn_time[s] = v[2];
        } else if (key == "aim") {
            if (!numbers(in, v, 2)) return bad("expected az el");
            w.wpn_aim_az_max = v[0];
            w.wpn_aim_el_max = v[1];
        } else if (key == "radius") {
            if (!one(d.radius, FT)) return false;
        } else if (key == "station") {
            if (!numbers(in, v, 2)) return bad("expected z radius");
            if (d.stations.size() >= BODY_STATIONS) return bad("more than 12 stations");
            d.stations.emplace_back(v[0] * FT, v[1] * FT);
        } else {
            return bad("unknown key");
        }
    }
    if (!have_kind) {
        std::fprintf(stderr, "%s: no kind\n", path.c_str());
        return false;
    }
    if (!(w.wpn_mass > 0.0f)) {
        std::fprintf(stderr, "%s: a weapon needs a mass\n", path.c_str());
        return false;
    }
    const std::string ext = d.file.size() > 4 ? d.file.substr(d.file.size() - 4) : "";
    if (d.file.empty() || d.file.find_first_of("/\\:") != std::string::npos || d.file.size() >= 100 ||
        (ext != ".wpn" && ext != ".WPN")) {
        std::fprintf(stderr, "%s: \"file\" must name a file ending in .wpn\n", path.c_str());
        return false;
    }
    if (w.wpn_type == WPN_KIND_GUN && (w.wpn_cg_offset[1] != 0.0f || w.wpn_cg_offset[2] != 0.0f)) {
        std::fprintf(stderr, "%s: a gun's file holds its centre of gravity across only\n", path.c_str());
        return false;
    }
    // A gun's file keeps its fire rate where other weapons keep their reference point.
    if (w.wpn_type == WPN_KIND_GUN) w.wpn_range = 0.0f;
    std::memcpy(reinterpret_cast<char*>(&w) + WPN_TEXT_OFFSET, d.text.c_str(), d.text.size() + 1);
    w.wpn_mass_now = w.wpn_mass;
    w.wpn_fuel_now = w.wpn_fuel;
    return true;
}

// The round body into the body arrays of part index `s` of plane 0: points 0..8
// down the right side from the top, 9..17 back up the left side.
void lay_body(const weapon_description& d, int s)
{
    acf_struct& a = pln[0];
    a.acf_body_r[s] = d.radius;
    for (size_t k = 0; k < d.stations.size(); ++k) {
        const auto [z, r] = d.stations[k];
        for (int j = 0; j < ACF_BODY_POINTS; ++j) {
            const int side = j < HALF_POINTS ? j : ACF_BODY_POINTS - 1 - j;
            const float angle = 22.5f * static_cast<float>(side) * DEG_TO_RAD_FLOAT;
            const int p = s * ACF_BODY_PART_POINTS + static_cast<int>(k) * ACF_BODY_POINTS + j;
            a.acf_body_X[p] = (j < HALF_POINTS ? 1.0f : -1.0f) * r * std::sin(angle);
            a.acf_body_Y[p] = r * std::cos(angle);
            a.acf_body_Z[p] = z;
        }
    }
}

bool close_enough(float a, float b) { return std::fabs(a - b) <= 1e-5f * std::fabs(b) + 1e-6f; }

// Writes the weapon through the writer and reads it back into another slot.
bool make_weapon(const std::string& folder, const weapon_description& d)
{
    constexpr int WRITE_SLOT = 0, READ_SLOT = 1;
    acf_struct& a = pln[0];
    std::memset(static_cast<void*>(&a), 0, sizeof a);
    a.acf_wpn_slot[WRITE_SLOT] = d.slot;
    lay_body(d, WRITE_SLOT);

    char path[ACF_TEXT_SIZE] = {};
    const std::string target = folder + "WEAPONS:" + d.file;
    if (target.size() >= ACF_TEXT_SIZE) {
        std::fprintf(stderr, "gen_weapons: weapon path too long\n");
        return false;
    }
    std::snprintf(path, sizeof path, "%s", target.c_str());
    WPN_read(8, 0, WRITE_SLOT, d.file.c_str(), path, 1);
    if (tool_alerts_seen) return false;

    std::snprintf(path, sizeof path, "%s", target.c_str());
    WPN_read(7, 0, READ_SLOT, d.file.c_str(), path, 1);
    const wpn_slot_record& back = a.acf_wpn_slot[READ_SLOT];
    if (tool_alerts_seen || back.wpn_type != d.slot.wpn_type) {
        std::fprintf(stderr, "gen_weapons: %s does not read back\n", d.file.c_str());
        return false;
    }
    const float* written = reinterpret_cast<const float*>(&d.slot);
    const float* read = reinterpret_cast<const float*>(&back);
    for (int k = 3; k < WPN_TEXT_OFFSET / 4; ++k)
        if (!close_enough(read[k], written[k])) {
            std::fprintf(stderr, "gen_weapons: %s reads back another value at offset %d\n", d.file.c_str(), 4 * k);
            return false;
        }
    std::printf("gen_weapons: wrote WEAPONS:%s\n", d.file.c_str());
    return true;
}

bool has_txt_extension(const std::string& name)
{
    if (name.size() < 5 || name[0] == '.') return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".txt";
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 2, "gen_weapons <descriptions folder> <program folder>")) return EXIT_FAILURE;
    tool_report_alerts("gen_weapons");
    std::string folder = argv[2];
    if (!tool_program_folder(folder, "gen_weapons", 120)) return EXIT_FAILURE;

    std::vector<std::string> sources;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(argv[1], ec))
        if (e.is_regular_file() && has_txt_extension(e.path().filename().string())) sources.push_back(e.path().string());
    if (ec || sources.empty()) {
        std::fprintf(stderr, "gen_weapons: no descriptions in %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    std::sort(sources.begin(), sources.end());
    for (const std::string& source : sources) {
        weapon_description d;
        if (!parse(source, d) || !make_weapon(folder, d)) return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
