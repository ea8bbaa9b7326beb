#include "core/reset_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct reset_entry {
    const char* name;
    reset_function reset;
    reset_group group;
};

// Built during the static initialisation of the object files, in whatever
// order they come: the table is made on first use so that it exists before
// the first registrar runs.
std::vector<reset_entry>& reset_table()
{
    static std::vector<reset_entry> table;
    return table;
}

bool name_before(const reset_entry& e, const char* name) { return std::strcmp(e.name, name) < 0; }

}  // namespace

bool RESET_register(const char* name, reset_function reset, reset_group group)
{
    if (!name || !reset) return true;
    std::vector<reset_entry>& table = reset_table();
    // Kept sorted by name as entries arrive.
    const auto at = std::lower_bound(table.begin(), table.end(), name, name_before);
    if (at != table.end() && std::strcmp(at->name, name) == 0) return true;
    table.insert(at, reset_entry{name, reset, group});
    return true;
}

void RESET_group(reset_group group)
{
    for (const reset_entry& e : reset_table())
        if (e.group == group) e.reset();
}

void RESET_all()
{
    for (const reset_entry& e : reset_table()) e.reset();
}
