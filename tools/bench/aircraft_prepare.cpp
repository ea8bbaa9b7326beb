// Preparing the airliner for drawing at the highest rendering resolution:
// the preparation alone (meshes, normals, paint coordinates, shadow footprint
// and blur, no file and no upload) and the whole ACF_load_textures of the
// user's plane (paint, panel and shadow textures read and uploaded on the
// offscreen context), with the data folder laid out beside the benchmark.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstring>

#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "core/alert.h"
#include "core/constants.h"
#include "core/folders.h"
#include "core/screen.h"
#include "core/text_util.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "scene/aircraft/acf_textures.h"
#include "scene/aircraft/shadow.h"
#include "shell/display.h"
#include "tools/bench/bench_gl.h"
#include "shell/main.h"

namespace {

int alerts = 0;
void count_alert(int, const char* const[4], int) { ++alerts; }

// The airliner loaded and set up in slot 1, then copied into the user's slot.
bool airliner_ready()
{
    static const bool ready = [] {
        MACIBM_set_alert_handler(count_alert);
        FOLDERS_init();
        if (!bench_gl_context()) return false;
        screen.rendering_res = 4;
        UTIL_strcpy("AIRCRAFT:HEAVY METAL:ORVELL AIRLINER:ORVELL AIRLINER.ACF", default_aircraft_path);
        UTIL_strcpy("ORVELL AIRLINER.ACF", default_aircraft_name);
        UTIL_strcat3(program_folder, default_aircraft_path, pln[1].acf_file_path);
        if (!ACF_load_and_setup(1)) return false;
        pln[0] = pln[1];
        flt[0] = flt[1];
        return alerts == 0;
    }();
    return ready;
}

void BM_prepare_airliner(benchmark::State& state)
{
    if (!airliner_ready()) return state.SkipWithError("the airliner did not load (is the data folder laid out?)");
    GLint max_size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
    const int S = ACF_shadow_size(screen.rendering_res, max_size);
    for (auto _ : state) {
        ACF_prepare_model(0);
        ACF_shadow_raster(0, S, pixel_buffer);
        ACF_shadow_blur(pixel_buffer, S);
        benchmark::DoNotOptimize(pixel_buffer[0]);
    }
    state.SetLabel("shadow " + std::to_string(S) + " texels");
}

void BM_load_textures_airliner(benchmark::State& state)
{
    if (!airliner_ready()) return state.SkipWithError("the airliner did not load (is the data folder laid out?)");
    for (auto _ : state) {
        ACF_load_textures(1, 0, 0, 0);
        glFinish();
    }
    if (!pln[0].acf_has_litemap_tex) state.SkipWithError("the airliner's lit paint is missing");
}

}  // namespace

BENCHMARK(BM_prepare_airliner)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_load_textures_airliner)->Unit(benchmark::kMillisecond);
