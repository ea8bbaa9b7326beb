// Opening and closing the cockpit hardware, and the installation's settings.
#include "links/hardware.h"

#include <sstream>
#include <string>

#include "core/folders.h"
#include "links/console.h"
#include "links/panel_modules.h"
#include "links/shared_memory.h"
#include "platform/plat_files.h"
#include "platform/plat_serial.h"

int32_t fide_mode = 0;

namespace {

struct hardware_state {
    bool installation_read = false;
};
hardware_state hardware;

}  // namespace

void HARDWARE_read_installation(const char* path)
{
    std::string text;
    if (!path || !PLAT_read_text_file(path, text)) return;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name, value;
        if (!(words >> name) || name[0] == '#' || !(words >> value)) continue;
        if (name == "fide_mode") fide_mode = value == "0" ? 0 : (value == "1" ? 1 : fide_mode);
        if (name == "COM1" || name == "COM2") PLAT_serial_set_device(name.c_str(), value.c_str());
    }
}

void HARDWARE_open()
{
    if (!hardware.installation_read) {
        hardware.installation_read = true;
        const std::string path = std::string(program_folder) + HARDWARE_INSTALLATION_FILE;
        HARDWARE_read_installation(path.c_str());
    }
    CONSOLE_open_port();
    GFDEV_open();
}

void HARDWARE_close(int full)
{
    if (CONSOLE_model() != 0) CONSOLE_close_port();
    if (!full) return;
    GFDEV_shutdown();
    SHMEM_release();
    hardware.installation_read = false;
}

void HARDWARE_reset()
{
    CONSOLE_reset();
    GFDEV_reset();
    SHMEM_release();
    hardware = hardware_state{};
    fide_mode = 0;
    PLAT_serial_set_device("COM1", nullptr);
    PLAT_serial_set_device("COM2", nullptr);
}
