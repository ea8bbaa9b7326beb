// Movie recording: each frame of a take is copied into the capture texture,
// drawn upside down at the movie's frame size, read back into the pixel
// buffer top row first, compressed as JPEG and appended as one sample whose
// duration is the real time since the previous one.
#include "links/movie.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/alert.h"
#include "core/app_mode.h"
#include "core/frame_clock.h"
#include "core/reset_registry.h"
#include "core/texture_slots.h"
#include "graphics/ogl_state.h"
#include "graphics/ogl_tex.h"
#include "platform/plat_files.h"
#include "platform/plat_movie.h"
#include "platform/plat_time.h"

float movie_frame_rate = 20.0f;
int32_t movie_width = 320;
int32_t movie_height = 240;
char movie_file_name[TEXT_SIZE] = "UNTITLED.MOV";
char movie_file_path[TEXT_SIZE] = {};
int32_t movie_take_counter = 0;
int32_t movie_keys_enabled = 0;
int32_t movie_recording = 0;
movie_recorder_record movie_recorder;

// The movie settings and the take count as the program starts (the open take
// and its recorder are the device's, with MOVIE_reset).
void MOVIE_settings_reset()
{
    movie_frame_rate = 20.0f;
    movie_width = 320;
    movie_height = 240;
    std::memset(movie_file_name, 0, sizeof movie_file_name);
    std::memcpy(movie_file_name, "UNTITLED.MOV", sizeof "UNTITLED.MOV");
    std::memset(movie_file_path, 0, sizeof movie_file_path);
    movie_take_counter = 0;
}
ORVELL_RESET(MOVIE_settings_reset, program);

