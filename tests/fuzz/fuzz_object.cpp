// The object file reader over a file of arbitrary bytes: read into a fresh
// record and finished as the scenery finishes it (normals, display lists).
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "world/objects.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz_gl_context()) return 0;
    static const std::string file = fuzz_program_folder() + "fuzz.obj";
    return fuzz_read_file(file, data, size, [] {
        OBJ_clear_table();
        scenery_object_record r{};
        r.object_class = OBJ_CLASS_NEW;
        r.day_tex = r.lit_tex = OBJ_NO_TEXTURE;
        r.groups.push_back(lod_group{0, 0, 0.0f, OBJ_FIRST_GROUP_FAR2, {}});
        object_table.push_back(r);
        if (OBJ_read_file(file.c_str(), 0, 0)) OBJ_finish(0);
    });
}
