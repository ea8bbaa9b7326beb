#include "platform/plat_events.h"

#include <SDL2/SDL.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/plat_window.h"

namespace {

struct watched_socket {
    int fd;
    bool want_read;
    bool want_write;
};

struct event_state {
    std::deque<PLAT_message> posted;
    // The system's events of a round cut short by a message put back, taken
    // off its queue untranslated (a key's modifiers are noted as it is taken).
    std::deque<SDL_Event> held;
    bool key_down[256] = {};
    void* announced_window = nullptr;   // the window whose creation was announced
    int socket_polls_this_round = 0;    // polls of the sockets since the last "no message"
    bool sockets_quiet = false;         // the last poll of this round found no socket ready
    bool cursor_shown = true;
    std::vector<watched_socket> sockets;
};
event_state es;

bool events_available()
{
    // Events exist only once the video layer runs (it starts the event queue).
    return SDL_WasInit(SDL_INIT_EVENTS) != 0;
}

void set_key(int vk, bool down)
{
    if (vk > 0 && vk < 256) es.key_down[vk] = down;
}

// The modifier keys as the event reports them, so the state is right even for
// a modifier pressed while another window had the keyboard.
void note_modifiers(Uint16 mod)
{
    set_key(VK_SHIFT, (mod & KMOD_SHIFT) != 0);
    set_key(VK_CONTROL, (mod & KMOD_CTRL) != 0);
    set_key(VK_MENU, (mod & KMOD_ALT) != 0);
}

intptr_t key_long(int scan, bool repeat, bool up)
{
    uint32_t v = 1u | (static_cast<uint32_t>(scan & 0xFF) << 16);
    if (repeat || up) v |= 1u << 30;
    if (up) v |= 1u << 31;
    return static_cast<intptr_t>(static_cast<int32_t>(v));
}

// Pointer position in drawable pixels, as two unsigned 16-bit words.
intptr_t pointer_long(int x, int y)
{
    SDL_Window* w = static_cast<SDL_Window*>(PLAT_window_handle());
    if (w) {
        int ww = 0, wh = 0, pw = 0, ph = 0;
        SDL_GetWindowSize(w, &ww, &wh);
        SDL_GL_GetDrawableSize(w, &pw, &ph);
        if (ww > 0 && wh > 0 && (pw != ww || ph != wh)) {
            x = static_cast<int>(static_cast<long long>(x) * pw / ww);
            y = static_cast<int>(static_cast<long long>(y) * ph / wh);
        }
    }
    const uint32_t ux = static_cast<uint32_t>(x) & 0xFFFFu;
    const uint32_t uy = static_cast<uint32_t>(y) & 0xFFFFu;
    return static_cast<intptr_t>(ux | (uy << 16));
}

// One system event as a window message; false for events the program does not take.
bool translate(const SDL_Event& e, PLAT_message& out)
{
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool up = e.type == SDL_KEYUP;
        note_modifiers(e.key.keysym.mod);
        const int vk = PLAT_virtual_key(e.key.keysym.sym, e.key.keysym.scancode);
        if (vk == 0) return false;
        // The modifier keys themselves: their own event decides their state.
        set_key(vk, !up);
        const bool system_key = vk == VK_F10 || vk == VK_MENU || (e.key.keysym.mod & KMOD_ALT) != 0;
        if (system_key)
            out.message = up ? WM_SYSKEYUP : WM_SYSKEYDOWN;
        else
            out.message = up ? WM_KEYUP : WM_KEYDOWN;
        out.wparam = static_cast<uintptr_t>(vk);
        out.lparam = key_long(e.key.keysym.scancode, e.key.repeat != 0, up);
        return true;
    }
    case SDL_MOUSEMOTION:
        out.message = WM_MOUSEMOVE;
        out.wparam = 0;
        out.lparam = pointer_long(e.motion.x, e.motion.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const bool down = e.type == SDL_MOUSEBUTTONDOWN;
        if (e.button.button == SDL_BUTTON_LEFT)
            out.message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        else if (e.button.button == SDL_BUTTON_RIGHT)
            out.message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        else
            return false;
        out.wparam = 0;
        out.lparam = pointer_long(e.button.x, e.button.y);
        return true;
    }
    case SDL_WINDOWEVENT:
        // A window resized from outside goes back to its size and is painted
        // again: its size is chosen in the settings and taken at the next start.
        if (e.window.event == SDL_WINDOWEVENT_RESIZED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            PLAT_window_keep_size();
            out = PLAT_message{WM_PAINT, 0, 0};
            return true;
        }
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            out = PLAT_message{WM_PAINT, 0, 0};
            return true;
        }
        return false;
    case SDL_QUIT:
        // The user closed the window (or the process was asked to end).
        out = PLAT_message{WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

// A window that came into being since the last look is announced by its
// creation message and a first paint, as a freshly shown window gets them.
void announce_new_window()
{
    void* w = PLAT_window_handle();
    if (w == es.announced_window) return;
    es.announced_window = w;
    if (!w) return;
    es.posted.push_back(PLAT_message{WM_CREATE, 0, 0});
    es.posted.push_back(PLAT_message{WM_PAINT, 0, 0});
}

// Polls the watched sockets once and posts one notification per ready socket
// and wish; true when it posted any.
bool poll_sockets()
{
    if (es.sockets.empty()) return false;
    std::vector<pollfd> fds;
    fds.reserve(es.sockets.size());
    for (const watched_socket& s : es.sockets) {
        pollfd p{};
        p.fd = s.fd;
        p.events = static_cast<short>((s.want_read ? POLLIN : 0) | (s.want_write ? POLLOUT : 0));
        fds.push_back(p);
    }
    if (poll(fds.data(), fds.size(), 0) <= 0) return false;
    bool posted = false;
    for (size_t i = 0; i < fds.size(); ++i) {
        const short r = fds[i].revents;
        const uintptr_t fd = static_cast<uintptr_t>(fds[i].fd);
        if (es.sockets[i].want_read && (r & (POLLIN | POLLERR | POLLHUP))) {
            es.posted.push_back(PLAT_message{WM_SOCKET_NOTIFY, fd, SOCKET_EVENT_READ});
            posted = true;
        }
        if (es.sockets[i].want_write && (r & POLLOUT)) {
            es.posted.push_back(PLAT_message{WM_SOCKET_NOTIFY, fd, SOCKET_EVENT_WRITE});
            posted = true;
        }
    }
    return posted;
}

bool take_posted(PLAT_message& out)
{
    if (es.posted.empty()) return false;
    out = es.posted.front();
    es.posted.pop_front();
    return true;
}

}  // namespace

