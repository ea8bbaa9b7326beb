// The EFIS map's layer buttons (weather, traffic, airports, waypoints, VORs,
// NDBs) and the test by which the map keeps a symbol inside its visible part.
//
// Reads: the avionics power, the mouse record, the current type. Writes: the
// six EFIS_shows words.
#include "core/simvars.h"
#include "panel/panel_kit.h"

void PANEL_efis_switches()
{
    if (!PANEL_avionics_powered()) return;
    sim_cockpit_switches_block& sw = sim_cockpit_switches;
    // EFIS_shows_weather is the word published as EFIFS_shows_weather.
    const struct {
        int32_t* word;
        float x;
    } buttons[] = {
        {&sw.EFIS_shows_weather, -51.0f}, {&sw.EFIS_shows_tcas, -31.0f},   {&sw.EFIS_shows_airports, -11.0f},
        {&sw.EFIS_shows_waypoints, 9.0f}, {&sw.EFIS_shows_VORs, 29.0f},    {&sw.EFIS_shows_NDBs, 49.0f},
    };
    const float s = panel_ins_scale;
    for (const auto& b : buttons) {
        if (PANEL_click_spot(b.x, -2.0f, 7.0f, 0)) *b.word = *b.word != 0 ? 0 : 1;
        if (*b.word == 1) PANEL_draw_control(b.x * s, -2.0f * s, 0);
    }
}

bool EFIS_map_visible(float x0, float y0, float x1, float y1, float px, float py)
{
    if (!(x0 <= px && px <= x1 && y0 <= py && py <= y1)) return false;
    if (panel_ins_type == INS_EFIS_MAP_MINI) return true;
    // Inside the 90-degree wedge opening upward from (0, y0), its edges excluded.
    const float up = py - y0;
    return up > px && up > -px;
}
