// The program started once in its own folder, with the test peer as the
// address of every network slot.
#pragma once

#include <gtest/gtest.h>

#include "core/app_mode.h"
#include "links/net_slots.h"
#include "shell/frame.h"
#include "tests/support/net_peer.h"
#include "tests/support/startup_program.h"

class started_program_with_peer : public started_program_in_its_folder {
protected:
    // The peer attached, every slot off until a test turns it on, and the
    // program flying.
    void SetUp() override
    {
        net_peer_attach();
        for (int s = 0; s < NET_SLOT_COUNT; ++s) net_slot_enabled[s] = net_slot_valid[s] = 0;
        app_mode = MODE_FLYING;
    }
    // The suites on this program look at what the links send and change,
    // never at the picture: the frames are not drawn for the eye.
    const unseen_frames unseen;
    // One frame, the clock moved `dt` seconds first.
    static void frame(double dt = 0.02)
    {
        test_clock_seconds += dt;
        MACIBM_do_frame();
    }
};
