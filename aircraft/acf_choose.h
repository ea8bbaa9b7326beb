// Choosing the aircraft of a plane slot that has none.
#pragma once

// Chooses an aircraft for the slot when its aircraft path is empty, and loads it.
void ACF_choose_and_load(int slot);
