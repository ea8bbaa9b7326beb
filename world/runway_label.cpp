#include "world/runway_label.h"

#include <cstring>

#include "core/text_util.h"

void RWY_label(const char* designator, char* out)
{
    if (!out) return;
    if (!designator) designator = "";
    const char* prefix = designator[0] == 'H' ? "PAD " : "RWY ";
    std::strcpy(out, prefix);
    // The designator is read to at most TEXT_MAX_LEN - 4 characters, so the
    // label fits a text buffer whatever the designator's length.
    const size_t len = strnlen(designator, TEXT_MAX_LEN - 4);
    std::memcpy(out + 4, designator, len);
    out[4 + len] = '\0';
    const size_t n = 4 + len;
    if (n > 0 && out[n - 1] == 'x') out[n - 1] = 0;
}
