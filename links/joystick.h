// Joysticks: up to three game controllers, their axes mapped into the user's
// controls every frame, their buttons and hats into 96 button values that run
// the button functions; the assignment page of the joystick screen.
//
// Reads: sim_joystick (assignments, calibration, null zones, sensitivities,
// equipment), the override flags, pln[0] propeller, vector and sweep fields,
// the mouse record, app_mode and the joystick screen's tab, paused, the frame
// clock and period. Writes: sim_joystick's axis and button values, has_joystick,
// mouse_is_joystick, eq_ped_nobrk and eq_ped_wibrk, the destinations it is
// handed, and whatever the button functions change.
#pragma once

#include <cstdint>

#include "core/simvars/joystick.h"
#include "platform/plat_joystick.h"

constexpr int JOY_DEVICE_SLOTS = 3;
constexpr int JOY_PRESENCE_FLAGS = 12;   // X, Y, Z, X rot, Y rot, Z rot, slider 0, slider 1, hats 0..3
constexpr int JOY_PRESENT_SLIDER_0 = 6;
constexpr int JOY_PRESENT_SLIDER_1 = 7;
constexpr int JOY_PRESENT_HAT_0 = 8;
constexpr int JOY_HAT_DIRECTIONS = 8;    // north first, clockwise, 45 degrees apart
constexpr int JOY_DEVICE_BUTTONS = 16;   // buttons read per device
constexpr int JOY_BUTTON_CODES = 96;     // button function codes 0..95

// The range of the thrust-vector request. This program's aircraft files hold
// no lower and upper vector limits: the request is a ratio of the aircraft's
// vector travel (the flight model moves the vector towards it), so 0..1
// stands in for the aircraft's two limits.
constexpr float JOY_VECTOR_LOWER = 0.0f;
constexpr float JOY_VECTOR_UPPER = 1.0f;

// Axis function codes (0 none).
enum joy_axis_code : int32_t {
    JOY_AXIS_NONE = 0,
    JOY_AXIS_PITCH,
    JOY_AXIS_ROLL,
    JOY_AXIS_YAW,
    JOY_AXIS_THROTTLE_1,
    JOY_AXIS_THROTTLE_2,
    JOY_AXIS_LEFT_TOE_BRAKE,
    JOY_AXIS_RIGHT_TOE_BRAKE,
    JOY_AXIS_PROPELLER,
    JOY_AXIS_MIXTURE,
    JOY_AXIS_HEAT,
    JOY_AXIS_VECTOR,
    JOY_AXIS_SWEEP,
    JOY_AXIS_CODES
};

// The device table and what the poll keeps from frame to frame.
struct joystick_state {
    bool started = false;                         // JOY_init ran
    bool layer_open = false;                      // the platform's joystick layer is started
    plat_joy* devices[JOY_DEVICE_SLOTS] = {};
    int cursor = 0;                               // the slot the enumeration fills or describes next
    int32_t presence[JOY_DEVICE_SLOTS][JOY_PRESENCE_FLAGS] = {};
    int32_t last_button_values[JOYSTICK_BUTTONS] = {};
    // The first value seen of the pitch, roll and yaw axes, until a joystick is found.
    float first_value[3] = {};
    bool first_seen[3] = {};
    // The second propeller's pitch governor (button code 79).
    float previous_cyclic = 0.0f;
    bool cyclic_seen = false;
    // The button the assignment page edits.
    int32_t current_button = 0;
};
extern joystick_state joystick;
// Forgets everything above; devices still open are released first.
void JOY_reset();

// What the joystick screen (screens/) keeps between frames: its tab, which the
// poll reads to leave the null zone out while the response tab shows, and the
// display words the poll fills in display mode.
constexpr int JOYSTICK_DISPLAY_WORDS = 12;   // pitch, roll, yaw, then the other nine axis destinations
struct joystick_screen_state {
    int32_t joystick_tab = 0;   // 0 assignment, 1 response, 2 equipment
    float display_words[JOYSTICK_DISPLAY_WORDS] = {};
};
extern joystick_screen_state joystick_screen;
void SETUP_joystick_reset();

// Opens the attached controllers into the three slots and describes their
// objects. Returns 0 on success or the failing platform result.
int JOY_init();
// The per-frame poll. The twelve destinations are those of axis codes 1 to 12:
// yoke pitch, roll and heading ratios, the two throttle inputs, left and right
// toe brakes, the first engine's propeller request, mixture and heat, the
// thrust-vector request and the sweep request. Only destinations an axis is
// assigned to are written. `flying` is 1 from the flight model and the paused
// cycle (buttons run their functions), 0 from the joystick screen (the
// calibration widens to every value seen).
void JOY_poll(float* yolk_pitch, float* yolk_roll, float* yolk_heading, float* throttle_1, float* throttle_2,
              float* left_brake, float* right_brake, float* prop_request, float* mixture, float* heat,
              float* vector_request, float* sweep_request, int flying);
// The pointer's yoke: pitch and roll ratios from the pointer's offset from
// the user aircraft's head-up display centre, 100 interface units giving full
// travel (null destinations are skipped). The poll applies it every frame
// while the pointer flies.
void JOY_mouse_yoke(float* yolk_pitch, float* yolk_roll);
// Releases the devices and the joystick layer.
void JOY_close();

// The calibration map of axis i into low..high (reversed axes the other way).
void JOY_axis_scale(int axis, float low, float high, float* value);
// Null zone and power curve of pitch (0), roll (1) or yaw (2).
float JOY_null_zone_curve(float value, int k);

// The enumeration callbacks of JOY_init: a controller found, an object of the
// device in the cursor's slot. Each answers true to go on.
bool JOY_enum_device_cb(int device_index, void* context);
bool JOY_enum_axis_cb(plat_joy_object_kind kind, int number, void* context);

// True while a serial console drives the controls (a console model other than 0 and 12).
bool JOY_console_is_source();

// The button functions: code 0..95 on the frame its button goes down, goes
// up, each frame it is down, each frame it is up. Other codes do nothing.
void JOY_button_pressed(int code);
void JOY_button_released(int code);
void JOY_button_held(int code);
void JOY_button_idle(int code);

// The assignment page of the joystick screen (its first tab), one frame.
void JOY_setup_screen();
// The caption entry of a button function code on the assignment page.
int JOY_button_caption_entry(int code);
