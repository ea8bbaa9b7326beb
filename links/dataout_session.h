// The data-output session: what starts again when the output choices change.
#pragma once

// Empties the graph history (keeping its ring position) and starts a new
// "DATA.OUT" section for the groups chosen for it: an empty line and one
// header line of their shown columns (nothing when no group is chosen). Runs
// at every flight start and when the network and data-output screen closes.
void DATAOUT_reset();
