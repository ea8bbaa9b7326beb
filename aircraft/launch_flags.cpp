#include "aircraft/launch_flags.h"

launch_flags_block launch_flags{};

void LAUNCH_reset() { launch_flags = launch_flags_block{}; }
