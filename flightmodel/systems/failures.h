// The failure model of the user's plane (stage 11 of the systems step): the
// timers of the failure table count down every frame, and once a second each
// slot whose trigger is met moves to state 6 (failed).
//
// Reads: flt[0].failures and failure_param, the mean time between failures,
// the indicated airspeed and elevation, fail_on_command_armed, the engine count.
// Writes: flt[0].failures, failure_param (countdowns), comp_fail_stat;
// ECAM_mode; clears fail_on_command_armed after each 1-second pass.
#pragma once

// Stage 11.
void SYSTEMS_failure_model();
// The 1-second pass alone (the tests drive it directly).
void FAILURES_one_second_pass();
// comp_fail_stat rebuilt from the table: bit j of word i for slot 32i + j in state 6.
void FAILURES_rebuild_stat();
// True when slot k belongs to an engine group and its engine is not fitted.
bool FAILURES_slot_of_absent_engine(int slot);
