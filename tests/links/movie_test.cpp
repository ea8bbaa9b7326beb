// Movie takes recorded from the offscreen window and read back with the
// movie library: the file, its one JPEG track, the samples' durations, the
// picture the right way up, the take names and the failures.
#include <gtest/gtest.h>

#include <GL/gl.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/frame_clock.h"
#include "graphics/ogl_tex.h"
#include "links/movie.h"
#include "platform/plat_time.h"
#include "tests/graphics/gl_context.h"
#include "tests/support/machine.h"
#include "tests/support/test_support.h"

namespace {

double fake_seconds = 0.0;
double fake_clock() { return fake_seconds += 0.6; }   // the start's one-second wait passes at once

class Movie : public ::testing::Test {
protected:
    temp_folder dir;
    void SetUp() override
    {
        MACHINE_NEEDS(ensure_gl_context(), "OpenGL context");
        if (!pixel_buffer) OGL_init_image_blocks();
        clear_alerts();
        MOVIE_reset();
        PLAT_set_clock_source(fake_clock, nullptr);
        MOVIE_init_quicktime();
        ASSERT_EQ(movie_keys_enabled, 1);
        std::strcpy(movie_file_path, (dir.prefix() + "UNTITLED.MOV").c_str());
        movie_take_counter = 0;
        movie_width = 320;
        movie_height = 240;
        movie_frame_rate = 20.0f;
        frame_clock = 0.0f;
    }
    void TearDown() override
    {
        PLAT_set_clock_source(nullptr, nullptr);
        MOVIE_reset();
    }
};

// The window: red on the left half, blue on the right, a white band on top.
void draw_test_picture()
{
    glEnable(GL_SCISSOR_TEST);
    const struct {
        int x, y, w, h;
        float r, g, b;
    } boxes[] = {{0, 0, 512, 768, 1, 0, 0}, {512, 0, 512, 768, 0, 0, 1}, {0, 752, 1024, 16, 1, 1, 1}};
    for (const auto& b : boxes) {
        glScissor(b.x, b.y, b.w, b.h);
        glClearColor(b.r, b.g, b.b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
}

struct read_movie {
    int streams = 0, width = 0, height = 0;
    AVCodecID codec = AV_CODEC_ID_NONE;
    AVRational time_base{0, 1};
    std::vector<int64_t> durations;   // of the samples, from their times and the track's length
    std::vector<uint8_t> first_rgb;   // the first frame decoded, RGB, top row first
};

read_movie read_back(const std::string& path)
{
    read_movie r;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0) return r;
    avformat_find_stream_info(fmt, nullptr);
    r.streams = static_cast<int>(fmt->nb_streams);
    const AVStream* st = fmt->streams[0];
    r.codec = st->codecpar->codec_id;
    r.width = st->codecpar->width;
    r.height = st->codecpar->height;
    r.time_base = st->time_base;
    const AVCodec* dec = avcodec_find_decoder(r.codec);
    AVCodecContext* ctx = avcodec_alloc_context3(dec);
    avcodec_parameters_to_context(ctx, st->codecpar);
    avcodec_open2(ctx, dec, nullptr);
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<int64_t> times;
    while (av_read_frame(fmt, pkt) >= 0) {
        times.push_back(pkt->dts);
        if (r.first_rgb.empty() && avcodec_send_packet(ctx, pkt) >= 0 && avcodec_receive_frame(ctx, frame) >= 0) {
            SwsContext* sws = sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                             frame->width, frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr,
                                             nullptr, nullptr);
            // The scaler's vector code writes some bytes past the last row:
            // without room for them it corrupted the heap.
            const size_t bytes = size_t(frame->width) * frame->height * 3;
            r.first_rgb.resize(bytes + 256);
            uint8_t* dst[4] = {r.first_rgb.data(), nullptr, nullptr, nullptr};
            const int stride[4] = {frame->width * 3, 0, 0, 0};
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
            sws_freeContext(sws);
            r.first_rgb.resize(bytes);
        }
        av_packet_unref(pkt);
    }
    // Each sample lasts until the next one starts, the last one to the track's end.
    for (size_t i = 0; i < times.size(); ++i)
        r.durations.push_back((i + 1 < times.size() ? times[i + 1] : st->start_time + st->duration) - times[i]);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&ctx);
    avformat_close_input(&fmt);
    return r;
}

}  // namespace

