// One call puts every module's kept state back at rest.
//
// A module keeps the values its routines carry from call to call in one record
// with a reset function, and registers that function once, in its own source
// file beside the record's definition:
//
//     foo_state_record foo_state{};
//     void FOO_reset() { foo_state = foo_state_record{}; }
//     ORVELL_RESET(FOO_reset);
//
// or, where the reset only puts the record back at its default value, in one
// line that defines and registers it:
//
//     foo_state_record foo_state{};
//     ORVELL_RESET_RECORD(FOO_reset, foo_state);
//
// The registrar sits in the object file that defines the state, so any program
// that links the state links its reset too (an object file of a static library
// is linked only when something in it is used).
//
// A registered reset sets its own records to fixed values and does nothing
// else: it reads no other state, opens, closes and draws nothing, and needs no
// other reset to have run before it. RESET_all runs them sorted by name, so the
// order never depends on which object file was initialised first. A reset that
// another registered reset already calls (the panel's, the systems' and the
// control step's parts) is not registered again.
//
// Left out on purpose, each with its own call: tables read from data files
// (airports, navaids, objects, terrain, menus, loaded sounds and textures),
// open devices, sockets, movies and loaded libraries, and the window's input
// record. A test can therefore keep a loaded world or a started program
// across RESET_all.
#pragma once

using reset_function = void (*)();

// Adds `reset` under `name`; a name already registered is kept once. Returns
// true, for the registrar's initialiser.
bool RESET_register(const char* name, reset_function reset);

// Runs every registered reset once, in the order of their names.
void RESET_all();

// Registers `fn` under its own name when the program starts. Used once per
// reset, at namespace scope in the file that defines it.
#define ORVELL_RESET(fn) \
    [[maybe_unused]] static const bool orvell_reset_registered_##fn = RESET_register(#fn, fn)

// Defines `fn` as the reset that gives `record` its default value, and
// registers it as ORVELL_RESET does.
#define ORVELL_RESET_RECORD(fn, record)         \
    void fn() { record = decltype(record){}; } \
    ORVELL_RESET(fn)
