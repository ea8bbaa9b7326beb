#include "platform/plat_sound.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct sound_layer {
    bool open = false;
    bool silent = false;
    bool told_silent = false;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ALuint sources[PLAT_SOUND_SLOTS] = {};
    ALuint buffers[PLAT_SOUND_SLOTS] = {};
    PLAT_sound_slot_state state[PLAT_SOUND_SLOTS];
};

sound_layer layer;
PLAT_sound_log_fn log_fn = nullptr;

bool slot_ok(int slot) { return slot >= 0 && slot < PLAT_SOUND_SLOTS; }
bool live() { return layer.open && !layer.silent; }

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

}  // namespace

void PLAT_sound_set_log(PLAT_sound_log_fn fn) { log_fn = fn; }

bool PLAT_sound_open(const char* device_name)
{
    if (layer.open) return !layer.silent;
    for (PLAT_sound_slot_state& s : layer.state) s = PLAT_sound_slot_state{};

    layer.device = alcOpenDevice(device_name);
    if (!layer.device) {
        go_silent(std::string("no sound device could be opened") + (device_name ? std::string(" (") + device_name + ")" : ""));
        return false;
    }
    layer.context = alcCreateContext(layer.device, nullptr);
    if (!layer.context || !alcMakeContextCurrent(layer.context)) {
        if (layer.context) alcDestroyContext(layer.context);
        alcCloseDevice(layer.device);
        layer.context = nullptr;
        layer.device = nullptr;
        go_silent("the sound device gave no playing context");
        return false;
    }
    alGetError();
    alGenSources(PLAT_SOUND_SLOTS, layer.sources);
    alGenBuffers(PLAT_SOUND_SLOTS, layer.buffers);
    if (alGetError() != AL_NO_ERROR) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(layer.context);
        alcCloseDevice(layer.device);
        layer.context = nullptr;
        layer.device = nullptr;
        std::fill(std::begin(layer.sources), std::end(layer.sources), 0u);
        std::fill(std::begin(layer.buffers), std::end(layer.buffers), 0u);
        go_silent("the sound device could not give a source for every sound slot");
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
    if (!layer.open) return;
    if (!layer.silent) {
        alSourceStopv(PLAT_SOUND_SLOTS, layer.sources);
        for (ALuint s : layer.sources) alSourcei(s, AL_BUFFER, 0);
        alDeleteSources(PLAT_SOUND_SLOTS, layer.sources);
        alDeleteBuffers(PLAT_SOUND_SLOTS, layer.buffers);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(layer.context);
        alcCloseDevice(layer.device);
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
        if (alGetError() != AL_NO_ERROR) {
            layer.state[slot].loaded = false;
            return false;
        }
        alSourcei(src, AL_BUFFER, static_cast<ALint>(layer.buffers[slot]));
    }
    layer.state[slot].loaded = true;
    return true;
}

bool PLAT_sound_is_loaded(int slot) { return slot_ok(slot) && layer.state[slot].loaded; }

void PLAT_sound_play(int slot, bool loop)
{
    if (!slot_ok(slot) || !layer.state[slot].loaded) return;
    PLAT_sound_slot_state& st = layer.state[slot];
    st.looping = loop;
    st.started = true;
    if (!live()) return;
    const ALuint src = layer.sources[slot];
    alSourcei(src, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourceRewind(src);
    alSourcePlay(src);
}

void PLAT_sound_stop(int slot)
{
    if (!slot_ok(slot)) return;
    layer.state[slot].started = false;
    if (live()) alSourceStop(layer.sources[slot]);
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

void PLAT_sound_set_gain(int slot, float gain)
{
    if (!slot_ok(slot)) return;
    if (!(gain >= 0.0f)) gain = 0.0f;   // negative and NaN are silence
    layer.state[slot].gain = gain;
    if (live()) alSourcef(layer.sources[slot], AL_GAIN, gain);
}

void PLAT_sound_set_pitch(int slot, float pitch)
{
    if (!slot_ok(slot)) return;
    if (!(pitch >= 0.01f)) pitch = 0.01f;
    if (pitch > 4.0f) pitch = 4.0f;
    layer.state[slot].pitch = pitch;
    if (live()) alSourcef(layer.sources[slot], AL_PITCH, pitch);
}

void PLAT_sound_set_pan(int slot, float pan)
{
    if (!slot_ok(slot)) return;
    if (!(pan >= -1.0f)) pan = -1.0f;
    if (pan > 1.0f) pan = 1.0f;
    layer.state[slot].pan = pan;
    if (live()) apply_pan(layer.sources[slot], pan);
}

PLAT_sound_slot_state PLAT_sound_slot(int slot) { return slot_ok(slot) ? layer.state[slot] : PLAT_sound_slot_state{}; }
