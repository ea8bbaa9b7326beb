// Custom scenery airports: each package folder under "CUSTOM SCENERY:" may
// carry an "Earth nav data:apt.dat" whose airports replace those of the same
// id (ignoring letter case) in place, so every index held elsewhere stays
// valid, or are appended.

#include <cstring>
#include <unordered_map>
#include <vector>

#include "core/datafile.h"
#include "core/folders.h"
#include "core/text_util.h"
#include "world/nav_internal.h"
#include "world/navdb.h"

namespace {

// The id key with its letters folded to lower case, so ids that differ only
// by case share a key (ids hold at most four characters, all in the key).
uint32_t folded_key(const char* id)
{
    char folded[APT_ID_SIZE] = {};
    for (int i = 0; i < 4 && id[i]; ++i) {
        folded[i] = id[i];
        UTIL_downcase_char(folded[i]);
    }
    return NAV_id_key(folded);
}

}  // namespace

int APT_load(char* apt_path)
{
    (void)apt_path;
    nav_tables_changed();

    // The packages, sorted by folder name.
    UTIL_strcpy(static_cast<const char*>(folder_table[FOLDER_CUSTOM_SCENERY]), file_list_folder);
    const int packages = FILE_list_directory(KIND_FOLDER);
    std::vector<std::vector<char>> package_paths;
    for (int k = 0; k < packages; ++k) {
        char path[TEXT_SIZE];
        UTIL_strcat3(file_list_paths[k], "Earth nav data:apt.dat", path);
        package_paths.emplace_back(path, path + TEXT_SIZE);
    }

    // Airports whose content has moved into an earlier record; they are
    // removed once every package has been read. Renaming them to the
    // placeholder id "XXXX" and then removing every record with that id would
    // also delete a real airport whose id is XXXX (from the main file or a
    // package): its data would be lost. So they are marked in this array instead,
    // and only marked records are removed.
    std::vector<uint8_t> moved(airport_table.size(), 0);
    // Every airport that a package airport may replace, by folded id: the
    // same pairs as comparing each new airport with every earlier one, the id
    // compare below still deciding, without the search over the whole table.
    std::unordered_map<uint32_t, std::vector<int32_t>> by_id;
    for (size_t i = 0; i < airport_table.size(); ++i)
        by_id[folded_key(airport_table[i].id)].push_back(static_cast<int32_t>(i));

    // From the last package to the first, so the first in name order wins.
    for (int k = packages - 1; k >= 0; --k) {
        const size_t before = airport_table.size();
        const int read = APT_parse(7, package_paths[static_cast<size_t>(k)].data(), 1);
        moved.resize(airport_table.size(), 0);
        if (read != 1 || airport_table.size() <= before) continue;

        for (size_t j = before; j < airport_table.size(); ++j) {
            const auto it = by_id.find(folded_key(airport_table[j].id));
            if (it == by_id.end()) continue;
            bool replaced = false;
            for (const int32_t i : it->second) {
                if (i >= static_cast<int32_t>(before) || moved[static_cast<size_t>(i)]) continue;
                if (UTIL_strcmp_nocase(airport_table[j].id, airport_table[static_cast<size_t>(i)].id) != 0)
                    continue;
                airport_table[static_cast<size_t>(i)] = airport_table[j];
                replaced = true;
            }
            if (replaced) moved[j] = 1;
        }
        // The package's new airports may in turn be replaced by later packages.
        for (size_t j = before; j < airport_table.size(); ++j)
            if (!moved[j]) by_id[folded_key(airport_table[j].id)].push_back(static_cast<int32_t>(j));
    }

    // Remove the moved records; the id index follows the records that moved down.
    std::vector<int32_t> new_index(airport_table.size(), -1);
    size_t kept = 0;
    for (size_t i = 0; i < airport_table.size(); ++i) {
        if (moved[i]) continue;
        if (kept != i) airport_table[kept] = std::move(airport_table[i]);
        new_index[i] = static_cast<int32_t>(kept);
        ++kept;
    }
    if (kept != airport_table.size()) {
        airport_table.resize(kept);
        for (auto it = airport_id_index.begin(); it != airport_id_index.end();) {
            const int32_t old = it->second;
            const int32_t now =
                (old >= 0 && old < static_cast<int32_t>(new_index.size())) ? new_index[static_cast<size_t>(old)] : -1;
            if (now < 0) {
                it = airport_id_index.erase(it);
            } else {
                it->second = now;
                ++it;
            }
        }
    }
    apt_cursor = static_cast<int32_t>(airport_table.size()) - 1;
    return static_cast<int32_t>(airport_table.size());
}
