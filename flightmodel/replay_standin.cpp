// Stand-in of the dead reckoning and the replay playback until they are
// built: nothing moves.
#include "flightmodel/plane_override.h"

void PLANE_follow_override(int) {}
void REPLAY_play_own_plane(int) {}
