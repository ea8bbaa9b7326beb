// Engine-control setters of the user's plane (slot 0), each keeping its
// control inside the aircraft's limits, and the FADEC fitting test.
#pragma once

void ENGN_set_throttle(int n, float value);     // 0..acf_throtmax_FWD, or 0..acf_throtmax_REV in reverse
void ENGN_set_prop_rpm(int n, float value);     // acf_RSC_mingreen_prp..acf_RSC_redline_prp
void ENGN_set_mixture(int n, float value);      // 0..1
void ENGN_set_prop_pitch(int n, float degrees); // within the range of the propeller mode
// 1 when engine n of plane p is present, not failed and of a type that can have FADEC.
int ENGN_has_fadec(int p, int n);
