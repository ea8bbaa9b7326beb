// Whether a plane slot is moved from outside this simulator: by a multiplayer
// peer, by a master machine whose planes this simulator follows, or by a
// plug-in that sets the plane's path through the override flags.
#pragma once

// 1 when (the multiplayer role 0 is enabled and n >= 1) or any master-machine
// role 6..9 is enabled or override_planepath[n] is set; else 0.
int PLANE_externally_moved(int n);

// The same test without the multiplayer clause: any of roles 6..9 enabled or
// override_planepath[n] set.
int PLANE_path_overridden(int n);
