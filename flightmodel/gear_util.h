// Gear deployment and the autopilot engagement test shared by the flight
// model and its neighbours.
#pragma once

// 0 when all five autopilot mode words are 9 (off), otherwise 1.
int AP_any_mode_engaged();

// Moves the retractable gear legs of plane slot p one frame towards down
// (down = 1) or up (down = 0), each leg at its own randomised rate that
// changes with each whole second of the frame clock (seconds since the first
// frame). Legs that are absent or failed keep their deployment.
void GEAR_deploy_step_at(int p, int down, float clock);
// The same at the frame loop's clock.
void GEAR_deploy_step(int p, int down);
