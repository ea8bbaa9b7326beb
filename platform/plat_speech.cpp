#include "platform/plat_speech.h"

#include <espeak-ng/speak_lib.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "platform/plat_sound.h"

namespace {

// A job for the synthesis thread: a text, and whether its samples go to the
// speech source or back to a waiting caller.
struct speech_job {
    std::string utf8;
    bool to_source = true;
    uint64_t generation = 0;
};

// The samples of the job being synthesised (used by the thread only). They
// are defined before the engine so that they outlive the thread it joins when
// the program ends.
std::vector<int16_t> collecting;
uint64_t collecting_generation = 0;

struct speech_engine {
    // A program that ends without closing the voice still ends its thread:
    // a joinable thread left to its destructor would abort the exit.
    ~speech_engine() { stop_worker(); }

    // Asks the thread to end (aborting a synthesis under way) and waits for it.
    void stop_worker()
    {
        if (!worker.joinable()) return;
        {
            std::lock_guard<std::mutex> hold(lock);
            ending = true;
            ++generation;
            wake.notify_all();
        }
        worker.join();
    }

    std::mutex lock;
    std::condition_variable wake;      // a job or the end is posted
    std::condition_variable done;      // a job finished
    std::thread worker;
    bool open = false;
    bool ending = false;
    bool has_job = false;
    bool working = false;
    speech_job job;
    uint64_t generation = 0;           // raised by every new text and purge
    uint64_t finished_generation = 0;  // the last rendered job's
    std::vector<int16_t> rendered;     // samples of the last job that came back
    int rate = 22050;
};

speech_engine engine;

int collect(short* samples, int count, espeak_EVENT*)
{
    if (samples && count > 0) collecting.insert(collecting.end(), samples, samples + count);
    // A newer text or a purge aborts this one.
    std::lock_guard<std::mutex> hold(engine.lock);
    return engine.generation != collecting_generation ? 1 : 0;
}

std::string latin1_to_utf8(const char* text)
{
    std::string out;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (*c < 0x80) {
            out += static_cast<char>(*c);
        } else {
            out += static_cast<char>(0xC0 | (*c >> 6));
            out += static_cast<char>(0x80 | (*c & 0x3F));
        }
    }
    return out;
}

void work()
{
    std::unique_lock<std::mutex> hold(engine.lock);
    for (;;) {
        engine.wake.wait(hold, [] { return engine.ending || engine.has_job; });
        if (engine.ending) return;
        speech_job job = engine.job;
        engine.has_job = false;
        engine.working = true;
        hold.unlock();

        collecting.clear();
        collecting_generation = job.generation;
        espeak_Synth(job.utf8.c_str(), job.utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
        espeak_Synchronize();

        hold.lock();
        const bool current = engine.generation == job.generation;
        if (current && job.to_source && !collecting.empty()) {
            // Played under the lock so that a purge cannot slip in between.
            PLAT_sound_speech_play(collecting.data(), static_cast<int>(collecting.size()), engine.rate);
        }
        if (!job.to_source) {
            engine.rendered = current ? collecting : std::vector<int16_t>{};
        }
        engine.finished_generation = job.generation;
        engine.working = false;
        engine.done.notify_all();
    }
}

uint64_t post(const char* latin1_text, bool to_source)
{
    std::lock_guard<std::mutex> hold(engine.lock);
    ++engine.generation;
    engine.job = speech_job{latin1_to_utf8(latin1_text ? latin1_text : ""), to_source, engine.generation};
    engine.has_job = true;
    engine.wake.notify_all();
    return engine.generation;
}

}  // namespace

// The synthesiser is started once for the whole run: ending it can hang
// inside the library when it is ended soon after it started, so closing the
// voice only ends our synthesis thread.
namespace {
int synthesiser_rate = 0;   // 0 not tried, -1 none, else its sample rate
}

bool PLAT_speech_open()
{
    if (engine.open) return true;
    if (synthesiser_rate == 0) {
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        synthesiser_rate = rate > 0 && espeak_SetVoiceByName("en") == EE_OK ? rate : -1;
        if (synthesiser_rate > 0) espeak_SetSynthCallback(collect);
    }
    if (synthesiser_rate <= 0) return false;
    engine.rate = synthesiser_rate;
    engine.ending = false;
    engine.has_job = false;
    engine.working = false;
    engine.open = true;
    engine.worker = std::thread(work);
    // Ended at exit ahead of the statics made before it (the sound layer's
    // among them), which the thread may still be using.
    static const bool ended_at_exit = std::atexit([] { engine.stop_worker(); }) == 0;
    (void)ended_at_exit;
    return true;
}

void PLAT_speech_close()
{
    if (!engine.open) return;
    engine.stop_worker();
    PLAT_sound_speech_stop();
    engine.open = false;
    engine.has_job = false;
    engine.rendered.clear();
    collecting.clear();
    collecting.shrink_to_fit();
}

void PLAT_speech_end()
{
    PLAT_speech_close();
    if (synthesiser_rate > 0) espeak_Terminate();
    synthesiser_rate = 0;
}

bool PLAT_speech_is_open() { return engine.open; }

void PLAT_speech_say(const char* latin1_text)
{
    if (!engine.open) return;
    std::lock_guard<std::mutex> hold(engine.lock);
    PLAT_sound_speech_stop();
    ++engine.generation;
    engine.job = speech_job{latin1_to_utf8(latin1_text ? latin1_text : ""), true, engine.generation};
    engine.has_job = true;
    engine.wake.notify_all();
}

void PLAT_speech_purge()
{
    if (!engine.open) return;
    std::lock_guard<std::mutex> hold(engine.lock);
    ++engine.generation;
    engine.has_job = false;
    PLAT_sound_speech_stop();
}

bool PLAT_speech_busy()
{
    if (!engine.open) return false;
    {
        std::lock_guard<std::mutex> hold(engine.lock);
        if (engine.has_job || engine.working) return true;
    }
    return PLAT_sound_speech_is_playing();
}

bool PLAT_speech_wait_synthesised(double seconds)
{
    if (!engine.open) return true;
    std::unique_lock<std::mutex> hold(engine.lock);
    return engine.done.wait_for(hold, std::chrono::duration<double>(seconds),
                                [] { return !engine.has_job && !engine.working; });
}

std::vector<int16_t> PLAT_speech_render(const char* latin1_text, int* rate)
{
    if (rate) *rate = engine.rate;
    if (!engine.open) return {};
    const uint64_t gen = post(latin1_text, false);
    std::unique_lock<std::mutex> hold(engine.lock);
    engine.done.wait(hold, [gen] { return engine.finished_generation >= gen || engine.generation != gen; });
    if (engine.finished_generation != gen) return {};
    std::vector<int16_t> out;
    out.swap(engine.rendered);
    return out;
}
