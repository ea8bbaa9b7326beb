// What a frame benchmark sets before it measures and what it reports after:
// its own weather and time (the weather the program starts in, or a clear
// day at local noon), and counters of what the measured frames drew (ground
// cells, objects, cloud puffs, primitives, fragments per window pixel) and of
// the time they took on the main thread.
//
// The counting frames run after the timed ones: the renderer's occlusion
// count slows its fragment stage, so it never runs while time is taken.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>

#include "core/screen.h"
#include "core/simvars/time.h"
#include "core/simvars/weather.h"
#include "flightmodel/flt.h"
#include "platform/plat_window.h"
#include "scene/scene_state.h"

namespace bench {

// The weather and time the program started in, kept at the first call
// (which comes right after the start, before any benchmark changes them).
struct start_sky_record {
    sim_weather_block weather;
    sim_time_block time;
};

inline const start_sky_record& start_sky()
{
    static const start_sky_record kept{sim_weather, sim_time};
    return kept;
}

enum class sky { start_weather = 0, clear_day = 1 };

inline const char* sky_name(sky s) { return s == sky::clear_day ? "clear day" : "start weather"; }

// The weather and time of one case. The clear day keeps the start's winds
// and visibility, turns every cloud, rain and storm off and puts the sun at
// its local noon.
inline void set_sky(sky s)
{
    const start_sky_record& start = start_sky();
    sim_weather = start.weather;
    sim_time = start.time;
    if (s == sky::clear_day) {
        sim_weather.cloud_type[0] = sim_weather.cloud_type[1] = 0;
        sim_weather.rain_percent = sim_weather.thunderstorm_percent = 0.0f;
        sim_time.zulu_time_sec = std::fmod((12.0f - flt[0].longitude / 15.0f) * 3600.0f + 86400.0f, 86400.0f);
    }
}

inline double clock_seconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}
inline double thread_cpu_seconds() { return clock_seconds(CLOCK_THREAD_CPUTIME_ID); }
inline double process_cpu_seconds() { return clock_seconds(CLOCK_PROCESS_CPUTIME_ID); }   // all threads
inline double wall_seconds() { return clock_seconds(CLOCK_MONOTONIC); }

// What `frames` calls of `frame` drew, per frame.
struct drawn_record {
    double ground_cells = 0.0;
    double objects = 0.0;
    double cloud_puffs = 0.0;
    double primitives = 0.0;
    double fragments_per_pixel = 0.0;
};

template <class F>
drawn_record count_frames(int frames, F&& frame)
{
    using begin_fn = void (*)(GLenum, GLuint);
    using end_fn = void (*)(GLenum);
    using gen_fn = void (*)(GLsizei, GLuint*);
    using get_fn = void (*)(GLuint, GLenum, GLuint64*);
    const auto begin = reinterpret_cast<begin_fn>(PLAT_gl_proc_address("glBeginQuery"));
    const auto end = reinterpret_cast<end_fn>(PLAT_gl_proc_address("glEndQuery"));
    const auto gen = reinterpret_cast<gen_fn>(PLAT_gl_proc_address("glGenQueries"));
    const auto get = reinterpret_cast<get_fn>(PLAT_gl_proc_address("glGetQueryObjectui64v"));
    const auto del = reinterpret_cast<gen_fn>(PLAT_gl_proc_address("glDeleteQueries"));
    const bool queries = begin && end && gen && get && del;
    GLuint q[2] = {0, 0};
    if (queries) gen(2, q);

    drawn_record d;
    scene_draw_counts = {};
    GLuint64 primitives = 0, samples = 0;
    for (int n = 0; n < frames; ++n) {
        if (queries) {
            begin(GL_PRIMITIVES_GENERATED, q[0]);
            begin(GL_SAMPLES_PASSED, q[1]);
        }
        frame();
        if (queries) {
            end(GL_SAMPLES_PASSED);
            end(GL_PRIMITIVES_GENERATED);
            GLuint64 p = 0, s = 0;
            get(q[0], GL_QUERY_RESULT, &p);
            get(q[1], GL_QUERY_RESULT, &s);
            primitives += p;
            samples += s;
        }
    }
    if (queries) del(2, q);
    const double k = frames > 0 ? 1.0 / frames : 0.0;
    d.ground_cells = static_cast<double>(scene_draw_counts.ground_cells) * k;
    d.objects = static_cast<double>(scene_draw_counts.objects) * k;
    d.cloud_puffs = static_cast<double>(scene_draw_counts.cloud_puffs) * k;
    d.primitives = static_cast<double>(primitives) * k;
    const double pixels = static_cast<double>(screen.window_width) * static_cast<double>(screen.window_height);
    d.fragments_per_pixel = pixels > 0.0 ? static_cast<double>(samples) * k / pixels : 0.0;
    return d;
}

inline void report_drawn(benchmark::State& state, const drawn_record& d)
{
    state.counters["ground cells"] = d.ground_cells;
    state.counters["objects"] = d.objects;
    state.counters["cloud puffs"] = d.cloud_puffs;
    state.counters["primitives"] = d.primitives;
    state.counters["fragments/pixel"] = d.fragments_per_pixel;
}

}  // namespace bench