int PLAT_virtual_key(int32_t key, int32_t scan)
{
    // The keypad by position, whatever the num-lock state.
    if (scan >= SDL_SCANCODE_KP_1 && scan <= SDL_SCANCODE_KP_9) return 0x61 + (scan - SDL_SCANCODE_KP_1);
    switch (scan) {
    case SDL_SCANCODE_KP_0: return 0x60;
    case SDL_SCANCODE_KP_MULTIPLY: return 0x6A;
    case SDL_SCANCODE_KP_PLUS: return 0x6B;
    case SDL_SCANCODE_KP_MINUS: return 0x6D;
    case SDL_SCANCODE_KP_PERIOD: return 0x6E;
    case SDL_SCANCODE_KP_DIVIDE: return 0x6F;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: break;
    }
    if (scan >= SDL_SCANCODE_F1 && scan <= SDL_SCANCODE_F12) return VK_F1 + (scan - SDL_SCANCODE_F1);

    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    switch (key) {
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_TAB: return VK_TAB;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    default: break;
    }
    // Layouts without Latin letters: the key's place on a US keyboard.
    if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return 'A' + (scan - SDL_SCANCODE_A);
    if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return '1' + (scan - SDL_SCANCODE_1);
    if (scan == SDL_SCANCODE_0) return '0';
    return 0;
}

