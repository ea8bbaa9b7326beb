// Named shared memory that other programs on the machine open by its name:
// created when missing, grown when smaller than asked (never shrunk), mapped
// for reading and writing and shared with every other mapping of the name.
#pragma once

#include <cstddef>

struct plat_shm {
    void* view = nullptr;   // the mapped bytes, nullptr when the area could not be made or mapped
    size_t size = 0;        // bytes mapped
    int fd = -1;
    char name[64] = {};
};

// Creates or opens the area named `name` (a leading '/' and no other) of at
// least `size` bytes and maps it; returns the view, nullptr on failure (the
// record then holds nothing).
void* PLAT_shm_open(plat_shm& area, const char* name, size_t size);
// Unmaps the view and closes the area; with `unlink` set the name is removed
// too when no other copy holds the area any more (mappings still open
// elsewhere keep their bytes).
void PLAT_shm_close(plat_shm& area, bool unlink);
