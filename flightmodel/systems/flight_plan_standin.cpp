// Stand-in storage of the flight plan until the flight-plan files are built.
#include "flightmodel/systems/flight_plan.h"

fms_plan_record fms_plan{};