bool PLAT_peek_message(PLAT_message& out)
{
    announce_new_window();
    if (take_posted(out)) return true;
    while (!es.held.empty()) {
        const SDL_Event e = es.held.front();
        es.held.pop_front();
        if (translate(e, out)) return true;
    }
    if (events_available()) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (translate(e, out)) return true;
        }
    }
    // A socket that is still ready after its notification was handled (more
    // datagrams wait) is heard of again, up to PLAT_SOCKET_POLLS_PER_PUMP times
    // in one pump, so a burst is read in one frame and an unread socket cannot
    // keep the pump going for ever.
    if (!es.sockets_quiet && es.socket_polls_this_round < PLAT_SOCKET_POLLS_PER_PUMP) {
        ++es.socket_polls_this_round;
        if (!poll_sockets()) es.sockets_quiet = true;
        if (take_posted(out)) return true;
    }
    es.socket_polls_this_round = 0;
    es.sockets_quiet = false;
    return false;
}

void PLAT_post_message(uint32_t message, uintptr_t wparam, intptr_t lparam)
{
    es.posted.push_back(PLAT_message{message, wparam, lparam});
}

void PLAT_put_back_message(const PLAT_message& message)
{
    es.posted.push_front(message);
    // The system hands its events out in rounds and ends a round at a mark
    // in its queue; a round left unfinished would leave the mark in place, and
    // every event coming after it would wait a frame longer. The rest of the
    // round is held here in order instead.
    if (events_available()) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) es.held.push_back(e);
    }
    es.socket_polls_this_round = 0;
    es.sockets_quiet = false;
}

void PLAT_flush_messages()
{
    es.posted.clear();
    es.held.clear();
    if (events_available()) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    std::memset(es.key_down, 0, sizeof es.key_down);
    es.announced_window = PLAT_window_handle();
    es.socket_polls_this_round = 0;
    es.sockets_quiet = false;
}

void PLAT_pump_events()
{
    if (events_available()) SDL_PumpEvents();
}

int PLAT_key_state(int virtual_key)
{
    if (virtual_key <= 0 || virtual_key >= 256) return 0;
    return es.key_down[virtual_key] ? -128 : 0;
}

void PLAT_show_cursor(bool shown)
{
    es.cursor_shown = shown;
    if (events_available()) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

bool PLAT_cursor_shown() { return es.cursor_shown; }

void PLAT_watch_socket(int socket_fd, bool want_read, bool want_write)
{
    for (size_t i = 0; i < es.sockets.size(); ++i) {
        if (es.sockets[i].fd != socket_fd) continue;
        if (!want_read && !want_write)
            es.sockets.erase(es.sockets.begin() + static_cast<std::ptrdiff_t>(i));
        else
            es.sockets[i] = watched_socket{socket_fd, want_read, want_write};
        return;
    }
    if (want_read || want_write) es.sockets.push_back(watched_socket{socket_fd, want_read, want_write});
}

int PLAT_watched_socket_count() { return static_cast<int>(es.sockets.size()); }

bool PLAT_message_box_has_display()
{
    auto is_headless = [](const char* driver) {
        return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    };
    if (is_headless(std::getenv("SDL_VIDEODRIVER"))) return false;
    if (is_headless(SDL_GetHint(SDL_HINT_VIDEODRIVER))) return false;
    if (SDL_WasInit(SDL_INIT_VIDEO) && is_headless(SDL_GetCurrentVideoDriver())) return false;
    const char* d = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (d && *d) || (w && *w);
}

void PLAT_message_box(const char* title, const char* text)
{
    if (!title) title = "";
    if (!text) text = "";
    if (PLAT_message_box_has_display() &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, text, nullptr) == 0)
        return;
    std::fprintf(stderr, "%s\n\n%s\n", title, text);
    std::fflush(stderr);
}
