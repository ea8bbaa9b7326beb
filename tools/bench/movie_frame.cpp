// One movie frame at 320 x 240 on the offscreen context: the copy into the
// capture texture, the flipped quad, the read-back, the byte shuffle, the
// JPEG compression and the sample append.

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/screen.h"
#include "graphics/glprobe.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "links/movie.h"
#include "platform/plat_time.h"
#include "shell/display.h"

namespace {

double fake_seconds = 0.0;
double fake_clock() { return fake_seconds += 0.6; }   // the take's one-second wait passes at once

// The window and the recorder, made once for every run of the benchmark.
const char* set_up_once()
{
    static const char* failure = [] () -> const char* {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        screen.window_width = 1024;
        screen.window_height = 768;
        screen.colour_depth = 32;
        DISPLAY_set_ui_mapping();
        if (!OGL_create_window()) return "no OpenGL context";
        OGL_probe_capabilities();
        CONST_fill_constants();
        OGL_fill_default_colors();
        OGL_init_image_blocks();
        MOVIE_init_quicktime();
        return movie_keys_enabled ? nullptr : "no JPEG compressor";
    }();
    return failure;
}

void BM_movie_frame(benchmark::State& state)
{
    if (const char* failure = set_up_once()) {
        state.SkipWithError(failure);
        return;
    }
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "orvell_movie_bench";
    std::filesystem::create_directories(dir);
    const std::string base = (dir / "BENCH.mov").string();
    UTIL_strcpy(base.c_str(), movie_file_path);
    movie_width = 320;
    movie_height = 240;
    movie_frame_rate = 99.0f;
    PLAT_set_clock_source(fake_clock, nullptr);
    frame_clock = 0.0f;
    MOVIE_start();
    glClearColor(0.2f, 0.5f, 0.8f, 1.0f);
    for (auto _ : state) {
        state.PauseTiming();
        glClear(GL_COLOR_BUFFER_BIT);
        frame_clock += 0.05f;   // every frame is a sample
        state.ResumeTiming();
        MOVIE_add_frame();
        glFinish();
    }
    MOVIE_finish();
    PLAT_set_clock_source(nullptr, nullptr);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_movie_frame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
