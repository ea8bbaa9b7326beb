// The point models of the light kinds, built once at start-up.
#pragma once

void LIGHTS_build_model();
