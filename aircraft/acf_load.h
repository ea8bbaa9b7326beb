// Loading an aircraft into a plane slot with everything derived from it.
#pragma once

// Loads the aircraft file named by the slot's record (acf_file_path, written
// by the caller; acf_file_name is derived from it) and turns it into the
// working set-up: SI units about the centre of gravity, gear, wing and
// propeller geometry, span efficiencies, masses and inertia, downwash, weapons,
// initial fuel and payload; for slot 0 also the set-up report, the panel
// images and the sounds. Returns the result of the first read: non-zero when
// the requested file was read, 0 when another aircraft was loaded in its
// place: the default aircraft, or, when that cannot be read either (or is the
// file refused), the next aircraft of the fleet after it, in name order, that
// reads. A refused file (damaged, or one of its airfoils is) is named in one
// notice that says what was loaded in its place; a missing requested file
// gives way to the default without a word. With no aircraft of the fleet to
// load, the alert is fatal.
int ACF_load_and_setup(int slot);

// A file of an aircraft that could not be loaded (the aircraft file, one of
// its airfoils), named in a notice: four lines, the second the file's path.
// Raised at once, unless a load that puts another aircraft in the slot is
// under way (acf_refusal_hold): the notice is then held, and raised once when
// the outermost hold ends, its fourth line saying what was loaded in its
// place. Later refusals under the same hold go to ERROR.OUT.
void ACF_refuse_file(const char* line1, const char* path, const char* line3, const char* line4);

// What the held notice's fourth line says (the last one set under the
// outermost hold stands).
void ACF_refusal_outcome(const char* line4);

// Holds the refusals raised while it lives. Nested holds add to the
// outermost one. A hold left by an exception drops what it held.
class acf_refusal_hold {
public:
    acf_refusal_hold();
    ~acf_refusal_hold();
    acf_refusal_hold(const acf_refusal_hold&) = delete;
    acf_refusal_hold& operator=(const acf_refusal_hold&) = delete;

private:
    int exceptions_;
};

// The held refusals dropped, no hold under way (registered).
void ACF_refusals_reset();
