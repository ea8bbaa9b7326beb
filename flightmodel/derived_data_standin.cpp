// Stand-in of the integration until it is built: nothing moves.
#include "flightmodel/derived_data.h"

rope_points_block rope_points{};
derived_data_state derived_state{};

void FLTMOD_derived_reset() { derived_state = derived_data_state{}; }
void FLTMOD_derived_data(int) {}
