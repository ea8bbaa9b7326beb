#include "tests/support/virtual_joystick.h"

#include <SDL2/SDL.h>

#include <cmath>
#include <stdexcept>

namespace {

int device_index_of(int32_t instance)
{
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) return i;
    return -1;
}

SDL_Joystick* js(void* p) { return static_cast<SDL_Joystick*>(p); }

}  // namespace

void virtual_joysticks_start()
{
    static const bool started = [] {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        return SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    }();
    if (!started) throw std::runtime_error("no joystick layer");
}

virtual_joystick::virtual_joystick(int axes, int hats, int buttons, uint16_t product)
{
    virtual_joysticks_start();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(axes);
    desc.nhats = static_cast<Uint16>(hats);
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.vendor_id = 0x4F56;
    desc.product_id = product;
    desc.name = "Test controller";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) throw std::runtime_error(SDL_GetError());
    joystick_ = SDL_JoystickOpen(index);
    if (!joystick_) throw std::runtime_error(SDL_GetError());
    instance_ = SDL_JoystickInstanceID(js(joystick_));
    for (int k = 0; k < axes; ++k) axis(k, 0);
}

virtual_joystick::~virtual_joystick() { detach(); }

void virtual_joystick::axis(int k, int value)
{
    // The program's layer reports lo + (raw + 32768) * span / 65535, rounded.
    const long raw = std::lround((value + 100) * 65535.0 / 200.0) - 32768;
    SDL_JoystickSetVirtualAxis(js(joystick_), k, static_cast<Sint16>(raw));
}

void virtual_joystick::hat(int h, int direction)
{
    static const Uint8 bits[8] = {SDL_HAT_UP,   SDL_HAT_RIGHTUP,  SDL_HAT_RIGHT, SDL_HAT_RIGHTDOWN,
                                  SDL_HAT_DOWN, SDL_HAT_LEFTDOWN, SDL_HAT_LEFT,  SDL_HAT_LEFTUP};
    SDL_JoystickSetVirtualHat(js(joystick_), h, direction < 0 || direction > 7 ? SDL_HAT_CENTERED : bits[direction]);
}

void virtual_joystick::button(int b, bool down)
{
    SDL_JoystickSetVirtualButton(js(joystick_), b, down ? SDL_PRESSED : SDL_RELEASED);
}

void virtual_joystick::detach()
{
    if (!joystick_) return;
    const int index = device_index_of(instance_);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    SDL_JoystickClose(js(joystick_));
    joystick_ = nullptr;
}
