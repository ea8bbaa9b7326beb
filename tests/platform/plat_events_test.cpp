#include <SDL2/SDL.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

#include "platform/plat_events.h"
#include "platform/plat_window.h"
#include "tests/support/test_network.h"

namespace {

class PlatEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PLAT_video_init());
        PLAT_flush_messages();
    }
    void TearDown() override { PLAT_flush_messages(); }

    static void push(const SDL_Event& e) { ASSERT_EQ(SDL_PushEvent(const_cast<SDL_Event*>(&e)), 1); }
    static void push_key(bool down, SDL_Keycode key, SDL_Scancode scan, Uint16 mod = KMOD_NONE, bool repeat = false)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym = SDL_Keysym{scan, key, mod, 0};
        push(e);
    }
    static std::vector<PLAT_message> drain()
    {
        std::vector<PLAT_message> out;
        for (PLAT_message m; PLAT_peek_message(m);) out.push_back(m);
        return out;
    }
};

}  // namespace

TEST_F(PlatEvents, KeysBecomeVirtualKeyCodes)
{
    struct case_t {
        SDL_Keycode key;
        SDL_Scancode scan;
        int vk;
    };
    const case_t cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},          {SDLK_7, SDL_SCANCODE_7, '7'},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60},   {SDLK_KP_8, SDL_SCANCODE_KP_8, 0x68},
        {SDLK_END, SDL_SCANCODE_KP_1, 0x61},    // the keypad by position, num lock or not
        {SDLK_F1, SDL_SCANCODE_F1, 0x70},       {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, 0xBD}, {SDLK_EQUALS, SDL_SCANCODE_EQUALS, 0xBB},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, 0xDB}, {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, 0xDD},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, 0xBA}, {SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
        {SDLK_PERIOD, SDL_SCANCODE_PERIOD, 0xBE}, {SDLK_SLASH, SDL_SCANCODE_SLASH, 0xBF},
        {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, 0xC0},
        {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, 0xDC}, {SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 0x0D},   {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
        {0x0434, SDL_SCANCODE_Q, 'Q'},          // a letter of another alphabet: the US key's place
        {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 0},
    };
    for (const case_t& c : cases) EXPECT_EQ(PLAT_virtual_key(c.key, c.scan), c.vk) << c.key;
}

TEST_F(PlatEvents, KeyMessagesCarryRepeatAndModifierState)
{
    push_key(true, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT);
    push_key(true, SDLK_1, SDL_SCANCODE_1, KMOD_LSHIFT);
    push_key(true, SDLK_1, SDL_SCANCODE_1, KMOD_LSHIFT, true);
    push_key(false, SDLK_1, SDL_SCANCODE_1, KMOD_LSHIFT);
    // Message, key, bit 30 (the key was down before: a repeat, or a release), and the
    // key states as the message being handled reports them.
    const struct {
        uint32_t message;
        int key, was_down, shift_down, one_down;
    } expected[] = {{WM_KEYDOWN, VK_SHIFT, 0, 1, 0}, {WM_KEYDOWN, '1', 0, 1, 1}, {WM_KEYDOWN, '1', 1, 1, 1},
                    {WM_KEYUP, '1', 1, 1, 0}};
    for (const auto& e : expected) {
        PLAT_message m;
        ASSERT_TRUE(PLAT_peek_message(m));
        EXPECT_EQ(m.message, e.message);
        EXPECT_EQ(m.wparam, static_cast<uintptr_t>(e.key));
        EXPECT_EQ((static_cast<uint32_t>(m.lparam) >> 30) & 1u, static_cast<uint32_t>(e.was_down)) << e.key;
        EXPECT_EQ(PLAT_key_state(VK_SHIFT) < 0, e.shift_down == 1);
        EXPECT_EQ(PLAT_key_state('1') < 0, e.one_down == 1);
    }
    EXPECT_TRUE(drain().empty());

    // F10 and keys with Alt are the system's.
    push_key(true, SDLK_F10, SDL_SCANCODE_F10);
    push_key(true, SDLK_x, SDL_SCANCODE_X, KMOD_LALT);
    const auto msgs = drain();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(msgs[0].wparam, static_cast<uintptr_t>(VK_F10));
    EXPECT_EQ(msgs[1].message, WM_SYSKEYDOWN);
}

