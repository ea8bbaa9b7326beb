// Cockpit hardware: the motion-platform packet.
#pragma once

// Sends the motion-platform packet ("MOTI" or "FIDE") to destination slot 11.
void HARDWARE_send_motion();
