#include "flightmodel/runway_label.h"

#include <cstring>

void RWY_label(const char* designator, char* out)
{
    if (!designator) designator = "";
    const char* prefix = designator[0] == 'H' ? "PAD " : "RWY ";
    std::strcpy(out, prefix);
    std::strcat(out, designator);
    const size_t n = std::strlen(out);
    if (n > 0 && out[n - 1] == 'x') out[n - 1] = 0;
}
