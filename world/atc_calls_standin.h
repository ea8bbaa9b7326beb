// How often the stand-in ATC service was asked for its calls (the ATC
// service itself is not built yet).
#pragma once

struct atc_standin_counts {
    int clearance_calls;
    int request_calls;
    int carrier_calls;
};
extern atc_standin_counts atc_standin;
