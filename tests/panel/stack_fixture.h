// Shared by the radio, GPS, gauge, ECAM and orbiter tests: one instrument in
// a slot at (300, 300) of a powered panel, clicks through the panel pass, and
// the texts a pass drew read back from feedback mode.
#pragma once

#include "tests/panel/panel_fixture.h"

#include <cstring>
#include <map>
#include <string>

#include "graphics/font.h"
#include "panel/radios/radios.h"

// The texts of `font` a drawing drew, each line keyed by its baseline less
// y0 (grid glyphs reach 2 below it) with its characters left to right.
inline std::map<float, std::string> drawn_texts(int font, float y0, const std::function<void()>& draw)
{
    const auto rects = capture_rects(draw);
    static const char candidates[] = "0123456789.-_:|o>< ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+,/()";
    std::map<float, std::vector<std::pair<float, char>>> rows;
    for (const fb_rect& r : rects)
        for (const char* c = candidates; *c; ++c) {
            font_glyph_place g;
            if (!FONT_glyph_place(font, *c, g)) break;
            auto close = [](float a, float b) { return std::fabs(a - b) < 0.01f; };
            if (close(g.tx, r.tx1) && close(g.ty, r.ty1) && close(g.tx + g.w, r.tx2) && close(g.ty + g.h, r.ty2)) {
                rows[std::round(r.y1 - y0 + 2.0f)].emplace_back(r.x1, *c);
                break;
            }
        }
    // A full stop sits a unit lower than its digits: it joins the fuller row beside it.
    std::vector<std::pair<float, std::vector<std::pair<float, char>>>> list(rows.begin(), rows.end());
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        auto &a = list[i], &b = list[i + 1];
        if (b.first - a.first > 1.0f) continue;
        if (a.second.size() > b.second.size()) b.first = a.first;
        b.second.insert(b.second.end(), a.second.begin(), a.second.end());
        a.second.clear();
    }
    std::map<float, std::string> out;
    for (auto& [y, cs] : list) {
        if (cs.empty()) continue;
        std::sort(cs.begin(), cs.end());
        for (auto& [x, c] : cs) out[y] += c;
    }
    return out;
}

class StackTest : public PanelTest {
protected:
    static constexpr float X = 300.0f, Y = 300.0f;
    void SetUp() override
    {
        PanelTest::SetUp();
        power();
        sim_cockpit_radios = sim_cockpit_radios_block{};
        sim_cockpit_switches = sim_cockpit_switches_block{};
        sim_cockpit_gps = sim_cockpit_gps_block{};
        sim_time = sim_time_block{};
        for (int& t : interval_ticks) t = 0;
    }
    // Instrument `type` alone on the panel.
    static void only(int type, float size = 1.0f)
    {
        for (int s = 0; s < ACF_INS_SLOTS; ++s) pln[0].acf_ins_type[s] = -1;
        slot(0, type, X, Y, size);
    }
    // A press at (dx, dy) panel units from the slot centre, worked by one pass.
    static void click(float dx, float dy, float size = 1.0f)
    {
        mouse = mouse_record{};
        mouse.mouse_x = X + dx * size, mouse.mouse_y = Y + dy * size;
        mouse.mouse_down = mouse.mouse_held = 1;
        PANEL_update();
        mouse = mouse_record{};
    }
    // The texts of `font` one pass drew, each line keyed by its baseline
    // relative to the slot.
    static std::map<float, std::string> texts(int font) { return drawn_texts(font, Y, PANEL_update); }
    // Whether any line of `font` reads `text` (a line may hold several fields).
    static bool shows(int font, const std::string& text)
    {
        for (auto& [y, s] : texts(font))
            if (s.find(text) != std::string::npos) return true;
        return false;
    }
};