namespace {

constexpr int CAPTURE_SIDE = 1024;          // the capture texture is 1024 x 1024
constexpr int CAPTURE_WIDTH = 1024;         // of which the frame's lower-left 1024 x 768
constexpr int CAPTURE_HEIGHT = 768;
constexpr double START_WAIT_SEC = 1.0;
constexpr double START_WAIT_NAP_SEC = 0.01;
constexpr int START_WAIT_NAPS = 200;

// The open take (owned from MOVIE_start to MOVIE_finish).
PLAT_movie* open_movie = nullptr;
int take_width = 0;
int take_height = 0;

constexpr const char* RECORDING_SUFFIX = ".recording.mov";

void fatal_step(const char* what, const PLAT_movie_error& err)
{
    const std::string step = std::string("The movie could not be recorded: ") + (err.step ? err.step : "") + " failed";
    const std::string code = "(" + std::to_string(err.code) + ")";
    MACIBM_nuke_alert(0, step.c_str(), what, code.c_str(), "", ALERT_FATAL);
}

std::string failed_step(const PLAT_movie_error& err)
{
    return std::string(err.step ? err.step : "") + " failed: " + err.text + " (" + std::to_string(err.code) + ")";
}

// A take's file could not be written: the recorder is cleared first (the
// notice's box runs frames, which must not add to the take), what was
// recorded gets the take's name, and the notice names the file that holds it.
void end_take_on_write_failure(const PLAT_movie_error& err)
{
    movie_recording = 0;
    const bool named = PLAT_replace_file(movie_recorder.recording_path, movie_recorder.take_path);
    const char* kept = named ? movie_recorder.take_path : movie_recorder.recording_path;
    MACIBM_nuke_alert(app_mode, "The movie take could not be written and was ended:", kept, failed_step(err).c_str(),
                      "The file keeps the frames recorded until then.", ALERT_NOTICE);
}

int clamp_int(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

void MOVIE_take_name(const char* base, int take, char* out)
{
    std::string name = base ? std::string(base, strnlen(base, TEXT_SIZE)) : std::string();
    if (name.size() >= 4 && UTIL_strcmp_nocase(name.c_str() + name.size() - 4, ".mov") == 0) name.resize(name.size() - 4);
    name += " take-" + std::to_string(take) + ".mov";
    if (name.size() > TEXT_SIZE - 1) name.resize(TEXT_SIZE - 1);
    std::memcpy(out, name.c_str(), name.size() + 1);
}

void MOVIE_recording_name(const char* take, char* out)
{
    std::string name = take ? std::string(take, strnlen(take, TEXT_SIZE)) : std::string();
    if (name.size() >= 4 && UTIL_strcmp_nocase(name.c_str() + name.size() - 4, ".mov") == 0) name.resize(name.size() - 4);
    const size_t room = TEXT_SIZE - 1 - std::strlen(RECORDING_SUFFIX);
    if (name.size() > room) name.resize(room);
    name += RECORDING_SUFFIX;
    std::memcpy(out, name.c_str(), name.size() + 1);
}

void MOVIE_reset()
{
    PLAT_movie_discard(open_movie);
    open_movie = nullptr;
    movie_recorder = movie_recorder_record{};
    movie_recording = 0;
}

void MOVIE_init_quicktime()
{
    movie_keys_enabled = PLAT_movie_available() ? 1 : 0;
    if (!movie_keys_enabled) return;
    OGL_bind_tex(TEX_SLOT_MOVIE_CAPTURE, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, CAPTURE_SIDE, CAPTURE_SIDE, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel_buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void MOVIE_start()
{
    // The take begins a second after the command: the seconds clock is
    // watched. A clock that stands still (a stopped or faked clock) would
    // hang the program here for good, so the wait ends after twice that in
    // sleeps.
    const double asked = UTIL_seconds();
    for (int naps = 0; naps < START_WAIT_NAPS && UTIL_seconds() - asked < START_WAIT_SEC; ++naps)
        PLAT_sleep_seconds(START_WAIT_NAP_SEC);

    ++movie_take_counter;
    char take[TEXT_SIZE];
    MOVIE_take_name(movie_file_path, movie_take_counter, take);
    if (open_movie) {
        MACIBM_nuke_alert(0, "A movie is being recorded already.", "This take was not started:", take, "", ALERT_NOTICE);
        return;
    }
    // The frame is read back into the pixel buffer from the 1024 x 768
    // capture: a larger size would read past the picture and the buffer. A
    // size below 2 pixels (from a preferences file or a plug-in) is one the
    // encoder refuses, which would end the program with a fatal alert. The
    // take's size is held to 2..1024 x 2..768.
    take_width = clamp_int(movie_width, 2, CAPTURE_WIDTH);
    take_height = clamp_int(movie_height, 2, CAPTURE_HEIGHT);
    // Created under the take's own name, the file would at once replace an
    // earlier take of that name (a counter reset by a new file name), and a
    // take that then fails would leave neither: it is recorded under a name of
    // its own and renamed when it ends.
    char recording[TEXT_SIZE];
    MOVIE_recording_name(take, recording);
    PLAT_movie_error err;
    const std::string recording_disk = PLAT_resolve_path(recording);
    open_movie = PLAT_movie_create(recording_disk.c_str(), take_width, take_height, &err);
    if (!open_movie) {
        if (!err.writing) {
            fatal_step(take, err);
            return;
        }
        // A file that cannot be written (a missing folder, a full disk) would
        // be a fatal alert and end the flight: the take is not started and a
        // notice names it.
        std::remove(recording_disk.c_str());
        MACIBM_nuke_alert(app_mode, "The movie take could not be recorded:", take, failed_step(err).c_str(),
                          "Check that its folder exists and that the disk is writable and not full.", ALERT_NOTICE);
        return;
    }
    std::memcpy(movie_recorder.take_path, take, TEXT_SIZE);
    std::memcpy(movie_recorder.recording_path, recording, TEXT_SIZE);
    movie_recorder.samples = 0;
    movie_recorder.last_sample_sec = frame_clock;
    movie_recording = 1;
}

void MOVIE_add_frame()
{
    if (!open_movie) return;
    const float dt = frame_clock - movie_recorder.last_sample_sec;
    // A rate of 0 (from a preferences file or a plug-in) would make the
    // interval endless and the take run without ever recording a frame: such
    // a rate, or one below it, takes a frame a second.
    const float interval = movie_frame_rate > 0.0f ? 1.0f / movie_frame_rate : 1.0f;
    if (dt < interval) return;
    movie_recorder.last_sample_sec = frame_clock;
    const int duration = clamp_int(static_cast<int>(dt * static_cast<float>(MOVIE_TIME_SCALE)), 1, MOVIE_MAX_SAMPLE_UNITS);

    // The frame into the capture texture, then drawn upside down at the
    // movie's size in the lower-left corner. The quad fills a viewport of
    // exactly the take's size in pixels rather than sitting at the panel
    // scroll's 2-D offsets: there, on a scrolled panel or a window not at
    // interface scale, the read-back from (0, 0) below would take a shifted or
    // wrongly sized picture.
    OGL_set_state(STATE_FOG_OFF, 1, STATE_LIGHTING_OFF, STATE_OPAQUE, STATE_DEPTH_TEST_OFF, STATE_DEPTH_WRITE_OFF);
    OGL_bind_tex(TEX_SLOT_MOVIE_CAPTURE, 0);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, CAPTURE_WIDTH, CAPTURE_HEIGHT);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, take_width, take_height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const float top = static_cast<float>(CAPTURE_HEIGHT) / static_cast<float>(CAPTURE_SIDE);   // 0.75
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, top);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(1.0f, top);
    glVertex2f(1.0f, 0.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);

    // Read bottom-up from the flipped picture, the rows come out top-down.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, take_width, take_height, GL_RGBA, GL_UNSIGNED_BYTE, pixel_buffer);
    // R, G, B, A becomes x, R, G, B.
    const size_t pixels = static_cast<size_t>(take_width) * static_cast<size_t>(take_height);
    for (size_t i = 0; i < pixels; ++i) {
        uint8_t* p = pixel_buffer + i * 4;
        p[3] = p[2];
        p[2] = p[1];
        p[1] = p[0];
    }
    PLAT_movie_error err;
    if (!PLAT_movie_add_frame(open_movie, pixel_buffer, duration, &err)) {
        if (!err.writing) {
            fatal_step(movie_recorder.take_path, err);
            return;
        }
        // A full disk would be a fatal alert and lose the take: the take ends
        // with what was recorded and the flight goes on.
        PLAT_movie_discard(open_movie);
        open_movie = nullptr;
        end_take_on_write_failure(err);
        return;
    }
    ++movie_recorder.samples;
}

void MOVIE_finish()
{
    if (!open_movie) {
        MACIBM_nuke_alert(0, "No movie is being recorded.", "", "", "", ALERT_NOTICE);
        return;
    }
    PLAT_movie* movie = open_movie;
    open_movie = nullptr;
    PLAT_movie_error err;
    if (!PLAT_movie_finish(movie, &err)) {
        if (!err.writing) {
            fatal_step(movie_recorder.take_path, err);
            return;
        }
        end_take_on_write_failure(err);
        return;
    }
    movie_recording = 0;
    if (!PLAT_replace_file(movie_recorder.recording_path, movie_recorder.take_path))
        MACIBM_nuke_alert(app_mode, "The movie take could not be given its name:", movie_recorder.take_path,
                          "It is kept, whole, as:", movie_recorder.recording_path, ALERT_NOTICE);
}

void MOVIE_exit_quicktime() { movie_keys_enabled = 0; }
