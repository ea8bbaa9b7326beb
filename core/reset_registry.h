// One call puts every module's kept state back at rest.
//
// A module keeps the values its routines carry from call to call in one record
// with a reset function, and registers that function once, in its own source
// file beside the record's definition, in the group its state belongs to:
//
//     foo_state_record foo_state{};
//     void FOO_reset() { foo_state = foo_state_record{}; }
//     ORVELL_RESET(FOO_reset, flight);
//
// or, where the reset only puts the record back at its default value, in one
// line that defines and registers it:
//
//     foo_state_record foo_state{};
//     ORVELL_RESET_RECORD(FOO_reset, foo_state, flight);
//
// The groups:
//   flight   what every flight start puts back: the kept state of the user's
//            plane and of its flight (the stages of the flight model, the
//            systems, the weapons, ATC's plan, the flight plan, the g-load
//            dimming ...), as a first start finds it. The start runs it as it
//            puts the plane's record back. Nothing a start must keep belongs
//            here: the logbook's entries, the user's settings, loaded tables,
//            the chase distance the user zoomed, the peers' slots, the gyros'
//            spin, the edges of sound loops still playing.
//   scene    what the drawing keeps from frame to frame: caches, smoothed
//            camera and light values, effects, the scene's origin.
//   panel    what the instruments keep from frame to frame.
//   program  what lives for the program's run: settings, input edges, the
//            mode, the window, menus and screens, the links' kept counters and
//            records, the weather; and the few records of a flight that a
//            start sets or keeps itself: the launch flags (set before the
//            plane is placed), the replay ring and the ground under the plane
//            (put back by name, except by a start that keeps its position).
// The program runs every group once at start-up, before it loads anything;
// a test fixture begins from them too.
//
// The registrar sits in the object file that defines the state, so any program
// that links the state links its reset too (an object file of a static library
// is linked only when something in it is used).
//
// A registered reset sets its own records to fixed values and does nothing
// else: it reads no other state, opens, closes and draws nothing, and needs no
// other reset to have run before it. A group runs its resets sorted by name,
// so the order never depends on which object file was initialised first.
//
// Left out on purpose, each with its own call: tables read from data files
// (airports, navaids, objects, terrain, menus, the aircraft, loaded sounds and
// textures), tables filled once at start-up from fixed numbers, open devices,
// files, sockets, movies and loaded libraries, the ways up and the test seams.
// A test can therefore keep a loaded world or a started program across
// RESET_all. tests/core/kept_globals.txt lists each such record with its
// reason, and a test holds every other mutable global to a registered reset.
#pragma once

using reset_function = void (*)();

enum class reset_group { flight, scene, panel, program };

// Adds `reset` under `name` in `group`; a name already registered is kept
// once. Returns true, for the registrar's initialiser.
bool RESET_register(const char* name, reset_function reset, reset_group group);

// Runs every reset of `group` once, in the order of their names.
void RESET_group(reset_group group);

// Runs every registered reset of every group once, in the order of their names.
void RESET_all();

// Registers `fn` in `group` (flight, scene, panel or program) under its own
// name when the program starts. Used once per reset, at namespace scope in the
// file that defines it.
#define ORVELL_RESET(fn, group)                              \
    [[maybe_unused]] static const bool orvell_reset_registered_##fn = \
        RESET_register(#fn, fn, reset_group::group)

// Defines `fn` as the reset that gives `record` its default value, and
// registers it in `group` as ORVELL_RESET does.
#define ORVELL_RESET_RECORD(fn, record, group)  \
    void fn() { record = decltype(record){}; } \
    ORVELL_RESET(fn, group)
