// The label of a runway end as the menus, the operator panel and the
// flight-plan screen show it.
#pragma once

// "PAD " and the designator when it begins with 'H', else "RWY " and the
// designator; a trailing 'x' (no side letter) is dropped. `out` holds at least
// as much as the designator plus five characters.
void RWY_label(const char* designator, char* out);
