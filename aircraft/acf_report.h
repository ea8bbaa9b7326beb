// The aircraft set-up report in "ORVELL.OUT": the set-up writes its account of
// what it derived for the user's aircraft (slot 0) as Windows-1251 text. The
// texts are kept in this source as UTF-8 and converted as they are written.
#pragma once

#include <string>

// Windows-1251 bytes of a UTF-8 text: ASCII as it is, Cyrillic letters to
// their code page places; any other character becomes '?'.
std::string ACF_cp1251(const char* utf8);

// One writer over the report stream. Numbers use the stream's fixed-point
// notation with a field width (right-aligned) and a number of decimals.
struct acf_report_writer {
    acf_report_writer& t(const char* utf8);                  // text
    acf_report_writer& n(double v, int width, int decimals); // number
    acf_report_writer& label(int part);                      // the part's UI text 820 + part
    acf_report_writer& nl(int count = 1);                    // line ends
    acf_report_writer& bytes(const char* raw);               // raw bytes (paths)
};

// The label of part p in reports and alerts: UI text 820 + p.
const char* ACF_part_label(int part);

// The writer, or nullptr when nothing is to be written for the slot (only
// slot 0 reports, and only while the report stream is open).
acf_report_writer* ACF_report_for(int slot);
