// The label of a runway end as the menus, the operator panel and the
// flight-plan screen show it.
#pragma once

// "PAD " and the designator when it begins with 'H', else "RWY " and the
// designator; a trailing 'x' (no side letter) is dropped. `out` holds the
// designator plus five characters, or a text buffer (TEXT_SIZE): the designator
// is read to at most TEXT_MAX_LEN - 4 characters.
void RWY_label(const char* designator, char* out);