TEST_F(PlatEvents, PointerPaintAndCloseMessagesAfterPostedOnes)
{
    auto event = [](Uint32 type, Uint8 button = 0) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) { e.motion.x = 300; e.motion.y = 700; }
        if (type == SDL_WINDOWEVENT) e.window.event = SDL_WINDOWEVENT_EXPOSED;
        if (button) { e.button.button = button; e.button.x = 5; e.button.y = 6; }
        return e;
    };
    push(event(SDL_MOUSEMOTION));
    push(event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT));
    push(event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT));
    push(event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE));   // not a button the program takes
    push(event(SDL_WINDOWEVENT));
    push(event(SDL_QUIT));
    PLAT_post_message(WM_USER + 7, 1, 2);

    const auto msgs = drain();
    const uint32_t expected[] = {WM_USER + 7, WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_CLOSE};
    ASSERT_EQ(msgs.size(), std::size(expected));
    for (size_t i = 0; i < msgs.size(); ++i) EXPECT_EQ(msgs[i].message, expected[i]) << i;
    EXPECT_EQ(msgs[1].lparam, static_cast<intptr_t>(300 | (700 << 16)));
    EXPECT_EQ(msgs[2].lparam, static_cast<intptr_t>(5 | (6 << 16)));
}

// A socket is heard of again while datagrams wait after its notification was
// handled, so a burst is read in one pump; one left unread stops at the limit.
TEST_F(PlatEvents, ReadySocketIsHeardOfWhileDatagramsWait)
{
    const int rx = socket(AF_INET, SOCK_DGRAM, 0), tx = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(rx, 0);
    // A port this test owns: no other program's datagram can add a notification.
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(test_owned_port(TEST_PORT_FREE_FIRST)));
    ASSERT_EQ(bind(rx, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);

    PLAT_watch_socket(rx, true, false);
    EXPECT_TRUE(drain().empty());   // nothing to read yet
    for (int k = 0; k < 3; ++k)
        ASSERT_GT(sendto(tx, "DATA*", 6, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    usleep(20000);

    // Each notification's handler reads one datagram: three notifications, then none.
    int heard = 0;
    for (PLAT_message m; PLAT_peek_message(m);) {
        ASSERT_EQ(m.message, WM_SOCKET_NOTIFY);
        EXPECT_EQ(m.wparam, static_cast<uintptr_t>(rx));
        EXPECT_EQ(m.lparam, SOCKET_EVENT_READ);
        char b[16];
        EXPECT_EQ(recv(rx, b, sizeof b, MSG_DONTWAIT), 6);
        ++heard;
    }
    EXPECT_EQ(heard, 3);

    // A datagram nobody reads is heard of at most PLAT_SOCKET_POLLS_PER_PUMP times a pump.
    ASSERT_GT(sendto(tx, "DATA*", 6, 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    usleep(20000);
    for (int pump = 0; pump < 2; ++pump) EXPECT_EQ(drain().size(), static_cast<size_t>(PLAT_SOCKET_POLLS_PER_PUMP));
    PLAT_watch_socket(rx, false, false);
    EXPECT_EQ(PLAT_watched_socket_count(), 0);
    EXPECT_TRUE(drain().empty());
    close(tx);
    close(rx);
}

TEST_F(PlatEvents, MessageBoxWithoutDisplayWritesTheErrorStream)
{
    EXPECT_FALSE(PLAT_message_box_has_display());   // the offscreen driver
    testing::internal::CaptureStderr();
    PLAT_message_box("Kestrum Message", "line one\n\nline two");
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("Kestrum Message"), std::string::npos);
    EXPECT_NE(out.find("line one\n\nline two"), std::string::npos);
}
