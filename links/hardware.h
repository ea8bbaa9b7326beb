// Cockpit hardware: the serial console, the panel modules, the motion
// platform and the shared-memory area, opened at start-up and closed at
// shut-down; the installation's hardware settings.
#pragma once

#include <cstdint>

// The motion platform's second protocol: while set the motion output sends
// "FIDE" instead of "MOTI", the console's held keys repeat every 0.1 s and its
// levers read on a fixed scale, the operator panel shows its "Lower Platform"
// button, and the scene pads the cloud bases by 25 ft only. Set by the
// installation (HARDWARE_INSTALLATION_FILE), 0 unless set there.
extern int32_t fide_mode;

// The installation's hardware settings, a text file in the program folder of
// lines "name value": "fide_mode 1", "COM1 /dev/ttyUSB0", "COM2 /dev/ttyUSB1".
// This platform has no ports named COM1 and COM2: the file names the serial
// device that stands for each.
// Lines starting with '#' and unknown names are skipped.
constexpr const char* HARDWARE_INSTALLATION_FILE = "Resources:preferences:hardware.txt";
// Reads the settings from a file (a missing file leaves the defaults).
void HARDWARE_read_installation(const char* path);

// Sends the motion-platform packet ("MOTI" or "FIDE") to destination slot 11.
void HARDWARE_send_motion();

// Opens the serial console (when a console model is set and its port is not
// open) and, once per run, the panel modules; the first call of a run reads
// the installation's settings. Called at start-up and once a second by the
// equipment screen.
void HARDWARE_open();
// Closes the console's port while a console model is set; with `full` set also blanks and unloads the
// panel modules and removes the shared-memory area (the shut-down).
void HARDWARE_close(int full);

// Closes everything and forgets it (a fresh start for tests); fide_mode and
// the port devices go back to their defaults.
void HARDWARE_reset();
