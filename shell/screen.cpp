#include "shell/screen.h"

screen_record screen{};
