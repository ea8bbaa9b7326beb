// Needles ("CUST") and texts ("TEXT") an outside program places over the
// instrument panel: each datagram fills one entry of a fixed table, and the
// panel pass draws both tables once a frame after the instruments.
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/folders.h"
#include "core/frame_clock.h"
#include "core/screen.h"
#include "core/simvars/operation.h"
#include "graphics/font.h"
#include "graphics/ogl_draw.h"
#include "graphics/ogl_state.h"
#include "links/net_receive.h"

namespace {

constexpr float TEXEL = 1.0f / 512.0f;
constexpr float SAME_PLACE = 0.5f;   // texts this close in x and y share an entry

bool debug() { return sim_operation_misc.debug_network != 0 && error_log.is_open(); }

// The quad of a needle about (x, y), its texture points turned into texture coordinates.
void needle_quad(const net_needle_entry& e, int colour)
{
    const float w = e.s1 - e.s0, h = e.t1 - e.t0;
    const tex_quad_corner c[4] = {
        {e.x - w / 2, e.y - h / 2, e.s0 * TEXEL, e.t0 * TEXEL},
        {e.x - w / 2, e.y + h / 2, e.s0 * TEXEL, e.t1 * TEXEL},
        {e.x + w / 2, e.y + h / 2, e.s1 * TEXEL, e.t1 * TEXEL},
        {e.x + w / 2, e.y - h / 2, e.s1 * TEXEL, e.t0 * TEXEL},
    };
    OGL_draw_tex_quad(NET_NEEDLE_TEXTURE, colour, 1.0f, c, 1, STATE_BLEND);
}

// The entry a text at (x, y) takes: the lowest one at the same place or free;
// -1 when every entry holds a text somewhere else.
int text_entry_for(float x, float y)
{
    for (int e = 0; e < NET_TEXT_ENTRIES; ++e) {
        const net_text_entry& t = net_text_table[e];
        if (t.font == 0 || (std::fabs(x - t.x) < SAME_PLACE && std::fabs(y - t.y) < SAME_PLACE)) return e;
    }
    return -1;
}

}  // namespace

void NET_handle_CUST_datagram(net_datagram& d)
{
    net_cust_record r;
    std::memcpy(&r, d.payload, sizeof r);
    // A slot outside 0..499 would be a fatal alert: a datagram from another
    // program must not end the flight, so it is refused and the table kept.
    if (r.index < 0 || r.index >= NET_NEEDLE_ENTRIES) return NET_refuse(d, "its needle slot is outside 0..499");
    net_cust_rcv = r;
    NET_handle_CUST(0);
}

void NET_handle_CUST(int mode)
{
    if (mode == 0) {
        const net_cust_record& r = net_cust_rcv;
        if (r.index < 0 || r.index >= NET_NEEDLE_ENTRIES) return;
        if (debug()) {
            error_log << "OK I got the needle message to create, net_cust_rcv.index=" << r.index << ", type=" << r.kind
                      << ". x=" << r.x << ". y=" << r.y << ". angle=" << r.angle << ". current time=" << frame_clock
                      << "\n";
            error_log.flush();
        }
        net_needle_table[r.index] = net_needle_entry{r.kind, r.x, r.y, r.angle, r.s0, r.t0, r.s1, r.t1};
        return;
    }
    for (int k = 0; k < NET_NEEDLE_ENTRIES; ++k) {
        const net_needle_entry& e = net_needle_table[k];
        if (e.kind <= 0) continue;
        if (debug()) error_log << "plot needle #" << k << "\n";
        if (e.kind == 1) {
            glPushMatrix();
            glTranslatef(screen.screen_area_left + e.x, screen.screen_area_bottom + e.y, 0.0f);
            glRotatef(-e.angle, 0.0f, 0.0f, 1.0f);
            needle_quad(e, 0);
            glPopMatrix();
        } else if (e.kind == 2) {
            needle_quad(e, 49);
        }
    }
}

void NET_handle_TEXT_datagram(net_datagram& d)
{
    net_text_record r;
    std::memcpy(&r, d.payload, sizeof r);
    // A font code the string routine does not know would be a fatal alert at
    // the next panel pass, and a 251st place with every entry taken a fatal
    // alert at once: a datagram from another program must not end the flight,
    // so both are refused and the tables kept as they are.
    if (r.font > 0 && (r.font < FONT_FIRST || r.font > FONT_LAST)) return NET_refuse(d, "its font is none of 100..118");
    if (text_entry_for(r.x, r.y) < 0) return NET_refuse(d, "every text entry holds a text elsewhere");
    net_text_rcv = r;
    NET_handle_TEXT(0);
}

void NET_handle_TEXT(int mode)
{
    if (mode == 0) {
        const net_text_record& r = net_text_rcv;
        if (debug()) error_log << "OK we got into handle_TEXT1, plot=0\nOK we got into handle_TEXT2, plot=0\n";
        const int e = text_entry_for(r.x, r.y);
        if (e < 0) return;
        net_text_entry& t = net_text_table[e];
        t.font = r.font;
        t.color = r.color;
        t.x = r.x;
        t.y = r.y;
        t.timeout = frame_clock + NET_TEXT_SHOW_SEC;
        const size_t n = strnlen(r.text, NET_TEXT_CHARS - 1);
        std::memset(t.text, 0, sizeof t.text);
        std::memcpy(t.text, r.text, n);
        if (debug()) {
            error_log << "A text from the network for the panel:\n"
                      << "   net_text_rcv.font =" << r.font << "\n   net_text_rcv.color=" << r.color
                      << "\n   net_text_rcv.x    =" << r.x << "\n   net_text_rcv.y    =" << r.y
                      << "\n   net_text_rcv.text =" << t.text << "\n   n_use=" << e
                      << "\n   so we assign this data as follows:\n"
                      << "   text[n_use].font =" << t.font << "\n   text[n_use].color=" << t.color
                      << "\n   text[n_use].x    =" << t.x << "\n   text[n_use].y    =" << t.y
                      << "\n   text[n_use].text =" << t.text << "\n   text[n_use].timeout =" << t.timeout << "\n";
            error_log.flush();
        }
        return;
    }
    if (debug()) error_log << "OK we got into handle_TEXT1, plot=1\n";
    for (const net_text_entry& t : net_text_table) {
        if (t.font <= 0 || !(t.timeout > frame_clock)) continue;
        if (t.font < FONT_FIRST || t.font > FONT_LAST) continue;   // never stored (refused above): no fatal alert
        if (debug())
            error_log << "OK we will plot the custom TEXT string, at (" << t.x << "," << t.y << ") we will say " << t.text
                      << "\n";
        OGL_draw_string(t.color, t.x, t.y, t.text, 9999.0f, t.font);
    }
}
