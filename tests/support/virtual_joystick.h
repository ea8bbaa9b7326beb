// Game controllers made in software (the joystick layer's virtual devices):
// attached while the object lives, their axes, hats and buttons set by the test.
#pragma once

#include <cstdint>

// Starts the joystick layer for the test binary once (so the program's own
// start and stop never take the virtual devices away).
void virtual_joysticks_start();

class virtual_joystick {
public:
    // A controller of that many axes, hats and buttons; controllers of the same
    // `product` are the same kind (a lost one is found again among them).
    virtual_joystick(int axes, int hats, int buttons, uint16_t product = 0x0100);
    ~virtual_joystick();
    virtual_joystick(const virtual_joystick&) = delete;
    virtual_joystick& operator=(const virtual_joystick&) = delete;

    // An axis at a value of the program's range -100..100 (whole numbers come back exactly).
    void axis(int k, int value);
    // A hat at a direction: 0 north, 1 north-east ... 7 north-west, -1 centred.
    void hat(int h, int direction);
    void button(int b, bool down);
    // Pulls the plug (the destructor then does nothing more).
    void detach();
    bool attached() const { return joystick_ != nullptr; }

private:
    void* joystick_ = nullptr;   // the test's own handle of the device
    int32_t instance_ = -1;
};