TEST_F(Movie, ATakeIsOneJpegTrackOfTimedSamplesTheRightWayUp)
{
    MOVIE_start();
    ASSERT_EQ(movie_recording, 1);
    EXPECT_EQ(std::string(movie_recorder.take_path), dir.prefix() + "UNTITLED take-1.mov");
    // Recorded beside its place, renamed when it ends.
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "UNTITLED take-1.recording.mov"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "UNTITLED take-1.mov"));

    // Frames 0.02 s apart at a rate of 20: a sample on every third frame.
    std::vector<int64_t> expected;
    float last = 0.0f;
    for (int k = 1; k <= 15; ++k) {
        frame_clock = 0.02f * static_cast<float>(k);
        draw_test_picture();
        MOVIE_add_frame();
        if (frame_clock - last >= 1.0f / 20.0f) {
            expected.push_back(static_cast<int64_t>((frame_clock - last) * 600.0f));
            last = frame_clock;
        }
    }
    ASSERT_EQ(expected.size(), 5u);
    // A 2-s pause (a modal dialog): the sample still lasts 0.1 s only.
    frame_clock += 2.0f;
    draw_test_picture();
    MOVIE_add_frame();
    expected.push_back(60);
    EXPECT_EQ(movie_recorder.samples, 6);
    MOVIE_finish();
    EXPECT_EQ(movie_recording, 0);
    EXPECT_TRUE(recorded_alerts.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "UNTITLED take-1.recording.mov"));

    const std::string file = dir.prefix() + "UNTITLED take-1.mov";
    const read_movie r = read_back(file);
    EXPECT_EQ(r.streams, 1);
    EXPECT_EQ(r.codec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.height, 240);
    EXPECT_EQ(r.time_base.num, 1);
    EXPECT_EQ(r.time_base.den, 600);
    EXPECT_EQ(r.durations, expected);

    ASSERT_EQ(r.first_rgb.size(), 320u * 240u * 3u);
    auto px = [&](int x, int y) { return &r.first_rgb[(size_t(y) * 320 + x) * 3]; };
    const uint8_t* white = px(160, 1);
    const uint8_t* red = px(40, 200);
    const uint8_t* blue = px(280, 200);
    EXPECT_GT(white[0], 200);
    EXPECT_GT(white[1], 200);
    EXPECT_GT(white[2], 200);
    EXPECT_GT(red[0], 200);
    EXPECT_LT(red[2], 60);
    EXPECT_GT(blue[2], 200);
    EXPECT_LT(blue[0], 60);

    if (std::system("command -v ffprobe > /dev/null 2>&1") == 0) {
        const std::string probe = "ffprobe -v error -show_streams '" + file + "' > /dev/null 2>&1";
        EXPECT_EQ(std::system(probe.c_str()), 0);
    }

    // The next take gets the next number.
    MOVIE_start();
    EXPECT_EQ(std::string(movie_recorder.take_path), dir.prefix() + "UNTITLED take-2.mov");
    MOVIE_start();   // one is open already: a notice, no second file
    ASSERT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(recorded_alerts[0].code, 16);
    MOVIE_finish();
    MOVIE_finish();   // none is open: a notice
    EXPECT_EQ(recorded_alerts.back().code, 16);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "UNTITLED take-2.mov"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "UNTITLED take-3.mov"));
}

// A size the encoder cannot take (below 2) or past the 1024 x 768 picture is held to what it can.
TEST_F(Movie, ATakeSizeIsHeldTo2By2UpTo1024By768)
{
    movie_width = 1, movie_height = 5000;
    MOVIE_start();
    ASSERT_EQ(movie_recording, 1);
    frame_clock = 0.1f;
    draw_test_picture();
    MOVIE_add_frame();
    MOVIE_finish();
    EXPECT_TRUE(recorded_alerts.empty());
    const read_movie r = read_back(dir.prefix() + "UNTITLED take-1.mov");
    EXPECT_EQ(r.width, 2);
    EXPECT_EQ(r.height, 768);
}

// The first sample counts from the take's start, not from time 0: started at
// 100 s with a rate of 20, frames at 100.02 s and
// 100.048 s add nothing and one at 100.06 s adds the first sample.
TEST_F(Movie, TheFirstSampleCountsFromTheStart)
{
    frame_clock = 100.0f;
    MOVIE_start();
    ASSERT_EQ(movie_recording, 1);
    for (float t : {100.02f, 100.048f}) {   // both closer than 1/20 s to the start
        frame_clock = t;
        draw_test_picture();
        MOVIE_add_frame();
        EXPECT_EQ(movie_recorder.samples, 0) << t;
    }
    frame_clock = 100.06f;
    draw_test_picture();
    MOVIE_add_frame();
    EXPECT_EQ(movie_recorder.samples, 1);
    MOVIE_finish();
}

