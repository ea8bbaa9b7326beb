// The simulator program.
#include "shell/main.h"

int main()
{
    static int instance;
    return APPLICATION_main(&instance, nullptr, "", 1);
}
