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
    // (slot-relative y; grid glyphs reach 2 below it) with its characters left to right.
    static std::map<float, std::string> texts(int font)
    {
        const auto rects = capture_rects(PANEL_update);
        static const char candidates[] = "0123456789.-_:|o>< ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz+,/()";
        std::map<float, std::vector<std::pair<float, char>>> rows;
        for (const fb_rect& r : rects)
            for (const char* c = candidates; *c; ++c) {
                font_glyph_place g;
                if (!FONT_glyph_place(font, *c, g)) break;
                auto close = [](float a, float b) { return std::fabs(a - b) < 0.01f; };
                if (close(g.tx, r.tx1) && close(g.ty, r.ty1) && close(g.tx + g.w, r.tx2) && close(g.ty + g.h, r.ty2)) {
                    rows[std::round(r.y1 - Y + 2.0f)].emplace_back(r.x1, *c);
                    break;
                }
            }
        // A full stop sits a unit lower than its digits: it joins the fuller row beside it.
        for (auto it = rows.begin(); it != rows.end();) {
            auto next = std::next(it);
            if (next != rows.end() && next->first - it->first <= 1.0f) {
                auto& keep = it->second.size() >= next->second.size() ? it : next;
                auto& drop = &keep == &it ? next : it;
                keep->second.insert(keep->second.end(), drop->second.begin(), drop->second.end());
                const bool first = drop == it;
                it = rows.erase(drop);
                if (!first) it = rows.begin();
                continue;
            }
            it = next;
        }
        std::map<float, std::string> out;
        for (auto& [y, cs] : rows) {
            std::sort(cs.begin(), cs.end());
            for (auto& [x, c] : cs) out[y] += c;
        }
        return out;
    }
    // Whether any line of `font` reads `text` (a line may hold several fields).
    static void dump(int font) { for (auto& [y, s] : texts(font)) std::printf("[%g] \"%s\"\n", y, s.c_str()); }
    static bool shows(int font, const std::string& text)
    {
        for (auto& [y, s] : texts(font))
            if (s.find(text) != std::string::npos) return true;
        return false;
    }
};
