#include "platform/plat_shm.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

void* PLAT_shm_open(plat_shm& area, const char* name, size_t size)
{
    area = plat_shm{};
    if (!name || name[0] != '/' || size == 0) return nullptr;
    const int fd = shm_open(name, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    // Every copy that holds the area keeps a shared lock on it, so that the
    // last one to close can tell that nobody else holds it any more.
    flock(fd, LOCK_SH);
    struct stat st {};
    if (fstat(fd, &st) != 0 ||
        (static_cast<size_t>(st.st_size) < size && ftruncate(fd, static_cast<off_t>(size)) != 0)) {
        close(fd);
        return nullptr;
    }
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED) {
        close(fd);
        return nullptr;
    }
    area.view = view;
    area.size = size;
    area.fd = fd;
    std::snprintf(area.name, sizeof area.name, "%s", name);
    return view;
}

void PLAT_shm_close(plat_shm& area, bool unlink)
{
    if (area.view) munmap(area.view, area.size);
    // The name goes with the last copy that holds the area, as a named mapping
    // does on the system the area was made for: while another copy still holds
    // it (its shared lock blocks ours), outside readers keep finding it.
    const bool last = area.fd >= 0 && flock(area.fd, LOCK_EX | LOCK_NB) == 0;
    if (area.fd >= 0) close(area.fd);
    if (unlink && last && area.name[0]) shm_unlink(area.name);
    area = plat_shm{};
}
