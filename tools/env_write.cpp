// Writes one ENV scenery tile of the project's procedural world in any of the
// versions 6, 61, 631 and 650 and either byte order, with extra object
// records when asked (for scenery packages and tests).
//
// usage: env_write <apt.dat> <planet 0|1> <south> <west> <out.env>
//                  [--version 6|61|631|650] [--order i|a] [--objects <file>]
// An objects file holds one record a line: type latitude longitude value
// [name], the name for type 8 (custom objects). Version 6 keeps no linear
// features and has fewer land uses: the generated ones are mapped onto its
// old types; versions 61 and 631 keep the sections they carry.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/env/world_gen.h"

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: env_write <apt.dat> <planet 0|1> <south> <west> <out.env> [--version 6|61|631|650] "
                 "[--order i|a] [--objects <file>]\n");
    return 2;
}

// The old type a version-6 file gives for a land use.
int32_t old_type(int32_t type)
{
    switch (type) {
    case envgen::LU_OCEAN:
    case envgen::LU_LAKE: return 2;
    case envgen::LU_URBAN: return 3;
    case envgen::LU_FOREST: return 6;
    case envgen::LU_FARMLAND: return 1;
    default: return 0;
    }
}

bool read_objects(const char* path, std::vector<env::object_record>& out)
{
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream f(line);
        env::object_record o;
        if (!(f >> o.type >> o.lat >> o.lon >> o.value)) continue;
        f >> o.name;
        out.push_back(o);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 6) return usage();
    int32_t version = 650;
    char order = 'i';
    const char* objects = nullptr;
    for (int k = 6; k + 1 < argc; k += 2) {
        if (std::strcmp(argv[k], "--version") == 0)
            version = static_cast<int32_t>(std::strtol(argv[k + 1], nullptr, 10));
        else if (std::strcmp(argv[k], "--order") == 0)
            order = argv[k + 1][0];
        else if (std::strcmp(argv[k], "--objects") == 0)
            objects = argv[k + 1];
        else
            return usage();
    }
    if ((argc - 6) % 2 != 0 || (order != 'i' && order != 'a') ||
        (version != 6 && version != 61 && version != 631 && version != 650))
        return usage();

    std::vector<envgen::airport> airports;
    if (!envgen::read_airports(argv[1], airports)) {
        std::fprintf(stderr, "env_write: cannot read %s\n", argv[1]);
        return 1;
    }
    const envgen::world w(std::atoi(argv[2]), airports);
    env::tile t = w.build_tile(std::atoi(argv[3]), std::atoi(argv[4]));
    t.version = version;
    t.order = order;
    if (version == 6) {
        for (env::grid_point& g : t.grid) {
            const int32_t word = g.landuse_word;
            g.landuse_word = env::landuse_word_v6(word / 100000000, (word / 10000000) % 10, (word / 1000000) % 10,
                                                  (word % 1000000) / 100000, old_type(word % 100000));
        }
    }
    if (objects && !read_objects(objects, t.objects)) {
        std::fprintf(stderr, "env_write: cannot read %s\n", objects);
        return 1;
    }
    if (!env::write_file(argv[5], t)) {
        std::fprintf(stderr, "env_write: cannot write %s\n", argv[5]);
        return 1;
    }
    return 0;
}
