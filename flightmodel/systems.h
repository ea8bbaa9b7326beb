// The own-plane systems step.
#pragma once

#include <cstdint>

// When set, the next systems step fails one failure slot at once and clears it.
extern int32_t fail_now_request;

// Own-plane systems and environment for one frame.
void SYSTEMS_own_plane_update();
