#include "platform/plat_joystick.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int RANGED_AXES = 32;   // axes whose range can be set; further axes keep the raw range

struct joy_layer {
    int starts = 0;
    std::vector<plat_joy*> open;   // every device opened here
};
joy_layer layer;

}  // namespace

struct plat_joy {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickGUID guid{};
    int32_t range_min[RANGED_AXES];
    int32_t range_max[RANGED_AXES];
};

namespace {

bool started() { return layer.starts > 0; }

bool open_elsewhere(SDL_JoystickID id)
{
    for (const plat_joy* d : layer.open)
        if (d->joystick && SDL_JoystickInstanceID(d->joystick) == id) return true;
    return false;
}

int32_t scale_axis(int16_t raw, int32_t lo, int32_t hi)
{
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    const double v = static_cast<double>(lo) + (static_cast<double>(raw) + 32768.0) * span / 65535.0;
    return static_cast<int32_t>(std::lround(v));
}

// SDL's hat bits to hundredths of a degree clockwise from north.
int32_t hat_angle(uint8_t bits)
{
    switch (bits) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return PLAT_JOY_HAT_CENTRED;
    }
}

}  // namespace

bool PLAT_joy_start()
{
    // Polled like the rest of the frame: no joystick events queue up, and the
    // devices are read without the window's focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    SDL_JoystickEventState(SDL_IGNORE);
    ++layer.starts;
    return true;
}

void PLAT_joy_stop()
{
    if (!started()) return;
    --layer.starts;
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

int PLAT_joy_enumerate(bool (*found)(int device_index, void* context), void* context)
{
    if (!started() || !found) return PLAT_JOY_FAILED;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i)
        if (!found(i, context)) break;
    return PLAT_JOY_OK;
}

plat_joy* PLAT_joy_create(int device_index)
{
    if (!started()) return nullptr;
    SDL_Joystick* js = SDL_JoystickOpen(device_index);
    if (!js) return nullptr;
    auto* d = new plat_joy;
    d->joystick = js;
    d->guid = SDL_JoystickGetGUID(js);
    for (int k = 0; k < RANGED_AXES; ++k) {
        d->range_min[k] = -32768;
        d->range_max[k] = 32767;
    }
    layer.open.push_back(d);
    return d;
}

void PLAT_joy_release(plat_joy* device)
{
    if (!device) return;
    layer.open.erase(std::remove(layer.open.begin(), layer.open.end(), device), layer.open.end());
    if (device->joystick && started()) SDL_JoystickClose(device->joystick);
    delete device;
}

void PLAT_joy_enum_objects(plat_joy* device, bool (*object)(plat_joy_object_kind kind, int number, void* context),
                           void* context)
{
    if (!device || !device->joystick || !object) return;
    const int axes = SDL_JoystickNumAxes(device->joystick);
    for (int k = 0; k < axes; ++k) {
        const plat_joy_object_kind kind = k < 6 ? static_cast<plat_joy_object_kind>(k) : PLAT_JOY_SLIDER;
        if (!object(kind, k, context)) return;
    }
    const int hats = SDL_JoystickNumHats(device->joystick);
    for (int h = 0; h < hats; ++h)
        if (!object(PLAT_JOY_HAT, h, context)) return;
    const int buttons = SDL_JoystickNumButtons(device->joystick);
    for (int b = 0; b < buttons; ++b)
        if (!object(PLAT_JOY_BUTTON, b, context)) return;
}

int PLAT_joy_set_range(plat_joy* device, int axis_number, int minimum, int maximum)
{
    if (!device || !device->joystick) return PLAT_JOY_FAILED;
    if (axis_number < 0 || axis_number >= RANGED_AXES || axis_number >= SDL_JoystickNumAxes(device->joystick))
        return PLAT_JOY_FAILED;
    if (minimum >= maximum) return PLAT_JOY_FAILED;
    device->range_min[axis_number] = minimum;
    device->range_max[axis_number] = maximum;
    return PLAT_JOY_OK;
}

void PLAT_joy_update()
{
    if (started()) SDL_JoystickUpdate();
}

int PLAT_joy_poll(plat_joy* device)
{
    if (!device || !device->joystick || !started()) return PLAT_JOY_FAILED;
    return SDL_JoystickGetAttached(device->joystick) ? PLAT_JOY_OK : PLAT_JOY_INPUT_LOST;
}

int PLAT_joy_acquire(plat_joy* device)
{
    if (!device || !started()) return PLAT_JOY_FAILED;
    if (device->joystick && SDL_JoystickGetAttached(device->joystick)) return PLAT_JOY_OK;
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(SDL_JoystickGetDeviceGUID(i).data, device->guid.data, sizeof device->guid.data) != 0) continue;
        if (open_elsewhere(SDL_JoystickGetDeviceInstanceID(i))) continue;
        SDL_Joystick* js = SDL_JoystickOpen(i);
        if (!js) continue;
        if (device->joystick) SDL_JoystickClose(device->joystick);
        device->joystick = js;
        return PLAT_JOY_OK;
    }
    return PLAT_JOY_INPUT_LOST;
}

int PLAT_joy_get_state(plat_joy* device, plat_joy_state* state)
{
    if (!device || !device->joystick || !state || !started()) return PLAT_JOY_FAILED;
    SDL_Joystick* js = device->joystick;
    if (!SDL_JoystickGetAttached(js)) return PLAT_JOY_INPUT_LOST;
    const int axes = std::min(SDL_JoystickNumAxes(js), PLAT_JOY_STATE_AXES);
    for (int k = 0; k < PLAT_JOY_STATE_AXES; ++k)
        state->axes[k] = k < axes ? scale_axis(SDL_JoystickGetAxis(js, k), device->range_min[k], device->range_max[k]) : 0;
    const int hats = std::min(SDL_JoystickNumHats(js), PLAT_JOY_STATE_HATS);
    for (int h = 0; h < PLAT_JOY_STATE_HATS; ++h)
        state->hats[h] = h < hats ? hat_angle(SDL_JoystickGetHat(js, h)) : PLAT_JOY_HAT_CENTRED;
    const int buttons = std::min(SDL_JoystickNumButtons(js), PLAT_JOY_STATE_BUTTONS);
    for (int b = 0; b < PLAT_JOY_STATE_BUTTONS; ++b)
        state->buttons[b] = b < buttons && SDL_JoystickGetButton(js, b) ? PLAT_JOY_BUTTON_DOWN : 0;
    return PLAT_JOY_OK;
}
