// One snapshot of the user's plane (slot 0) and of everything its step moves:
// taken whole when the snapshot is made, put back whole when it ends. A caller
// that runs the plane's stages to ask it a question, and must leave no trace
// of having asked (the start's trim), holds one while it asks.
//
// Held: flt[0] and pln[0]; the weapon slots of every other plane (the weapons'
// stage flies every plane's weapons); the kept records of the force
// build-up's stages and of the control step's governing (forces, engines,
// ground contact, ropes and launch flags, weapons and projectiles, the
// particles they spawn); the cockpit's engine, switch and test words they
// write; the g-load dimming; the random generator; and what a holder sets to
// hold the plane: the frame period, the wind at the plane and the report flag.
// A record a new stage keeps belongs here with it.
#pragma once

#include <memory>

#include "flightmodel/flt.h"

class plane_snapshot {
public:
    plane_snapshot();
    ~plane_snapshot();
    plane_snapshot(const plane_snapshot&) = delete;
    plane_snapshot& operator=(const plane_snapshot&) = delete;

    // The plane's record as the snapshot took it.
    const flt_struct& plane() const;

private:
    struct records;
    std::unique_ptr<records> kept_;
};
