// The one place a test may skip: when the machine lacks something the test
// needs of it rather than of the program (an OpenGL context, a driver
// feature, a speech voice, a sound device). On a developer's machine the test
// then skips; under CI=true, whose machines have every one of these (the
// offscreen driver on Mesa, espeak-ng, OpenAL's null driver), it fails, so a
// CI run either runs the test or goes red. A missing part of the program or
// of its built data is never a reason to skip: such a test fails.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

// True in a CI run (CI=true in the environment).
inline bool machine_is_ci()
{
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

// Ends the test unless `have` holds: skipped on a developer's machine, failed
// under CI=true. `what` names what the machine lacks.
#define MACHINE_NEEDS(have, what)                                                     \
    do {                                                                              \
        if (!(have)) {                                                                \
            if (machine_is_ci()) FAIL() << "CI's machine has no " << what;            \
            GTEST_SKIP() << "this machine has no " << what;                           \
        }                                                                             \
    } while (0)
