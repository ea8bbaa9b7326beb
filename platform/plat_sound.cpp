#include "platform/plat_sound.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

namespace {

constexpr int SPEECH_SOURCE = PLAT_SOUND_SLOTS;   // the source after the slots'
constexpr int SOURCES = PLAT_SOUND_SLOTS + 1;

struct sound_layer {
    bool open = false;
    bool silent = false;
    bool told_silent = false;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ALuint sources[SOURCES] = {};
    ALuint buffers[SOURCES] = {};
    PLAT_sound_slot_state state[PLAT_SOUND_SLOTS];
    bool speech_started = false;
    int speech_samples = 0;
};

sound_layer layer;
PLAT_sound_log_fn log_fn = nullptr;
// Guards the layer against the speech thread while it is opened or closed and
// while the speech source is used.
std::recursive_mutex layer_lock;

bool slot_ok(int slot) { return slot >= 0 && slot < PLAT_SOUND_SLOTS; }
bool live() { return layer.open && !layer.silent; }
bool al_ok() { return alGetError() == AL_NO_ERROR; }

void go_silent(const std::string& why)
{
    layer.silent = true;
    layer.open = true;
    if (layer.told_silent) return;
    layer.told_silent = true;
    const std::string line = "Sound: " + why + "; the program runs without sound.";
    if (log_fn) log_fn(line.c_str());
}

// Pan as a source position on a unit circle in front of the listener.
void apply_pan(ALuint source, float pan)
{
    alSource3f(source, AL_POSITION, pan, 0.0f, -std::sqrt(std::max(0.0f, 1.0f - pan * pan)));
}

// Sets one value of a slot (gain, pitch or pan): kept within lo..hi (NaN
// reads as lo), stored in the slot's state and, while a device plays, handed
// to the slot's source by `apply`. False for a slot outside the table or when
// the device refuses the value.
template <class Apply>
bool set_slot_value(int slot, float v, float lo, float hi, float PLAT_sound_slot_state::*kept, Apply apply)
{
    if (!slot_ok(slot)) return false;
    if (!(v >= lo)) v = lo;
    if (v > hi) v = hi;
    layer.state[slot].*kept = v;
    if (!live()) return true;
    alGetError();
    apply(layer.sources[slot], v);
    return al_ok();
}

void release_device()
{
    alcMakeContextCurrent(nullptr);
    if (layer.context) alcDestroyContext(layer.context);
    if (layer.device) alcCloseDevice(layer.device);
    layer.context = nullptr;
    layer.device = nullptr;
}

}  // namespace

void PLAT_sound_set_log(PLAT_sound_log_fn fn) { log_fn = fn; }

bool PLAT_sound_open(const char* device_name)
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    if (layer.open) return !layer.silent;
    for (PLAT_sound_slot_state& s : layer.state) s = PLAT_sound_slot_state{};
    layer.speech_started = false;
    layer.speech_samples = 0;

    layer.device = alcOpenDevice(device_name);
    if (!layer.device) {
        go_silent(std::string("no sound device could be opened") + (device_name ? std::string(" (") + device_name + ")" : ""));
        return false;
    }
    layer.context = alcCreateContext(layer.device, nullptr);
    if (!layer.context || !alcMakeContextCurrent(layer.context)) {
        release_device();
        go_silent("the sound device gave no playing context");
        return false;
    }
    alGetError();
    alGenSources(SOURCES, layer.sources);
    if (!al_ok()) {
        release_device();
        std::fill(std::begin(layer.sources), std::end(layer.sources), 0u);
        go_silent("the sound device could not give a source for every sound slot");
        return false;
    }
    alGenBuffers(SOURCES, layer.buffers);
    if (!al_ok()) {
        alDeleteSources(SOURCES, layer.sources);
        release_device();
        std::fill(std::begin(layer.sources), std::end(layer.sources), 0u);
        std::fill(std::begin(layer.buffers), std::end(layer.buffers), 0u);
        go_silent("the sound device could not give a buffer for every sound slot");
        return false;
    }
    for (ALuint s : layer.sources) {
        alSourcei(s, AL_SOURCE_RELATIVE, AL_TRUE);
        apply_pan(s, 0.0f);
    }
    layer.open = true;
    layer.silent = false;
    return true;
}

void PLAT_sound_close()
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    if (!layer.open) return;
    if (!layer.silent) {
        alSourceStopv(SOURCES, layer.sources);
        for (ALuint s : layer.sources) alSourcei(s, AL_BUFFER, 0);
        alDeleteSources(SOURCES, layer.sources);
        alDeleteBuffers(SOURCES, layer.buffers);
        release_device();
    }
    const bool told = layer.told_silent;
    layer = sound_layer{};
    layer.told_silent = told;
}

bool PLAT_sound_is_open() { return layer.open; }
bool PLAT_sound_is_silent() { return layer.open && layer.silent; }

