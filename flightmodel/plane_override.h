// Planes moved from outside this simulator (a multiplayer peer, a master
// machine whose planes this simulator follows, or a plug-in that sets the
// plane's path through the override flags), and the replay playback that
// moves the user's plane along its recorded flight.
//
// Reads: the network role flags, override_planepath, the frame period,
// replay_mode and the replay ring.
// Writes: flt[n] attitude and position (dead reckoning of a peer's plane);
// the replayed plane's state through PLANE_unpack_state; network_time_sec
// (the replay clock) and replay_mode.
#pragma once

// 1 when (the multiplayer role 0 is enabled and n >= 1) or any master-machine
// role 6..9 is enabled or override_planepath[n] is set; else 0.
int PLANE_externally_moved(int n);

// The same test without the multiplayer clause: any of roles 6..9 enabled or
// override_planepath[n] set.
int PLANE_path_overridden(int n);

// Moves plane n between outside updates: a multiplayer peer's plane is
// dead-reckoned over one frame; a plane whose path a master machine or a
// plug-in sets is left to them. A slot outside 0..9 does nothing.
void PLANE_follow_override(int n);

// Replay modes (sim/operation/prefs/replay_mode).
constexpr int REPLAY_OFF = 0;            // not replaying: the plane flies
constexpr int REPLAY_TO_START = 1;       // jump to the earliest record
constexpr int REPLAY_BACK_FAST = 2;      // back at five times speed
constexpr int REPLAY_BACK = 3;
constexpr int REPLAY_BACK_SLOW = 4;      // back at a fifth of normal speed
constexpr int REPLAY_PAUSED = 5;
constexpr int REPLAY_FORWARD_SLOW = 6;
constexpr int REPLAY_FORWARD = 7;
constexpr int REPLAY_FORWARD_FAST = 8;
constexpr int REPLAY_TO_END = 9;         // jump to the latest record

// One frame of replay playback into plane n (always 0): moves the replay
// clock by the mode and shows the recorded state at the clock. A mode outside
// 0..9 moves no clock.
void REPLAY_play_own_plane(int n);
