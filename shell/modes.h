// The application mode: -1 intro picture, 0 flying, 1..24 settings screens,
// 996 alert box, 998 open browser, 999 save browser.
#pragma once

#include <cstdint>

extern int32_t app_mode;
