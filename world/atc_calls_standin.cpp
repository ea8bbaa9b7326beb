// Stand-in of the controllers' periodic calls until the ATC service is built:
// nothing is said; the calls are counted.
#include "world/atc.h"
#include "world/atc_calls_standin.h"

atc_standin_counts atc_standin{};

void ATC_clearance_and_handoffs(int) { ++atc_standin.clearance_calls; }
void ATC_handle_request(int) { ++atc_standin.request_calls; }
void ATC_carrier_lso() { ++atc_standin.carrier_calls; }
