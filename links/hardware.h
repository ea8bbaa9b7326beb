// Cockpit hardware: the motion-platform packet.
#pragma once

// Sends the motion-platform packet ("MOTI" or "FIDE") to destination slot 11.
void HARDWARE_send_motion();

// Opens the serial console and the panel-module library at start-up; closes
// them at shut-down (flag 1).
void HARDWARE_open();
void HARDWARE_close(int flag);