bool PLAT_sound_load(int slot, const void* data, int bytes, int channels, int bits, int rate)
{
    if (!slot_ok(slot) || !data || bytes <= 0 || rate < 1) return false;
    ALenum format;
    if (channels == 1 && bits == 8) format = AL_FORMAT_MONO8;
    else if (channels == 1 && bits == 16) format = AL_FORMAT_MONO16;
    else if (channels == 2 && bits == 8) format = AL_FORMAT_STEREO8;
    else if (channels == 2 && bits == 16) format = AL_FORMAT_STEREO16;
    else return false;
    const int frame = channels * bits / 8;
    bytes -= bytes % frame;   // whole sample frames only
    if (bytes <= 0) return false;

    PLAT_sound_stop(slot);
    if (live()) {
        const ALuint src = layer.sources[slot];
        alSourcei(src, AL_BUFFER, 0);
        alGetError();
        alBufferData(layer.buffers[slot], format, data, bytes, rate);
        if (!al_ok()) {
            layer.state[slot].loaded = false;
            return false;
        }
        alSourcei(src, AL_BUFFER, static_cast<ALint>(layer.buffers[slot]));
    }
    layer.state[slot].loaded = true;
    return true;
}

bool PLAT_sound_is_loaded(int slot) { return slot_ok(slot) && layer.state[slot].loaded; }

bool PLAT_sound_play(int slot, bool loop)
{
    if (!slot_ok(slot) || !layer.state[slot].loaded) return false;
    PLAT_sound_slot_state& st = layer.state[slot];
    st.looping = loop;
    st.started = true;
    if (!live()) return true;
    const ALuint src = layer.sources[slot];
    alGetError();
    alSourcei(src, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourceRewind(src);
    alSourcePlay(src);
    return al_ok();
}

bool PLAT_sound_stop(int slot)
{
    if (!slot_ok(slot)) return false;
    layer.state[slot].started = false;
    if (!live()) return true;
    alGetError();
    alSourceStop(layer.sources[slot]);
    return al_ok();
}

void PLAT_sound_stop_all()
{
    for (int s = 0; s < PLAT_SOUND_SLOTS; ++s) PLAT_sound_stop(s);
}

bool PLAT_sound_is_playing(int slot)
{
    if (!slot_ok(slot) || !layer.state[slot].started) return false;
    if (!live()) return layer.state[slot].looping;
    ALint st = AL_STOPPED;
    alGetSourcei(layer.sources[slot], AL_SOURCE_STATE, &st);
    return st == AL_PLAYING;
}

bool PLAT_sound_set_gain(int slot, float gain)
{
    // Negative and NaN are silence.
    return set_slot_value(slot, gain, 0.0f, 1.0f, &PLAT_sound_slot_state::gain,
                          [](ALuint source, float v) { alSourcef(source, AL_GAIN, v); });
}

bool PLAT_sound_set_pitch(int slot, float pitch)
{
    return set_slot_value(slot, pitch, PLAT_SOUND_PITCH_MIN, PLAT_SOUND_PITCH_MAX, &PLAT_sound_slot_state::pitch,
                          [](ALuint source, float v) { alSourcef(source, AL_PITCH, v); });
}

bool PLAT_sound_set_pan(int slot, float pan)
{
    return set_slot_value(slot, pan, -1.0f, 1.0f, &PLAT_sound_slot_state::pan, apply_pan);
}

PLAT_sound_slot_state PLAT_sound_slot(int slot) { return slot_ok(slot) ? layer.state[slot] : PLAT_sound_slot_state{}; }

bool PLAT_sound_speech_play(const int16_t* samples, int count, int rate)
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    if (!layer.open || !samples || count <= 0 || rate < 1) return false;
    layer.speech_samples = count;
    layer.speech_started = true;
    if (!live()) return true;
    const ALuint src = layer.sources[SPEECH_SOURCE];
    alSourceStop(src);
    alSourcei(src, AL_BUFFER, 0);
    alGetError();
    alBufferData(layer.buffers[SPEECH_SOURCE], AL_FORMAT_MONO16, samples, count * 2, rate);
    if (!al_ok()) return false;
    alSourcei(src, AL_BUFFER, static_cast<ALint>(layer.buffers[SPEECH_SOURCE]));
    alSourcei(src, AL_LOOPING, AL_FALSE);
    alSourcePlay(src);
    return al_ok();
}

void PLAT_sound_speech_stop()
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    layer.speech_started = false;
    if (live()) alSourceStop(layer.sources[SPEECH_SOURCE]);
}

bool PLAT_sound_speech_is_playing()
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    if (!layer.speech_started) return false;
    if (!live()) return false;
    ALint st = AL_STOPPED;
    alGetSourcei(layer.sources[SPEECH_SOURCE], AL_SOURCE_STATE, &st);
    return st == AL_PLAYING;
}

int PLAT_sound_speech_samples()
{
    std::lock_guard<std::recursive_mutex> hold(layer_lock);
    return layer.speech_started ? layer.speech_samples : 0;
}
