// Cockpit hardware: the motion-platform packet.
#pragma once

#include <cstdint>

// The motion platform's second protocol: while set the motion output sends
// "FIDE" instead of "MOTI", the operator panel shows its "Lower Platform"
// button, and the scene pads the cloud bases by 25 ft only.
extern int32_t fide_mode;

// Sends the motion-platform packet ("MOTI" or "FIDE") to destination slot 11.
void HARDWARE_send_motion();

// Opens the serial console and the panel-module library at start-up; closes
// them at shut-down (flag 1).
void HARDWARE_open();
void HARDWARE_close(int flag);
