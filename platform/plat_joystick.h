// Game controllers, read in polled mode on SDL's joystick layer.
//
// A device is opened from its place in the list of attached controllers (the
// system's order). Its objects are described as the program's joystick code
// expects them: the first six axes are the X, Y and Z axes and the X, Y and Z
// rotations, any further axis a slider; then the hats and the buttons. One
// state read gives eight axes (the six, then two sliders), four hats and 128
// button bytes, as a 272-byte extended joystick state would.
//
// Nothing is delivered as events: PLAT_joy_update reads every open device
// once, and the state reads take what it found. Input is read whether or not
// the window has the focus.
#pragma once

#include <cstdint>

constexpr int PLAT_JOY_STATE_AXES = 8;      // X, Y, Z, X rot, Y rot, Z rot, slider 0, slider 1
constexpr int PLAT_JOY_STATE_HATS = 4;
constexpr int PLAT_JOY_STATE_BUTTONS = 128;
constexpr int32_t PLAT_JOY_HAT_CENTRED = -1;   // a hat at rest
constexpr uint8_t PLAT_JOY_BUTTON_DOWN = 0x80;

struct plat_joy_state {
    int32_t axes[PLAT_JOY_STATE_AXES];           // within the axis's range (see PLAT_joy_set_range); 0 when absent
    int32_t hats[PLAT_JOY_STATE_HATS];           // hundredths of a degree clockwise from north, or centred
    uint8_t buttons[PLAT_JOY_STATE_BUTTONS];     // PLAT_JOY_BUTTON_DOWN while held, else 0
};

// Object kinds, in the order the state keeps the axes.
enum plat_joy_object_kind : int {
    PLAT_JOY_X_AXIS = 0,
    PLAT_JOY_Y_AXIS,
    PLAT_JOY_Z_AXIS,
    PLAT_JOY_X_ROTATION,
    PLAT_JOY_Y_ROTATION,
    PLAT_JOY_Z_ROTATION,
    PLAT_JOY_SLIDER,
    PLAT_JOY_HAT,
    PLAT_JOY_BUTTON,
};

// Results: 0 success, negative failures.
constexpr int PLAT_JOY_OK = 0;
constexpr int PLAT_JOY_FAILED = -1;       // no joystick layer, no such device or object
constexpr int PLAT_JOY_INPUT_LOST = -2;   // the device went away and has not come back

struct plat_joy;   // one opened device

// Starts and stops the joystick layer (counted: each start needs a stop).
// False when there is none.
bool PLAT_joy_start();
void PLAT_joy_stop();

// Calls `found` with each attached controller's place in the list, in the
// system's order, while it answers true. Returns PLAT_JOY_FAILED without a
// joystick layer.
int PLAT_joy_enumerate(bool (*found)(int device_index, void* context), void* context);

// Opens the controller at that place; nullptr on failure.
plat_joy* PLAT_joy_create(int device_index);
void PLAT_joy_release(plat_joy* device);

// Calls `object` for each axis, hat and button of the device (kind and the
// object's number within its kind: the axis number counts every axis), while
// it answers true.
void PLAT_joy_enum_objects(plat_joy* device, bool (*object)(plat_joy_object_kind kind, int number, void* context),
                           void* context);

// Sets the range an axis is reported in (the axis number of the enumeration);
// until set an axis reports -32768..32767.
int PLAT_joy_set_range(plat_joy* device, int axis_number, int minimum, int maximum);

// Reads every open device once (call once before polling the devices).
void PLAT_joy_update();

// PLAT_JOY_OK while the device is attached, else PLAT_JOY_INPUT_LOST.
int PLAT_joy_poll(plat_joy* device);
// Finds a lost device again (the same kind of controller attached once more
// and not open elsewhere) and reopens it in place: PLAT_JOY_OK when done,
// PLAT_JOY_INPUT_LOST while it is still away.
int PLAT_joy_acquire(plat_joy* device);
// The device's present state; PLAT_JOY_INPUT_LOST when it is away.
int PLAT_joy_get_state(plat_joy* device, plat_joy_state* state);
