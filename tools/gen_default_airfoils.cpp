// Writes the default aircraft's airfoil files from their readable descriptions.
//
//   gen_default_airfoils <descriptions folder> <program folder>
//
// Every "*.txt" file of the descriptions folder describes one airfoil as
// "key value" lines ('#' starts a comment): the output file name ("file",
// the rest of its line, so a name may hold blanks) and
// every fitted parameter of an airfoil file, named as the block's fields
// without their "afl_" prefix. The coefficient tables are generated from the
// fits and the result is written as a version-700 airfoil file into
// "AIRFOILS:" below the program folder.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "aircraft/airfoil.h"
#include "platform/plat_files.h"
#include "tools/tool_args.h"

namespace {

struct param {
    const char* key;
    float afl_block::*field;   // a single value, or the first entry of a pair
};

// Pairs and quadruples are written to table 0 (root, member 0) and end 0.
const param params[] = {
    {"linear_alpha", &afl_block::afl_linear_alpha}, {"Lpow", &afl_block::afl_Lpow},
    {"Lstall", &afl_block::afl_Lstall},             {"Ldrop1", &afl_block::afl_Ldrop1},
    {"Lpowstl", &afl_block::afl_Lpowstl},           {"Ldrop2", &afl_block::afl_Ldrop2},
    {"Dmin", &afl_block::afl_Dmin},                 {"DminCL", &afl_block::afl_DminCL},
    {"Dal10", &afl_block::afl_Dal10},               {"Dpow", &afl_block::afl_Dpow},
    {"Bloc", &afl_block::afl_Bloc},                 {"Bwidth", &afl_block::afl_Bwidth},
    {"Bdepth", &afl_block::afl_Bdepth},             {"Bpower", &afl_block::afl_Bpower},
    {"cmal2", &afl_block::afl_cmal2},               {"cmal3", &afl_block::afl_cmal3},
    {"cm1", &afl_block::afl_cm1},                   {"cm2", &afl_block::afl_cm2},
    {"cm3", &afl_block::afl_cm3},                   {"cm4", &afl_block::afl_cm4},
};

struct array_param {
    const char* key;
    float* (*entry)(afl_block&);
};

const array_param array_params[] = {
    {"re_num", [](afl_block& b) { return &b.afl_re_num[0]; }},
    {"t_rat", [](afl_block& b) { return &b.afl_t_rat[0]; }},
    {"mach_div", [](afl_block& b) { return &b.afl_mach_div[0]; }},
    {"clM", [](afl_block& b) { return &b.afl_clM[0]; }},
    {"clB", [](afl_block& b) { return &b.afl_clB[0]; }},
    {"almin", [](afl_block& b) { return &b.afl_almin[0]; }},
    {"almax", [](afl_block& b) { return &b.afl_almax[0]; }},
};

bool has_txt_extension(const std::string& name)
{
    if (name.size() < 5 || name[0] == '.') return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".txt";
}

// A plain file name ending in ".afl" that fits the aircraft's 40-character name field.
bool good_output_name(const std::string& name)
{
    if (name.size() < 5 || name.size() >= AFL_NAME_SIZE) return false;
    if (name.find_first_of("/\\:") != std::string::npos || name[0] == '.') return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".afl";
}

// Parses one description into the block; returns the output file name, or an
// empty text after printing what is wrong.
std::string parse_description(const std::string& path, const std::string& text, afl_block& b)
{
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key, value, extra;
        if (!(words >> key)) continue;
        if (key == "file") {
            // A file name may hold blanks: the rest of the line, trimmed.
            std::getline(words, value);
            const size_t first = value.find_first_not_of(" \t\r");
            const size_t last = value.find_last_not_of(" \t\r");
            value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
            if (value.empty()) {
                std::fprintf(stderr, "%s:%d: expected \"file name\"\n", path.c_str(), number);
                return "";
            }
        } else if (!(words >> value) || (words >> extra)) {
            std::fprintf(stderr, "%s:%d: expected \"key value\"\n", path.c_str(), number);
            return "";
        }
        if (!values.emplace(key, value).second) {
            std::fprintf(stderr, "%s:%d: \"%s\" given twice\n", path.c_str(), number, key.c_str());
            return "";
        }
    }

    auto take_float = [&](const char* key, float& out) {
        auto it = values.find(key);
        if (it == values.end()) {
            std::fprintf(stderr, "%s: \"%s\" is missing\n", path.c_str(), key);
            return false;
        }
        char* end = nullptr;
        const float v = std::strtof(it->second.c_str(), &end);
        if (end == it->second.c_str() || *end != 0 || !std::isfinite(v)) {
            std::fprintf(stderr, "%s: \"%s\" is not a number: %s\n", path.c_str(), key, it->second.c_str());
            return false;
        }
        out = v;
        values.erase(it);
        return true;
    };

    for (const param& p : params)
        if (!take_float(p.key, b.*(p.field))) return "";
    for (const array_param& p : array_params)
        if (!take_float(p.key, *p.entry(b))) return "";

    auto file = values.find("file");
    if (file == values.end() || !good_output_name(file->second)) {
        std::fprintf(stderr, "%s: \"file\" must name a file ending in .afl of at most %d characters\n",
                     path.c_str(), AFL_NAME_SIZE - 1);
        return "";
    }
    const std::string name = file->second;
    values.erase(file);
    if (!values.empty()) {
        std::fprintf(stderr, "%s: unknown key \"%s\"\n", path.c_str(), values.begin()->first.c_str());
        return "";
    }
    return name;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!tool_arguments(argc, 2, "gen_default_airfoils <descriptions folder> <program folder>")) return 2;
    std::string source = argv[1];
    std::string program = argv[2];
    if (!source.empty() && source.back() != '/') source += '/';
    if (!program.empty() && program.back() != '/') program += '/';

    std::vector<PLAT_dir_entry> entries;
    if (!PLAT_list_directory(source.c_str(), entries)) {
        std::fprintf(stderr, "gen_default_airfoils: cannot list %s\n", source.c_str());
        return 1;
    }
    std::vector<std::string> names;
    for (const PLAT_dir_entry& e : entries)
        if (!e.is_folder && has_txt_extension(e.name)) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    if (names.empty()) {
        std::fprintf(stderr, "gen_default_airfoils: no descriptions in %s\n", source.c_str());
        return 1;
    }

    std::error_code ec;
    std::filesystem::create_directories(PLAT_resolve_path((program + "AIRFOILS").c_str()), ec);

    int written = 0;
    for (const std::string& name : names) {
        const std::string path = source + name;
        std::string text;
        if (!PLAT_read_text_file(path.c_str(), text)) {
            std::fprintf(stderr, "gen_default_airfoils: cannot read %s\n", path.c_str());
            return 1;
        }
        afl_block& b = AIRFOIL_block(0, 0);
        b = afl_block{};
        const std::string out_name = parse_description(path, text, b);
        if (out_name.empty()) return 1;
        if (!AIRFOIL_build_tables(b, AFL_table_index(0, 0))) {
            std::fprintf(stderr, "gen_default_airfoils: %s gives coefficients out of range\n", path.c_str());
            return 1;
        }

        const std::string out_path = program + "AIRFOILS:" + out_name;
        if (!AIRFOIL_read_write(AFL_MODE_WRITE, 0, 0, 0, 0, out_path.c_str())) {
            std::fprintf(stderr, "gen_default_airfoils: cannot write %s\n", out_path.c_str());
            return 1;
        }
        ++written;
    }
    std::printf("gen_default_airfoils: wrote %d airfoil files\n", written);
    return 0;
}
