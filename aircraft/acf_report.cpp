// Writing the set-up report: UTF-8 texts to Windows-1251, numbers with width
// and decimals, part labels from the language texts.
#include "aircraft/acf_report.h"

#include <cstdint>
#include <iomanip>

#include "core/folders.h"
#include "core/ui_text.h"

std::string ACF_cp1251(const char* utf8)
{
    std::string out;
    if (!utf8) return out;
    const auto* s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s) {
        uint32_t cp = 0;
        int extra = 0;
        if (*s < 0x80) {
            cp = *s;
        } else if ((*s & 0xE0) == 0xC0) {
            cp = *s & 0x1F;
            extra = 1;
        } else if ((*s & 0xF0) == 0xE0) {
            cp = *s & 0x0F;
            extra = 2;
        } else {
            cp = *s & 0x07;
            extra = 3;
        }
        ++s;
        bool ok = true;
        for (int k = 0; k < extra; ++k) {
            if ((*s & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*s & 0x3F);
            ++s;
        }
        char c = '?';
        if (!ok)
            c = '?';
        else if (cp < 0x80)
            c = static_cast<char>(cp);
        else if (cp >= 0x410 && cp <= 0x44F)
            c = static_cast<char>(0xC0 + (cp - 0x410));
        else if (cp == 0x401)
            c = static_cast<char>(0xA8);   // Ё
        else if (cp == 0x451)
            c = static_cast<char>(0xB8);   // ё
        else if (cp == 0x490)
            c = static_cast<char>(0xA5);   // Ґ
        else if (cp == 0xA0)
            c = static_cast<char>(0xA0);
        out += c;
    }
    return out;
}

acf_report_writer& acf_report_writer::t(const char* utf8)
{
    report_log << ACF_cp1251(utf8);
    return *this;
}

acf_report_writer& acf_report_writer::n(double v, int width, int decimals)
{
    report_log << std::fixed << std::setw(width) << std::setprecision(decimals) << v;
    return *this;
}

acf_report_writer& acf_report_writer::label(int part)
{
    report_log << ACF_part_label(part);
    return *this;
}

acf_report_writer& acf_report_writer::nl(int count)
{
    for (int k = 0; k < count; ++k) report_log << '\n';
    return *this;
}

acf_report_writer& acf_report_writer::bytes(const char* raw)
{
    report_log << (raw ? raw : "");
    return *this;
}

const char* ACF_part_label(int part) { return LANG_text_at_820(part); }

acf_report_writer* ACF_report_for(int slot)
{
    static acf_report_writer writer;
    if (slot != 0 || !report_log.is_open()) return nullptr;
    return &writer;
}
