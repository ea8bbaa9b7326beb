// Linked into every benchmark program: the ways up reach their targets as in
// the program, installed by the one installer before any benchmark runs.
#include "shell/main.h"

namespace {
const bool installed = [] {
    APPLICATION_install_hooks();
    return true;
}();
}  // namespace
