// The recording seam of the sound layer: a test installs a recorder and sees
// every sound slot started or stopped, with its pitch and level, and every text given
// to the speech voice with its show flag. The sound and speech routines report
// to it whether or not a device plays anything.
#pragma once

class sound_recorder {
public:
    virtual ~sound_recorder() = default;
    virtual void played(int slot, int looping, float pitch, float level) {}
    virtual void stopped(int slot) {}
    virtual void spoken(const char* text, int show) {}
};

// Installs the recorder (null removes it).
void SOUND_install_recorder(sound_recorder* recorder);

// Called by the sound and speech routines.
void SOUND_seam_played(int slot, int looping, float pitch, float level);
void SOUND_seam_stopped(int slot);
void SOUND_seam_spoken(const char* text, int show);
