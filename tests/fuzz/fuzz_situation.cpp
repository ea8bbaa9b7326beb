// A saved situation over a file of arbitrary bytes, read as a movie and as
// a situation, then taken as far as opening a situation takes it: the
// airport scene built around it, the flight set up from it and a simulation
// cycle flown from there, with a default aircraft loaded.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <png.h>

#include "aircraft/acf_file.h"
#include "aircraft/acf_load.h"
#include "aircraft/acf_struct.h"
#include "aircraft/flight_start.h"
#include "core/app_mode.h"
#include "core/folders.h"
#include "core/reset_registry.h"
#include "core/ui_text.h"
#include "flightmodel/flt.h"
#include "platform/plat_files.h"
#include "shell/cycle.h"
#include "shell/prefs.h"
#include "tests/fuzz/fuzz_support.h"
#include "world/apt_scene.h"

namespace {

constexpr int CYCLES = 1;

std::string situation_file;

// The panel picture the set-up of every aircraft loads: grey, of the size
// the panel takes, made with the picture library's writer.
void write_panel_picture()
{
    constexpr int width = 1024, height = 768;
    std::filesystem::create_directories(fuzz_program_folder() + "Resources/bitmaps/panels");
    const std::string path =
        PLAT_resolve_path((std::string(program_folder) + "RESOURCES:BITMAPS:PANELS:PANEL_GENERAL.png").c_str());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(width * 3, 128);
        for (int y = 0; y < height; ++y) png_write_row(png, row.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

// The sounds the set-up of every aircraft loads: each a short silence.
void write_sounds()
{
    static const char* const names[] = {
        "REV_THRUST", "RUMBLE", "WIND", "RAIN", "HAIL", "THUNDER", "STAL", "ENG_START", "FLAP", "DESC", "CLIM",
        "GEAR", "LRUN", "LWET", "LOFF", "LWAT", "BOOM", "HAIL_IMPACT", "SINK", "PULL", "GWRN", "GLID", "MINI",
        "WSHR", "CAUT", "1000FT", "500FT", "400FT", "300FT", "200FT", "100FT", "50FT", "40FT", "30FT", "20FT",
        "10FT", "MDOT", "MDAS", "DASH_OUTER", "DOT_MIDDLE", "DASH_MIDDLE", "DOT_INNER", "TCAS", "ENGINE_RECIP",
        "ENGINE_TURBO", "ENGINE_ELEC", "ENGINE_LO_JET", "ENGINE_HI_JET", "ENGINE_ROC", "PROP_PLANE",
        "ROTOR_GYRO", "ROTOR_LIFTFAN", "ROTOR_HELO"};
    constexpr uint32_t rate = 22050, samples = 64;
    std::vector<uint8_t> wav;
    const auto put = [&wav](const char* four) { wav.insert(wav.end(), four, four + 4); };
    const auto word = [&wav](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) wav.push_back(static_cast<uint8_t>(v >> (8 * k)));
    };
    put("RIFF"), word(36 + samples * 2, 4), put("WAVE"), put("fmt "), word(16, 4), word(1, 2), word(1, 2);
    word(rate, 4), word(rate * 2, 4), word(2, 2), word(16, 2), put("data"), word(samples * 2, 4);
    wav.resize(wav.size() + samples * 2, 0);
    for (const char* name : names)
        fuzz_write_file(std::string(folder_table[FOLDER_SOUNDS]) + name + ".WAV", wav.data(), wav.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The default aircraft, loaded and set up once: a plain record with the
    // least the aircraft checks take, written by the program's own writer.
    static const std::unique_ptr<acf_struct> loaded = [] {
        situation_file = fuzz_program_folder() + "FUZZ.SIT";
        FOLDERS_make_written();
        std::filesystem::create_directories(fuzz_program_folder() + "Aircraft");
        UTIL_strcpy("AIRCRAFT:FUZZ.ACF", default_aircraft_path);
        UTIL_strcpy("FUZZ.ACF", default_aircraft_name);
        acf_struct& a = pln[0];
        a = acf_struct{};
        UTIL_strcat3(program_folder, default_aircraft_path, a.acf_file_path);
        std::snprintf(a.acf_tailnum, sizeof a.acf_tailnum, "FUZZ");
        a.acf_Vne = 150.0f;
        a.acf_m_empty = 400.0f;
        a.acf_m_max = 700.0f;
        a.acf_h_eqlbm = 1.5f;
        const int base = PART_BODY_FIRST * ACF_BODY_PART_POINTS;
        for (int k = 0; k < 12; ++k) a.acf_body_Z[base + ACF_BODY_POINTS * k] = static_cast<float>(k);
        write_panel_picture();
        write_sounds();
        ACF_read_write(ACF_MODE_WRITE, 0, 0);
        try {
            ACF_load_and_setup(0);
        } catch (const fuzz_fatal_alert&) {
        }
        return std::make_unique<acf_struct>(pln[0]);
    }();
    return fuzz_read_file(situation_file, data, size, [] {
        RESET_all();
        for (flt_struct& f : flt) f = flt_struct{};
        pln[0] = *loaded;
        app_mode = MODE_FLYING;
        // What opening a situation runs once the file is chosen, but for the
        // loading of the aircraft it names (the aircraft reader has a target
        // of its own; its set-up would take most of the time here).
        PREFS_read_write(PREFS_KIND_MOVIE, PREFS_READ, situation_file.c_str());
        PREFS_read_write(PREFS_KIND_SITUATION, PREFS_READ, situation_file.c_str());
        APT_build_scene(1);
        FLIGHT_init_situation(203, 0);
        for (int k = 0; k < CYCLES; ++k) update_plane_cycle();
    });
}