TEST_F(Movie, TakeNamesAndATakeThatCannotBeCreated)
{
    char name[TEXT_SIZE];
    for (const char* base : {"FLIGHT", "FLIGHT.mov", "FLIGHT.MOV"}) {
        MOVIE_take_name(base, 1, name);
        EXPECT_STREQ(name, "FLIGHT take-1.mov") << base;
    }
    MOVIE_take_name("A.movie", 2, name);
    EXPECT_STREQ(name, "A.movie take-2.mov");
    MOVIE_recording_name("FLIGHT take-1.mov", name);
    EXPECT_STREQ(name, "FLIGHT take-1.recording.mov");

    // A folder that does not exist: a notice names the take, the step and the
    // error; nothing is recorded and the program goes on.
    std::strcpy(movie_file_path, (dir.prefix() + "NO SUCH FOLDER/FLIGHT.mov").c_str());
    MOVIE_start();
    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record& a = recorded_alerts[0];
    EXPECT_EQ(a.code, 16);
    EXPECT_EQ(a.lines[0], "The movie take could not be recorded:");
    EXPECT_EQ(a.lines[1], dir.prefix() + "NO SUCH FOLDER/FLIGHT take-1.mov");
    EXPECT_EQ(a.lines[2].rfind("creating the movie file failed: ", 0), 0u) << a.lines[2];
    EXPECT_EQ(a.lines[2].back(), ')');
    EXPECT_EQ(movie_recording, 0);
    MOVIE_add_frame();   // nothing to add to
    EXPECT_EQ(recorded_alerts.size(), 1u);
}

// A full disk during a take (a file-size limit stands in for it): the take
// ends with a notice naming its file, which keeps the whole frames recorded
// before; later frames add nothing and the next take records again.
TEST_F(Movie, AFullDiskEndsTheTakeWithANoticeAndKeepsItsFrames)
{
    MOVIE_start();
    ASSERT_EQ(movie_recording, 1);
    {
        const file_size_limit limit(24 * 1024);
        for (int k = 1; k <= 200 && movie_recording; ++k) {
            frame_clock = 0.1f * static_cast<float>(k);
            draw_test_picture();
            MOVIE_add_frame();
        }
    }
    ASSERT_EQ(movie_recording, 0);
    ASSERT_EQ(recorded_alerts.size(), 1u);
    const alert_record& a = recorded_alerts[0];
    EXPECT_EQ(a.code, 16);
    EXPECT_EQ(a.lines[0], "The movie take could not be written and was ended:");
    EXPECT_EQ(a.lines[1], dir.prefix() + "UNTITLED take-1.mov");
    EXPECT_NE(a.lines[2].find("failed: "), std::string::npos) << a.lines[2];
    const int kept = movie_recorder.samples;
    EXPECT_GE(kept, 2);

    const read_movie r = read_back(dir.prefix() + "UNTITLED take-1.mov");
    EXPECT_EQ(r.codec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(static_cast<int>(r.durations.size()), kept);
    EXPECT_FALSE(r.first_rgb.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "UNTITLED take-1.recording.mov"));

    frame_clock += 1.0f;
    MOVIE_add_frame();
    EXPECT_EQ(recorded_alerts.size(), 1u);
    MOVIE_start();
    EXPECT_EQ(movie_recording, 1);
    frame_clock += 1.0f;
    draw_test_picture();
    MOVIE_add_frame();
    MOVIE_finish();
    EXPECT_EQ(recorded_alerts.size(), 1u);
    EXPECT_EQ(read_back(dir.prefix() + "UNTITLED take-2.mov").durations.size(), 1u);
}

// The program killed during a take: its recording plays up to the last frame added.
TEST_F(Movie, AKilledTakeLeavesAFileThatPlaysToItsLastFrame)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The same folder in the child, which runs this test again up to its end.
    const std::filesystem::path folder = std::filesystem::current_path() / "killed_take";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::strcpy(movie_file_path, (folder.string() + "/UNTITLED.MOV").c_str());
    EXPECT_EXIT(
        {
            MOVIE_start();
            for (int k = 1; k <= 5; ++k) {
                frame_clock = 0.25f * static_cast<float>(k);   // a sample of the longest duration each
                draw_test_picture();
                MOVIE_add_frame();
            }
            raise(SIGKILL);
        },
        ::testing::KilledBySignal(SIGKILL), "");

    EXPECT_FALSE(std::filesystem::exists(folder / "UNTITLED take-1.mov"));
    const read_movie r = read_back((folder / "UNTITLED take-1.recording.mov").string());
    EXPECT_EQ(r.streams, 1);
    EXPECT_EQ(r.codec, AV_CODEC_ID_MJPEG);
    EXPECT_EQ(r.width, 320);
    EXPECT_EQ(r.durations, (std::vector<int64_t>{60, 60, 60, 60, 60}));
    ASSERT_EQ(r.first_rgb.size(), 320u * 240u * 3u);
    EXPECT_GT(r.first_rgb[(size_t(200) * 320 + 40) * 3], 200);   // red on the left
    std::filesystem::remove_all(folder);
}
