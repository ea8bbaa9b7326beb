// The data-output session: what starts again when the output choices change.
#pragma once

// Resets the data-graph history to -999.0 and starts the data file for the
// groups chosen for it (called when the network and data-output screen closes).
void DATAOUT_reset();
